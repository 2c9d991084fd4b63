#include "support.h"

#include <shlobj.h>

#include <string>
#include <utility>
#include <vector>

namespace velmora::testing {

std::wstring BinDir() {
  std::wstring path(MAX_PATH, L'\0');
  for (;;) {
    const DWORD n = ::GetModuleFileNameW(nullptr, path.data(), static_cast<DWORD>(path.size()));
    if (n < path.size()) {
      path.resize(n);
      break;
    }
    path.resize(path.size() * 2);
  }
  return path.substr(0, path.find_last_of(L"\\/") + 1);
}

ChildProcess::ChildProcess(const std::wstring& exe, const std::wstring& args) {
  std::wstring commandLine = L"\"" + exe + L"\" " + args;
  STARTUPINFOW si{};
  si.cb = sizeof(si);
  if (!::CreateProcessW(exe.c_str(), commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &si,
                        &info_)) {
    info_ = {};
  }
}

ChildProcess::ChildProcess(ChildProcess&& other) noexcept : info_(std::exchange(other.info_, {})) {}

ChildProcess& ChildProcess::operator=(ChildProcess&& other) noexcept {
  if (this != &other) {
    Kill();
    Close();
    info_ = std::exchange(other.info_, {});
  }
  return *this;
}

ChildProcess::~ChildProcess() {
  Kill();
  Close();
}

bool ChildProcess::WaitExit(DWORD timeoutMs, DWORD& code) {
  if (!Started() || ::WaitForSingleObject(info_.hProcess, timeoutMs) != WAIT_OBJECT_0) return false;
  ::GetExitCodeProcess(info_.hProcess, &code);
  return true;
}

void ChildProcess::Kill() {
  if (!Started()) return;
  if (::WaitForSingleObject(info_.hProcess, 0) == WAIT_TIMEOUT) {
    ::TerminateProcess(info_.hProcess, 99);
    ::WaitForSingleObject(info_.hProcess, 10000);
  }
}

void ChildProcess::Close() {
  if (info_.hThread) ::CloseHandle(info_.hThread);
  if (info_.hProcess) ::CloseHandle(info_.hProcess);
  info_ = {};
}

std::wstring TitleOf(HWND hwnd) {
  // Whole titles of any length: the buffer grows until the title fits.
  for (size_t size = 4096;; size *= 2) {
    std::wstring buf(size, L'\0');
    const int n = ::GetWindowTextW(hwnd, buf.data(), static_cast<int>(buf.size()));
    if (n <= 0) return {};
    if (static_cast<size_t>(n) < size - 1 || size >= (1u << 24)) {
      buf.resize(static_cast<size_t>(n));
      return buf;
    }
  }
}

namespace {

struct Search {
  DWORD pid;
  const std::wstring* className;
  HWND found;
};

BOOL CALLBACK MatchWindow(HWND hwnd, LPARAM lParam) {
  auto* s = reinterpret_cast<Search*>(lParam);
  DWORD pid = 0;
  ::GetWindowThreadProcessId(hwnd, &pid);
  if (pid != s->pid) return TRUE;
  wchar_t cls[256] = {};
  ::GetClassNameW(hwnd, cls, 256);
  if (*s->className != cls) return TRUE;
  s->found = hwnd;
  return FALSE;
}

}  // namespace

HWND WaitForWindowOf(DWORD pid, const std::wstring& className) {
  Search s{pid, &className, nullptr};
  WaitFor([&] {
    ::EnumWindows(MatchWindow, reinterpret_cast<LPARAM>(&s));
    return s.found != nullptr;
  });
  return s.found;
}

TestWindow::TestWindow(const std::wstring& title, const std::wstring& state, const std::wstring& path)
    : title_(title),
      process_(BinDir() + L"velmora_testwin.exe", L"\"" + title + L"\" " + state + L" \"" + path + L"\"") {
  if (!process_.Started()) return;
  hwnd_ = WaitForWindowOf(process_.Pid(), state == L"dialog" ? L"#32770" : testwin::kClassName);
  if (!hwnd_) return;
  // The helper sets its title once the window is staged.
  if (!WaitFor([&] { return TitleOf(hwnd_) == title_; })) hwnd_ = nullptr;
}

bool TestWindow::Activate() {
  // Wine lets a process bring its own window to the front; ask the helper.
  return WaitFor(
      [&] {
        if (::GetForegroundWindow() == hwnd_) return true;
        ::PostMessageW(hwnd_, testwin::kActivate, 0, 0);
        ::Sleep(100);
        return ::GetForegroundWindow() == hwnd_;
      },
      std::chrono::seconds(15));
}

bool TestWindow::SetTitle(const std::wstring& title) {
  title_ = title;
  DWORD_PTR result = 0;
  return ::SendMessageTimeoutW(hwnd_, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(title.c_str()), SMTO_ABORTIFHUNG,
                               5000, &result) != 0;
}

bool TestWindow::Hang(DWORD ms) {
  ::PostMessageW(hwnd_, testwin::kHang, ms, 0);
  return WaitFor([&] {
    DWORD_PTR result = 0;
    return ::SendMessageTimeoutW(hwnd_, WM_NULL, 0, 0, SMTO_NORMAL, 50, &result) == 0;
  });
}

namespace {

struct DialogSearch {
  DWORD pid;
  std::vector<HWND> found;
};

BOOL CALLBACK CollectDialog(HWND hwnd, LPARAM lParam) {
  auto* s = reinterpret_cast<DialogSearch*>(lParam);
  DWORD pid = 0;
  ::GetWindowThreadProcessId(hwnd, &pid);
  wchar_t cls[16] = {};
  ::GetClassNameW(hwnd, cls, 16);
  if (pid == s->pid && std::wstring(cls) == L"#32770" && ::IsWindowVisible(hwnd)) s->found.push_back(hwnd);
  return TRUE;
}

}  // namespace

std::vector<HWND> VisibleDialogsOf(DWORD pid) {
  DialogSearch s{pid, {}};
  ::EnumWindows(CollectDialog, reinterpret_cast<LPARAM>(&s));
  return s.found;
}

HWND WaitForDialogOf(DWORD pid, std::chrono::milliseconds timeout) {
  HWND found = nullptr;
  WaitFor(
      [&] {
        const auto dialogs = VisibleDialogsOf(pid);
        found = dialogs.empty() ? nullptr : dialogs.front();
        return found != nullptr;
      },
      timeout);
  return found;
}

namespace {

BOOL CALLBACK CollectStatic(HWND child, LPARAM lParam) {
  wchar_t cls[64] = {};
  ::GetClassNameW(child, cls, 64);
  if (_wcsicmp(cls, L"Static") == 0) {
    auto* out = reinterpret_cast<std::wstring*>(lParam);
    const std::wstring text = TitleOf(child);
    if (!text.empty()) {
      if (!out->empty()) *out += L"\n";
      *out += text;
    }
  }
  return TRUE;
}

}  // namespace

std::wstring DialogText(HWND dialog) {
  std::wstring text;
  ::EnumChildWindows(dialog, CollectStatic, reinterpret_cast<LPARAM>(&text));
  return text;
}

std::wstring DataFolder() {
  wchar_t appData[MAX_PATH] = {};
  ::SHGetFolderPathW(nullptr, CSIDL_APPDATA, nullptr, 0, appData);
  return std::wstring(appData) + L"\\Orvane\\Velmora\\";
}

namespace {
constexpr const wchar_t* kDataFiles[] = {L"Velmora.ini", L"Disable.log"};
}

DataFolderGuard::DataFolderGuard(const wchar_t* suffix) : suffix_(suffix) {
  ::SHCreateDirectoryExW(nullptr, DataFolder().c_str(), nullptr);
  for (const wchar_t* name : kDataFiles) {
    const std::wstring path = DataFolder() + name;
    ::RemoveDirectoryW((path + suffix_).c_str());
    ::MoveFileExW(path.c_str(), (path + suffix_).c_str(), MOVEFILE_REPLACE_EXISTING);
  }
}

DataFolderGuard::~DataFolderGuard() {
  for (const wchar_t* name : kDataFiles) {
    const std::wstring path = DataFolder() + name;
    ::RemoveDirectoryW(path.c_str());  // a test may stand a folder there
    ::DeleteFileW(path.c_str());
    ::MoveFileExW((path + suffix_).c_str(), path.c_str(), MOVEFILE_REPLACE_EXISTING);
  }
}

std::string ReadBytes(const std::wstring& path) {
  HANDLE f = ::CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                           nullptr, OPEN_EXISTING, 0, nullptr);
  if (f == INVALID_HANDLE_VALUE) return {};
  std::string bytes;
  char buf[4096];
  DWORD got = 0;
  while (::ReadFile(f, buf, sizeof(buf), &got, nullptr) && got > 0) bytes.append(buf, got);
  ::CloseHandle(f);
  return bytes;
}

bool WriteBytes(const std::wstring& path, const std::string& bytes) {
  HANDLE f = ::CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
  if (f == INVALID_HANDLE_VALUE) return false;
  DWORD written = 0;
  const bool ok = ::WriteFile(f, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr) &&
                  written == bytes.size();
  ::CloseHandle(f);
  return ok;
}

// This process's folder in /proc on drive Z:, with a trailing backslash;
// empty when it cannot be found. Z:\proc\self would show the wineserver,
// which opens files for its clients, so the process is found by a file it
// has mapped into its memory under a name of its own.
const std::wstring& OwnProcFolder() {
  static const std::wstring folder = [] {
    wchar_t temp[MAX_PATH] = {};
    ::GetTempPathW(MAX_PATH, temp);
    const std::string marker =
        "velmora-soak-" + std::to_string(::GetCurrentProcessId()) + "-" + std::to_string(::GetTickCount64());
    const std::wstring path = std::wstring(temp) + std::wstring(marker.begin(), marker.end()) + L".map";
    std::wstring found;
    if (!WriteBytes(path, std::string(4096, 'v'))) return found;
    const HANDLE file = ::CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
    const HANDLE section =
        file == INVALID_HANDLE_VALUE ? nullptr : ::CreateFileMappingW(file, nullptr, PAGE_READONLY, 0, 0, nullptr);
    const void* view = section ? ::MapViewOfFile(section, FILE_MAP_READ, 0, 0, 0) : nullptr;
    if (view) {
      WIN32_FIND_DATAW entry{};
      const HANDLE search = ::FindFirstFileW(L"Z:\\proc\\*", &entry);
      if (search != INVALID_HANDLE_VALUE) {
        do {
          if (entry.cFileName[0] < L'1' || entry.cFileName[0] > L'9') continue;
          const std::wstring candidate = std::wstring(L"Z:\\proc\\") + entry.cFileName + L"\\";
          if (ReadBytes(candidate + L"maps").find(marker) != std::string::npos) found = candidate;
        } while (found.empty() && ::FindNextFileW(search, &entry));
        ::FindClose(search);
      }
      ::UnmapViewOfFile(view);
    }
    if (section) ::CloseHandle(section);
    if (file != INVALID_HANDLE_VALUE) ::CloseHandle(file);
    ::DeleteFileW(path.c_str());
    return found;
  }();
  return folder;
}

std::string Narrow(const std::wstring& s) {
  if (s.empty()) return {};
  const int n = ::WideCharToMultiByte(CP_UTF8, 0, s.data(), static_cast<int>(s.size()), nullptr, 0, nullptr, nullptr);
  std::string out(static_cast<size_t>(n), '\0');
  ::WideCharToMultiByte(CP_UTF8, 0, s.data(), static_cast<int>(s.size()), out.data(), n, nullptr, nullptr);
  return out;
}

}  // namespace velmora::testing
