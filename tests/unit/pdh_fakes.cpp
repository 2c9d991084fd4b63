#include "pdh_fakes.h"

namespace velmora {

ModuleHandle FakeModuleLoader::GetModuleHandleA(const char* name) {
  calls.push_back(std::string("GetModuleHandleA ") + name);
  const auto it = inProcess.find(name);
  return it == inProcess.end() ? 0 : it->second;
}

ModuleHandle FakeModuleLoader::LoadLibraryA(const char* name) {
  calls.push_back(std::string("LoadLibraryA ") + name);
  const auto it = loadable.find(name);
  if (it == loadable.end()) return 0;
  inProcess[name] = it->second;
  return it->second;
}

EntryPoint FakeModuleLoader::GetProcAddress(ModuleHandle module, const char* name) {
  calls.push_back("GetProcAddress " + std::to_string(module) + " " + name);
  const auto it = exports.find({module, name});
  return it == exports.end() ? nullptr : it->second;
}

namespace {
template <typename T>
std::uintptr_t N(T* p) {
  return reinterpret_cast<std::uintptr_t>(p);
}
}  // namespace

PdhStatus FakePdhEntryPoints::Record(const char* function, EntryPoint fn, std::vector<std::uintptr_t> args) {
  calls.push_back({function, fn, std::move(args)});
  return status;
}

PdhStatus FakePdhEntryPoints::PdhOpenQueryW(EntryPoint fn, const char16_t* dataSource, std::uintptr_t userData,
                                            PdhQuery* query) {
  return Record("PdhOpenQueryW", fn, {N(dataSource), userData, N(query)});
}

PdhStatus FakePdhEntryPoints::PdhAddCounterW(EntryPoint fn, PdhQuery query, const char16_t* fullCounterPath,
                                             std::uintptr_t userData, PdhCounter* counter) {
  return Record("PdhAddCounterW", fn, {query, N(fullCounterPath), userData, N(counter)});
}

PdhStatus FakePdhEntryPoints::PdhCollectQueryData(EntryPoint fn, PdhQuery query) {
  return Record("PdhCollectQueryData", fn, {query});
}

PdhStatus FakePdhEntryPoints::PdhCloseQuery(EntryPoint fn, PdhQuery query) {
  return Record("PdhCloseQuery", fn, {query});
}

PdhStatus FakePdhEntryPoints::PdhGetFormattedCounterValue(EntryPoint fn, PdhCounter counter, std::uint32_t format,
                                                          std::uint32_t* type, PdhFmtCounterValue* value) {
  return Record("PdhGetFormattedCounterValue", fn, {counter, format, N(type), N(value)});
}

PdhStatus FakePdhEntryPoints::PdhExpandWildCardPathW(EntryPoint fn, const char16_t* dataSource,
                                                     const char16_t* wildCardPath, char16_t* expandedPathList,
                                                     std::uint32_t* pathListLength, std::uint32_t flags) {
  return Record("PdhExpandWildCardPathW", fn,
                {N(dataSource), N(wildCardPath), N(expandedPathList), N(pathListLength), flags});
}

Text ProcessorPath(const char16_t* instance) {
  return u"\\Processor(" + Text(instance) + u")\\% Processor Time";
}

PdhCounter FakeCounterApi::HandleOf(const Text& path) const {
  for (const auto& [handle, added] : added_) {
    if (added == path) return handle;
  }
  return 0;
}

void FakeCounterApi::Enter(const std::string& function, std::string line) {
  if (function == raiseIn) throw EPdhGetProcAddressError(u"Function not found: pdh.dll." + FromAscii(function));
  log.push_back(std::move(line));
}

PdhStatus FakeCounterApi::PdhOpenQueryW(const char16_t* dataSource, std::uintptr_t userData, PdhQuery* query) {
  Enter("open", "open");
  if (dataSource != nullptr || userData != 0) return kFailure;
  if (openStatus != 0) return openStatus;
  *query = kQuery;
  return 0;
}

PdhStatus FakeCounterApi::PdhAddCounterW(PdhQuery query, const char16_t* fullCounterPath, std::uintptr_t userData,
                                         PdhCounter* counter) {
  const Text path(fullCounterPath);
  Enter("add", "add " + ToUtf8(path));
  if (query != kQuery || userData != 0 || addFails.count(path)) return kFailure;
  *counter = 0x1001 + added_.size();
  added_[*counter] = path;
  return 0;
}

PdhStatus FakeCounterApi::PdhCollectQueryData(PdhQuery query) {
  Enter("collect", "collect");
  return query == kQuery ? 0 : kFailure;
}

PdhStatus FakeCounterApi::PdhCloseQuery(PdhQuery query) {
  Enter("close", "close " + std::to_string(query));
  return query == kQuery ? 0 : kFailure;
}

PdhStatus FakeCounterApi::PdhGetFormattedCounterValue(PdhCounter counter, std::uint32_t format, std::uint32_t* type,
                                                      PdhFmtCounterValue* value) {
  const auto it = added_.find(counter);
  const Text path = it == added_.end() ? Text(u"?") : it->second;
  Enter("read", "read " + ToUtf8(path));
  if (it == added_.end() || format != kPdhFmtDouble || type != nullptr || readFails.count(path)) return kFailure;
  value->CStatus = 0;
  value->doubleValue = values.count(path) ? values.at(path) : 0.0;
  return 0;
}

PdhStatus FakeCounterApi::PdhExpandWildCardPathW(const char16_t* dataSource, const char16_t* wildCardPath,
                                                 char16_t* expandedPathList, std::uint32_t* pathListLength,
                                                 std::uint32_t flags) {
  Enter("expand", std::string("expand ") + (expandedPathList ? "buffer " : "sizing ") +
                      std::to_string(*pathListLength));
  if (dataSource != nullptr || flags != 0 || Text(wildCardPath) != u"\\Processor(*/*)\\% Processor Time") {
    return kFailure;
  }
  std::uint32_t needed = 1;
  for (const Text& p : expansion) needed += static_cast<std::uint32_t>(p.size() + 1);
  if (!expandedPathList) {
    *pathListLength = needed;
    return firstExpandStatus;
  }
  if (*pathListLength < needed) return kPdhMoreData;
  for (const Text& p : expansion) {
    std::copy(p.begin(), p.end(), expandedPathList);
    expandedPathList += p.size();
    *expandedPathList++ = u'\0';
  }
  *expandedPathList = u'\0';
  *pathListLength = needed;
  return secondExpandStatus;
}

}  // namespace velmora
