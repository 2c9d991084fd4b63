#include "win32/heart_icons.h"

#include <cstring>
#include <vector>

namespace velmora::win32 {

UniqueIcon MakeHeartIcon(HeartPicture picture, int size) { return MakeIconFromPixels(DrawHeart(picture, size), size); }

UniqueIcon MakeIconFromPixels(const std::vector<std::uint32_t>& pixels, int size) {
  if (size < 1 || pixels.size() != static_cast<std::size_t>(size) * size) return UniqueIcon();

  BITMAPV5HEADER header{};
  header.bV5Size = sizeof(header);
  header.bV5Width = size;
  header.bV5Height = -size;  // top down, as drawn
  header.bV5Planes = 1;
  header.bV5BitCount = 32;
  header.bV5Compression = BI_BITFIELDS;
  header.bV5RedMask = 0x00FF0000;
  header.bV5GreenMask = 0x0000FF00;
  header.bV5BlueMask = 0x000000FF;
  header.bV5AlphaMask = 0xFF000000;
  void* bits = nullptr;
  const HDC screen = ::GetDC(nullptr);
  UniqueBitmap color(::CreateDIBSection(screen, reinterpret_cast<BITMAPINFO*>(&header), DIB_RGB_COLORS, &bits,
                                        nullptr, 0));
  ::ReleaseDC(nullptr, screen);
  if (!color || bits == nullptr) return UniqueIcon();
  std::memcpy(bits, pixels.data(), pixels.size() * sizeof(std::uint32_t));

  // The mask for displays that ignore the alpha channel: set where the
  // picture is (almost) transparent.
  const int stride = ((size + 15) / 16) * 2;
  std::vector<BYTE> mask(static_cast<std::size_t>(stride) * size, 0);
  for (int y = 0; y < size; ++y) {
    for (int x = 0; x < size; ++x) {
      if ((pixels[static_cast<std::size_t>(y) * size + x] >> 24) < 128) {
        mask[static_cast<std::size_t>(y) * stride + x / 8] |= static_cast<BYTE>(0x80 >> (x % 8));
      }
    }
  }
  UniqueBitmap maskBitmap(::CreateBitmap(size, size, 1, 1, mask.data()));
  if (!maskBitmap) return UniqueIcon();

  ICONINFO info{};
  info.fIcon = TRUE;
  info.hbmColor = color.get();
  info.hbmMask = maskBitmap.get();
  return UniqueIcon(::CreateIconIndirect(&info));
}

int TrayIconSize() {
  const int size = ::GetSystemMetrics(SM_CXSMICON);
  return size > 0 ? size : 16;
}

}  // namespace velmora::win32
