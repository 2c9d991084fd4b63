#include "win32/application_window.h"

namespace velmora::win32 {

namespace {
constexpr wchar_t kClassName[] = L"VelmoraApplication";
}

void SetToolWindow(HWND hwnd) {
  const LONG style = ::GetWindowLongW(hwnd, GWL_EXSTYLE);
  ::SetWindowLongW(hwnd, GWL_EXSTYLE, style | WS_EX_TOOLWINDOW);
}

bool ApplicationWindow::Create(HINSTANCE instance) {
  WNDCLASSEXW wc{};
  wc.cbSize = sizeof(wc);
  wc.lpfnWndProc = &ApplicationWindow::WindowProc;
  wc.hInstance = instance;
  wc.lpszClassName = kClassName;
  if (!::RegisterClassExW(&wc) && ::GetLastError() != ERROR_CLASS_ALREADY_EXISTS) return false;
  window_.reset(::CreateWindowExW(0, kClassName, kApplicationTitle, WS_POPUP | WS_CAPTION | WS_SYSMENU, 0, 0, 0, 0,
                                  nullptr, nullptr, instance, this));
  return static_cast<bool>(window_);
}

LRESULT CALLBACK ApplicationWindow::WindowProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) noexcept {
  if (msg == WM_NCCREATE) {
    ::SetWindowLongPtrW(hwnd, GWLP_USERDATA,
                        reinterpret_cast<LONG_PTR>(reinterpret_cast<CREATESTRUCTW*>(lParam)->lpCreateParams));
  }
  auto* self = reinterpret_cast<ApplicationWindow*>(::GetWindowLongPtrW(hwnd, GWLP_USERDATA));
  if (msg == WM_CLOSE) {
    if (self && self->main_) ::PostMessageW(self->main_, WM_CLOSE, 0, 0);
    return 0;
  }
  // Broadcasts reach hidden windows only when they have no owner, as this
  // one; the main window, which it owns, hears of a display change here.
  if (msg == WM_DISPLAYCHANGE && self && self->main_) ::SendMessageW(self->main_, msg, wParam, lParam);
  return ::DefWindowProcW(hwnd, msg, wParam, lParam);
}

}  // namespace velmora::win32
