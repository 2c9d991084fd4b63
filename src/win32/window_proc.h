// The window procedure of every window class that is one C++ class: `this`
// is stored at WM_NCCREATE, each message goes to the member HandleMessage,
// inside the guard that shows an error and goes on, and after the window's
// last message, WM_NCDESTROY, the window and the object forget each other.
#pragma once

#include <windows.h>

#include "win32/error_box.h"

namespace velmora::win32 {

// T keeps its window in `hwnd_` and handles messages in
// `LRESULT HandleMessage(UINT, WPARAM, LPARAM)`; both may be private when T
// befriends this function.
template <typename T>
LRESULT CALLBACK ForwardingWindowProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) noexcept {
  T* self = nullptr;
  if (msg == WM_NCCREATE) {
    self = static_cast<T*>(reinterpret_cast<CREATESTRUCTW*>(lParam)->lpCreateParams);
    self->hwnd_ = hwnd;
    ::SetWindowLongPtrW(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(self));
  } else {
    self = reinterpret_cast<T*>(::GetWindowLongPtrW(hwnd, GWLP_USERDATA));
  }
  if (!self) return ::DefWindowProcW(hwnd, msg, wParam, lParam);
  LRESULT result = 0;
  RunGuarded(hwnd, [&] { result = self->HandleMessage(msg, wParam, lParam); });
  if (msg == WM_NCDESTROY) {
    ::SetWindowLongPtrW(hwnd, GWLP_USERDATA, 0);
    self->hwnd_ = nullptr;
  }
  return result;
}

}  // namespace velmora::win32
