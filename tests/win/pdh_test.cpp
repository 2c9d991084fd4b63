// The counter library's binding and the samplers against a real pdh.dll
// loaded by the real loader: our scripted stand-in in the system folder
// (TestPdh, with the CTest fixture "testpdh"), its variant without
// PdhCloseQuery (PdhWithoutClose), and no library at all (NoPdh, run with
// WINEDLLOVERRIDES=pdh=d). Each suite runs in its own process, set up by CTest.
#include <gtest/gtest.h>

#include "core/alerts.h"
#include <windows.h>
#include <winperf.h>

#include <string>
#include <vector>

#include "core/decoration_cycle.h"
#include "core/pdh_binding.h"
#include "core/processor_sampler.h"
#include "support.h"
#include "system_folder.h"
#include "win32/pdh_library.h"
#include "win32/platform.h"
#include "win32/wide.h"

namespace velmora::win32 {
namespace {

using velmora::testing::BinDir;
using velmora::testing::CurrentFolder;
using velmora::testing::FromSystemFolder;
using velmora::testing::ModulePath;
using velmora::testing::Narrow;
using velmora::testing::PlantedCopy;
using velmora::testing::RealCycle;
using velmora::testing::TestWindow;

constexpr PdhStatus S(std::uint32_t status) { return static_cast<PdhStatus>(status); }

// The real loader, with a record of what the binding asked of it.
class RecordingLoader final : public ModuleLoader {
 public:
  std::vector<std::string> calls;
  ModuleHandle GetModuleHandleA(const char* name) override {
    calls.push_back(std::string("GetModuleHandleA ") + name);
    return real_.GetModuleHandleA(name);
  }
  ModuleHandle LoadLibraryA(const char* name) override {
    calls.push_back(std::string("LoadLibraryA ") + name);
    return real_.LoadLibraryA(name);
  }
  EntryPoint GetProcAddress(ModuleHandle module, const char* name) override {
    calls.push_back(std::string("GetProcAddress ") + name);
    return real_.GetProcAddress(module, name);
  }

 private:
  Win32ModuleLoader real_;
};

// The stand-in reads its script when a query is opened.
void Script(const wchar_t* script) { ::SetEnvironmentVariableW(L"VELMORA_TESTPDH", script); }

std::vector<Text> PathsOf(const std::vector<TCPUCounter>& counters) {
  std::vector<Text> paths;
  for (const auto& c : counters) paths.push_back(c.Path);
  return paths;
}

std::vector<std::int32_t> ValuesOf(const std::vector<TCPUCounter>& counters) {
  std::vector<std::int32_t> values;
  for (const auto& c : counters) values.push_back(c.CPU);
  return values;
}

Text Path(const char16_t* instance) { return u"\\Processor(" + Text(instance) + u")\\% Processor Time"; }

class TestPdh : public ::testing::Test {
 protected:
  RecordingLoader loader;
  Win32PdhEntryPoints entryPoints;
  PdhBinding pdh{loader, entryPoints};
};

// First in this file: nothing else in this process has loaded pdh.dll yet.
// A pdh.dll beside this program and one in its current folder (the variant
// without PdhCloseQuery, a library that would work) are passed over.
TEST_F(TestPdh, LoadedOnFirstUseFromTheSystemFolderThenFoundInTheProcess) {
  ASSERT_EQ(::GetModuleHandleA("pdh.dll"), nullptr) << "this program must not import pdh.dll";
  const std::wstring variant = BinDir() + L"testpdh-noclose\\pdh.dll";
  const PlantedCopy beside(variant, BinDir() + L"pdh.dll"), current(variant, CurrentFolder() + L"pdh.dll");
  ASSERT_TRUE(beside.Copied());
  ASSERT_TRUE(current.Copied()) << Narrow(CurrentFolder());
  Script(L"cpus=0:1,_Total:1");
  PdhQuery query = 0;
  ASSERT_EQ(pdh.PdhOpenQueryW(nullptr, 0, &query), 0);
  EXPECT_NE(query, 0u);
  EXPECT_EQ(loader.calls, (std::vector<std::string>{"GetModuleHandleA pdh.dll", "LoadLibraryA pdh.dll",
                                                    "GetProcAddress PdhOpenQueryW"}));
  const HMODULE module = ::GetModuleHandleA("pdh.dll");
  ASSERT_NE(module, nullptr);
  EXPECT_TRUE(FromSystemFolder(module, L"pdh.dll")) << Narrow(ModulePath(module));
  EXPECT_NE(::GetProcAddress(module, "PdhCloseQuery"), nullptr) << "the variant was loaded";

  // Later bindings, also those of a second binding object, find it loaded.
  loader.calls.clear();
  EXPECT_EQ(pdh.PdhCollectQueryData(query), 0);
  EXPECT_EQ(pdh.PdhOpenQueryW(nullptr, 0, &query), 0);
  RecordingLoader otherLoader;
  PdhBinding other{otherLoader, entryPoints};
  EXPECT_EQ(other.PdhCloseQuery(query), 0);
  EXPECT_EQ(loader.calls, (std::vector<std::string>{"GetModuleHandleA pdh.dll", "GetProcAddress PdhCollectQueryData"}));
  EXPECT_EQ(otherLoader.calls, (std::vector<std::string>{"GetModuleHandleA pdh.dll", "GetProcAddress PdhCloseQuery"}));
  // Bound entry points are the library's own.
  EXPECT_EQ(::GetModuleHandleA("pdh.dll"), module);
}

TEST_F(TestPdh, StatusesAndOutValuesComeBackUnchanged) {
  Script(L"open=C0000BB8");
  PdhQuery query = 0;
  EXPECT_EQ(pdh.PdhOpenQueryW(nullptr, 0, &query), S(0xC0000BB8));
  EXPECT_EQ(query, 0u);
  EXPECT_EQ(pdh.PdhOpenQueryW(u"log.blg", 0, &query), S(0xC0000BBD));  // PDH_INVALID_ARGUMENT

  Script(L"cpus=0:12.5,1:x,_Total:37.5");
  ASSERT_EQ(pdh.PdhOpenQueryW(nullptr, 0, &query), 0);
  PdhCounter c0 = 0, c1 = 0;
  ASSERT_EQ(pdh.PdhAddCounterW(query, Path(u"0").c_str(), 0, &c0), 0);
  ASSERT_EQ(pdh.PdhAddCounterW(query, Path(u"1").c_str(), 0, &c1), 0);
  EXPECT_EQ(pdh.PdhAddCounterW(query, Path(u"7").c_str(), 0, &c1), S(0xC0000BB9));  // PDH_CSTATUS_NO_COUNTER
  EXPECT_EQ(pdh.PdhCollectQueryData(query), 0);

  PdhFmtCounterValue value;
  EXPECT_EQ(pdh.PdhGetFormattedCounterValue(c0, kPdhFmtDouble, nullptr, &value), 0);
  EXPECT_EQ(value.doubleValue, 12.5);
  EXPECT_EQ(value.CStatus, 0u);
  std::uint32_t type = 0;
  EXPECT_EQ(pdh.PdhGetFormattedCounterValue(c0, kPdhFmtDouble, &type, &value), 0);
  EXPECT_EQ(type, static_cast<std::uint32_t>(PERF_100NSEC_TIMER_INV));
  EXPECT_EQ(pdh.PdhGetFormattedCounterValue(c0, 0x100, nullptr, &value), S(0xC0000BBD));
  EXPECT_EQ(pdh.PdhGetFormattedCounterValue(c1, kPdhFmtDouble, nullptr, &value), S(0xC0000BC6));  // PDH_INVALID_DATA
  EXPECT_EQ(value.CStatus, 0xC0000BBAu);  // PDH_CSTATUS_INVALID_DATA

  std::uint32_t length = 0;
  EXPECT_EQ(pdh.PdhExpandWildCardPathW(nullptr, u"\\Processor(*/*)\\% Processor Time", nullptr, &length, 0),
            kPdhMoreData);
  EXPECT_EQ(length, 31u + 31u + 36u + 1u);
  std::vector<char16_t> list(length);
  EXPECT_EQ(pdh.PdhExpandWildCardPathW(nullptr, u"\\Processor(*/*)\\% Processor Time", list.data(), &length, 0),
            0);
  EXPECT_EQ(Text(list.data(), 30), Path(u"0"));
  EXPECT_EQ(pdh.PdhExpandWildCardPathW(nullptr, u"\\Memory\\*", nullptr, &length, 0), S(0xC0000BC4));

  EXPECT_EQ(pdh.PdhCloseQuery(query), 0);
  EXPECT_EQ(pdh.PdhCloseQuery(query), S(0xC0000BBC));  // PDH_INVALID_HANDLE
  EXPECT_EQ(pdh.PdhCollectQueryData(query), S(0xC0000BBC));
}

TEST_F(TestPdh, PerProcessorSamplerReadsTheScriptedFigures) {
  Script(L"cpus=0:12.5,-1:50,2:x,3:99.5,_Total:37.5");
  ProcessorSampler sampler{pdh};
  sampler.Open(false);
  ASSERT_FALSE(sampler.CPUCoreFailed());
  EXPECT_EQ(PathsOf(sampler.CPUCounters()), (std::vector<Text>{Path(u"0"), Path(u"2"), Path(u"3"), Path(u"_Total")}));
  sampler.UpdateCPUCoreUsage();
  EXPECT_EQ(ValuesOf(sampler.CPUCounters()), (std::vector<std::int32_t>{12, 0, 100, 38}));
  sampler.Close();
}

TEST_F(TestPdh, TotalSamplerReadsTheScriptedTotal) {
  Script(L"cpus=0:1,_Total:13.5");
  ProcessorSampler sampler{pdh};
  sampler.Open(true);
  EXPECT_EQ(sampler.GetCPUUsage(), 14);
  sampler.Close();

  Script(L"cpus=0:1,-_Total:13.5");
  ProcessorSampler withoutCounter{pdh};
  withoutCounter.Open(true);
  EXPECT_EQ(withoutCounter.GetCPUUsage(), -1);
  withoutCounter.Close();
}

TEST_F(TestPdh, SetUpsTheLibraryRefusesCountAsFailed) {
  const wchar_t* scripts[] = {L"open=C0000BB8", L"expand=0", L"expand=C0000BD3", L"expand2=C0000BBD",
                              L"cpus=-0:1,-_Total:1"};
  for (const wchar_t* script : scripts) {
    Script(script);
    ProcessorSampler sampler{pdh};
    sampler.Open(false);
    EXPECT_TRUE(sampler.CPUCoreFailed()) << Narrow(script);
    EXPECT_TRUE(sampler.CPUCounters().empty()) << Narrow(script);
    sampler.Close();
  }
}

// The whole tick with real figures: the tag in the title of a window of
// another process.
TEST_F(TestPdh, TagOfTheForegroundWindowShowsTheFigures) {
  Script(L"cpus=0:12.5,1:13.5,_Total:37.5");
  ProcessorSampler sampler{pdh};
  sampler.Open(false);
  RealCycle real{sampler};
  real.settings.DispCPUCore = true;
  real.settings.FormatName = false;
  DecorationCycle& cycle = real.cycle;

  TestWindow notes(L"Figures");
  ASSERT_TRUE(notes.Activate());
  cycle.Tick();
  const std::wstring title = notes.Title();
  EXPECT_NE(title.find(L" CPU:038  CPU1:012 CPU2:014 RAM:"), std::wstring::npos) << Narrow(title);
  cycle.RestoreLastTitle();
  EXPECT_EQ(notes.Title(), L"Figures");
  sampler.Close();
}

// The variant is loaded by this program, by its full path, before the
// binding asks (and kept, as the binding keeps what it loads): the binding
// finds it in the process and uses it.
TEST(PdhWithoutClose, OnlyTheMissingFunctionFails) {
  const HMODULE variant = ::LoadLibraryW((BinDir() + L"testpdh-noclose\\pdh.dll").c_str());
  ASSERT_NE(variant, nullptr);
  ASSERT_EQ(::GetModuleHandleA("pdh.dll"), variant);
  Script(L"cpus=0:20,1:30,_Total:25");
  RecordingLoader loader;
  Win32PdhEntryPoints entryPoints;
  PdhBinding pdh{loader, entryPoints};
  ProcessorSampler sampler{pdh};
  sampler.Open(false);
  ASSERT_FALSE(sampler.CPUCoreFailed());
  for (int attempt = 0; attempt < 2; ++attempt) {
    try {
      sampler.Close();
      ADD_FAILURE() << "no error";
    } catch (const EPdhGetProcAddressError& e) {
      EXPECT_EQ(e.Message(), u"Function not found: pdh.dll.PdhCloseQuery");
    }
    sampler.UpdateCPUCoreUsage();
    EXPECT_EQ(ValuesOf(sampler.CPUCounters()), (std::vector<std::int32_t>{20, 30, 25}));
  }
  for (const std::string& call : loader.calls) EXPECT_NE(call.rfind("LoadLibraryA", 0), 0u) << call;
}

TEST(NoPdh, EveryCallRaisesAndTheSamplersStayOutOfTheWay) {
  Win32ModuleLoader loader;
  Win32PdhEntryPoints entryPoints;
  PdhBinding pdh{loader, entryPoints};
  PdhQuery query = 0;
  for (int attempt = 0; attempt < 2; ++attempt) {
    try {
      pdh.PdhOpenQueryW(nullptr, 0, &query);
      ADD_FAILURE() << "no error";
    } catch (const EPdhLoadLibraryError& e) {
      EXPECT_EQ(e.Message(), u"Library not found: pdh.dll");
    }
  }
  EXPECT_THROW(pdh.PdhCollectQueryData(1), EPdhLoadLibraryError);

  ProcessorSampler cores{pdh};
  EXPECT_THROW(cores.Open(false), EPdhLoadLibraryError);
  EXPECT_TRUE(cores.CPUCoreFailed());
  EXPECT_TRUE(cores.CPUCounters().empty());
  EXPECT_NO_THROW(cores.Close());

  ProcessorSampler total{pdh};
  EXPECT_THROW(total.Open(true), EPdhLoadLibraryError);
  EXPECT_EQ(total.GetCPUUsage(), -1);
  EXPECT_NO_THROW(total.Close());
}

}  // namespace
}  // namespace velmora::win32
