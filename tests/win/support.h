// Helpers for the Windows-side tests: child processes with an owner, polling
// with a deadline, and staged windows of velmora_testwin.exe.
#pragma once

#include <windows.h>

#include <chrono>
#include <string>
#include <vector>

#include "core/alerts.h"
#include "core/decoration_cycle.h"
#include "core/seams.h"
#include "test_window_protocol.h"
#include "win32/platform.h"

namespace velmora::testing {

// The folder of the running test program, with a trailing backslash.
std::wstring BinDir();

// Polls `done` every 20 ms until it is true or `timeout` has passed.
template <typename Pred>
bool WaitFor(Pred done, std::chrono::milliseconds timeout = std::chrono::seconds(15)) {
  const auto deadline = std::chrono::steady_clock::now() + timeout;
  for (;;) {
    if (done()) return true;
    if (std::chrono::steady_clock::now() >= deadline) return false;
    ::Sleep(20);
  }
}

// A started program; ended (if still running) and its handles closed when
// the object goes.
class ChildProcess {
 public:
  ChildProcess() = default;
  ChildProcess(const std::wstring& exe, const std::wstring& args);
  ChildProcess(ChildProcess&& other) noexcept;
  ChildProcess& operator=(ChildProcess&& other) noexcept;
  ChildProcess(const ChildProcess&) = delete;
  ChildProcess& operator=(const ChildProcess&) = delete;
  ~ChildProcess();

  bool Started() const { return info_.hProcess != nullptr; }
  DWORD Pid() const { return info_.dwProcessId; }
  HANDLE Process() const { return info_.hProcess; }
  // True when the process ended within the time-out; its exit code in `code`.
  bool WaitExit(DWORD timeoutMs, DWORD& code);
  void Kill();

 private:
  void Close();
  PROCESS_INFORMATION info_{};
};

// The current title, read as a user sees it (no message is sent).
std::wstring TitleOf(HWND hwnd);

// Finds a top-level window of `pid`, waiting for it to appear.
HWND WaitForWindowOf(DWORD pid, const std::wstring& className);

// A window of velmora_testwin.exe with a known title and state.
class TestWindow {
 public:
  TestWindow(const std::wstring& title, const std::wstring& state = L"normal", const std::wstring& path = L"");
  HWND Hwnd() const { return hwnd_; }
  DWORD Pid() const { return process_.Pid(); }
  const std::wstring& OwnTitle() const { return title_; }
  std::wstring Title() const { return TitleOf(hwnd_); }
  // Gives the window a new title of its own (any length, any units), as its
  // program would.
  bool SetTitle(const std::wstring& title);
  // Brings it to the front and waits until it is the foreground window.
  bool Activate();
  // Makes the helper stop answering for `ms` and waits until it no longer
  // answers a message within 50 ms.
  bool Hang(DWORD ms);
  void Minimize() { ::PostMessageW(hwnd_, testwin::kMinimize, 0, 0); }
  // Shows a message box captioned with the window's current title.
  void ShowCaptionBox() { ::PostMessageW(hwnd_, testwin::kCaptionBox, 0, 0); }
  ChildProcess& Process() { return process_; }

 private:
  std::wstring title_;
  ChildProcess process_;
  HWND hwnd_ = nullptr;
};

// The visible message boxes and dialogs (class "#32770") of `pid`.
std::vector<HWND> VisibleDialogsOf(DWORD pid);
// The first of them, waiting for one to appear; 0 if none came.
HWND WaitForDialogOf(DWORD pid, std::chrono::milliseconds timeout = std::chrono::seconds(15));
// The texts of its static controls, joined by line breaks.
std::wstring DialogText(HWND dialog);

// Velmora's data folder in this account, with a trailing backslash.
std::wstring DataFolder();

// Sets Velmora's files in the data folder aside (renamed with `suffix`) and
// puts them back when it goes, removing whatever the run left there.
class DataFolderGuard {
 public:
  explicit DataFolderGuard(const wchar_t* suffix);
  ~DataFolderGuard();
  DataFolderGuard(const DataFolderGuard&) = delete;
  DataFolderGuard& operator=(const DataFolderGuard&) = delete;

 private:
  std::wstring suffix_;
};

// Bytes of a file; empty when it cannot be read.
std::string ReadBytes(const std::wstring& path);
bool WriteBytes(const std::wstring& path, const std::string& bytes);

// This process's folder in Linux's /proc as drive Z: shows it, with a
// trailing backslash (Z:\proc\self is the wineserver's); empty when it
// cannot be found.
const std::wstring& OwnProcFolder();

// UTF-8 for gtest messages.
std::string Narrow(const std::wstring& s);

// A processor sampler with no figures, for tests and benchmarks about the
// window calls of a tick.
class NoCpu final : public CpuSampler {
 public:
  std::int32_t GetCPUUsage() override { return -1; }
  void UpdateCPUCoreUsage() override {}
  const std::vector<TCPUCounter>& CPUCounters() const override { return none_; }
  bool CPUCoreFailed() const override { return true; }

 private:
  std::vector<TCPUCounter> none_;
};

// One decoration cycle on the real Win32 seams and the real alerts (all off
// by default), with its processor figures from `cpu`.
struct RealCycle {
  explicit RealCycle(CpuSampler& cpu)
      : cycle{settings, {windows, processes, probes, cpu, clock, actions}, win32::ReadDayNames()} {}
  TSettings settings;
  win32::Win32WindowManager windows;
  win32::Win32ProcessApi processes;
  win32::Win32SystemProbes probes;
  win32::Win32Clock clock;
  win32::Win32DiskAndSound disk;
  win32::Win32ProcessLauncher launcher;
  Alerts actions{settings, {windows, clock, disk, launcher}, win32::OwnProgramFolder()};
  DecorationCycle cycle;
};

}  // namespace velmora::testing
