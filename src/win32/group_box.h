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

}  // namespace velmora::win32
