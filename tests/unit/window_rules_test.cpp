#include <gtest/gtest.h>

#include "core/probes.h"
#include "core/window_rules.h"
#include "fakes.h"

namespace velmora {
namespace {

class WindowRules : public ::testing::Test {
 protected:
  FakeWindowManager wm;
  FakeProcessApi processes;
};

TEST_F(WindowRules, TargetQualification) {
  struct Case { const char* what; FakeWindow w; bool target; };
  const Case cases[] = {
      {"normal", {.title = u"Editor"}, true},
      {"desktop title", {.title = u"Program Manager"}, false},
      {"desktop title, other case", {.title = u"program manager"}, true},
      {"invisible", {.title = u"Editor", .visible = false}, false},
      {"empty title", {.title = u""}, false},
      {"minimised", {.title = u"Editor", .iconic = true}, false},
      {"off-screen", {.title = u"Editor", .rect = {3000, 3000, 3400, 3300}}, false},
      {"off-screen but maximised", {.title = u"Editor", .zoomed = true, .rect = {3000, 3000, 3400, 3300}}, true},
      {"parked at -32000", {.title = u"Editor", .rect = {-32000, -32000, -31840, -31973}}, false},
      {"only the centre on screen", {.title = u"Editor", .rect = {-1000, -1000, 1400, 1400}}, true},
      {"only the bottom-right corner", {.title = u"Editor", .rect = {-400, -300, 10, 10}}, true},
      {"only the top-right corner", {.title = u"Editor", .rect = {-400, 500, 10, 2000}}, true},
      {"only the bottom-left corner", {.title = u"Editor", .rect = {1270, -500, 3000, 10}}, true},
  };
  for (const auto& c : cases) {
    wm.windows.clear();
    wm.Add(7, c.w);
    EXPECT_EQ(IsTargetWindow(wm, 7, true), c.target) << c.what;
  }
  EXPECT_FALSE(IsTargetWindow(wm, 0, true));
  wm.Add(8, {.title = u"Editor", .rect = {3000, 3000, 3400, 3300}});
  EXPECT_TRUE(IsTargetWindow(wm, 8, false));  // no off-screen check asked for
}

TEST_F(WindowRules, DesktopTitleIsTheWholeTitleNotItsStart) {
  // The test looks at the first 259 units; a title that only begins with
  // "Program Manager", however long, is another window's.
  const Text pm = u"Program Manager";
  const auto padded = [&](size_t units) { return pm + Text(units - pm.size(), u'x'); };
  struct Case { const char* what; Text title; bool target; };
  const Case cases[] = {
      {"exactly", pm, false},
      {"one unit more", pm + u" ", true},
      {"one unit less", pm.substr(0, pm.size() - 1), true},
      {"a blank before it", u" " + pm, true},
      {"258 units", padded(258), true},
      {"259 units, all the test looks at", padded(259), true},
      {"260 units", padded(260), true},
      {"315 units", padded(315), true},
  };
  for (const auto& c : cases) {
    wm.windows.clear();
    wm.Add(7, {.title = c.title});
    EXPECT_EQ(IsTargetWindow(wm, 7, true), c.target) << c.what;
  }
}

TEST(DesktopTitle, AWindowWhoseTitleRunsPastWhatTheTestLooksAtIsDecoratedWhole) {
  // The tick reads a title once, for the desktop test and for the tag: a
  // title cut where the desktop test stops would lose its end here.
  CycleOnFakes f;
  const Text own = u"Program Manager" + Text(300, u'x') + u"end";
  f.wm.Add(1000, {.title = u"Velmora", .visible = false, .pid = 1});
  f.wm.Add(7, {.title = own, .pid = 10});
  f.wm.Add(8, {.title = u"Other", .pid = 20});
  f.cycle.State().MhWndOld = 1000;
  f.cycle.State().FSingleCore = true;
  f.wm.foreground = 7;
  f.cycle.Tick();
  const Text decorated = f.wm.Title(7);
  EXPECT_EQ(decorated.substr(0, own.size()), own);
  EXPECT_EQ(decorated.find(u"【"), own.size());
  f.wm.foreground = 8;
  f.cycle.Tick();
  EXPECT_EQ(f.wm.Title(7), own);
}

TEST_F(WindowRules, OffScreenTestsFivePointsInOrderAndStopsAtFirstHit) {
  wm.monitors = {};
  EXPECT_TRUE(IsOffScreen(wm, 10, 20, 101, 51));
  const std::vector<std::pair<std::int32_t, std::int32_t>> expected = {
      {10, 20}, {111, 71}, {111, 20}, {10, 71}, {60, 45}};
  EXPECT_EQ(wm.monitorQueries, expected);

  wm.monitorQueries.clear();
  wm.monitors = {{100, 60, 200, 200}};  // holds the bottom-right point only
  EXPECT_FALSE(IsOffScreen(wm, 10, 20, 101, 51));
  EXPECT_EQ(wm.monitorQueries.size(), 2u);

  wm.monitorQueries.clear();
  wm.monitors = {};
  IsOffScreen(wm, 5, 5, 0, 0);  // a zero rectangle is its top-left corner five times
  for (const auto& p : wm.monitorQueries) EXPECT_EQ(p, std::make_pair(5, 5));
  wm.monitorQueries.clear();
  IsOffScreen(wm, -10, -10, -5, -3);  // the centre truncates toward zero
  EXPECT_EQ(wm.monitorQueries.back(), std::make_pair(-12, -11));
}

TEST_F(WindowRules, WindowBounds) {
  wm.Add(1, {.rect = {-8, 10, 1288, 1034}});
  Bounds b;
  ASSERT_TRUE(GetWindowBounds(wm, 1, b));
  EXPECT_EQ(b.left, -8);
  EXPECT_EQ(b.top, 10);
  EXPECT_EQ(b.width, 1296);
  EXPECT_EQ(b.height, 1024);
  wm.Add(2, {.rect = {-32000, -32000, -31840, -31973}});
  EXPECT_FALSE(GetWindowBounds(wm, 2, b));
  wm.Add(3, {.rect = {-32000, 5, 0, 50}});  // only both edges together mean parked
  EXPECT_TRUE(GetWindowBounds(wm, 3, b));
  EXPECT_FALSE(GetWindowBounds(wm, 99, b));
}

TEST_F(WindowRules, ProcessFileNamePrefersTheMainModule) {
  wm.Add(1, {.pid = 10});
  processes.moduleNames[10] = u"C:\\Tools\\editor.exe";
  processes.imageNames[10] = u"\\Device\\HarddiskVolume9\\other.exe";
  EXPECT_EQ(GetProcessFileName(wm, processes, 1), u"C:\\Tools\\editor.exe");
}

TEST_F(WindowRules, ProcessFileNameFallsBackToDevicePathMapping) {
  wm.Add(1, {.pid = 10});
  processes.imageNames[10] = u"\\Device\\HarddiskVolume2\\Tools\\editor.exe";
  processes.drives = 0b1101;  // A, C, D
  processes.dosDevices[u'A'] = u"";
  processes.dosDevices[u'C'] = u"\\Device\\HarddiskVolume2";
  processes.dosDevices[u'D'] = u"\\Device\\HarddiskVolume2";  // later drives are not looked at
  EXPECT_EQ(GetProcessFileName(wm, processes, 1), u"C:\\Tools\\editor.exe");
}

TEST_F(WindowRules, DevicePathMappingCases) {
  processes.drives = (1u << 2) | (1u << 3) | (1u << 25);  // C, D, Z
  processes.dosDevices[u'C'] = u"\\Device\\HarddiskVolume1";
  processes.dosDevices[u'D'] = u"\\Device\\HarddiskVolume10";
  processes.dosDevices[u'Z'] = u"\\Device\\HarddiskVolume3";
  processes.dosDevices[u'E'] = u"\\Device\\HarddiskVolume4";  // not in the drive mask
  const std::pair<Text, Text> cases[] = {
      {u"\\Device\\HarddiskVolume10\\a.exe", u"D:\\a.exe"},  // prefix must end at a "\"
      {u"\\Device\\HarddiskVolume1\\a.exe", u"C:\\a.exe"},
      {u"\\Device\\HarddiskVolume3\\x\\y.exe", u"Z:\\x\\y.exe"},
      {u"\\Device\\HarddiskVolume4\\a.exe", u"\\Device\\HarddiskVolume4\\a.exe"},
      {u"\\Device\\Mup\\server\\share\\a.exe", u"\\Device\\Mup\\server\\share\\a.exe"},
      {u"\\device\\harddiskvolume1\\a.exe", u"\\device\\harddiskvolume1\\a.exe"},  // case-sensitive
      {u"\\Device\\HarddiskVolume1", u"\\Device\\HarddiskVolume1"},
  };
  for (const auto& [device, mapped] : cases) EXPECT_EQ(MapDevicePathToDrive(processes, device), mapped) << ToUtf8(device);
}

TEST_F(WindowRules, ProcessThatCannotBeQueriedHasNoName) {
  wm.Add(1, {.pid = 10});
  processes.drives = 0b100;
  processes.dosDevices[u'C'] = u"\\Device\\HarddiskVolume1";
  EXPECT_EQ(GetProcessFileName(wm, processes, 1), u"");
  EXPECT_EQ(GetProcessFileName(wm, processes, 0), u"");
}

TEST(Probes, InputMethodOpenOnlyOnNonZeroAnswer) {
  FakeProbes probes;
  ImeMemory last;
  probes.imeWindows = {{5, 50}, {6, 60}, {7, 70}, {0, 80}};
  probes.imeAnswers = {{50, 1}, {60, 0}, {80, 2}};  // 70 does not answer
  EXPECT_TRUE(IsImeOpen(probes, 5, last));
  EXPECT_FALSE(IsImeOpen(probes, 6, last));
  EXPECT_FALSE(IsImeOpen(probes, 7, last));
  EXPECT_FALSE(IsImeOpen(probes, 9, last));  // no input-method window
  EXPECT_TRUE(IsImeOpen(probes, 0, last));   // 0 is passed on unchanged
  EXPECT_EQ(probes.imeAsked.back(), 0u);
}

// A program too busy to answer within the time-out keeps the answer it gave
// last, for the same focus window only; a failure still reads as closed.
TEST(Probes, InputMethodThatAnswersLateKeepsItsLastAnswer) {
  struct Step {
    WindowHandle focus;
    bool busy;
    bool open;
  };
  struct Case {
    const char* what;
    std::vector<Step> steps;
  };
  const Case cases[] = {
      {"first query late: closed", {{5, true, false}}},
      {"open, then late: still open", {{5, false, true}, {5, true, true}, {5, true, true}}},
      {"open, then late for another window: closed", {{5, false, true}, {6, true, false}}},
      {"open, another window, back late: closed", {{5, false, true}, {6, false, false}, {5, true, false}}},
      {"late answers end with an answer", {{5, false, true}, {5, true, true}, {5, false, true}}},
  };
  for (const Case& c : cases) {
    FakeProbes probes;
    probes.imeWindows = {{5, 50}, {6, 60}};
    probes.imeAnswers = {{50, 1}, {60, 0}};
    ImeMemory last;
    int n = 0;
    for (const Step& step : c.steps) {
      probes.imeBusy.clear();
      if (step.busy) probes.imeBusy = {50, 60};
      EXPECT_EQ(IsImeOpen(probes, step.focus, last), step.open) << c.what << ", step " << n++;
    }
  }
  // A failed query (the input-method window is gone) is not an answer to keep.
  FakeProbes probes;
  probes.imeWindows = {{5, 50}};
  probes.imeAnswers = {{50, 1}};
  ImeMemory last;
  ASSERT_TRUE(IsImeOpen(probes, 5, last));
  probes.imeAnswers.clear();
  EXPECT_FALSE(IsImeOpen(probes, 5, last));
  probes.imeBusy = {50};
  EXPECT_FALSE(IsImeOpen(probes, 5, last));
}

TEST(Probes, MemoryLoadIsNotClamped) {
  FakeProbes probes;
  probes.memoryLoad = 100;
  EXPECT_EQ(GetMemoryLoad(probes), 100);
  probes.memoryLoad = 130;
  EXPECT_EQ(GetMemoryLoad(probes), 130);
}

}  // namespace
}  // namespace velmora
