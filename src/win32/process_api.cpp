#include "win32/process_api.h"

#include <windows.h>

#include <psapi.h>

#include "win32/system_library.h"
#include "win32/unique_handle.h"
#include "win32/wide.h"

namespace velmora::win32 {

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
  const auto fn = EntryOf<DWORD(WINAPI*)(HANDLE, LPWSTR, DWORD)>(psapi.get(), "GetProcessImageFileNameW");
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

}  // namespace velmora::win32
