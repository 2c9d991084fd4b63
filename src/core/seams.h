// The platform services the core decides over. Each method mirrors one
// platform call; the win32 implementations are thin pass-throughs and the
// unit tests use fakes.
#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <vector>

#include "core/text.h"

namespace velmora {

// A top-level window's identifier; 0 means none.
using WindowHandle = std::uintptr_t;

// Window style bits: WS_VISIBLE, WS_MINIMIZE, WS_MAXIMIZE.
inline constexpr std::uint32_t kStyleVisible = 0x10000000;
inline constexpr std::uint32_t kStyleMinimize = 0x20000000;
inline constexpr std::uint32_t kStyleMaximize = 0x01000000;

struct Rect {
  std::int32_t left = 0, top = 0, right = 0, bottom = 0;
};

// Window manager (user32) and monitors.
class WindowManager {
 public:
  virtual ~WindowManager() = default;
  virtual WindowHandle ForegroundWindow() = 0;
  // The whole title (up to its first NUL), read without sending a message to
  // another program's window; empty for an untitled window, nothing when it
  // cannot be read (a destroyed window, a failed read, a title too long).
  virtual std::optional<Text> WindowTitle(WindowHandle w) = 0;
  // Writes a title; bounded by a time-out for windows of other programs.
  virtual bool WriteWindowText(WindowHandle w, const Text& text) = 0;
  virtual Text ClassName(WindowHandle w, int bufferUnits) = 0;
  // GWL_STYLE (kStyleVisible, kStyleMinimize, kStyleMaximize); 0 for a
  // destroyed window.
  virtual std::uint32_t WindowStyle(WindowHandle w) = 0;
  virtual bool GetWindowRect(WindowHandle w, Rect& out) = 0;
  virtual std::uint32_t WindowProcessId(WindowHandle w) = 0;
  // hwndFocus of GetGUIThreadInfo for the foreground thread; 0 on failure.
  virtual WindowHandle GuiThreadFocus() = 0;
  // MonitorFromPoint with MONITOR_DEFAULTTONULL: is there a monitor there?
  virtual bool MonitorFromPoint(std::int32_t x, std::int32_t y) = 0;
};

// Processes (kernel32, psapi). Each query opens the process with
// PROCESS_QUERY_INFORMATION | PROCESS_VM_READ and closes it again; a process
// that cannot be opened answers with empty text.
class ProcessApi {
 public:
  virtual ~ProcessApi() = default;
  // GetModuleFileNameExW of the main module; empty when it fails.
  virtual Text MainModuleFileName(std::uint32_t pid) = 0;
  // GetProcessImageFileNameW (device form); empty when it fails.
  virtual Text ImageFileName(std::uint32_t pid) = 0;
  virtual std::uint32_t LogicalDrives() = 0;
  // First name QueryDosDeviceW gives for "<letter>:"; empty when none.
  virtual Text DosDeviceName(char16_t letter) = 0;
};

// How a message sent with a time-out fared.
enum class SendResult {
  Answered,
  NoAnswer,  // not within the time-out: a busy or hung program
  Failed,    // no such window, or the send failed otherwise
};

// Memory status and input method manager.
class SystemProbes {
 public:
  virtual ~SystemProbes() = default;
  // dwMemoryLoad of GlobalMemoryStatusEx.
  virtual std::int32_t MemoryStatusLoad() = 0;
  virtual WindowHandle DefaultImeWindow(WindowHandle w) = 0;
  // WM_IME_CONTROL / IMC_GETOPENSTATUS to the input-method window, bounded
  // by a time-out; `answer` is set only when it answered.
  virtual SendResult QueryImeOpenStatus(WindowHandle imeWindow, std::intptr_t& answer) = 0;
};

// Local date and time fields.
struct LocalTime {
  int year = 2000, month = 1, day = 1;
  int dayOfWeek = 6;  // 0 = Sunday
  int hour = 0, minute = 0, second = 0, millisecond = 0;
};

// Abbreviated day names of the user's locale, Sunday first.
using DayNames = std::array<Text, 7>;

class Clock {
 public:
  virtual ~Clock() = default;
  virtual LocalTime Now() = 0;
  virtual void Sleep(std::uint32_t ms) = 0;
};

// The loader calls that bind a function of a library at run time (8-bit
// names, as the counter library's binding uses them).
using ModuleHandle = std::uintptr_t;  // 0: none
using EntryPoint = void (*)();        // null: none

class ModuleLoader {
 public:
  virtual ~ModuleLoader() = default;
  virtual ModuleHandle GetModuleHandleA(const char* name) = 0;
  virtual ModuleHandle LoadLibraryA(const char* name) = 0;
  virtual EntryPoint GetProcAddress(ModuleHandle module, const char* name) = 0;
};

// Performance counter library (pdh.dll) values.
using PdhStatus = std::int32_t;  // 0: success
using PdhQuery = std::uintptr_t;  // 0 never stands for an open query
using PdhCounter = std::uintptr_t;
inline constexpr PdhStatus kPdhMoreData = static_cast<PdhStatus>(0x800007D2u);
inline constexpr std::uint32_t kPdhFmtDouble = 0x200;

// PDH_FMT_COUNTERVALUE as read with PDH_FMT_DOUBLE.
struct PdhFmtCounterValue {
  std::uint32_t CStatus = 0;
  double doubleValue = 0;
};

// Calls a bound entry point of the counter library with the platform's own
// argument list; each method passes its arguments on unchanged and returns
// the function's status.
class PdhEntryPoints {
 public:
  virtual ~PdhEntryPoints() = default;
  virtual PdhStatus PdhOpenQueryW(EntryPoint fn, const char16_t* dataSource, std::uintptr_t userData,
                                  PdhQuery* query) = 0;
  virtual PdhStatus PdhAddCounterW(EntryPoint fn, PdhQuery query, const char16_t* fullCounterPath,
                                   std::uintptr_t userData, PdhCounter* counter) = 0;
  virtual PdhStatus PdhCollectQueryData(EntryPoint fn, PdhQuery query) = 0;
  virtual PdhStatus PdhCloseQuery(EntryPoint fn, PdhQuery query) = 0;
  virtual PdhStatus PdhGetFormattedCounterValue(EntryPoint fn, PdhCounter counter, std::uint32_t format,
                                                std::uint32_t* type, PdhFmtCounterValue* value) = 0;
  virtual PdhStatus PdhExpandWildCardPathW(EntryPoint fn, const char16_t* dataSource,
                                           const char16_t* wildCardPath, char16_t* expandedPathList,
                                           std::uint32_t* pathListLength, std::uint32_t flags) = 0;
};

// One processor-time counter.
struct TCPUCounter {
  Text Path;
  std::uintptr_t Handle = 0;
  std::int32_t CPU = 0;
};

// The processor samplers as the cycle sees them.
class CpuSampler {
 public:
  virtual ~CpuSampler() = default;
  // Total usage in percent; -1 when it cannot be read.
  virtual std::int32_t GetCPUUsage() = 0;
  virtual void UpdateCPUCoreUsage() = 0;
  // Processors in counter order, the machine's total last.
  virtual const std::vector<TCPUCounter>& CPUCounters() const = 0;
  virtual bool CPUCoreFailed() const = 0;
};

// Drives, files and sound (kernel32, winmm).
class DiskAndSound {
 public:
  virtual ~DiskAndSound() = default;
  // SetErrorMode: sets the process error mode, answers the one in force before.
  virtual std::uint32_t SetProcessErrorMode(std::uint32_t mode) = 0;
  // GetDiskFreeSpaceExW on a drive's root ("C:\\"): did the query succeed?
  virtual bool DiskSpaceKnown(const Text& root) = 0;
  // A file (not a folder) exists at the path; links count when their target
  // can be read.
  virtual bool FileExists(const Text& path) = 0;
  // sndPlaySoundW; its result.
  virtual bool PlayWaveFile(const Text& path, std::uint32_t flags) = 0;
};

// Process creation (kernel32).
class ProcessLauncher {
 public:
  virtual ~ProcessLauncher() = default;
  // CreateProcessW of the command line with the given current folder, this
  // program's startup information with its show command replaced, and
  // CREATE_DEFAULT_ERROR_MODE; the new process's handles are closed at once.
  // False when the process could not be created.
  virtual bool StartProcess(const Text& commandLine, const Text& currentFolder, std::uint16_t showCommand) = 0;
};

}  // namespace velmora
