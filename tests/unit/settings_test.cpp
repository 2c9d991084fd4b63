#include <gtest/gtest.h>

#include "core/settings.h"

namespace velmora {
namespace {

TEST(Settings, FirstStartDefaults) {
  const TSettings s;
  EXPECT_TRUE(s.DispBack && !s.DispFront);
  EXPECT_TRUE(s.DispIME && s.DispDate && s.DispTime && s.DispCPU && s.DispRAM);
  EXPECT_FALSE(s.DispCPUCore || s.DispAnime || s.DispTrayIcon);
  EXPECT_EQ(s.FormatDate, 0);
  EXPECT_EQ(s.FormatTime, 0);
  EXPECT_EQ(s.TimerIntervalMs(), 1000u);
  EXPECT_FALSE(s.WhistleEnable || s.AlarmEnable || s.RAMEnable || s.DisableDialog || s.FormatName);
  EXPECT_EQ(s.WhistleTime, 10);
  EXPECT_EQ(s.AlarmTime, 10);
  EXPECT_EQ(s.RAMUse, 90);
  EXPECT_TRUE(s.DisabledPrograms.empty() && s.SeenPrograms.empty());
  EXPECT_FALSE(s.Stopped);
}

TEST(Settings, PlacementIsARadioPairThatMayBeBothOff) {
  TSettings s;
  s.SetDispFront(true);
  EXPECT_TRUE(s.DispFront && !s.DispBack);
  s.SetDispBack(true);
  EXPECT_TRUE(s.DispBack && !s.DispFront);
  s.SetDispBack(false);  // switching off leaves the partner alone
  EXPECT_FALSE(s.DispBack || s.DispFront);
  s.SetDispFront(false);
  EXPECT_FALSE(s.DispBack || s.DispFront);
}

TEST(Settings, IntervalFollowsFormatUpdateAndFallsBackOutsideRange) {
  TSettings s;
  const std::pair<int, unsigned> cases[] = {{0, 500u}, {1, 1000u}, {4, 2500u}, {9, 5000u},
                                            {10, 1000u}, {-1, 1000u}, {1 << 30, 1000u}};
  for (const auto& [index, ms] : cases) {
    s.FormatUpdate = index;
    EXPECT_EQ(s.TimerIntervalMs(), ms) << index;
  }
}

TEST(Settings, AnyItemShownCoversTheSixItemsOnly) {
  TSettings s;
  s.DispIME = s.DispDate = s.DispTime = s.DispCPU = s.DispCPUCore = s.DispRAM = false;
  s.DispAnime = s.DispTrayIcon = s.DispBack = true;
  EXPECT_FALSE(s.AnyItemShown());
  bool TSettings::*items[] = {&TSettings::DispIME, &TSettings::DispDate, &TSettings::DispTime,
                              &TSettings::DispCPU, &TSettings::DispCPUCore, &TSettings::DispRAM};
  for (auto item : items) {
    TSettings t = s;
    t.*item = true;
    EXPECT_TRUE(t.AnyItemShown());
  }
}

}  // namespace
}  // namespace velmora
