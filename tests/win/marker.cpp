// velmora_marker.exe NAME [HANDLE]: appends one line to the file NAME, taken
// relative to its current folder, and ends. Started by the program under
// test, it shows where and how it was started, and how often:
//   <current folder>|<process id>|<error mode>|<startup flags>|<show command>|<HANDLE's file>
// the error mode it was given, dwFlags and wShowWindow of its startup
// information, and the path of the file that the handle value HANDLE (a
// decimal number, an inheritable handle of the starting program) names in
// this process: empty when the handle was not inherited.
#include <windows.h>

#include <cstdio>
#include <cwchar>
#include <string>

namespace {

std::string Utf8(const wchar_t* text, int units) {
  if (units <= 0) return {};
  const int bytes = ::WideCharToMultiByte(CP_UTF8, 0, text, units, nullptr, 0, nullptr, nullptr);
  std::string out(static_cast<size_t>(bytes), '\0');
  ::WideCharToMultiByte(CP_UTF8, 0, text, units, out.data(), bytes, nullptr, nullptr);
  return out;
}

// The error mode, read without changing it.
UINT ErrorMode() {
  const UINT mode = ::SetErrorMode(0);
  ::SetErrorMode(mode);
  return mode;
}

// The file a handle value names here; empty when it names none.
std::string FileOfHandle(const std::wstring& value) {
  if (value.empty()) return {};
  const auto handle = reinterpret_cast<HANDLE>(static_cast<INT_PTR>(std::wcstoll(value.c_str(), nullptr, 10)));
  DWORD flags = 0;
  if (!::GetHandleInformation(handle, &flags)) return {};
  wchar_t path[MAX_PATH] = {};
  const DWORD n = ::GetFinalPathNameByHandleW(handle, path, MAX_PATH, FILE_NAME_NORMALIZED);
  return n > 0 && n < MAX_PATH ? Utf8(path, static_cast<int>(n)) : std::string();
}

}  // namespace

int WINAPI wWinMain(HINSTANCE, HINSTANCE, LPWSTR, int) {
  const UINT errorMode = ErrorMode();  // before anything here could change it
  int argc = 0;
  LPWSTR* argv = ::CommandLineToArgvW(::GetCommandLineW(), &argc);
  if (argc < 2) return 2;
  const std::wstring name = argv[1];
  const std::wstring handle = argc > 2 ? argv[2] : L"";
  ::LocalFree(argv);

  wchar_t folder[MAX_PATH] = {};
  const DWORD n = ::GetCurrentDirectoryW(MAX_PATH, folder);
  if (n == 0 || n >= MAX_PATH) return 3;
  STARTUPINFOW startup{};
  startup.cb = sizeof(startup);
  ::GetStartupInfoW(&startup);
  char fields[128] = {};
  std::snprintf(fields, sizeof(fields), "|%lu|%u|%lu|%u|", static_cast<unsigned long>(::GetCurrentProcessId()),
                errorMode, static_cast<unsigned long>(startup.dwFlags), static_cast<unsigned>(startup.wShowWindow));
  const std::string line = Utf8(folder, static_cast<int>(n)) + fields + FileOfHandle(handle) + "\r\n";

  // Several starts may race: append under an exclusive open, retrying.
  for (int attempt = 0; attempt < 200; ++attempt) {
    HANDLE f = ::CreateFileW(name.c_str(), FILE_APPEND_DATA, 0, nullptr, OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (f != INVALID_HANDLE_VALUE) {
      DWORD written = 0;
      const BOOL ok = ::WriteFile(f, line.data(), static_cast<DWORD>(line.size()), &written, nullptr);
      ::CloseHandle(f);
      return ok ? 0 : 4;
    }
    ::Sleep(10);
  }
  return 5;
}
