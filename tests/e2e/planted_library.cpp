// A library planted under the names of libraries Velmora uses (pdh.dll,
// winmm.dll, comctl32.dll, comdlg32.dll) beside it and in the folder it is
// started from. Whoever loads it leaves a trace: the start-up code appends
// the path of the loading program and a line break to "<this library's
// path>.ran". It exports nothing Velmora looks for; VelmoraPlanted is there
// so that rundll32 can load it on purpose, to show that the trace works.
#include <windows.h>

#include <string>

namespace {

std::wstring ModulePath(HMODULE module) {
  std::wstring path(MAX_PATH, L'\0');
  for (;;) {
    const DWORD n = ::GetModuleFileNameW(module, path.data(), static_cast<DWORD>(path.size()));
    if (n == 0) return {};
    if (n < path.size()) return path.substr(0, n);
    path.resize(path.size() * 2);
  }
}

void LeaveTrace(HMODULE self) {
  const std::wstring program = ModulePath(nullptr) + L"\r\n";
  char line[4 * MAX_PATH] = {};
  const int bytes = ::WideCharToMultiByte(CP_UTF8, 0, program.c_str(), static_cast<int>(program.size()), line,
                                          sizeof(line), nullptr, nullptr);
  const HANDLE file = ::CreateFileW((ModulePath(self) + L".ran").c_str(), FILE_APPEND_DATA,
                                    FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL,
                                    nullptr);
  if (file == INVALID_HANDLE_VALUE) return;
  DWORD written = 0;
  ::WriteFile(file, line, static_cast<DWORD>(bytes), &written, nullptr);
  ::CloseHandle(file);
}

}  // namespace

extern "C" __declspec(dllexport) void CALLBACK VelmoraPlanted(HWND, HINSTANCE, LPSTR, int) {}

BOOL WINAPI DllMain(HINSTANCE self, DWORD reason, LPVOID) {
  if (reason == DLL_PROCESS_ATTACH) LeaveTrace(self);
  return TRUE;
}
