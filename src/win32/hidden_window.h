// The hidden windows that carry shared timers and tray notifications.
#pragma once

#include <windows.h>

namespace velmora::win32 {

// Registers `className` with `proc` (once) and creates an invisible window of
// it; 0 when that fails. The caller owns the window.
inline HWND CreateHiddenWindow(const wchar_t* className, WNDPROC proc, DWORD exStyle, DWORD style, HWND parent) {
  const HINSTANCE instance = ::GetModuleHandleW(nullptr);
  WNDCLASSEXW wc{};
  wc.cbSize = sizeof(wc);
  wc.lpfnWndProc = proc;
  wc.hInstance = instance;
  wc.lpszClassName = className;
  ::RegisterClassExW(&wc);
  return ::CreateWindowExW(exStyle, className, L"", style, 0, 0, 0, 0, parent, nullptr, instance, nullptr);
}

}  // namespace velmora::win32
