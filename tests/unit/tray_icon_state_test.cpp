#include "core/tray_icon_state.h"

#include <gtest/gtest.h>

namespace velmora {
namespace {

TEST(TrayTooltip, LongHintIsCutTo126UnitsAndTerminated) {
  const Text hint(200, u'あ');
  const auto tip = TooltipText(hint, true);
  EXPECT_EQ(Text(tip.data()), Text(126, u'あ'));
  EXPECT_EQ(tip[126], 0);
  EXPECT_EQ(tip[127], 0);
}

TEST(TrayTooltip, ShortHintKeptEmptyOrSwitchedOffGivesAllZeros) {
  EXPECT_EQ(Text(TooltipText(u"Velmora", true).data()), u"Velmora");
  EXPECT_EQ(Text(TooltipText(Text(126, u'x'), true).data()).size(), 126u);
  const std::array<char16_t, 128> zeros{};
  EXPECT_EQ(TooltipText(u"", true), zeros);
  EXPECT_EQ(TooltipText(u"Velmora", false), zeros);
}

TEST(TrayIconIndex, ClampedIntoTheImageList) {
  struct {
    std::int32_t requested, count, shown;
  } cases[] = {
      {0, 2, 0}, {1, 2, 1}, {2, 2, 1}, {99, 2, 1}, {-1, 2, 0}, {5, 0, 0}, {0, 1, 0}, {INT32_MAX, 5, 4},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(ClampIconIndex(c.requested, c.count), c.shown) << c.requested << " of " << c.count;
  }
}

// The shell's notifications for a user's gestures, replayed through the
// machine with a click timer that runs as the reactions say.
class ClickMachineTest : public ::testing::Test {
 protected:
  TrayReaction Send(TrayMouse m) {
    TrayClickMachine::Context ctx{enabled, hasDoubleClick, true, timerRunning};
    TrayReaction r = machine.Notify(m, ctx);
    if (r.startClickTimer) timerRunning = true;
    Tally(r);
    return r;
  }
  void TimerFires() {
    if (!timerRunning) return;
    timerRunning = false;
    Tally(machine.ClickTimerTick());
  }
  void Tally(const TrayReaction& r) {
    clicks += r.click;
    doubleClicks += r.doubleClick;
    popups += r.popup;
  }

  TrayClickMachine machine;
  bool enabled = true;
  bool hasDoubleClick = true;
  bool timerRunning = false;
  int clicks = 0, doubleClicks = 0, popups = 0;
};

TEST_F(ClickMachineTest, DoubleClickCountsAtTheSecondPressOnceAndRaisesNoClick) {
  Send(TrayMouse::LeftDown);
  Send(TrayMouse::LeftUp);
  EXPECT_EQ(clicks, 0) << "a single click waits for the timer";
  const TrayReaction second = Send(TrayMouse::LeftDouble);
  EXPECT_TRUE(second.doubleClick);
  EXPECT_FALSE(second.popup);
  Send(TrayMouse::LeftUp);
  TimerFires();
  EXPECT_EQ(doubleClicks, 1);
  EXPECT_EQ(clicks, 0);
  EXPECT_EQ(popups, 0);
}

TEST_F(ClickMachineTest, SingleClickCountsWhenTheTimerFires) {
  Send(TrayMouse::LeftDown);
  Send(TrayMouse::LeftUp);
  EXPECT_TRUE(machine.ClickReady());
  TimerFires();
  EXPECT_EQ(clicks, 1);
  EXPECT_EQ(doubleClicks, 0);
  TimerFires();
  EXPECT_EQ(clicks, 1);
}

TEST_F(ClickMachineTest, WithoutADoubleClickHandlerAClickCountsAtRelease) {
  hasDoubleClick = false;
  EXPECT_FALSE(Send(TrayMouse::LeftDown).startClickTimer);
  EXPECT_TRUE(Send(TrayMouse::LeftUp).click);
  EXPECT_FALSE(machine.ClickStart());
  EXPECT_FALSE(machine.ClickReady());
}

TEST_F(ClickMachineTest, RightPressOpensTheMenuOnceAndReleaseDoesNot) {
  EXPECT_TRUE(Send(TrayMouse::RightDown).popup);
  EXPECT_FALSE(Send(TrayMouse::RightUp).popup);
  EXPECT_EQ(popups, 1);
}

TEST_F(ClickMachineTest, DisabledIconIgnoresEveryGesture) {
  enabled = false;
  for (TrayMouse m : {TrayMouse::LeftDown, TrayMouse::LeftUp, TrayMouse::LeftDouble, TrayMouse::LeftUp,
                      TrayMouse::RightDown, TrayMouse::RightUp}) {
    EXPECT_EQ(Send(m), TrayReaction{});
  }
  TimerFires();
  EXPECT_EQ(clicks + doubleClicks + popups, 0);
}

}  // namespace
}  // namespace velmora
