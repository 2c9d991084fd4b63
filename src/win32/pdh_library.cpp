#include "win32/pdh_library.h"

#include <windows.h>
// Types and signatures only: nothing here refers to an import of pdh.dll.
#include <pdh.h>

#include "win32/system_library.h"

namespace velmora::win32 {

namespace {

template <typename Function>
Function As(EntryPoint fn) {
  return reinterpret_cast<Function>(fn);
}

LPCWSTR W(const char16_t* s) { return reinterpret_cast<LPCWSTR>(s); }

// Out parameters keep their null-ness and their value in and out.
template <typename Handle>
struct OutHandle {
  explicit OutHandle(std::uintptr_t* core) : core_(core), value_(core ? reinterpret_cast<Handle>(*core) : nullptr) {}
  ~OutHandle() {
    if (core_) *core_ = reinterpret_cast<std::uintptr_t>(value_);
  }
  Handle* get() { return core_ ? &value_ : nullptr; }

  std::uintptr_t* core_;
  Handle value_;
};

// A 32-bit in-and-out number as the platform's DWORD.
struct OutDword {
  explicit OutDword(std::uint32_t* core) : core_(core), value_(core ? *core : 0) {}
  ~OutDword() {
    if (core_) *core_ = value_;
  }
  LPDWORD get() { return core_ ? &value_ : nullptr; }

  std::uint32_t* core_;
  DWORD value_;
};

}  // namespace

ModuleHandle Win32ModuleLoader::GetModuleHandleA(const char* name) {
  return reinterpret_cast<ModuleHandle>(::GetModuleHandleA(name));
}

ModuleHandle Win32ModuleLoader::LoadLibraryA(const char* name) {
  return reinterpret_cast<ModuleHandle>(LoadSystemLibraryA(name));
}

EntryPoint Win32ModuleLoader::GetProcAddress(ModuleHandle module, const char* name) {
  return reinterpret_cast<EntryPoint>(::GetProcAddress(reinterpret_cast<HMODULE>(module), name));
}

PdhStatus Win32PdhEntryPoints::PdhOpenQueryW(EntryPoint fn, const char16_t* dataSource, std::uintptr_t userData,
                                             PdhQuery* query) {
  OutHandle<PDH_HQUERY> out(query);
  return As<decltype(&::PdhOpenQueryW)>(fn)(W(dataSource), userData, out.get());
}

PdhStatus Win32PdhEntryPoints::PdhAddCounterW(EntryPoint fn, PdhQuery query, const char16_t* fullCounterPath,
                                              std::uintptr_t userData, PdhCounter* counter) {
  OutHandle<PDH_HCOUNTER> out(counter);
  return As<decltype(&::PdhAddCounterW)>(fn)(reinterpret_cast<PDH_HQUERY>(query), W(fullCounterPath), userData,
                                             out.get());
}

PdhStatus Win32PdhEntryPoints::PdhCollectQueryData(EntryPoint fn, PdhQuery query) {
  return As<decltype(&::PdhCollectQueryData)>(fn)(reinterpret_cast<PDH_HQUERY>(query));
}

PdhStatus Win32PdhEntryPoints::PdhCloseQuery(EntryPoint fn, PdhQuery query) {
  return As<decltype(&::PdhCloseQuery)>(fn)(reinterpret_cast<PDH_HQUERY>(query));
}

PdhStatus Win32PdhEntryPoints::PdhGetFormattedCounterValue(EntryPoint fn, PdhCounter counter, std::uint32_t format,
                                                           std::uint32_t* type, PdhFmtCounterValue* value) {
  OutDword outType(type);
  PDH_FMT_COUNTERVALUE record{};
  if (value) {
    record.CStatus = value->CStatus;
    record.doubleValue = value->doubleValue;
  }
  const PDH_STATUS status = As<decltype(&::PdhGetFormattedCounterValue)>(fn)(
      reinterpret_cast<PDH_HCOUNTER>(counter), format, outType.get(), value ? &record : nullptr);
  if (value) *value = {record.CStatus, record.doubleValue};
  return status;
}

PdhStatus Win32PdhEntryPoints::PdhExpandWildCardPathW(EntryPoint fn, const char16_t* dataSource,
                                                      const char16_t* wildCardPath, char16_t* expandedPathList,
                                                      std::uint32_t* pathListLength, std::uint32_t flags) {
  OutDword length(pathListLength);
  return As<decltype(&::PdhExpandWildCardPathW)>(fn)(W(dataSource), W(wildCardPath),
                                                     reinterpret_cast<LPWSTR>(expandedPathList), length.get(), flags);
}

}  // namespace velmora::win32
