// The tray icon's pictures as icons of the size the notification area uses,
// and icons made of any picture the core draws.
#pragma once

#include <windows.h>

#include <cstdint>
#include <vector>

#include "core/heart_image.h"
#include "win32/unique_handle.h"

namespace velmora::win32 {

struct DestroyIconCloser {
  void operator()(HICON h) const noexcept { ::DestroyIcon(h); }
};
using UniqueIcon = UniqueHandle<HICON, DestroyIconCloser>;

// A 32-bit icon with an alpha channel (and a matching mask) of size x size,
// from size x size 0xAARRGGBB pixels, rows top down.
UniqueIcon MakeIconFromPixels(const std::vector<std::uint32_t>& pixels, int size);

UniqueIcon MakeHeartIcon(HeartPicture picture, int size);

// The size of the icons in the notification area for this display.
int TrayIconSize();

}  // namespace velmora::win32
