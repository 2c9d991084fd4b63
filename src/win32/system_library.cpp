#include "win32/system_library.h"

#include <string>

namespace velmora::win32 {

namespace {

// Windows 7 without update KB2533623 knows neither SetDefaultDllDirectories
// nor the search flags of LoadLibraryEx, which it refuses as an invalid
// parameter; the full path under the system folder serves there.
bool SearchFlagsRefused() { return ::GetLastError() == ERROR_INVALID_PARAMETER; }

template <typename Char, typename Folder>
std::basic_string<Char> InSystemFolder(const Char* name, Folder systemDirectory) {
  Char folder[MAX_PATH] = {};
  const UINT n = systemDirectory(folder, MAX_PATH);
  if (n == 0 || n >= MAX_PATH) return {};
  return std::basic_string<Char>(folder, n) + Char('\\') + name;
}

}  // namespace

void RestrictLibrarySearch() {
  // Looked up, not imported, so that the program still starts where it is missing.
  if (const auto setDefault =
          EntryOf<BOOL(WINAPI*)(DWORD)>(::GetModuleHandleW(L"kernel32.dll"), "SetDefaultDllDirectories")) {
    setDefault(LOAD_LIBRARY_SEARCH_SYSTEM32);
  }
  ::SetDllDirectoryW(L"");
}

HMODULE LoadSystemLibrary(const wchar_t* name) {
  if (const HMODULE module = ::LoadLibraryExW(name, nullptr, LOAD_LIBRARY_SEARCH_SYSTEM32)) return module;
  if (!SearchFlagsRefused()) return nullptr;
  const std::wstring path = InSystemFolder(name, ::GetSystemDirectoryW);
  return path.empty() ? nullptr : ::LoadLibraryW(path.c_str());
}

HMODULE LoadSystemLibraryA(const char* name) {
  if (const HMODULE module = ::LoadLibraryExA(name, nullptr, LOAD_LIBRARY_SEARCH_SYSTEM32)) return module;
  if (!SearchFlagsRefused()) return nullptr;
  const std::string path = InSystemFolder(name, ::GetSystemDirectoryA);
  return path.empty() ? nullptr : ::LoadLibraryA(path.c_str());
}

}  // namespace velmora::win32
