#include "core/pdh_binding.h"

namespace velmora {

namespace {

constexpr char kPdhLibrary[] = "pdh.dll";

}  // namespace

EntryPoint BindFunction(ModuleLoader& loader, EntryPoint& slot, const char* libraryName,
                        const char* functionName) {
  if (slot) return slot;
  ModuleHandle module = loader.GetModuleHandleA(libraryName);
  // Never released: later bindings find the module already in the process.
  if (!module) module = loader.LoadLibraryA(libraryName);
  if (!module) throw EPdhLoadLibraryError(u"Library not found: " + FromAscii(libraryName));
  slot = loader.GetProcAddress(module, functionName);
  if (!slot) {
    throw EPdhGetProcAddressError(u"Function not found: " + FromAscii(libraryName) + u'.' +
                                  FromAscii(functionName));
  }
  return slot;
}

EntryPoint PdhBinding::Bind(Function f) {
  static constexpr const char* kNames[kFunctionCount] = {
      "PdhOpenQueryW", "PdhAddCounterW",  "PdhCollectQueryData", "PdhCloseQuery", "PdhGetFormattedCounterValue",
      "PdhExpandWildCardPathW"};
  return BindFunction(loader_, slots_[f], kPdhLibrary, kNames[f]);
}

PdhStatus PdhBinding::PdhOpenQueryW(const char16_t* dataSource, std::uintptr_t userData, PdhQuery* query) {
  return entryPoints_.PdhOpenQueryW(Bind(kOpenQuery), dataSource, userData, query);
}

PdhStatus PdhBinding::PdhAddCounterW(PdhQuery query, const char16_t* fullCounterPath, std::uintptr_t userData,
                                     PdhCounter* counter) {
  return entryPoints_.PdhAddCounterW(Bind(kAddCounter), query, fullCounterPath, userData, counter);
}

PdhStatus PdhBinding::PdhCollectQueryData(PdhQuery query) {
  return entryPoints_.PdhCollectQueryData(Bind(kCollectQueryData), query);
}

PdhStatus PdhBinding::PdhCloseQuery(PdhQuery query) {
  return entryPoints_.PdhCloseQuery(Bind(kCloseQuery), query);
}

PdhStatus PdhBinding::PdhGetFormattedCounterValue(PdhCounter counter, std::uint32_t format, std::uint32_t* type,
                                                  PdhFmtCounterValue* value) {
  return entryPoints_.PdhGetFormattedCounterValue(Bind(kGetFormattedCounterValue), counter, format, type, value);
}

PdhStatus PdhBinding::PdhExpandWildCardPathW(const char16_t* dataSource, const char16_t* wildCardPath,
                                             char16_t* expandedPathList, std::uint32_t* pathListLength,
                                             std::uint32_t flags) {
  return entryPoints_.PdhExpandWildCardPathW(Bind(kExpandWildCardPath), dataSource, wildCardPath,
                                             expandedPathList, pathListLength, flags);
}

}  // namespace velmora
