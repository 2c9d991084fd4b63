#include "system_folder.h"

#include <windows.h>

#include <chrono>
#include <cstdint>

#include "support.h"
#include "win32/settings_files.h"
#include "win32/wide.h"

namespace velmora::testing {

namespace {

using win32::FromWide;

std::wstring FileNameOf(const std::wstring& path) { return path.substr(path.find_last_of(L"\\/") + 1); }

bool Read(const std::wstring& path, std::string& bytes) {
  std::uint32_t error = 0;
  return win32::Win32SettingsFiles().ReadWholeFile(FromWide(path), bytes, error);
}

// A library that a process still maps cannot be replaced, and a process
// just ended may still hold it for a moment.
bool Replace(const std::wstring& path, const std::string& bytes) {
  win32::Win32SettingsFiles files;
  return WaitFor([&] {
    std::uint32_t error = 0;
    return files.ReplaceFileAtomically(FromWide(path), bytes, error);
  });
}

}  // namespace

std::wstring SystemFolder() {
  wchar_t folder[MAX_PATH] = {};
  const UINT n = ::GetSystemDirectoryW(folder, MAX_PATH);
  return n > 0 && n < MAX_PATH ? std::wstring(folder, n) + L"\\" : std::wstring();
}

std::wstring ModulePath(HMODULE module) {
  std::wstring path(MAX_PATH, L'\0');
  const DWORD n = ::GetModuleFileNameW(module, path.data(), MAX_PATH);
  path.resize(n < MAX_PATH ? n : 0);
  return path;
}

bool FromSystemFolder(HMODULE module, const std::wstring& name) {
  return ::CompareStringOrdinal(ModulePath(module).c_str(), -1, (SystemFolder() + name).c_str(), -1, TRUE) ==
         CSTR_EQUAL;
}

bool RunningUnderWine() {
  return ::GetProcAddress(::GetModuleHandleW(L"ntdll.dll"), "wine_get_version") != nullptr;
}

bool InstallInSystemFolder(const std::wstring& library) {
  if (!RunningUnderWine()) return false;
  const std::wstring target = SystemFolder() + FileNameOf(library);
  const std::wstring own = target + L".own";
  std::string bytes, before;
  if (!Read(library, bytes)) return false;
  if (::GetFileAttributesW(own.c_str()) == INVALID_FILE_ATTRIBUTES && Read(target, before) &&
      !Replace(own, before)) {
    return false;
  }
  return Replace(target, bytes);
}

bool RestoreSystemFolder(const std::wstring& name) {
  const std::wstring target = SystemFolder() + name, own = target + L".own";
  std::string bytes;
  if (::GetFileAttributesW(own.c_str()) == INVALID_FILE_ATTRIBUTES) return true;
  return Read(own, bytes) && Replace(target, bytes) && ::DeleteFileW(own.c_str());
}

std::wstring CurrentFolder() {
  wchar_t folder[MAX_PATH] = {};
  const DWORD n = ::GetCurrentDirectoryW(MAX_PATH, folder);
  std::wstring path(folder, n < MAX_PATH ? n : 0);
  if (!path.empty() && path.back() != L'\\') path += L'\\';
  return path;
}

PlantedCopy::PlantedCopy(const std::wstring& library, const std::wstring& path)
    : path_(path), copied_(::CopyFileW(library.c_str(), path.c_str(), FALSE) != FALSE) {}

PlantedCopy::~PlantedCopy() {
  if (copied_) ::DeleteFileW(path_.c_str());
}

ScopedSystemLibrary::ScopedSystemLibrary(const std::wstring& library)
    : target_(SystemFolder() + FileNameOf(library)) {
  std::string bytes;
  installed_ = RunningUnderWine() && Read(target_, before_) && Read(library, bytes) && Replace(target_, bytes);
}

ScopedSystemLibrary::~ScopedSystemLibrary() {
  if (installed_) Replace(target_, before_);
}

}  // namespace velmora::testing
