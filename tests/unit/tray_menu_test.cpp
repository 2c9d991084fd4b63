#include "core/tray_menu.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "core/show_request.h"

namespace velmora {
namespace {

TEST(TrayMenu, ItemsCaptionsAndKindsTopToBottom) {
  using K = TrayItemKind;
  const std::vector<std::pair<Text, K>> expected = {
      {u"機能停止", K::Command},           {u"アニメーション停止", K::Command},
      {u"トレイアイコン非表示", K::Command}, {u"-", K::Separator},
      {u"表示項目を全部 ON", K::Command},   {u"表示項目を全部 OFF", K::Command},
      {u"-", K::Separator},               {u"入力インジケーター", K::Toggle},
      {u"日付", K::Toggle},               {u"時刻", K::Toggle},
      {u"CPU使用率", K::Toggle},           {u"CPUコア使用率", K::Toggle},
      {u"RAM使用率", K::Toggle},           {u"-", K::Separator},
      {u"タイトル＋表示項目", K::Radio},     {u"表示項目＋タイトル", K::Radio},
      {u"-", K::Separator},               {u"詳細設定", K::Command},
      {u"-", K::Separator},               {u"終了", K::Command},
  };
  const auto& items = TrayMenuItems();
  ASSERT_EQ(items.size(), expected.size());
  for (std::size_t i = 0; i < items.size(); ++i) {
    EXPECT_EQ(Text(items[i].caption), expected[i].first) << i;
    EXPECT_EQ(items[i].kind, expected[i].second) << i;
    EXPECT_EQ(static_cast<std::size_t>(items[i].item), i + 1) << "command identifiers follow the order";
    EXPECT_EQ(Text(items[i].caption).find(u'&'), Text::npos) << "no accelerators";
  }
}

TEST(TrayMenu, CheckMarksAreThePreferencesWithTheirDefaults) {
  const TSettings s;
  const std::vector<std::pair<TrayItem, bool>> defaults = {
      {TrayItem::PPStop, false}, {TrayItem::PPAnime, false}, {TrayItem::PPTray, false},
      {TrayItem::PPIME, true},   {TrayItem::PPDate, true},   {TrayItem::PPTime, true},
      {TrayItem::PPCPU, true},   {TrayItem::PPCPUCore, false}, {TrayItem::PPRAM, true},
      {TrayItem::PPBack, true},  {TrayItem::PPFront, false}, {TrayItem::PPExit, false},
  };
  for (const auto& [item, checked] : defaults) EXPECT_EQ(IsChecked(s, item), checked) << int(item);
  EXPECT_EQ(CheckMarkOf(const_cast<TSettings&>(s), TrayItem::PPON), nullptr);
}

TEST(TrayMenu, CoreItemDisabledOnOneProcessorConfigOnlyWithADialog) {
  EXPECT_FALSE(IsItemEnabled(TrayItem::PPCPUCore, true, true));
  EXPECT_TRUE(IsItemEnabled(TrayItem::PPCPUCore, false, true));
  EXPECT_FALSE(IsItemEnabled(TrayItem::PPConfig, false, false));
  EXPECT_TRUE(IsItemEnabled(TrayItem::PPConfig, false, true));
  EXPECT_TRUE(IsItemEnabled(TrayItem::PPExit, true, false));
}

// The tray icon as a user sees it, and what the commands asked of the shell.
class FakeShell final : public TrayShell {
 public:
  std::string icon = "animating";
  bool timer = true, visible = true, enabled = true, answerOk = true;
  std::vector<std::string> calls;

  void SetTimerEnabled(bool on) override { timer = on; }
  void SetCycleIcons(bool on) override {
    if (on) icon = "animating";
    else if (icon == "animating") icon = "frame";  // stays on the frame it shows
  }
  void DrawStillImage(StillImage image) override {
    icon = image == StillImage::FunctionStopped ? "dark red" : "magenta";
  }
  void RestoreTitle() override { calls.push_back("restore"); }
  void SetIconVisible(bool v) override { visible = v; calls.push_back(v ? "show" : "hide"); }
  void SetIconEnabled(bool e) override {
    enabled = e;
    calls.push_back(e ? "enable" : "disable");
  }
  bool ConfirmHideIcon() override {
    calls.push_back("confirm");
    return answerOk;
  }
  void ShowHowToShowAgain() override { calls.push_back("inform"); }
  void CloseMainWindow() override { calls.push_back("close"); }
  void OpenSettings() override { calls.push_back("settings"); }
};

class TrayCommandsTest : public ::testing::Test {
 protected:
  TSettings settings;
  CycleState state;
  FakeShell shell;
  TrayCommands commands{settings, state, shell};
};

TEST_F(TrayCommandsTest, StopAndAnimationSwitchesDecideTheIcon) {
  struct Step {
    TrayItem click;
    const char* icon;
    bool timer;
  };
  struct Scenario {
    const char* name;
    std::vector<Step> steps;
  } scenarios[] = {
      {"stop, resume", {{TrayItem::PPStop, "dark red", false}, {TrayItem::PPStop, "animating", true}}},
      {"animation off, on", {{TrayItem::PPAnime, "magenta", true}, {TrayItem::PPAnime, "animating", true}}},
      {"stop while still, resume",
       {{TrayItem::PPAnime, "magenta", true},
        {TrayItem::PPStop, "dark red", false},
        {TrayItem::PPStop, "magenta", true}}},
      {"animation toggled while stopped",
       {{TrayItem::PPStop, "dark red", false},
        {TrayItem::PPAnime, "dark red", false},
        {TrayItem::PPAnime, "dark red", false},
        {TrayItem::PPStop, "animating", true}}},
  };
  for (const Scenario& sc : scenarios) {
    TSettings fresh;
    settings = fresh;
    shell = FakeShell{};
    for (std::size_t i = 0; i < sc.steps.size(); ++i) {
      commands.Choose(sc.steps[i].click);
      EXPECT_EQ(shell.icon, sc.steps[i].icon) << sc.name << ", step " << i;
      EXPECT_EQ(shell.timer, sc.steps[i].timer) << sc.name << ", step " << i;
    }
  }
}

TEST_F(TrayCommandsTest, StoppingEndsABlinkAndRestoresTheTitleResumingEndsABlinkToo) {
  state.MFlashC = 7;
  commands.TrayIconDblClick();
  EXPECT_TRUE(settings.Stopped);
  EXPECT_EQ(state.MFlashC, 0);
  EXPECT_EQ(shell.calls, std::vector<std::string>{"restore"});
  state.MFlashC = 3;
  commands.TrayIconDblClick();
  EXPECT_FALSE(settings.Stopped);
  EXPECT_EQ(state.MFlashC, 0);
}

TEST_F(TrayCommandsTest, ItemsThatCheckThemselvesOnlyToggle) {
  for (TrayItem item : {TrayItem::PPIME, TrayItem::PPDate, TrayItem::PPTime, TrayItem::PPCPU,
                        TrayItem::PPCPUCore, TrayItem::PPRAM}) {
    const bool before = IsChecked(settings, item);
    commands.Choose(item);
    EXPECT_NE(IsChecked(settings, item), before) << int(item);
  }
  EXPECT_TRUE(shell.calls.empty());
  EXPECT_EQ(shell.icon, "animating");
}

TEST_F(TrayCommandsTest, AllOnAndAllOffSetTheSixItemsOnly) {
  commands.Choose(TrayItem::PPON);
  EXPECT_TRUE(settings.DispIME && settings.DispDate && settings.DispTime && settings.DispCPU &&
              settings.DispCPUCore && settings.DispRAM);
  commands.Choose(TrayItem::PPOFF);
  EXPECT_FALSE(settings.AnyItemShown());
  EXPECT_TRUE(settings.DispBack);
  EXPECT_FALSE(settings.DispAnime);
}

TEST_F(TrayCommandsTest, PlacementIsARadioPair) {
  commands.Choose(TrayItem::PPFront);
  EXPECT_TRUE(settings.DispFront);
  EXPECT_FALSE(settings.DispBack);
  commands.Choose(TrayItem::PPFront);
  EXPECT_TRUE(settings.DispFront) << "choosing the checked one keeps it";
  commands.Choose(TrayItem::PPBack);
  EXPECT_TRUE(settings.DispBack);
  EXPECT_FALSE(settings.DispFront);
}

TEST_F(TrayCommandsTest, HidingAskedAndConfirmedHidesTheIconAndChecksTheItem) {
  commands.Choose(TrayItem::PPTray);
  EXPECT_EQ(shell.calls, (std::vector<std::string>{"disable", "confirm", "inform", "hide", "enable"}));
  EXPECT_TRUE(settings.DispTrayIcon);
  EXPECT_FALSE(shell.visible);
}

TEST_F(TrayCommandsTest, HidingCancelledChangesNothingAndTheIconAnswersAgain) {
  shell.answerOk = false;
  commands.Choose(TrayItem::PPTray);
  EXPECT_EQ(shell.calls, (std::vector<std::string>{"disable", "confirm", "enable"}));
  EXPECT_FALSE(settings.DispTrayIcon);
  EXPECT_TRUE(shell.visible);
}

TEST_F(TrayCommandsTest, ShowRequestBringsTheIconBackAndClearsTheItem) {
  settings.DispTrayIcon = true;
  shell.visible = false;
  const auto bytes = ShowRequestPayload();
  commands.ShowRequest(bytes.data(), bytes.size());
  EXPECT_TRUE(shell.visible);
  EXPECT_FALSE(settings.DispTrayIcon);

  settings.DispTrayIcon = true;
  shell.visible = false;
  const std::uint8_t lower[] = {'/', 0, 's', 0, 'h', 0, 'o', 0, 'w', 0, 0, 0};
  commands.ShowRequest(lower, sizeof lower);
  commands.ShowRequest(nullptr, 14);
  EXPECT_FALSE(shell.visible);
  EXPECT_TRUE(settings.DispTrayIcon);
}

TEST_F(TrayCommandsTest, PopupRestoresTitleExitClosesConfigOpensTheDialog) {
  commands.PPMenuPopup();
  commands.Choose(TrayItem::PPExit);
  commands.Choose(TrayItem::PPConfig);
  commands.Choose(TrayItem::N1);
  EXPECT_EQ(shell.calls, (std::vector<std::string>{"restore", "close", "settings"}));
}

}  // namespace
}  // namespace velmora
