#include "core/cpu_usage.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include "pdh_fakes.h"

namespace velmora {
namespace {

using Log = std::vector<std::string>;

const Text kTotal = ProcessorPath(u"_Total");

TEST(RoundHalfEven, NearestWholeNumberAndExactHalvesToEven) {
  struct Case {
    double value;
    std::int32_t rounded;
  };
  const Case cases[] = {{99.5, 100}, {0.4, 0},   {2.5, 2},    {36.5, 36}, {37.5, 38},  {12.5, 12},
                        {13.5, 14},  {0.5, 0},   {1.5, 2},    {0.6, 1},   {100.0, 100}, {-0.5, 0},
                        {-1.5, -2},  {-2.5, -2}, {-0.4, 0},   {99.49, 99}, {1e300, std::numeric_limits<std::int32_t>::max()},
                        {-1e300, std::numeric_limits<std::int32_t>::min()}, {std::nan(""), 0}};
  for (const Case& c : cases) EXPECT_EQ(RoundHalfEven(c.value), c.rounded) << c.value;
}

class TotalSampler : public ::testing::Test {
 protected:
  TotalSampler() { api.values[kTotal] = 37.5; }
  FakeCounterApi api;
  CPUUsage sampler{api};
};

TEST_F(TotalSampler, OpensTheTotalCounterAndReadsItOnEveryCall) {
  sampler.InitCPUUsage();
  EXPECT_EQ(api.log, (Log{"open", "add \\Processor(_Total)\\% Processor Time", "collect"}));
  api.log.clear();
  EXPECT_EQ(sampler.GetCPUUsage(), 38);
  api.values[kTotal] = 99.5;
  EXPECT_EQ(sampler.GetCPUUsage(), 100);
  api.values[kTotal] = 2.5;
  EXPECT_EQ(sampler.GetCPUUsage(), 2);
  EXPECT_EQ(api.log, (Log{"collect", "read \\Processor(_Total)\\% Processor Time", "collect",
                          "read \\Processor(_Total)\\% Processor Time", "collect",
                          "read \\Processor(_Total)\\% Processor Time"}));
  api.log.clear();
  sampler.CloseCPUUsage();
  EXPECT_EQ(api.log, (Log{"close 81"}));
}

TEST_F(TotalSampler, NotOpenReadsMinusOneWithoutCallingTheLibrary) {
  EXPECT_EQ(sampler.GetCPUUsage(), -1);
  EXPECT_TRUE(api.log.empty());

  // Not even a binding takes place.
  api.raiseIn = "collect";
  EXPECT_EQ(sampler.GetCPUUsage(), -1);

  api.openStatus = FakeCounterApi::kFailure;
  sampler.InitCPUUsage();
  EXPECT_EQ(api.log, (Log{"open"}));
  EXPECT_EQ(sampler.GetCPUUsage(), -1);
  sampler.CloseCPUUsage();
  EXPECT_EQ(api.log, (Log{"open"}));
}

TEST_F(TotalSampler, CounterThatCannotBeAddedReadsMinusOneEveryTime) {
  api.addFails = {kTotal};
  sampler.InitCPUUsage();
  EXPECT_EQ(api.log, (Log{"open", "add \\Processor(_Total)\\% Processor Time"}));
  EXPECT_EQ(sampler.GetCPUUsage(), -1);
  EXPECT_EQ(sampler.GetCPUUsage(), -1);
}

TEST_F(TotalSampler, FailedReadIsMinusOneAndTheNextReadCounts) {
  sampler.InitCPUUsage();
  api.readFails = {kTotal};
  EXPECT_EQ(sampler.GetCPUUsage(), -1);
  api.readFails.clear();
  EXPECT_EQ(sampler.GetCPUUsage(), 38);
}

TEST_F(TotalSampler, BindingErrorsLeaveTheSampler) {
  api.raiseIn = "open";
  EXPECT_THROW(sampler.InitCPUUsage(), EPdhGetProcAddressError);
  EXPECT_EQ(sampler.GetCPUUsage(), -1);

  FakeCounterApi api2;
  CPUUsage second{api2};
  second.InitCPUUsage();
  api2.raiseIn = "read";
  EXPECT_THROW(second.GetCPUUsage(), EPdhGetProcAddressError);
  api2.raiseIn = "close";
  EXPECT_THROW(second.CloseCPUUsage(), EPdhGetProcAddressError);
}

}  // namespace
}  // namespace velmora
