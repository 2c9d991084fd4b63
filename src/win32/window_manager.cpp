#include "win32/window_manager.h"

#include "win32/wide.h"

namespace velmora::win32 {

WindowHandle Win32WindowManager::ForegroundWindow() { return ToHandle(::GetForegroundWindow()); }

std::optional<Text> Win32WindowManager::WindowTitle(WindowHandle w) {
  const HWND h = ToHwnd(w);
  // For another program's window GetWindowTextW reads the title the window
  // manager keeps and sends no message, so a program that has stopped
  // answering costs nothing here. One read, in a buffer that grows only for
  // titles that do not fit.
  // The last buffer has room for the longest title and one unit more, which
  // tells a title of that length from a longer one.
  const size_t last = longestTitle_ + 2;
  for (size_t size = 512;; size *= 2) {
    if (size > last) size = last;
    if (buffer_.size() < size) buffer_.resize(size);
    ::SetLastError(ERROR_SUCCESS);
    const int n = ::GetWindowTextW(h, buffer_.data(), static_cast<int>(size));
    if (n <= 0) {
      // An empty title leaves the error code alone; a failed read sets it.
      if (::GetLastError() != ERROR_SUCCESS) return std::nullopt;
      return Text{};
    }
    if (n < static_cast<int>(size) - 1) {
      return Text(UpToNul(TextView(reinterpret_cast<const char16_t*>(buffer_.data()), static_cast<size_t>(n))));
    }
    if (size == last) return std::nullopt;  // longer than we read
  }
}

bool Win32WindowManager::WriteWindowText(WindowHandle w, const Text& text) {
  DWORD_PTR result = 0;
  return ::SendMessageTimeoutW(ToHwnd(w), WM_SETTEXT, 0, reinterpret_cast<LPARAM>(Wide(text)),
                               SMTO_ABORTIFHUNG | SMTO_NORMAL, kSendTimeoutMs, &result) != 0;
}

Text Win32WindowManager::ClassName(WindowHandle w, int bufferUnits) {
  if (bufferUnits <= 0) return {};
  std::wstring buf(static_cast<size_t>(bufferUnits), L'\0');
  const int n = ::GetClassNameW(ToHwnd(w), buf.data(), bufferUnits);
  if (n <= 0) return {};
  return FromWide(buf.data(), static_cast<size_t>(n));
}

std::uint32_t Win32WindowManager::WindowStyle(WindowHandle w) {
  return static_cast<std::uint32_t>(::GetWindowLongW(ToHwnd(w), GWL_STYLE));
}

bool Win32WindowManager::GetWindowRect(WindowHandle w, Rect& out) {
  RECT r{};
  if (!::GetWindowRect(ToHwnd(w), &r)) return false;
  out = {r.left, r.top, r.right, r.bottom};
  return true;
}

std::uint32_t Win32WindowManager::WindowProcessId(WindowHandle w) {
  DWORD pid = 0;
  if (!::GetWindowThreadProcessId(ToHwnd(w), &pid)) return 0;
  return pid;
}

WindowHandle Win32WindowManager::GuiThreadFocus() {
  GUITHREADINFO info{};
  info.cbSize = sizeof(info);
  if (!::GetGUIThreadInfo(0, &info)) return 0;
  return ToHandle(info.hwndFocus);
}

bool Win32WindowManager::MonitorFromPoint(std::int32_t x, std::int32_t y) {
  return ::MonitorFromPoint(POINT{x, y}, MONITOR_DEFAULTTONULL) != nullptr;
}

}  // namespace velmora::win32
