#include "win32/radio_layout.h"

#include <algorithm>
#include <iterator>

#include "win32/dpi.h"

namespace velmora::win32 {

void LayoutRadioColumns(HDC dc, HFONT font, std::span<const HWND> items, int width, int height, UINT dpi) {
  const auto px = [&](int units) { return ScaleForDpi(units, dpi); };
  TEXTMETRICW tm{};
  ::GetTextMetricsW(dc, &tm);
  const int rows = static_cast<int>(items.size() + 1) / 2;
  if (rows == 0) return;
  const int rest = height - tm.tmHeight - px(5);
  const int rowHeight = rest / rows;
  const int topMargin = tm.tmHeight + 1 + (rest % rows) / 2;

  int need[2] = {0, 0};
  for (std::size_t k = 0; k < items.size(); ++k) {
    RECT text{0, 0, 0, 0};
    wchar_t caption[64] = {};
    ::GetWindowTextW(items[k], caption, static_cast<int>(std::size(caption)));
    ::DrawTextW(dc, caption, -1, &text, DT_SINGLELINE | DT_CALCRECT);
    const std::size_t column = k / static_cast<std::size_t>(rows);
    need[column] = std::max<int>(need[column], text.right - text.left + px(kButtonBoxWidth));
  }
  const int equal = (width - px(10)) / 2;
  const int column0 = std::max(equal, need[0]), column1 = std::max(equal, need[1]);
  const int inner = width - px(2);
  const int margin = std::clamp(inner - column0 - column1, px(2), px(8));
  const int lefts[2] = {margin, margin + column0};
  const int widths[2] = {column0, std::max(column1, 0)};
  for (std::size_t k = 0; k < items.size(); ++k) {
    const int column = static_cast<int>(k) / rows, row = static_cast<int>(k) % rows;
    ::SendMessageW(items[k], WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
    ::MoveWindow(items[k], lefts[column], row * rowHeight + topMargin, std::min(widths[column], inner - lefts[column]),
                 rowHeight, FALSE);
  }
}

}  // namespace velmora::win32
