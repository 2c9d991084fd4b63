// The loader and the calls behind the counter library's binding: one Windows
// call a method. Velmora does not import pdh.dll; its functions are reached
// only through entry points the binding looked up.
#pragma once

#include "core/seams.h"

namespace velmora::win32 {

// The module a binding loads comes from the system folder only, and is never
// freed: its entry points are kept for the life of the process.
class Win32ModuleLoader final : public ModuleLoader {
 public:
  ModuleHandle GetModuleHandleA(const char* name) override;
  ModuleHandle LoadLibraryA(const char* name) override;
  EntryPoint GetProcAddress(ModuleHandle module, const char* name) override;
};

class Win32PdhEntryPoints final : public PdhEntryPoints {
 public:
  PdhStatus PdhOpenQueryW(EntryPoint fn, const char16_t* dataSource, std::uintptr_t userData,
                          PdhQuery* query) override;
  PdhStatus PdhAddCounterW(EntryPoint fn, PdhQuery query, const char16_t* fullCounterPath,
                           std::uintptr_t userData, PdhCounter* counter) override;
  PdhStatus PdhCollectQueryData(EntryPoint fn, PdhQuery query) override;
  PdhStatus PdhCloseQuery(EntryPoint fn, PdhQuery query) override;
  PdhStatus PdhGetFormattedCounterValue(EntryPoint fn, PdhCounter counter, std::uint32_t format,
                                        std::uint32_t* type, PdhFmtCounterValue* value) override;
  PdhStatus PdhExpandWildCardPathW(EntryPoint fn, const char16_t* dataSource, const char16_t* wildCardPath,
                                   char16_t* expandedPathList, std::uint32_t* pathListLength,
                                   std::uint32_t flags) override;
};

}  // namespace velmora::win32
