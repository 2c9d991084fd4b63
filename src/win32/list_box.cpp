#include "win32/list_box.h"

#include <algorithm>
#include <string>

#include "win32/wide.h"

namespace velmora::win32 {

std::vector<Text> ListItems(HWND list) {
  std::vector<Text> items;
  const auto count = ::SendMessageW(list, LB_GETCOUNT, 0, 0);
  for (LRESULT i = 0; i < count; ++i) {
    const auto len = ::SendMessageW(list, LB_GETTEXTLEN, static_cast<WPARAM>(i), 0);
    std::wstring text(static_cast<std::size_t>(std::max<LRESULT>(len, 0)) + 1, L'\0');
    const auto got = ::SendMessageW(list, LB_GETTEXT, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(text.data()));
    items.push_back(FromWide(text.data(), static_cast<std::size_t>(std::max<LRESULT>(got, 0))));
  }
  return items;
}

void SetListItems(HWND list, const std::vector<Text>& items) {
  ::SendMessageW(list, WM_SETREDRAW, FALSE, 0);
  ::SendMessageW(list, LB_RESETCONTENT, 0, 0);
  for (const Text& item : items) AddListItem(list, item);
  ::SendMessageW(list, WM_SETREDRAW, TRUE, 0);
  ::InvalidateRect(list, nullptr, TRUE);
}

void AddListItem(HWND list, const Text& item) {
  ::SendMessageW(list, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(Wide(item)));
}

bool HasSelection(HWND list) { return ::SendMessageW(list, LB_GETCURSEL, 0, 0) != LB_ERR; }

}  // namespace velmora::win32
