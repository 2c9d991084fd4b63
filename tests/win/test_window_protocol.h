// Messages the tests post to velmora_testwin.exe.
#pragma once

#include <windows.h>

namespace velmora::testwin {

inline constexpr wchar_t kClassName[] = L"VelmoraTestWindow";
inline constexpr UINT kActivate = WM_APP + 1;  // come to the front
inline constexpr UINT kHang = WM_APP + 2;      // stop answering for wParam ms
inline constexpr UINT kMinimize = WM_APP + 3;
// Show a message box captioned with the window's current title, as programs
// do that caption their boxes with their own title.
inline constexpr UINT kCaptionBox = WM_APP + 4;

}  // namespace velmora::testwin
