// Fakes for the counter library: the loader calls the binding makes, the
// calls through bound entry points, and a scripted library as the samplers
// see it.
#pragma once

#include <cstdint>
#include <map>
#include <set>
#include <string>
#include <utility>
#include <vector>

#include "core/pdh_binding.h"
#include "core/seams.h"

namespace velmora {

// Distinct entry points to hand out; never called.
template <int N>
void FakeEntry() {}

class FakeModuleLoader : public ModuleLoader {
 public:
  std::map<std::string, ModuleHandle> inProcess;  // GetModuleHandleA finds these
  std::map<std::string, ModuleHandle> loadable;   // LoadLibraryA loads these
  std::map<std::pair<ModuleHandle, std::string>, EntryPoint> exports;
  std::vector<std::string> calls;  // "LoadLibraryA pdh.dll", "GetProcAddress 7 PdhCloseQuery"

  ModuleHandle GetModuleHandleA(const char* name) override;
  ModuleHandle LoadLibraryA(const char* name) override;
  EntryPoint GetProcAddress(ModuleHandle module, const char* name) override;
};

// Records every call with its entry point and its arguments as numbers
// (pointers by address), and answers with a scripted status.
class FakePdhEntryPoints : public PdhEntryPoints {
 public:
  struct Call {
    std::string function;
    EntryPoint fn;
    std::vector<std::uintptr_t> args;
  };
  std::vector<Call> calls;
  PdhStatus status = 0;

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

 private:
  PdhStatus Record(const char* function, EntryPoint fn, std::vector<std::uintptr_t> args);
};

// A scripted counter library: an expansion list, counters that fail to add
// or to read, values by path. Every call is logged in short form.
class FakeCounterApi : public CounterApi {
 public:
  static constexpr PdhQuery kQuery = 0x51;
  static constexpr PdhStatus kFailure = static_cast<PdhStatus>(0xC0000BB9u);

  PdhStatus openStatus = 0;
  PdhStatus firstExpandStatus = kPdhMoreData;
  PdhStatus secondExpandStatus = 0;
  std::vector<Text> expansion;  // the listed paths, in order
  std::set<Text> addFails;
  std::set<Text> readFails;
  std::map<Text, double> values;  // by path
  std::string raiseIn;  // a function whose binding fails: "open", "expand", "add", "collect", "read", "close"
  std::vector<std::string> log;

  // The counter handle a path got when it was added.
  PdhCounter HandleOf(const Text& path) const;

  PdhStatus PdhOpenQueryW(const char16_t* dataSource, std::uintptr_t userData, PdhQuery* query) override;
  PdhStatus PdhAddCounterW(PdhQuery query, const char16_t* fullCounterPath, std::uintptr_t userData,
                           PdhCounter* counter) override;
  PdhStatus PdhCollectQueryData(PdhQuery query) override;
  PdhStatus PdhCloseQuery(PdhQuery query) override;
  PdhStatus PdhGetFormattedCounterValue(PdhCounter counter, std::uint32_t format, std::uint32_t* type,
                                        PdhFmtCounterValue* value) override;
  PdhStatus PdhExpandWildCardPathW(const char16_t* dataSource, const char16_t* wildCardPath,
                                   char16_t* expandedPathList, std::uint32_t* pathListLength,
                                   std::uint32_t flags) override;

 private:
  void Enter(const std::string& function, std::string line);
  std::map<PdhCounter, Text> added_;
};

// "\Processor(<instance>)\% Processor Time"
Text ProcessorPath(const char16_t* instance);

}  // namespace velmora
