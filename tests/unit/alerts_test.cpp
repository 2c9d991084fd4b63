#include <gtest/gtest.h>

#include <new>
#include <stdexcept>

#include "core/alerts.h"
#include "core/decoration_cycle.h"
#include "core/errors.h"
#include "fakes.h"

namespace velmora {
namespace {

constexpr WindowHandle kMain = 1000;
constexpr WindowHandle kA = 1, kB = 2, kExcluded = 3;

// The cycle with the real alerts over a fake desktop and a fake clock.
class AlertsCycle : public ::testing::Test {
 protected:
  AlertsCycle() {
    wm.Add(kMain, {.title = u"Velmora", .visible = false, .pid = 1});
    wm.Add(kA, {.title = u"Notes", .pid = 10});
    wm.Add(kB, {.title = u"Paint", .pid = 20});
    wm.Add(kExcluded, {.title = u"Secret", .pid = 30});
    processes.moduleNames = {{1, u"C:\\Velmora\\Velmora.exe"},
                             {10, u"C:\\Windows\\notepad.exe"},
                             {20, u"C:\\Apps\\paint.exe"},
                             {30, u"C:\\Apps\\secret.exe"}};
    settings.DisabledPrograms = {u"SECRET.EXE"};
    cycle.State().MhWndOld = kMain;
    disk.files = {u"C:\\Sounds\\chime.wav", u"C:\\Sounds\\alarm.wav"};
    settings.WhistleWavFile = u"C:\\Sounds\\chime.wav";
    settings.AlarmWavFile = u"C:\\Sounds\\alarm.wav";
  }

  void At(int hour, int minute, int second) {
    clock.now.hour = hour;
    clock.now.minute = minute;
    clock.now.second = second;
  }

  // One tick; answers the number of blinks it showed (blank title writes
  // followed by the 50 ms pause).
  int Tick() {
    wm.log.clear();
    clock.sleeps.clear();
    cycle.Tick();
    int blanks = 0;
    for (const auto& line : wm.log)
      if (line.rfind("set ", 0) == 0 && line.find(' ', 4) == line.size() - 1) ++blanks;
    EXPECT_EQ(clock.sleeps, std::vector<std::uint32_t>(static_cast<size_t>(blanks), 50u));
    return blanks;
  }

  void NextSecond() {
    LocalTime& t = clock.now;
    if (++t.second < 60) return;
    t.second = 0;
    if (++t.minute < 60) return;
    t.minute = 0;
    t.hour = (t.hour + 1) % 24;
  }

  // Ticks a second apart from the current time; the blinks of each.
  std::vector<int> Ticks(int n) {
    std::vector<int> blinks;
    for (int i = 0; i < n; ++i) {
      blinks.push_back(Tick());
      NextSecond();
    }
    return blinks;
  }

  TSettings settings;
  FakeWindowManager wm;
  FakeProcessApi processes;
  FakeProbes probes;
  FakeCpu cpu;
  FakeClock clock;
  FakeDiskAndSound disk;
  FakeLauncher launcher;
  Alerts alerts{settings, {wm, clock, disk, launcher}, u"C:\\Program Files\\Velmora\\"};
  DecorationCycle cycle{settings, {wm, processes, probes, cpu, clock, alerts}, JapaneseDayNames()};
};

TEST_F(AlertsCycle, ChimeAtTheHourBlinksWhistleTimeTicksAndPlaysOnItsFirstTick) {
  settings.WhistleEnable = true;
  settings.WhistleTime = 10;
  settings.WhistleWavEnable = true;
  wm.foreground = kA;
  At(9, 59, 58);
  EXPECT_EQ(Ticks(2), std::vector<int>(2, 0));
  EXPECT_TRUE(disk.Played().empty());

  EXPECT_EQ(Tick(), 1);  // 10:00:00
  EXPECT_EQ(disk.Played(), std::vector<std::string>{"play C:\\Sounds\\chime.wav 3"});
  // The title came back as the tick wrote it, tag included.
  EXPECT_EQ(wm.log.back().rfind("set 1 Notes【", 0), 0u) << wm.log.back();
  EXPECT_EQ(wm.Title(kA).rfind(u"Notes【 [A] 24/01/15(月) 10:00:00", 0), 0u);

  ++clock.now.second;
  std::vector<int> rest = Ticks(12);
  EXPECT_EQ(rest, (std::vector<int>{1, 1, 1, 1, 1, 1, 1, 1, 1, 0, 0, 0}));
  EXPECT_EQ(cycle.State().MFlashC, 0);
  EXPECT_EQ(disk.Played().size(), 1u);
}

TEST_F(AlertsCycle, ChimeWithTheSoundSwitchOffOnlyBlinks) {
  settings.WhistleEnable = true;
  settings.WhistleTime = 2;
  wm.foreground = kA;
  At(10, 0, 0);
  EXPECT_EQ(Ticks(3), (std::vector<int>{1, 1, 0}));
  EXPECT_TRUE(disk.log.empty()) << "no drive or file is even looked at";
}

TEST_F(AlertsCycle, ChimeIsLostWhileNothingIsDecoratedAtTheDueSecond) {
  settings.WhistleEnable = true;
  settings.WhistleWavEnable = true;
  wm.foreground = kExcluded;
  At(10, 0, 0);
  EXPECT_EQ(Tick(), 0);
  wm.foreground = kA;
  clock.now.second = 1;
  EXPECT_EQ(Ticks(5), std::vector<int>(5, 0));
  EXPECT_TRUE(disk.Played().empty());
}

TEST_F(AlertsCycle, BlinksWaitWhileNothingIsDecoratedAndGoOnInTheNextWindow) {
  settings.WhistleEnable = true;
  settings.WhistleTime = 4;
  wm.foreground = kA;
  At(10, 0, 0);
  EXPECT_EQ(Tick(), 1);
  ++clock.now.second;
  EXPECT_EQ(cycle.State().MFlashC, 3);

  wm.foreground = kExcluded;
  EXPECT_EQ(Ticks(3), std::vector<int>(3, 0));
  wm.foreground = 0;  // nothing in front
  EXPECT_EQ(Ticks(2), std::vector<int>(2, 0));
  settings.DispIME = settings.DispDate = settings.DispTime = settings.DispCPU = settings.DispRAM = false;
  wm.foreground = kB;  // in front but no item on: still not decorated
  EXPECT_EQ(Ticks(2), std::vector<int>(2, 0));
  EXPECT_EQ(cycle.State().MFlashC, 3);

  settings.DispTime = true;
  EXPECT_EQ(Ticks(4), (std::vector<int>{1, 1, 1, 0}));
  EXPECT_EQ(wm.Title(kB), u"Paint【 10:00:11 】 ");
  EXPECT_EQ(wm.Title(kExcluded), u"Secret");
}

TEST_F(AlertsCycle, AlarmIsDueInSecondZeroOfItsMinuteOnly) {
  settings.AlarmEnable = true;
  settings.AlarmHour = 7;
  settings.AlarmMin = 30;
  settings.AlarmTime = 5;
  settings.AlarmWavEnabled = true;
  wm.foreground = kA;
  struct Case {
    int hour, minute, second;
    bool due;
  };
  const Case cases[] = {{7, 30, 0, true},  {7, 30, 1, false}, {7, 29, 59, false}, {7, 29, 0, false},
                        {7, 31, 0, false}, {19, 30, 0, false}, {8, 30, 0, false}, {0, 0, 0, false}};
  for (const auto& c : cases) {
    cycle.State().MFlashC = 0;
    disk.log.clear();
    At(c.hour, c.minute, c.second);
    SCOPED_TRACE(testing::Message() << c.hour << ":" << c.minute << ":" << c.second);
    EXPECT_EQ(Tick(), c.due ? 1 : 0);
    EXPECT_EQ(cycle.State().MFlashC, c.due ? 4 : 0);
    EXPECT_EQ(disk.Played().size(), c.due ? 1u : 0u);
  }
}

TEST_F(AlertsCycle, AlarmHourOrMinuteOutOfRangeNeverFires) {
  settings.AlarmEnable = true;
  settings.AlarmWavEnabled = true;
  wm.foreground = kA;
  const std::pair<int, int> settingsOutOfRange[] = {{24, 0}, {-1, 30}, {7, 60}, {7, -30}, {100, 100}, {31, 0}};
  for (const auto& [hour, minute] : settingsOutOfRange) {
    settings.AlarmHour = hour;
    settings.AlarmMin = minute;
    // Second 0 of every minute of a day; a wrong firing would be counted
    // back down by the blinks after it, so every tick is looked at.
    for (int h = 0; h < 24; ++h)
      for (int m = 0; m < 60; ++m) {
        At(h, m, 0);
        ASSERT_EQ(Tick(), 0) << hour << ":" << minute << " fired at " << h << ":" << m;
        ASSERT_EQ(cycle.State().MFlashC, 0) << hour << ":" << minute << " fired at " << h << ":" << m;
      }
    EXPECT_TRUE(disk.Played().empty()) << hour << ":" << minute;
  }
}

TEST_F(AlertsCycle, ChimeAndAlarmDueTogetherLeaveTheAlarmsCountAndSound) {
  settings.WhistleEnable = settings.WhistleWavEnable = true;
  settings.WhistleTime = 10;
  settings.AlarmEnable = settings.AlarmWavEnabled = true;
  settings.AlarmHour = 12;
  settings.AlarmTime = 3;
  wm.foreground = kA;
  At(12, 0, 0);
  EXPECT_EQ(Ticks(4), (std::vector<int>{1, 1, 1, 0}));
  // The alarm's sound starts second and cuts the chime's off.
  EXPECT_EQ(disk.Played(),
            (std::vector<std::string>{"play C:\\Sounds\\chime.wav 3", "play C:\\Sounds\\alarm.wav 3"}));
}

TEST_F(AlertsCycle, TwoTicksInTheDueSecondSetTheCountBackAndRestartTheSound) {
  settings.WhistleEnable = settings.WhistleWavEnable = true;
  settings.WhistleTime = 4;
  settings.FormatUpdate = 0;  // 500 ms
  wm.foreground = kA;
  At(10, 0, 0);
  EXPECT_EQ(Tick(), 1);
  clock.now.millisecond = 500;
  EXPECT_EQ(Tick(), 1);
  EXPECT_EQ(cycle.State().MFlashC, 3);
  int more = 0;
  for (int i = 0; i < 8; ++i) {
    ++clock.now.second;
    more += Tick();
  }
  EXPECT_EQ(2 + more, 5) << "WhistleTime + 1 blinks in all";
  EXPECT_EQ(disk.Played().size(), 2u);
}

TEST_F(AlertsCycle, CountOfZeroOrBelowGivesNoBlinkButTheSoundPlays) {
  settings.WhistleEnable = settings.WhistleWavEnable = true;
  wm.foreground = kA;
  for (const int count : {0, -1, -60}) {
    settings.WhistleTime = count;
    disk.log.clear();
    At(10, 0, 0);
    EXPECT_EQ(Ticks(3), std::vector<int>(3, 0)) << count;
    EXPECT_EQ(cycle.State().MFlashC, count);
    EXPECT_EQ(disk.Played().size(), 1u) << count;
  }
}

TEST_F(AlertsCycle, SoundOnAMissingFileOrAnUnreadyDriveIsSilentAndTheBlinkGoesAhead) {
  settings.WhistleEnable = settings.WhistleWavEnable = true;
  settings.WhistleTime = 1;
  wm.foreground = kA;
  for (const char16_t* file : {u"C:\\Sounds\\missing.wav", u"E:\\chime.wav", u""}) {
    settings.WhistleWavFile = file;
    At(11, 0, 0);
    EXPECT_EQ(Tick(), 1);
  }
  EXPECT_TRUE(disk.Played().empty());
}

// A window that has gone, or whose title cannot be read, is not blanked (its
// title could not be put back), and the blink still counts down.
TEST_F(AlertsCycle, BlinkOfAWindowThatHasGoneOrCannotBeReadStillCountsDown) {
  wm.windows[kA].title = u"Huge";
  wm.windows[kA].unreadable = true;
  for (const WindowHandle w : {WindowHandle{77}, kA}) {
    CycleState state;
    state.MFlashC = 2;
    wm.log.clear();
    alerts.BlinkTitle(state, w);
    EXPECT_EQ(state.MFlashC, 1);
    EXPECT_EQ(wm.log, std::vector<std::string>{"get " + std::to_string(w)});
    EXPECT_TRUE(clock.sleeps.empty());
  }
  EXPECT_EQ(wm.Title(kA), u"Huge");
}

TEST_F(AlertsCycle, BlinkKeepsATitleLongerThanAnyFixedBuffer) {
  const Text longTitle(5000, u'x');
  wm.windows[kA].title = longTitle;
  CycleState state;
  state.MFlashC = 1;
  alerts.BlinkTitle(state, kA);
  EXPECT_EQ(wm.Title(kA), longTitle);
  EXPECT_EQ(wm.log.size(), 3u);  // read, blank, back
}

// The memory trigger, RAMUse 90, RAMExe set.
class MemoryTrigger : public AlertsCycle {
 protected:
  MemoryTrigger() {
    settings.RAMEnable = true;
    settings.RAMUse = 90;
    settings.RAMExe = u"C:\\Tools\\Mem Clean.exe /quiet";
  }
  // Applies the loads in turn; the ticks on which a start was attempted.
  std::vector<int> Apply(const std::vector<int>& loads, std::vector<bool>* latch = nullptr) {
    std::vector<int> started;
    for (size_t i = 0; i < loads.size(); ++i) {
      const size_t before = launcher.starts.size();
      alerts.ApplyMemoryTrigger(state, loads[i]);
      if (launcher.starts.size() != before) started.push_back(static_cast<int>(i));
      if (latch) latch->push_back(state.FMem);
    }
    return started;
  }
  CycleState state;
};

TEST_F(MemoryTrigger, StartsOncePerCrossingOfTheThreshold) {
  std::vector<bool> latch;
  EXPECT_EQ(Apply({89, 90, 95, 100, 90, 89, 90, 91, 0, 100}, &latch), (std::vector<int>{1, 6, 9}));
  EXPECT_EQ(latch, (std::vector<bool>{false, true, true, true, true, false, true, true, false, true}));
  ASSERT_FALSE(launcher.starts.empty());
  // Passed on verbatim, with this program's folder and SW_SHOWDEFAULT.
  EXPECT_EQ(launcher.starts[0].commandLine, u"C:\\Tools\\Mem Clean.exe /quiet");
  EXPECT_EQ(launcher.starts[0].folder, u"C:\\Program Files\\Velmora\\");
  EXPECT_EQ(launcher.starts[0].show, 10);
}

TEST_F(MemoryTrigger, LatchTable) {
  struct Case {
    bool fmemBefore, enable;
    int use, load;
    const char16_t* exe;
    bool startFails;
    bool started, fmemAfter, throws;
  };
  const Case cases[] = {
      {false, true, 90, 90, u"opt.exe", false, true, true, false},
      {false, true, 90, 90, u"", false, false, true, false},
      {true, true, 90, 95, u"opt.exe", false, false, true, false},
      {true, true, 90, 89, u"opt.exe", false, false, false, false},
      {false, true, 90, 89, u"opt.exe", false, false, false, false},
      {true, false, 90, 100, u"opt.exe", false, false, false, false},
      {false, false, 90, 100, u"opt.exe", false, false, false, false},
      {false, true, 100, 99, u"opt.exe", false, false, false, false},
      {false, true, 100, 100, u"opt.exe", false, true, true, false},
      {false, true, 90, 90, u"missing.exe", true, true, false, true},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(testing::Message() << "FMem " << c.fmemBefore << " enable " << c.enable << " use " << c.use
                                    << " load " << c.load << " exe " << ToUtf8(c.exe));
    settings.RAMEnable = c.enable;
    settings.RAMUse = c.use;
    settings.RAMExe = c.exe;
    launcher.starts.clear();
    launcher.fail = c.startFails;
    state.FMem = c.fmemBefore;
    bool threw = false;
    try {
      alerts.ApplyMemoryTrigger(state, c.load);
    } catch (const Exception& e) {
      threw = true;
      EXPECT_EQ(e.Message(), Text(c.exe) + u"を起動できません。");
    }
    EXPECT_EQ(threw, c.throws);
    EXPECT_EQ(launcher.starts.size(), c.started ? 1u : 0u);
    EXPECT_EQ(state.FMem, c.fmemAfter);
  }
}

TEST_F(MemoryTrigger, ProgramEnteredWhileAboveTheThresholdWaitsForTheNextCrossing) {
  settings.RAMExe.clear();
  EXPECT_TRUE(Apply({95, 95}).empty());
  EXPECT_TRUE(state.FMem);
  settings.RAMExe = u"opt.exe";
  EXPECT_EQ(Apply({95, 96, 80, 95}), std::vector<int>{3});
}

TEST_F(MemoryTrigger, FailedStartEndsTheTickUntouchedAndIsTriedAgainOnTheNext) {
  settings.RAMUse = 1;
  settings.RAMExe = u"C:\\nowhere\\opt.exe";
  launcher.fail = true;
  wm.foreground = kA;
  for (int i = 0; i < 3; ++i) {
    wm.log.clear();
    try {
      cycle.Tick();
      ADD_FAILURE() << "no error";
    } catch (const Exception& e) {
      EXPECT_EQ(e.Message(), u"C:\\nowhere\\opt.exeを起動できません。");
    }
    EXPECT_TRUE(wm.log.empty()) << "no title touched";
    EXPECT_FALSE(cycle.State().FMem);
  }
  EXPECT_EQ(launcher.starts.size(), 3u);
  launcher.fail = false;
  cycle.Tick();
  cycle.Tick();
  EXPECT_EQ(launcher.starts.size(), 4u);
  EXPECT_EQ(wm.Title(kA).rfind(u"Notes【", 0), 0u);
}

TEST(ErrorBoxGate, OneBoxAtATimeTheOthersInOrder) {
  struct Step {
    const char* what;       // "offer" or "close"
    const char16_t* text;   // offered text
    bool showNow;           // offer: shown at once
    const char16_t* next;   // close: shown next (nullptr: none)
  };
  const Step steps[] = {
      {"offer", u"a.exeを起動できません。", true, nullptr},
      {"offer", u"a.exeを起動できません。", false, nullptr},  // the repeat is dropped
      {"offer", u"a.exeを起動できません。", false, nullptr},
      {"close", nullptr, false, nullptr},                      // nothing else waited
      {"offer", u"a.exeを起動できません。", true, nullptr},   // the next failure after the close
      {"offer", u"settings", false, nullptr},                  // another error waits
      {"offer", u"a.exeを起動できません。", false, nullptr},
      {"offer", u"counter", false, nullptr},                   // and the next behind it
      {"offer", u"settings", false, nullptr},                  // waiting already: dropped
      {"close", nullptr, false, u"settings"},                  // in the order they came
      {"offer", u"settings", false, nullptr},                  // on screen now: dropped
      {"offer", u"a.exeを起動できません。", false, nullptr},   // no longer on screen: waits
      {"close", nullptr, false, u"counter"},
      {"close", nullptr, false, u"a.exeを起動できません。"},
      {"close", nullptr, false, nullptr},
      {"offer", u"x", true, nullptr},
  };
  ErrorBoxGate gate;
  int i = 0;
  for (const auto& s : steps) {
    SCOPED_TRACE(i++);
    if (std::string(s.what) == "offer") {
      EXPECT_EQ(gate.Offer(s.text), s.showNow);
      EXPECT_TRUE(gate.BoxOpen());
    } else {
      const auto next = gate.Closed();
      EXPECT_EQ(next.has_value(), s.next != nullptr);
      if (next && s.next) {
        EXPECT_EQ(*next, Text(s.next));
      }
      EXPECT_EQ(gate.BoxOpen(), s.next != nullptr);
    }
  }
}

TEST(ErrorBoxGate, TheWaitingLineIsBounded) {
  ErrorBoxGate gate;
  ASSERT_TRUE(gate.Offer(u"on screen"));
  for (int k = 0; k < 1000; ++k) EXPECT_FALSE(gate.Offer(u"failure " + DecimalText(k)));
  // The first ones that came wait; the rest of the burst is dropped.
  for (std::size_t k = 0; k < ErrorBoxGate::kMaxWaiting; ++k) {
    EXPECT_EQ(gate.Closed(), std::optional<Text>(u"failure " + DecimalText(static_cast<std::int64_t>(k))));
  }
  EXPECT_EQ(gate.Closed(), std::nullopt);
  EXPECT_FALSE(gate.BoxOpen());
}

TEST(ErrorMessages, OursAsTheyStandAnyOtherInJapanese) {
  const auto messageOf = [](auto thrown) {
    try {
      throw thrown;
    } catch (...) {
      return ErrorMessageOf(std::current_exception());
    }
  };
  EXPECT_EQ(messageOf(Exception(u"x.exeを起動できません。")), u"x.exeを起動できません。");
  EXPECT_EQ(messageOf(std::bad_alloc()), u"メモリが不足しています。");
  EXPECT_EQ(messageOf(std::runtime_error("vector::_M_realloc_insert")), u"予期しないエラーが発生しました。");
  EXPECT_EQ(messageOf(42), u"予期しないエラーが発生しました。");
  EXPECT_EQ(ErrorMessageOf(nullptr), u"予期しないエラーが発生しました。");
  // As the box shows them.
  EXPECT_EQ(ErrorBoxText(kOutOfMemoryText), u"メモリが不足しています。.");
}

}  // namespace
}  // namespace velmora
