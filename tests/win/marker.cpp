// velmora_marker.exe NAME: appends "<current folder>|<process id>" and a line
// break to the file NAME, taken relative to that folder. Started by the program under
// test, it shows where it ran and how often.
#include <windows.h>

#include <cstdio>
#include <string>

int WINAPI wWinMain(HINSTANCE, HINSTANCE, LPWSTR, int) {
  int argc = 0;
  LPWSTR* argv = ::CommandLineToArgvW(::GetCommandLineW(), &argc);
  if (argc < 2) return 2;
  const std::wstring name = argv[1];
  ::LocalFree(argv);

  wchar_t folder[MAX_PATH] = {};
  const DWORD n = ::GetCurrentDirectoryW(MAX_PATH, folder);
  if (n == 0 || n >= MAX_PATH) return 3;
  char utf8[4 * MAX_PATH] = {};
  int bytes = ::WideCharToMultiByte(CP_UTF8, 0, folder, static_cast<int>(n), utf8, sizeof(utf8) - 32, nullptr, nullptr);
  bytes += std::snprintf(utf8 + bytes, sizeof(utf8) - static_cast<size_t>(bytes), "|%lu\r\n",
                         static_cast<unsigned long>(::GetCurrentProcessId()));

  // Several starts may race: append under an exclusive open, retrying.
  for (int attempt = 0; attempt < 200; ++attempt) {
    HANDLE f = ::CreateFileW(name.c_str(), FILE_APPEND_DATA, 0, nullptr, OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (f != INVALID_HANDLE_VALUE) {
      DWORD written = 0;
      const BOOL ok = ::WriteFile(f, utf8, static_cast<DWORD>(bytes), &written, nullptr);
      ::CloseHandle(f);
      return ok ? 0 : 4;
    }
    ::Sleep(10);
  }
  return 5;
}
