// The application window: the hidden top-level window of the process that
// owns the main window. Its title is the caption of plain message boxes; as
// a tool window it gives the process no taskbar button and no entry in the
// task switcher.
#pragma once

#include <windows.h>

#include "win32/unique_handle.h"

namespace velmora::win32 {

inline constexpr wchar_t kApplicationTitle[] = L"Velmora";

// Sets WS_EX_TOOLWINDOW in the window's extended style.
void SetToolWindow(HWND hwnd);

class ApplicationWindow {
 public:
  bool Create(HINSTANCE instance);
  HWND Handle() const { return window_.get(); }
  // A close request that reaches the application window closes this one.
  void SetMainWindow(HWND main) { main_ = main; }

 private:
  static LRESULT CALLBACK WindowProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) noexcept;
  UniqueWindow window_;
  HWND main_ = nullptr;
};

}  // namespace velmora::win32
