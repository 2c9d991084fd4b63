#include "win32/message_box.h"

#include <cwchar>

#include "win32/unique_handle.h"

namespace velmora::win32 {

namespace {

struct UnhookCloser {
  void operator()(HHOOK h) const noexcept { ::UnhookWindowsHookEx(h); }
};
using UniqueHook = UniqueHandle<HHOOK, UnhookCloser>;

// The box being opened on this thread. A box opened from within another
// box's message loop (a timer tick that fails) stacks its own.
struct PendingBox {
  UINT type;  // MB_OK, MB_OKCANCEL, ...
  bool renamed = false;
  PendingBox* outer = nullptr;
};
thread_local PendingBox* t_pending = nullptr;

BOOL CALLBACK RenameButton(HWND child, LPARAM lParam) {
  const UINT type = static_cast<UINT>(lParam);
  switch (::GetDlgCtrlID(child)) {
    case IDOK:
      ::SetWindowTextW(child, kOkCaption);
      break;
    case IDCANCEL:
      // The one button of an OK box may carry either identifier.
      ::SetWindowTextW(child, type == MB_OK ? kOkCaption : kCancelCaption);
      break;
    default:
      break;
  }
  return TRUE;
}

// The box is about to be shown for the first time: its buttons exist and
// carry the system's captions.
LRESULT CALLBACK BoxHook(int code, WPARAM wParam, LPARAM lParam) {
  PendingBox* box = t_pending;
  if (code == HCBT_ACTIVATE && box && !box->renamed) {
    const HWND hwnd = reinterpret_cast<HWND>(wParam);
    wchar_t cls[8] = {};
    if (::GetClassNameW(hwnd, cls, 8) && std::wcscmp(cls, L"#32770") == 0) {
      box->renamed = true;
      ::EnumChildWindows(hwnd, RenameButton, static_cast<LPARAM>(box->type));
    }
  }
  return ::CallNextHookEx(nullptr, code, wParam, lParam);
}

}  // namespace

int ShowMessageBox(HWND owner, const wchar_t* text, const wchar_t* caption, UINT flags) {
  const UINT type = flags & MB_TYPEMASK;
  if (type != MB_OK && type != MB_OKCANCEL) return ::MessageBoxW(owner, text, caption, flags);
  PendingBox box{type, false, t_pending};
  t_pending = &box;
  // Without the hook the box still opens, with the system's captions.
  const UniqueHook hook(::SetWindowsHookExW(WH_CBT, BoxHook, nullptr, ::GetCurrentThreadId()));
  const int answer = ::MessageBoxW(owner, text, caption, flags);
  t_pending = box.outer;
  return answer;
}

}  // namespace velmora::win32
