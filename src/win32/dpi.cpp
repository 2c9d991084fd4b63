#include "win32/dpi.h"

#include "win32/system_library.h"

namespace velmora::win32 {

namespace {

// user32 is loaded in every program with a window; its newer functions are
// looked up, not imported, so that the program still starts without them.
template <typename Fn>
Fn User32Entry(const char* name) {
  return EntryOf<Fn>(::GetModuleHandleW(L"user32.dll"), name);
}

}  // namespace

int ScaleForDpi(int units, UINT dpi) { return ::MulDiv(units, static_cast<int>(dpi), static_cast<int>(kDesignDpi)); }

RECT ScaledRect(int left, int top, int width, int height, UINT dpi) {
  const int l = ScaleForDpi(left, dpi), t = ScaleForDpi(top, dpi);
  return RECT{l, t, l + ScaleForDpi(width, dpi), t + ScaleForDpi(height, dpi)};
}

UINT DpiOfWindow(HWND hwnd) {
  static const auto fn = User32Entry<UINT(WINAPI*)(HWND)>("GetDpiForWindow");
  if (fn && hwnd) {
    if (const UINT dpi = fn(hwnd)) return dpi;
  }
  const HDC dc = ::GetDC(nullptr);
  const int dpi = ::GetDeviceCaps(dc, LOGPIXELSY);
  ::ReleaseDC(nullptr, dc);
  return dpi > 0 ? static_cast<UINT>(dpi) : kDesignDpi;
}

bool NonClientMetrics(NONCLIENTMETRICSW& ncm, UINT dpi) {
  static const auto fn = User32Entry<BOOL(WINAPI*)(UINT, UINT, PVOID, UINT, UINT)>("SystemParametersInfoForDpi");
  ncm = {};
  ncm.cbSize = sizeof(ncm);
  if (fn && fn(SPI_GETNONCLIENTMETRICS, sizeof(ncm), &ncm, 0, dpi)) return true;
  return ::SystemParametersInfoW(SPI_GETNONCLIENTMETRICS, sizeof(ncm), &ncm, 0) != FALSE;
}

void AdjustForDpi(RECT& r, DWORD style, DWORD exStyle, UINT dpi) {
  static const auto fn = User32Entry<BOOL(WINAPI*)(LPRECT, DWORD, BOOL, DWORD, UINT)>("AdjustWindowRectExForDpi");
  if (!fn || !fn(&r, style, FALSE, exStyle, dpi)) ::AdjustWindowRectEx(&r, style, FALSE, exStyle);
}

}  // namespace velmora::win32
