#include "win32/mnemonics.h"

#include <iterator>

namespace velmora::win32 {

namespace {

bool IsContainer(HWND hwnd) { return (::GetWindowLongW(hwnd, GWL_EXSTYLE) & WS_EX_CONTROLPARENT) != 0; }

wchar_t UpperCase(wchar_t c) {
  return static_cast<wchar_t>(reinterpret_cast<UINT_PTR>(::CharUpperW(reinterpret_cast<LPWSTR>(c))));
}

}  // namespace

wchar_t MnemonicOf(const wchar_t* caption) {
  for (const wchar_t* p = caption; p && *p; ++p) {
    if (*p != L'&') continue;
    if (p[1] == L'&') {
      ++p;
      continue;
    }
    return UpperCase(p[1]);
  }
  return 0;
}

HWND FirstTabStopIn(HWND container) {
  for (HWND c = ::GetWindow(container, GW_CHILD); c; c = ::GetWindow(c, GW_HWNDNEXT)) {
    const LONG style = ::GetWindowLongW(c, GWL_STYLE);
    if (!(style & WS_VISIBLE) || (style & WS_DISABLED)) continue;
    if (IsContainer(c)) {
      if (const HWND inside = FirstTabStopIn(c)) return inside;
      continue;
    }
    if (!(style & WS_TABSTOP)) continue;
    if (::SendMessageW(c, WM_GETDLGCODE, 0, 0) & DLGC_RADIOBUTTON) {
      for (HWND r = c; r; r = ::GetWindow(r, GW_HWNDNEXT)) {
        if (::SendMessageW(r, BM_GETCHECK, 0, 0) == BST_CHECKED) return r;
      }
    }
    return c;
  }
  return nullptr;
}

bool GroupMnemonic(HWND dialog, wchar_t key, std::span<const HWND> groups) {
  const wchar_t upper = UpperCase(key);
  for (const HWND group : groups) {
    wchar_t caption[128] = {};
    ::GetWindowTextW(group, caption, static_cast<int>(std::size(caption)));
    const wchar_t mnemonic = MnemonicOf(caption);
    if (mnemonic == 0 || mnemonic != upper || !::IsWindowEnabled(group)) continue;
    if (const HWND target = FirstTabStopIn(group)) {
      ::SendMessageW(dialog, WM_NEXTDLGCTL, reinterpret_cast<WPARAM>(target), TRUE);
      return true;
    }
  }
  return false;
}

}  // namespace velmora::win32
