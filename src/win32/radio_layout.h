// The items of a radio group in two columns.
#pragma once

#include <windows.h>

#include <span>

namespace velmora::win32 {

// The room that the box of a check box or radio button and the gap after
// it take beside the caption, at 96 DPI.
inline constexpr int kButtonBoxWidth = 13 + 6;

// Places the radio buttons `items`, children of a group `width` by `height`
// pixels, in two columns, down the first column first; the rows share the
// height below the caption. The columns are equal unless a caption needs
// more room: then the margins give way first. `dc` holds `font`, which the
// items get.
void LayoutRadioColumns(HDC dc, HFONT font, std::span<const HWND> items, int width, int height, UINT dpi);

}  // namespace velmora::win32
