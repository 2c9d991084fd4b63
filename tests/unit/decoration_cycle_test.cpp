#include <gtest/gtest.h>

#include "core/decoration_cycle.h"
#include "core/errors.h"
#include "fakes.h"

namespace velmora {
namespace {

constexpr WindowHandle kMain = 1000;  // the main window, MhWndOld at creation
constexpr WindowHandle kA = 1, kB = 2;

// Velmora's hidden window, notepad's window A and paint's window B.
struct Desktop : CycleOnFakes {
  Desktop() {
    wm.Add(kMain, {.title = u"Velmora", .visible = false, .pid = 1});
    wm.Add(kA, {.title = u"Notes", .pid = 10});
    wm.Add(kB, {.title = u"Paint", .pid = 20});
    processes.moduleNames = {{1, u"C:\\Velmora\\Velmora.exe"},
                             {10, u"C:\\Windows\\notepad.exe"},
                             {20, u"D:\\Apps\\Paint.EXE"}};
    cycle.State().MhWndOld = kMain;
  }
};

class Cycle : public ::testing::Test, protected Desktop {
 protected:

  // The default tag at the fake clock's 24/01/15(月) 13:05:09 with CPU 12
  // (one processor) and memory 45.
  static Text DefaultTag() { return u"【 [A] 24/01/15(月) 13:05:09 CPU:012 RAM:045 】 "; }
};

TEST_F(Cycle, DefaultTagAfterTheTitleRefreshedEveryTick) {
  cycle.State().FSingleCore = true;
  wm.foreground = kA;
  cycle.Tick();
  EXPECT_EQ(wm.Title(kA), u"Notes" + DefaultTag());
  clock.now.second = 10;
  cpu.total = 99;
  cycle.Tick();
  cycle.Tick();
  EXPECT_EQ(wm.Title(kA), u"Notes【 [A] 24/01/15(月) 13:05:10 CPU:099 RAM:045 】 ");
  EXPECT_EQ(cycle.State().MhWndOld, kA);
  EXPECT_EQ(cycle.State().MME, u"【 [A] 24/01/15(月) 13:05:10 CPU:099 RAM:045 】 ");
}

TEST_F(Cycle, TagExamples) {
  struct Case {
    const char* what;
    void (*setup)(TSettings&, FakeCpu&, FakeProbes&, FakeWindowManager&, CycleState&);
    const char16_t* title;
  };
  const Case cases[] = {
      {"per-processor item on, two processors",
       [](TSettings& s, FakeCpu& c, FakeProbes&, FakeWindowManager&, CycleState&) {
         s.DispCPUCore = true;
         c.failed = false;
         c.counters = {{u"0", 0, 20}, {u"1", 0, 5}, {u"_Total", 0, 12}};
       },
       u"Notes【 [A] 24/01/15(月) 13:05:09 CPU:012  CPU1:020 CPU2:005 RAM:045 】 "},
      {"names left out, CPU and RAM only",
       [](TSettings& s, FakeCpu&, FakeProbes&, FakeWindowManager&, CycleState& st) {
         s.FormatName = true;
         s.DispIME = s.DispDate = s.DispTime = false;
         st.FSingleCore = true;
       },
       u"Notes【 012 045 】 "},
      {"front placement",
       [](TSettings& s, FakeCpu&, FakeProbes&, FakeWindowManager&, CycleState& st) {
         s.FormatName = true;
         s.DispIME = s.DispDate = s.DispTime = false;
         s.SetDispFront(true);
         st.FSingleCore = true;
       },
       u"【 012 045 】 Notes"},
      {"both placements off put the tag in front",
       [](TSettings& s, FakeCpu&, FakeProbes&, FakeWindowManager&, CycleState& st) {
         s.DispIME = s.DispDate = s.DispTime = s.DispCPU = false;
         s.DispBack = s.DispFront = false;
         st.FSingleCore = true;
       },
       u"【 RAM:045 】 Notes"},
      {"input method open for the focus window",
       [](TSettings& s, FakeCpu&, FakeProbes& p, FakeWindowManager& w, CycleState&) {
         s.DispDate = s.DispTime = s.DispCPU = s.DispRAM = false;
         w.focus = 77;
         p.imeWindows[77] = 78;
         p.imeAnswers[78] = 1;
       },
       u"Notes【 [あ] 】 "},
      {"sampler failed: enabled CPU items keep their blanks",
       [](TSettings& s, FakeCpu&, FakeProbes&, FakeWindowManager&, CycleState&) {
         s.DispCPUCore = true;
         s.DispIME = s.DispDate = s.DispTime = false;
       },
       u"Notes【   RAM:045 】 "},
      {"one processor with the per-processor item on",
       [](TSettings& s, FakeCpu& c, FakeProbes&, FakeWindowManager&, CycleState& st) {
         s.DispCPUCore = true;
         s.DispIME = s.DispDate = s.DispTime = s.DispRAM = false;
         c.total = -1;
         st.FSingleCore = true;
       },
       u"Notes【 CPU:000  】 "},
      {"date and time formats out of range",
       [](TSettings& s, FakeCpu&, FakeProbes&, FakeWindowManager&, CycleState&) {
         s.FormatDate = 7;
         s.FormatTime = -1;
         s.DispIME = s.DispCPU = s.DispRAM = false;
       },
       u"Notes【   】 "},
      {"memory load clamped",
       [](TSettings& s, FakeCpu&, FakeProbes& p, FakeWindowManager&, CycleState&) {
         s.DispIME = s.DispDate = s.DispTime = s.DispCPU = false;
         p.memoryLoad = 130;
       },
       u"Notes【 RAM:100 】 "},
      {"twelve-hour clock, month and day only",
       [](TSettings& s, FakeCpu&, FakeProbes&, FakeWindowManager&, CycleState&) {
         s.FormatDate = 3;
         s.FormatTime = 3;
         s.DispIME = s.DispCPU = s.DispRAM = false;
       },
       u"Notes【 01/15 01:05 】 "},
  };
  for (const auto& c : cases) {
    TSettings s;
    FakeWindowManager w;
    FakeCpu cp;
    FakeProbes p;
    w.Add(kA, {.title = u"Notes", .pid = 10});
    w.foreground = kA;
    DecorationCycle dc{s, {w, processes, p, cp, clock, actions}, JapaneseDayNames()};
    c.setup(s, cp, p, w, dc.State());
    dc.Tick();
    EXPECT_EQ(w.Title(kA), c.title) << c.what;
  }
}

TEST_F(Cycle, ForegroundChangeRestoresTheLastWindowWithinOneTick) {
  wm.foreground = kA;
  cycle.Tick();
  wm.foreground = kB;
  cycle.Tick();
  EXPECT_EQ(wm.Title(kA), u"Notes");
  EXPECT_EQ(wm.Title(kB).substr(0, 5), u"Paint");
  EXPECT_EQ(wm.Title(kB).find(u"【"), 5u);
  EXPECT_EQ(cycle.State().MhWndOld, kB);
}

TEST_F(Cycle, UndecoratableForegroundRestoresLastWindowOnEveryTick) {
  wm.Add(3, {.title = u"Program Manager", .pid = 30});
  wm.Add(4, {.title = u"Min", .iconic = true, .pid = 40});
  for (WindowHandle front : {WindowHandle{3}, WindowHandle{4}, WindowHandle{0}}) {
    wm.foreground = kA;
    cycle.Tick();
    ASSERT_NE(wm.Title(kA), u"Notes");
    wm.foreground = front;
    wm.log.clear();
    cycle.Tick();
    cycle.Tick();
    EXPECT_EQ(wm.Title(kA), u"Notes") << front;
    EXPECT_EQ(std::count(wm.log.begin(), wm.log.end(), "set 1 Notes"), 2) << front;
    EXPECT_EQ(cycle.State().MhWndOld, kA);
    if (front != 0) {
      EXPECT_EQ(wm.Title(front).find(u"【"), Text::npos);
    }
  }
}

TEST_F(Cycle, StepsOneToThreeRunOnEveryTickWhateverTheWindow) {
  cpu.failed = false;
  cpu.counters = {{u"0", 0, 1}, {u"_Total", 0, 1}};
  probes.memoryLoad = -5;
  wm.foreground = 0;
  cycle.Tick();
  settings.DispIME = settings.DispDate = settings.DispTime = settings.DispCPU = settings.DispRAM = false;
  wm.foreground = kA;
  cycle.Tick();
  EXPECT_EQ(cpu.coreUpdates, 2);
  EXPECT_EQ(cpu.totalReads, 0);  // the total sampler is for one-processor machines
  EXPECT_EQ(actions.triggerLoads, (std::vector<std::int32_t>{0, 0}));
  EXPECT_EQ(wm.Title(kA), u"Notes");  // nothing shown, nothing written
  EXPECT_TRUE(settings.SeenPrograms.empty());
  EXPECT_EQ(actions.calls, (std::vector<std::string>{"ApplyMemoryTrigger", "ApplyMemoryTrigger"}));
}

TEST_F(Cycle, TriggerErrorEndsTheTickBeforeAnyTitleIsTouched) {
  actions.throwOnTrigger = true;
  wm.foreground = kA;
  EXPECT_THROW(cycle.Tick(), Exception);
  EXPECT_EQ(wm.Title(kA), u"Notes");
  actions.throwOnTrigger = false;
  cycle.Tick();  // the next tick starts again at step 1
  EXPECT_NE(wm.Title(kA), u"Notes");
}

TEST_F(Cycle, AlertsRunOnlyAfterATitleWasWritten) {
  wm.foreground = kA;
  cycle.Tick();
  EXPECT_EQ(actions.calls, (std::vector<std::string>{"ApplyMemoryTrigger", "CheckAlerts", "BlinkTitle 1"}));
  actions.calls.clear();
  wm.windows[kA].visible = false;
  cycle.Tick();
  EXPECT_EQ(actions.calls, (std::vector<std::string>{"ApplyMemoryTrigger"}));
}

TEST_F(Cycle, ExclusionListMatchesFileNameWithAsciiFolding) {
  struct Case { std::vector<Text> list; WindowHandle w; bool excluded; };
  const Case cases[] = {
      {{u"NOTEPAD.EXE"}, kA, true},
      {{u"other.exe", u"notepad.exe"}, kA, true},
      {{u"C:\\Windows\\notepad.exe"}, kA, false},  // an entry with a folder never matches
      {{u"notepad"}, kA, false},
      {{u"paint.exe"}, kB, true},
      {{u""}, kA, false},
  };
  for (const auto& c : cases) {
    wm.windows[c.w].title = c.w == kA ? u"Notes" : u"Paint";
    settings.DisabledPrograms = c.list;
    wm.foreground = c.w;
    cycle.Tick();
    EXPECT_EQ(wm.Title(c.w).find(u"【") == Text::npos, c.excluded) << ToUtf8(c.list.back());
    wm.foreground = 0;
    cycle.Tick();
  }
}

TEST_F(Cycle, EmptyEntryExcludesWindowsWhoseProgramIsUnknown) {
  wm.Add(5, {.title = u"Secret", .pid = 50});  // its process cannot be queried
  settings.DisabledPrograms = {u"x.exe", u""};
  wm.foreground = 5;
  cycle.Tick();
  EXPECT_EQ(wm.Title(5), u"Secret");
  settings.DisabledPrograms.clear();
  cycle.Tick();
  EXPECT_NE(wm.Title(5), u"Secret");
  EXPECT_EQ(settings.SeenPrograms, (std::vector<Text>{u""}));
}

TEST_F(Cycle, OwnerIsLookedUpAgainOnlyForAnotherWindowOrProcess) {
  wm.foreground = kA;
  for (int i = 0; i < 5; ++i) cycle.Tick();
  EXPECT_EQ(processes.moduleQueries, 1);
  wm.foreground = kB;
  cycle.Tick();
  EXPECT_EQ(processes.moduleQueries, 2);
  // The same handle, after its window was destroyed, reused by a window of
  // another process: looked up afresh.
  const FakeWindow b = wm.windows.at(kB);
  wm.windows.erase(kB);
  cycle.Tick();
  wm.Add(kB, b);
  wm.windows.at(kB).pid = 10;
  cycle.Tick();
  EXPECT_EQ(processes.moduleQueries, 3);
  EXPECT_EQ(settings.SeenPrograms, (std::vector<Text>{u"NOTEPAD.EXE", u"PAINT.EXE"}));
}

TEST_F(Cycle, ProcessIsLookedUpOncePerTick) {
  settings.DisabledPrograms = {u"a.exe", u"b.exe", u"c.exe"};
  wm.foreground = kA;
  cycle.Tick();
  EXPECT_EQ(processes.moduleQueries, 1);
  settings.DisabledPrograms.clear();
  wm.windows[kA].iconic = true;
  cycle.Tick();  // an empty list needs no look-up and nothing is decorated
  EXPECT_EQ(processes.moduleQueries, 1);
}

// A steady tick asks the window in front for its title and its state only:
// its process, its class and the monitors under it are asked again when
// another window comes to the front, when the window was out of sight (a
// handle names another window only after its own has gone), when it moves,
// or when the monitors change.
TEST_F(Cycle, ASteadyTickAsksTheWindowInFrontForItsTitleAndStateOnly) {
  settings.DisableDialog = true;
  wm.foreground = kA;
  cycle.Tick();
  const int newWindowQueries = 2;  // the window's and GetProcessFileName's own
  EXPECT_EQ(wm.processIdQueries, newWindowQueries);
  EXPECT_EQ(wm.monitorQueries.size(), 1u);
  for (int i = 0; i < 3; ++i) {
    wm.log.clear();
    wm.styleQueries = wm.processIdQueries = 0;
    cycle.Tick();
    EXPECT_EQ(std::count(wm.log.begin(), wm.log.end(), "get 1"), 1);
    EXPECT_EQ(wm.styleQueries, 1);
    EXPECT_EQ(wm.processIdQueries, 0);
  }
  EXPECT_EQ(wm.classQueries, 1);
  EXPECT_EQ(wm.monitorQueries.size(), 1u);
  EXPECT_NE(wm.Title(kA), u"Notes");
  wm.foreground = kB;
  cycle.Tick();
  EXPECT_EQ(wm.classQueries, 2);
  EXPECT_EQ(wm.processIdQueries, newWindowQueries);
  EXPECT_EQ(wm.monitorQueries.size(), 1u) << "the same rectangle, judged before";
  // The handle reused by a dialog of another process after a tick without
  // it: asked afresh, skipped.
  wm.windows.erase(kB);
  cycle.Tick();
  wm.Add(kB, {.title = u"Open", .className = u"#32770", .pid = 10});
  cycle.Tick();
  EXPECT_EQ(wm.classQueries, 3);
  EXPECT_EQ(wm.Title(kB), u"Open");
}

TEST_F(Cycle, WindowIsJudgedAfreshWhenItMovesOrTheMonitorsChange) {
  wm.foreground = kA;
  cycle.Tick();
  ASSERT_NE(wm.Title(kA), u"Notes");
  const size_t asked = wm.monitorQueries.size();
  cycle.Tick();
  EXPECT_EQ(wm.monitorQueries.size(), asked);
  // Moved off every monitor: judged on the next tick, not decorated.
  wm.windows.at(kA).rect = {3000, 3000, 3400, 3300};
  const Text before = wm.Title(kA);
  clock.now.second = 30;
  cycle.Tick();
  EXPECT_EQ(wm.monitorQueries.size(), asked + 5);
  EXPECT_EQ(wm.Title(kA), before) << "not written";
  // A monitor added there: unknown to the cycle until the display change is
  // reported; then judged afresh and decorated.
  wm.monitors.push_back({2560, 2048, 4096, 4096});
  cycle.Tick();
  EXPECT_EQ(wm.monitorQueries.size(), asked + 5);
  EXPECT_EQ(wm.Title(kA), before);
  cycle.DisplayChanged();
  cycle.Tick();
  EXPECT_EQ(wm.monitorQueries.size(), asked + 6);
  EXPECT_NE(wm.Title(kA).find(u"13:05:30"), Text::npos);
  // Removed again: judged afresh once more.
  wm.monitors.pop_back();
  cycle.DisplayChanged();
  clock.now.second = 31;
  cycle.Tick();
  EXPECT_EQ(wm.monitorQueries.size(), asked + 11);
  EXPECT_EQ(wm.Title(kA).find(u"13:05:31"), Text::npos);
}

TEST_F(Cycle, InputMethodWindowIsAskedForAgainWhenTheFocusMoves) {
  wm.focus = 77;
  probes.imeWindows = {{77, 78}, {79, 80}};
  probes.imeAnswers = {{78, 1}, {80, 0}};
  wm.foreground = kA;
  for (int i = 0; i < 3; ++i) cycle.Tick();
  EXPECT_EQ(probes.imeAsked, std::vector<WindowHandle>{77});
  EXPECT_NE(wm.Title(kA).find(u"[あ]"), Text::npos);
  wm.focus = 79;
  cycle.Tick();
  cycle.Tick();
  EXPECT_EQ(probes.imeAsked, (std::vector<WindowHandle>{77, 79}));
  EXPECT_NE(wm.Title(kA).find(u"[A]"), Text::npos);
  // Its input-method window gone: asked for again on the next tick.
  probes.imeAnswers.erase(80);
  cycle.Tick();
  probes.imeAnswers[80] = 0;
  cycle.Tick();
  EXPECT_EQ(probes.imeAsked, (std::vector<WindowHandle>{77, 79, 79}));
  // A focus window without an input method stays without one.
  wm.focus = 81;
  for (int i = 0; i < 3; ++i) cycle.Tick();
  EXPECT_EQ(probes.imeAsked, (std::vector<WindowHandle>{77, 79, 79, 81}));
}

TEST_F(Cycle, StandardDialogsAreSkippedOnlyWhenAsked) {
  wm.Add(6, {.title = u"Open", .className = u"#32770", .pid = 10});
  wm.foreground = 6;
  cycle.Tick();
  EXPECT_NE(wm.Title(6), u"Open");
  wm.foreground = kA;
  cycle.Tick();
  EXPECT_EQ(wm.Title(6), u"Open");
  settings.DisableDialog = true;
  wm.foreground = 6;
  cycle.Tick();
  EXPECT_EQ(wm.Title(6), u"Open");
  EXPECT_EQ(wm.Title(kA), u"Notes");
}

TEST_F(Cycle, SeenListRecordsEachProgramOnceInUpperCase) {
  wm.Add(7, {.title = u"Second notes", .pid = 70});
  processes.moduleNames[70] = u"E:\\Other\\NotePad.exe";
  for (WindowHandle w : {kA, kB, WindowHandle{7}, kA, kB}) {
    wm.foreground = w;
    cycle.Tick();
  }
  EXPECT_EQ(settings.SeenPrograms, (std::vector<Text>{u"NOTEPAD.EXE", u"PAINT.EXE"}));
}

TEST_F(Cycle, PlacementSwitchedWhileDecorated) {
  settings.SetDispFront(true);
  wm.foreground = kA;
  cycle.Tick();
  const Text decorated = wm.Title(kA);
  ASSERT_EQ(decorated, cycle.State().MME + u"Notes");
  // Switched to the back placement without a restore first: everything from
  // the tag at the start on is removed, which leaves nothing, so nothing is
  // written. The tray menu gives the title back before such a switch.
  settings.SetDispBack(true);
  cycle.Tick();
  EXPECT_EQ(wm.Title(kA), decorated);
  cycle.RestoreLastTitle();
  EXPECT_EQ(wm.Title(kA), u"");
}

// A program that captions a message box with its window's current title:
// the box comes to the front holding a tag of ours, and shows one tag, also
// when the caption was taken a tick before the box came up.
TEST_F(Cycle, CaptionCopiedFromADecoratedTitleShowsOneTag) {
  for (const int ticksBefore : {0, 1}) {
    SCOPED_TRACE(ticksBefore ? "caption taken a tick before" : "caption taken on the tick before");
    Desktop d;
    d.wm.foreground = kA;
    d.cycle.Tick();
    const Text copied = d.wm.Title(kA);
    for (int i = 0; i < ticksBefore; ++i) {
      d.clock.now.second += 1;
      d.cycle.Tick();
    }
    d.wm.Add(3, {.title = copied, .className = u"#32770", .pid = 10});
    d.wm.foreground = 3;
    for (int i = 0; i < 3; ++i) {
      d.clock.now.second += 1;
      d.cycle.Tick();
      EXPECT_EQ(d.wm.Title(3), u"Notes" + d.cycle.State().MME) << "tick " << i;
      EXPECT_EQ(d.wm.Title(kA), u"Notes");
    }
    d.wm.foreground = kA;
    d.cycle.Tick();
    EXPECT_EQ(d.wm.Title(3), u"Notes");
  }
}

// A program that remembers its decorated title and puts it back after its
// own title was given back.
TEST_F(Cycle, CachedDecoratedTitlePutBackCarriesOneTag) {
  wm.foreground = kA;
  cycle.Tick();
  const Text cached = wm.Title(kA);
  // With a window in front that is not decorated, A is given back its own
  // title on every tick, the cached one too.
  wm.Add(3, {.title = u"Program Manager", .pid = 30});
  wm.foreground = 3;
  clock.now.second = 10;
  cycle.Tick();
  wm.windows.at(kA).title = cached;
  cycle.Tick();
  EXPECT_EQ(wm.Title(kA), u"Notes");
  // With other windows decorated meanwhile, A comes back with its cached
  // title and shows one tag.
  wm.foreground = kB;
  for (int s = 11; s < 14; ++s) {
    clock.now.second = s;
    cycle.Tick();
  }
  wm.windows.at(kA).title = cached;
  wm.foreground = kA;
  clock.now.second = 14;
  cycle.Tick();
  EXPECT_EQ(wm.Title(kA), u"Notes" + cycle.State().MME);
  EXPECT_EQ(wm.Title(kB), u"Paint");
}

TEST_F(Cycle, WindowWhoseTitleCannotBeReadIsLeftAlone) {
  wm.foreground = kA;
  cycle.Tick();
  const Text decorated = wm.Title(kA);
  wm.windows.at(kA).unreadable = true;
  wm.log.clear();
  cycle.Tick();  // in front: counts as untitled
  wm.foreground = kB;
  cycle.Tick();  // left behind: no restore is written over it
  EXPECT_EQ(std::count_if(wm.log.begin(), wm.log.end(), [](const std::string& l) { return l.rfind("set 1", 0) == 0; }),
            0);
  EXPECT_EQ(wm.Title(kA), decorated);
  EXPECT_EQ(wm.Title(kB), u"Paint" + cycle.State().MME);
}

TEST_F(Cycle, InputMethodMarkerKeepsTheLastAnswerOfABusyProgram) {
  settings.DispDate = settings.DispTime = settings.DispCPU = settings.DispRAM = false;
  wm.focus = 77;
  probes.imeWindows[77] = 78;
  probes.imeAnswers[78] = 1;
  wm.foreground = kA;
  cycle.Tick();
  EXPECT_EQ(wm.Title(kA), u"Notes【 [あ] 】 ");
  probes.imeBusy = {78};
  cycle.Tick();
  EXPECT_EQ(wm.Title(kA), u"Notes【 [あ] 】 ");
  wm.focus = 79;  // another focus window, busy from the start
  probes.imeWindows[79] = 78;
  cycle.Tick();
  EXPECT_EQ(wm.Title(kA), u"Notes【 [A] 】 ");
}

TEST_F(Cycle, TitleWritesThatTimeOutNeverStackTags) {
  // Whether the program takes the late writes when it answers again, or
  // never gets them, its title ends with exactly one tag, and its own title
  // comes back when another window is in front.
  for (const bool delivered : {true, false}) {
    Desktop d;
    d.wm.foreground = kA;
    d.cycle.Tick();
    d.wm.windows[kA].hung = true;
    for (int s = 10; s < 13; ++s) {
      d.clock.now.second = s;
      d.cycle.Tick();
    }
    if (delivered) {
      d.wm.Answer(kA);
    } else {
      d.wm.windows[kA].hung = false;
      d.wm.windows[kA].late.clear();
    }
    d.clock.now.second = 20;
    d.cycle.Tick();
    EXPECT_EQ(d.wm.Title(kA), u"Notes" + d.cycle.State().MME) << delivered;
    EXPECT_NE(d.cycle.State().MME.find(u"13:05:20"), Text::npos);
    EXPECT_EQ(std::count(d.wm.Title(kA).begin(), d.wm.Title(kA).end(), u'【'), 1) << delivered;
    EXPECT_TRUE(d.cycle.Titles().Late().Unconfirmed().empty());
    d.wm.foreground = kB;
    d.cycle.Tick();
    EXPECT_EQ(d.wm.Title(kA), u"Notes") << delivered;
  }
}

TEST_F(Cycle, RestoreOfAWindowThatIsStillHungArrivesLast) {
  wm.foreground = kA;
  cycle.Tick();
  wm.windows[kA].hung = true;
  clock.now.second = 30;
  cycle.Tick();
  wm.foreground = kB;
  cycle.Tick();  // the restore of A times out too
  wm.Answer(kA);
  EXPECT_EQ(wm.Title(kA), u"Notes");
}

TEST_F(Cycle, WindowLeftBehindWhileHungGetsItsTitleBackWhenItAnswers) {
  // A program that drops the writes it missed (no late delivery).
  wm.foreground = kA;
  cycle.Tick();
  wm.windows[kA].hung = true;
  wm.foreground = kB;
  cycle.Tick();
  cycle.Tick();
  EXPECT_NE(wm.Title(kA), u"Notes");
  ASSERT_EQ(cycle.Titles().Late().Pending().size(), 1u);
  wm.windows[kA].hung = false;
  wm.windows[kA].late.clear();
  cycle.Tick();
  EXPECT_EQ(wm.Title(kA), u"Notes");
  EXPECT_TRUE(cycle.Titles().Late().Pending().empty());
  EXPECT_NE(wm.Title(kB).find(u"【"), Text::npos);
}

TEST_F(Cycle, WindowLeftBehindComesBackToTheFrontWithOneTag) {
  wm.foreground = kA;
  cycle.Tick();
  wm.windows[kA].hung = true;
  wm.foreground = kB;
  cycle.Tick();  // A keeps its tag
  wm.windows[kA].hung = false;
  wm.windows[kA].late.clear();
  wm.foreground = kA;
  clock.now.second = 40;
  cycle.Tick();
  EXPECT_EQ(wm.Title(kA), u"Notes" + cycle.State().MME);
  EXPECT_EQ(std::count(wm.Title(kA).begin(), wm.Title(kA).end(), u'【'), 1);
  EXPECT_EQ(wm.Title(kB), u"Paint");
}

TEST_F(Cycle, RestoreLastTitleGivesTheTitleBack) {
  wm.foreground = kA;
  cycle.Tick();
  cycle.RestoreLastTitle();
  EXPECT_EQ(wm.Title(kA), u"Notes");
}

TEST_F(Cycle, DestroyedWindowDuringTickChangesNothing) {
  wm.foreground = kA;
  cycle.Tick();
  wm.windows.erase(kA);
  wm.foreground = kB;
  EXPECT_NO_THROW(cycle.Tick());
  EXPECT_EQ(cycle.State().MhWndOld, kB);
}

TEST_F(Cycle, PerProcessorTotalIsTheLastEntryAndOneEntryMeansNoCores) {
  cpu.failed = false;
  cpu.counters = {{u"_Total", 0, 33}};
  settings.DispCPUCore = true;
  settings.DispIME = settings.DispDate = settings.DispTime = settings.DispRAM = false;
  wm.foreground = kA;
  cycle.Tick();
  EXPECT_EQ(wm.Title(kA), u"Notes【 CPU:033  】 ");
  cpu.counters = {{u"0", 0, 10}, {u"1", 0, 20}, {u"2", 0, 30}, {u"_Total", 0, 20}};
  cpu.nextCoreValues = {11, 21, 31, 21};
  cycle.Tick();
  EXPECT_EQ(wm.Title(kA), u"Notes【 CPU:021  CPU1:011 CPU2:021 CPU3:031 】 ");
}

}  // namespace
}  // namespace velmora
