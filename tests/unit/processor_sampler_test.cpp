#include "core/processor_sampler.h"

#include <gtest/gtest.h>

#include "core/decoration_cycle.h"
#include "fakes.h"
#include "pdh_fakes.h"

namespace velmora {
namespace {

using Log = std::vector<std::string>;

class Sampler : public ::testing::Test {
 protected:
  Sampler() {
    api.expansion = {ProcessorPath(u"0"), ProcessorPath(u"1"), ProcessorPath(u"_Total")};
    api.values = {{ProcessorPath(u"0"), 12.5}, {ProcessorPath(u"1"), 13.5}, {ProcessorPath(u"_Total"), 37.5}};
  }
  FakeCounterApi api;
  ProcessorSampler sampler{api};
};

TEST_F(Sampler, OneProcessorOpensAndClosesOnlyTheTotalCounter) {
  sampler.Open(true);
  EXPECT_EQ(sampler.GetCPUUsage(), 38);
  sampler.Close();
  EXPECT_EQ(api.log, (Log{"open", "add \\Processor(_Total)\\% Processor Time", "collect", "collect",
                          "read \\Processor(_Total)\\% Processor Time", "close 81"}));
}

TEST_F(Sampler, SeveralProcessorsOpenAndCloseThePerProcessorCounters) {
  sampler.Open(false);
  EXPECT_FALSE(sampler.CPUCoreFailed());
  EXPECT_EQ(sampler.CPUCounters().size(), 3u);
  EXPECT_EQ(sampler.GetCPUUsage(), -1);  // the total sampler stays closed
  sampler.Close();
  EXPECT_EQ(api.log.front(), "open");
  EXPECT_EQ(api.log[1], "expand sizing 0");
  EXPECT_EQ(api.log.back(), "close 81");
}

// The cycle shows the sampled figures: the last entry as the total, the
// others as processors 1, 2, ...
TEST_F(Sampler, TheTickShowsTheSampledFigures) {
  TSettings settings;
  settings.DispCPUCore = true;
  FakeWindowManager wm;
  FakeProcessApi processes;
  FakeProbes probes;
  FakeClock clock;
  RecordingActions actions;
  wm.Add(1, {.title = u"Notes", .pid = 10});
  wm.foreground = 1;
  processes.moduleNames = {{10, u"C:\\Windows\\notepad.exe"}};
  DecorationCycle cycle{settings, {wm, processes, probes, sampler, clock, actions}, JapaneseDayNames()};

  sampler.Open(false);
  cycle.Tick();
  EXPECT_EQ(wm.Title(1), u"Notes【 [A] 24/01/15(月) 13:05:09 CPU:038  CPU1:012 CPU2:014 RAM:045 】 ");
}

TEST_F(Sampler, FailedSetUpLeavesBothProcessorItemsEmpty) {
  TSettings settings;
  settings.DispCPUCore = true;
  FakeWindowManager wm;
  FakeProcessApi processes;
  FakeProbes probes;
  FakeClock clock;
  RecordingActions actions;
  wm.Add(1, {.title = u"Notes", .pid = 10});
  wm.foreground = 1;
  DecorationCycle cycle{settings, {wm, processes, probes, sampler, clock, actions}, JapaneseDayNames()};

  api.raiseIn = "expand";
  EXPECT_THROW(sampler.Open(false), EPdhError);
  api.raiseIn = "collect";  // the tick must not sample any more
  cycle.Tick();
  EXPECT_EQ(wm.Title(1), u"Notes【 [A] 24/01/15(月) 13:05:09   RAM:045 】 ");
}

}  // namespace
}  // namespace velmora
