#include "core/cpu_core_usage.h"

#include <gtest/gtest.h>

#include "pdh_fakes.h"

namespace velmora {
namespace {

using Log = std::vector<std::string>;

const Text kCpu0 = ProcessorPath(u"0"), kCpu1 = ProcessorPath(u"1"), kCpu2 = ProcessorPath(u"2"),
           kCpu3 = ProcessorPath(u"3"), kTotal = ProcessorPath(u"_Total");

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

class CoreSampler : public ::testing::Test {
 protected:
  CoreSampler() { api.expansion = {kCpu0, kCpu1, kCpu2, kCpu3, kTotal}; }
  FakeCounterApi api;
  CPUCoreUsage sampler{api};
};

TEST_F(CoreSampler, OneEntryPerExpandedPathInExpansionOrderTotalLast) {
  sampler.InitCPUCoreUsage();
  EXPECT_FALSE(sampler.CPUCoreFailed());
  EXPECT_EQ(PathsOf(sampler.CPUCounters()), (std::vector<Text>{kCpu0, kCpu1, kCpu2, kCpu3, kTotal}));
  for (const auto& c : sampler.CPUCounters()) {
    EXPECT_NE(c.Handle, 0u);
    EXPECT_EQ(c.Handle, api.HandleOf(c.Path));
    EXPECT_EQ(c.CPU, 0);
  }
  // Sized first; the buffer is one character longer than the list asked for.
  const std::uint32_t needed = 4 * 31 + 36 + 1;  // four paths, the total, the empty text
  EXPECT_EQ(api.log, (Log{"open", "expand sizing 0", "expand buffer " + std::to_string(needed + 1),
                          "add \\Processor(0)\\% Processor Time", "add \\Processor(1)\\% Processor Time",
                          "add \\Processor(2)\\% Processor Time", "add \\Processor(3)\\% Processor Time",
                          "add \\Processor(_Total)\\% Processor Time", "collect"}));
}

TEST_F(CoreSampler, PathThatCannotBeAddedIsSkipped) {
  api.addFails = {kCpu1, kCpu3};
  sampler.InitCPUCoreUsage();
  EXPECT_FALSE(sampler.CPUCoreFailed());
  EXPECT_EQ(PathsOf(sampler.CPUCounters()), (std::vector<Text>{kCpu0, kCpu2, kTotal}));
}

TEST_F(CoreSampler, FailedSetUpsLeaveAnEmptyTableAndTheFlag) {
  struct Case {
    const char* what;
    void (*stage)(FakeCounterApi&);
    Log log;
  };
  const Case cases[] = {
      {"open fails", [](FakeCounterApi& a) { a.openStatus = FakeCounterApi::kFailure; }, {"open"}},
      {"sizing call succeeds", [](FakeCounterApi& a) { a.firstExpandStatus = 0; }, {"open", "expand sizing 0"}},
      {"sizing call fails", [](FakeCounterApi& a) { a.firstExpandStatus = static_cast<PdhStatus>(0xC0000BD3u); },
       {"open", "expand sizing 0"}},
      {"second expansion fails", [](FakeCounterApi& a) { a.secondExpandStatus = FakeCounterApi::kFailure; },
       {"open", "expand sizing 0", "expand buffer 69"}},
      {"nothing can be added", [](FakeCounterApi& a) { a.addFails = {a.expansion.begin(), a.expansion.end()}; },
       {"open", "expand sizing 0", "expand buffer 69", "add \\Processor(0)\\% Processor Time",
        "add \\Processor(_Total)\\% Processor Time"}},
      {"empty expansion", [](FakeCounterApi& a) { a.expansion.clear(); },
       {"open", "expand sizing 0", "expand buffer 2"}},
  };
  for (const Case& c : cases) {
    FakeCounterApi fake;
    fake.expansion = {kCpu0, kTotal};
    c.stage(fake);
    CPUCoreUsage s{fake};
    s.InitCPUCoreUsage();
    EXPECT_TRUE(s.CPUCoreFailed()) << c.what;
    EXPECT_TRUE(s.CPUCounters().empty()) << c.what;
    EXPECT_EQ(fake.log, c.log) << c.what;  // no first sample after a failure
  }
}

TEST_F(CoreSampler, QueryOfAFailedExpansionIsClosedAtTheEnd) {
  api.firstExpandStatus = 0;
  sampler.InitCPUCoreUsage();
  ASSERT_TRUE(sampler.CPUCoreFailed());
  api.log.clear();
  sampler.CloseCPUCoreUsage();
  EXPECT_EQ(api.log, (Log{"close 81"}));
}

TEST_F(CoreSampler, UpdateRoundsHalvesToEvenAndAFailedReadKeepsItsValue) {
  api.values = {{kCpu0, 12.5}, {kCpu1, 13.5}, {kCpu2, 99.5}, {kCpu3, 0.4}, {kTotal, 31.5}};
  sampler.InitCPUCoreUsage();
  sampler.UpdateCPUCoreUsage();
  EXPECT_EQ(ValuesOf(sampler.CPUCounters()), (std::vector<std::int32_t>{12, 14, 100, 0, 32}));

  api.values = {{kCpu0, 50}, {kCpu1, 51}, {kCpu2, 52}, {kCpu3, 53}, {kTotal, 54}};
  api.readFails = {kCpu1};
  api.log.clear();
  sampler.UpdateCPUCoreUsage();
  EXPECT_EQ(ValuesOf(sampler.CPUCounters()), (std::vector<std::int32_t>{50, 14, 52, 53, 54}));
  EXPECT_EQ(api.log.front(), "collect");
  EXPECT_EQ(api.log.size(), 6u);  // every entry is read, the failed one too
}

TEST_F(CoreSampler, EntryNeverReadKeepsZero) {
  api.values = {{kCpu0, 40}, {kTotal, 20}};
  api.readFails = {kCpu0};
  sampler.InitCPUCoreUsage();
  sampler.UpdateCPUCoreUsage();
  EXPECT_EQ(sampler.CPUCounters().front().CPU, 0);
  EXPECT_EQ(sampler.CPUCounters().back().CPU, 20);
}

TEST_F(CoreSampler, WithoutAQueryNothingIsCalled) {
  api.raiseIn = "collect";  // not even bound
  sampler.UpdateCPUCoreUsage();
  sampler.CloseCPUCoreUsage();
  EXPECT_TRUE(api.log.empty());

  api.raiseIn.clear();
  api.openStatus = FakeCounterApi::kFailure;
  sampler.InitCPUCoreUsage();
  api.log.clear();
  sampler.UpdateCPUCoreUsage();
  sampler.CloseCPUCoreUsage();
  EXPECT_TRUE(api.log.empty());
}

TEST_F(CoreSampler, CloseLeavesTheTableAsItWas) {
  sampler.InitCPUCoreUsage();
  sampler.CloseCPUCoreUsage();
  EXPECT_EQ(sampler.CPUCounters().size(), 5u);
  EXPECT_FALSE(sampler.CPUCoreFailed());
  EXPECT_EQ(api.log.back(), "close 81");
}

// A binding error cuts the set-up short wherever it happens; the table must
// then not offer the cycle a total to read.
TEST_F(CoreSampler, BindingErrorDuringSetUpCountsAsFailed) {
  for (const char* where : {"open", "expand", "add", "collect"}) {
    FakeCounterApi fake;
    fake.expansion = {kCpu0, kCpu1, kTotal};
    fake.raiseIn = where;
    CPUCoreUsage s{fake};
    try {
      s.InitCPUCoreUsage();
      ADD_FAILURE() << where << ": no error";
    } catch (const EPdhGetProcAddressError& e) {
      EXPECT_EQ(e.Message(), u"Function not found: pdh.dll." + FromAscii(where));
    }
    EXPECT_TRUE(s.CPUCoreFailed()) << where;
    EXPECT_TRUE(s.CPUCounters().empty()) << where;
  }
}

TEST_F(CoreSampler, ListWithoutItsFinalZeroIsWalkedOnlyToTheBufferEnd) {
  // A library that fills the whole buffer, leaving no terminating zero.
  class Overfilling : public FakeCounterApi {
   public:
    PdhStatus PdhExpandWildCardPathW(const char16_t*, const char16_t*, char16_t* list, std::uint32_t* length,
                                     std::uint32_t) override {
      const Text text = ProcessorPath(u"0") + u'\0' + ProcessorPath(u"1");
      if (!list) {
        *length = static_cast<std::uint32_t>(text.size()) - 1;
        return kPdhMoreData;
      }
      std::copy(text.begin(), text.begin() + *length, list);
      return 0;
    }
  } fake;
  CPUCoreUsage s{fake};
  s.InitCPUCoreUsage();
  EXPECT_EQ(PathsOf(s.CPUCounters()), (std::vector<Text>{kCpu0}));
}

}  // namespace
}  // namespace velmora
