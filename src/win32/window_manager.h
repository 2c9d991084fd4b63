// The window manager behind the core's WindowManager seam: foreground
// window, titles, classes, styles, places and owners of other programs'
// windows. A program that does not answer in time is left alone.
#pragma once

#include <windows.h>

#include <string>

#include "core/seams.h"

namespace velmora::win32 {

inline WindowHandle ToHandle(HWND h) { return reinterpret_cast<WindowHandle>(h); }
inline HWND ToHwnd(WindowHandle h) { return reinterpret_cast<HWND>(h); }

// Longest wait for another program's window to take a message. A program
// that does not answer in time is left alone until the next tick.
inline constexpr UINT kSendTimeoutMs = 150;
// Titles longer than this (in UTF-16 units) are not read; their windows are
// left alone.
inline constexpr size_t kLongestTitleRead = size_t{1} << 22;

class Win32WindowManager final : public WindowManager {
 public:
  explicit Win32WindowManager(size_t longestTitle = kLongestTitleRead) : longestTitle_(longestTitle) {}
  WindowHandle ForegroundWindow() override;
  std::optional<Text> WindowTitle(WindowHandle w) override;
  bool WriteWindowText(WindowHandle w, const Text& text) override;
  Text ClassName(WindowHandle w, int bufferUnits) override;
  std::uint32_t WindowStyle(WindowHandle w) override;
  bool GetWindowRect(WindowHandle w, Rect& out) override;
  std::uint32_t WindowProcessId(WindowHandle w) override;
  WindowHandle GuiThreadFocus() override;
  bool MonitorFromPoint(std::int32_t x, std::int32_t y) override;

 private:
  size_t longestTitle_;
  std::wstring buffer_;  // reused for title reads
};

}  // namespace velmora::win32
