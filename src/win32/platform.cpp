#include "win32/platform.h"

#include <imm.h>
#include <psapi.h>

#include "win32/system_library.h"
#include "win32/unique_handle.h"
#include "win32/wide.h"

namespace velmora::win32 {

namespace {

constexpr WPARAM kImcGetOpenStatus = 0x0005;  // IMC_GETOPENSTATUS of WM_IME_CONTROL

}  // namespace

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

namespace {

UniqueKernelHandle OpenForQuery(std::uint32_t pid) {
  if (pid == 0) return {};
  return UniqueKernelHandle(::OpenProcess(PROCESS_QUERY_INFORMATION | PROCESS_VM_READ, FALSE, pid));
}

}  // namespace

Text Win32ProcessApi::MainModuleFileName(std::uint32_t pid) {
  const auto process = OpenForQuery(pid);
  if (!process) return {};
  wchar_t buf[261] = {};
  if (::GetModuleFileNameExW(process.get(), nullptr, buf, 260) == 0) return {};
  return FromWide(buf);
}

Text Win32ProcessApi::ImageFileName(std::uint32_t pid) {
  const auto process = OpenForQuery(pid);
  if (!process) return {};
  // Looked up at run time: older systems' psapi lacks it.
  const UniqueModule psapi(LoadSystemLibrary(L"psapi.dll"));
  if (!psapi) return {};
  using Fn = DWORD(WINAPI*)(HANDLE, LPWSTR, DWORD);
  const auto fn = reinterpret_cast<Fn>(reinterpret_cast<void*>(::GetProcAddress(psapi.get(), "GetProcessImageFileNameW")));
  if (!fn) return {};
  wchar_t buf[261] = {};
  fn(process.get(), buf, 260);
  return FromWide(buf);
}

std::uint32_t Win32ProcessApi::LogicalDrives() { return ::GetLogicalDrives(); }

Text Win32ProcessApi::DosDeviceName(char16_t letter) {
  const wchar_t drive[3] = {static_cast<wchar_t>(letter), L':', L'\0'};
  wchar_t buf[261] = {};
  if (::QueryDosDeviceW(drive, buf, 260) == 0) return {};
  return FromWide(buf);
}

std::int32_t Win32SystemProbes::MemoryStatusLoad() {
  MEMORYSTATUSEX status{};
  status.dwLength = sizeof(status);
  if (!::GlobalMemoryStatusEx(&status)) return 0;
  return static_cast<std::int32_t>(status.dwMemoryLoad);
}

WindowHandle Win32SystemProbes::DefaultImeWindow(WindowHandle w) {
  return ToHandle(::ImmGetDefaultIMEWnd(ToHwnd(w)));
}

SendResult Win32SystemProbes::QueryImeOpenStatus(WindowHandle imeWindow, std::intptr_t& answer) {
  if (imeWindow == 0) return SendResult::Failed;
  DWORD_PTR result = 0;
  ::SetLastError(ERROR_SUCCESS);
  if (!::SendMessageTimeoutW(ToHwnd(imeWindow), WM_IME_CONTROL, kImcGetOpenStatus, 0,
                             SMTO_ABORTIFHUNG | SMTO_NORMAL, kImeTimeoutMs, &result)) {
    // A program that is busy or hung: the send times out (SMTO_ABORTIFHUNG
    // gives up at once and reports a time-out as well).
    return ::GetLastError() == ERROR_TIMEOUT ? SendResult::NoAnswer : SendResult::Failed;
  }
  answer = static_cast<std::intptr_t>(result);
  return SendResult::Answered;
}

LocalTime Win32Clock::Now() {
  SYSTEMTIME st{};
  ::GetLocalTime(&st);
  return {st.wYear, st.wMonth, st.wDay, st.wDayOfWeek, st.wHour, st.wMinute, st.wSecond, st.wMilliseconds};
}

void Win32Clock::Sleep(std::uint32_t ms) { ::Sleep(ms); }

DayNames ReadDayNames() {
  // LOCALE_SABBREVDAYNAME1 is Monday, 7 is Sunday.
  static constexpr LCTYPE kIds[7] = {LOCALE_SABBREVDAYNAME7, LOCALE_SABBREVDAYNAME1, LOCALE_SABBREVDAYNAME2,
                                     LOCALE_SABBREVDAYNAME3, LOCALE_SABBREVDAYNAME4, LOCALE_SABBREVDAYNAME5,
                                     LOCALE_SABBREVDAYNAME6};
  DayNames names;
  for (size_t i = 0; i < 7; ++i) {
    wchar_t buf[80] = {};
    if (::GetLocaleInfoW(LOCALE_USER_DEFAULT, kIds[i], buf, 80) > 0) names[i] = FromWide(buf);
  }
  return names;
}

std::uint32_t ProcessorCount() {
  SYSTEM_INFO info{};
  ::GetSystemInfo(&info);
  return info.dwNumberOfProcessors;
}

std::uint32_t Win32DiskAndSound::SetProcessErrorMode(std::uint32_t mode) {
  return ::SetErrorMode(static_cast<UINT>(mode));
}

bool Win32DiskAndSound::DiskSpaceKnown(const Text& root) {
  ULARGE_INTEGER available{}, total{}, free{};
  return ::GetDiskFreeSpaceExW(Wide(root), &available, &total, &free) != FALSE;
}

namespace {

struct FindCloser {
  void operator()(HANDLE h) const noexcept { ::FindClose(h); }
};
using UniqueFind = UniqueHandle<HANDLE, FindCloser>;

// FindFirstFileW reports failure as INVALID_HANDLE_VALUE rather than 0.
UniqueFind OwnFindHandle(HANDLE h) noexcept { return UniqueFind(h == INVALID_HANDLE_VALUE ? nullptr : h); }

}  // namespace

bool Win32DiskAndSound::FileExists(const Text& path) {
  const DWORD attributes = ::GetFileAttributesW(Wide(path));
  if (attributes != INVALID_FILE_ATTRIBUTES) {
    if (attributes & FILE_ATTRIBUTE_DIRECTORY) return false;  // also a link to a folder
    if ((attributes & FILE_ATTRIBUTE_REPARSE_POINT) == 0) return true;
    // A link counts when its target can be read, or is only held by another
    // program.
    const auto target = OwnFileHandle(
        ::CreateFileW(Wide(path), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr));
    return target || ::GetLastError() == ERROR_SHARING_VIOLATION;
  }
  const DWORD error = ::GetLastError();
  if (error == ERROR_FILE_NOT_FOUND || error == ERROR_PATH_NOT_FOUND || error == ERROR_INVALID_NAME) return false;
  // Attributes refused for another reason (a locked-down folder, say): a
  // directory search may still see it.
  WIN32_FIND_DATAW found{};
  const auto search = OwnFindHandle(::FindFirstFileW(Wide(path), &found));
  return search && (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) == 0;
}

bool Win32DiskAndSound::PlayWaveFile(const Text& path, std::uint32_t flags) {
  // Bound at the first sound, from the system folder, and kept: winmm.dll is
  // not one of the libraries Windows always takes from there, so importing
  // it would let a copy beside Velmora run in its place.
  using Play = BOOL(WINAPI*)(LPCWSTR, UINT);
  static Play play = nullptr;
  if (!play) {
    if (const HMODULE winmm = LoadSystemLibrary(L"winmm.dll")) {
      play = reinterpret_cast<Play>(reinterpret_cast<void*>(::GetProcAddress(winmm, "sndPlaySoundW")));
    }
  }
  return play && play(Wide(path), static_cast<UINT>(flags)) != FALSE;
}

bool Win32ProcessLauncher::StartProcess(const Text& commandLine, const Text& currentFolder,
                                        std::uint16_t showCommand) {
  STARTUPINFOW startup{};
  startup.cb = sizeof(startup);
  ::GetStartupInfoW(&startup);
  // Only the show command changes; without STARTF_USESHOWWINDOW from our own
  // start it has no effect, as it always had.
  startup.wShowWindow = showCommand;
  std::wstring buffer(Wide(commandLine));  // CreateProcessW may write into it
  PROCESS_INFORMATION info{};
  if (!::CreateProcessW(nullptr, buffer.data(), nullptr, nullptr, FALSE, CREATE_DEFAULT_ERROR_MODE, nullptr,
                        currentFolder.empty() ? nullptr : Wide(currentFolder), &startup, &info)) {
    return false;
  }
  // Nothing waits for the new process: its handles go at once.
  const UniqueKernelHandle process(info.hProcess), thread(info.hThread);
  return true;
}

Text OwnProgramFolder() {
  std::wstring path(MAX_PATH, L'\0');
  for (;;) {
    const DWORD n = ::GetModuleFileNameW(nullptr, path.data(), static_cast<DWORD>(path.size()));
    if (n == 0) return {};
    if (n < path.size()) {
      path.resize(n);
      break;
    }
    path.resize(path.size() * 2);
  }
  return FromWide(path.substr(0, path.rfind(L'\\') + 1));
}

}  // namespace velmora::win32
