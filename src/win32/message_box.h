// The program's message boxes. Their buttons read "OK" and "キャンセル"
// whatever the display language of Windows: a plain MessageBoxW takes the
// captions from the system's language.
#pragma once

#include <windows.h>

namespace velmora::win32 {

inline constexpr wchar_t kOkCaption[] = L"OK";
inline constexpr wchar_t kCancelCaption[] = L"キャンセル";

// MessageBoxW with the buttons renamed: OK for an MB_OK box, OK and
// キャンセル for an MB_OKCANCEL one; the other types keep their captions.
// Still the system's box (class "#32770"), with its icon and its answers.
int ShowMessageBox(HWND owner, const wchar_t* text, const wchar_t* caption, UINT flags);

}  // namespace velmora::win32
