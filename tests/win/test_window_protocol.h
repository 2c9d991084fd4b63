// Messages the tests post to velmora_testwin.exe.
#pragma once

#include <windows.h>

namespace velmora::testwin {

inline constexpr wchar_t kClassName[] = L"VelmoraTestWindow";
inline constexpr UINT kActivate = WM_APP + 1;  // come to the front
inline constexpr UINT kHang = WM_APP + 2;      // stop answering for wParam ms
inline constexpr UINT kMinimize = WM_APP + 3;

}  // namespace velmora::testwin
