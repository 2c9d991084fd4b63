// The real platform behind the core's seams: one Windows call a method.
#pragma once

#include <windows.h>

#include "core/decoration_cycle.h"
#include "core/seams.h"

namespace velmora::win32 {

inline WindowHandle ToHandle(HWND h) { return reinterpret_cast<WindowHandle>(h); }
inline HWND ToHwnd(WindowHandle h) { return reinterpret_cast<HWND>(h); }

// Longest wait for another program's window to take a message. A program
// that does not answer in time is left alone until the next tick.
inline constexpr UINT kSendTimeoutMs = 150;
// The input-method state is asked before the title is written; a short wait
// keeps a tick in front of a hung program within one title time-out.
inline constexpr UINT kImeTimeoutMs = 50;
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

class Win32ProcessApi final : public ProcessApi {
 public:
  Text MainModuleFileName(std::uint32_t pid) override;
  Text ImageFileName(std::uint32_t pid) override;
  std::uint32_t LogicalDrives() override;
  Text DosDeviceName(char16_t letter) override;
};

class Win32SystemProbes final : public SystemProbes {
 public:
  std::int32_t MemoryStatusLoad() override;
  WindowHandle DefaultImeWindow(WindowHandle w) override;
  SendResult QueryImeOpenStatus(WindowHandle imeWindow, std::intptr_t& answer) override;
};

class Win32Clock final : public Clock {
 public:
  LocalTime Now() override;
  void Sleep(std::uint32_t ms) override;
};

// The abbreviated day names of the user's locale, Sunday first.
DayNames ReadDayNames();

// Number of logical processors, read once at start.
std::uint32_t ProcessorCount();

class Win32DiskAndSound final : public DiskAndSound {
 public:
  std::uint32_t SetProcessErrorMode(std::uint32_t mode) override;
  bool DiskSpaceKnown(const Text& root) override;
  bool FileExists(const Text& path) override;
  bool PlayWaveFile(const Text& path, std::uint32_t flags) override;
};

class Win32ProcessLauncher final : public ProcessLauncher {
 public:
  bool StartProcess(const Text& commandLine, const Text& currentFolder, std::uint16_t showCommand) override;
};

// The folder of this program's executable file, with its trailing backslash.
Text OwnProgramFolder();

}  // namespace velmora::win32
