// TGroupBox: a group box that holds its controls (as a container the dialog
// manager tabs into), with an etched frame and, when it has text, a caption
// on its top edge. What its controls report goes on to the top-level window.
#pragma once

#include <windows.h>

namespace velmora::win32 {

inline constexpr wchar_t kGroupBoxClass[] = L"TGroupBox";

bool RegisterGroupBoxClass(HINSTANCE instance);
// A child group box; it gets its size later.
HWND CreateGroupBox(HINSTANCE instance, HWND parent, int id, const wchar_t* caption);

// Where the focus goes when it enters a group: its first control that takes
// the focus, a radio group's checked item rather than its first.
HWND FirstTabStopIn(HWND container);

// The letter after a single "&" of a caption, upper-cased; 0 for none.
wchar_t MnemonicOf(const wchar_t* caption);

}  // namespace velmora::win32
