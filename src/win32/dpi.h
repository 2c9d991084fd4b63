// Sizes for the monitor's DPI. Windows are laid out in 96-DPI units and
// scaled; the per-monitor functions of newer systems are looked up once, and
// an older system gets its system-wide values.
#pragma once

#include <windows.h>

namespace velmora::win32 {

inline constexpr UINT kDesignDpi = 96;

// `units` at 96 DPI, in pixels at `dpi`.
int ScaleForDpi(int units, UINT dpi);
// A rectangle of the design (left, top, width, height at 96 DPI) at `dpi`.
RECT ScaledRect(int left, int top, int width, int height, UINT dpi);

// The DPI of the window's monitor; without a window (or before Windows 10)
// the system's.
UINT DpiOfWindow(HWND hwnd);
// The non-client metrics (the menu font among them) for `dpi`.
bool NonClientMetrics(NONCLIENTMETRICSW& ncm, UINT dpi);
// AdjustWindowRectEx for `dpi`.
void AdjustForDpi(RECT& r, DWORD style, DWORD exStyle, UINT dpi);

}  // namespace velmora::win32
