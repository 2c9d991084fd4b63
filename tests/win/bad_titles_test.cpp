// The real tick against real windows of another process whose titles are
// hostile: empty, one unit, 100,000 units, lone surrogates, tag-like text of
// their own, titles their program cuts short, and windows whose process ends
// in the middle of a tick.
#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <vector>

#include "core/decoration_cycle.h"
#include "core/title_tag.h"
#include "support.h"
#include "win32/platform.h"
#include "win32/wide.h"

namespace velmora::win32 {
namespace {

using velmora::testing::Narrow;
using velmora::testing::NoCpu;
using velmora::testing::TestWindow;
using velmora::testing::WaitFor;

// A clock that stands still, so that two ticks write the same tag.
class StillClock final : public Clock {
 public:
  LocalTime Now() override { return {2024, 1, 15, 1, 13, 5, 9, 0}; }
  void Sleep(std::uint32_t ms) override { ::Sleep(ms); }
};

class NoActions final : public CycleActions {
 public:
  void ApplyMemoryTrigger(CycleState&, std::int32_t) override {}
  void CheckAlerts(CycleState&) override {}
  void BlinkTitle(CycleState&, WindowHandle) override {}
};

// The real window manager; the process that owns `doomed` is ended just
// before the call on its handle numbered `killAt` (counted from 0).
class EndingWindows final : public WindowManager {
 public:
  Win32WindowManager real;
  HWND doomed = nullptr;
  testing::ChildProcess* owner = nullptr;
  int killAt = -1;
  int calls = 0;

  WindowHandle ForegroundWindow() override { return real.ForegroundWindow(); }
  std::optional<Text> WindowTitle(WindowHandle w) override { return Before(w), real.WindowTitle(w); }
  bool WriteWindowText(WindowHandle w, const Text& t) override { return Before(w), real.WriteWindowText(w, t); }
  Text ClassName(WindowHandle w, int units) override { return Before(w), real.ClassName(w, units); }
  std::uint32_t WindowStyle(WindowHandle w) override { return Before(w), real.WindowStyle(w); }
  bool GetWindowRect(WindowHandle w, Rect& out) override { return Before(w), real.GetWindowRect(w, out); }
  std::uint32_t WindowProcessId(WindowHandle w) override { return Before(w), real.WindowProcessId(w); }
  WindowHandle GuiThreadFocus() override { return real.GuiThreadFocus(); }
  bool MonitorFromPoint(std::int32_t x, std::int32_t y) override { return real.MonitorFromPoint(x, y); }

 private:
  void Before(WindowHandle w) {
    if (ToHwnd(w) != doomed || !doomed) return;
    if (calls++ != killAt || !owner) return;
    owner->Kill();
    WaitFor([&] { return !::IsWindow(doomed); });
  }
};

class RealTick : public ::testing::Test {
 protected:
  RealTick() {
    settings.DispCPU = settings.DispRAM = false;
    cycle.State().MhWndOld = 0;
  }
  // Brings the window to the front and runs one tick.
  void TickWith(TestWindow& w) {
    ASSERT_TRUE(w.Activate());
    cycle.Tick();
  }
  Text Tag() { return cycle.ComposeTag(u"", u"", u""); }
  std::wstring WideTag() { return Wide(Tag()); }

  TSettings settings;
  EndingWindows windows;
  Win32ProcessApi processes;
  Win32SystemProbes probes;
  NoCpu cpu;
  StillClock clock;
  NoActions actions;
  DecorationCycle cycle{settings, {windows, processes, probes, cpu, clock, actions}, ReadDayNames()};
};

// Marks where the tag of the running tick goes in a title of the table.
constexpr wchar_t kTagHere = L'\uE000';

std::wstring WithTag(std::wstring title, const std::wstring& tag) {
  for (size_t at; (at = title.find(kTagHere)) != std::wstring::npos;) title.replace(at, 1, tag);
  return title;
}

::testing::AssertionResult Same(const std::wstring& got, const std::wstring& want) {
  if (got == want) return ::testing::AssertionSuccess();
  size_t at = 0;
  while (at < got.size() && at < want.size() && got[at] == want[at]) ++at;
  return ::testing::AssertionFailure() << "got " << got.size() << " units, want " << want.size()
                                       << "; first difference at " << at << ": got \""
                                       << Narrow(got.substr(at, 40)) << "\" want \"" << Narrow(want.substr(at, 40))
                                       << "\"";
}

std::wstring Units(size_t n, wchar_t first, wchar_t last) {
  std::wstring t(n, L'x');
  t.front() = first;
  t.back() = last;
  return t;
}

// Titles as a user or a program may give them. A title that holds the
// current tag loses it as the placement says (nothing left: not decorated).
TEST_F(RealTick, OwnTitlesComeBackExactly) {
  struct Case {
    const char* what;
    std::wstring own;
    std::optional<std::wstring> back, front;  // what is left of a title with our tag
  };
  const Case cases[] = {
      {"empty (0 units)", L""},
      {"one unit", L"x"},
      {"100,000 units", std::wstring(100000, L'y')},
      {"100,000 units, lone low first, lone high last", Units(100000, 0xDC00, 0xD800)},
      {"a lone high surrogate alone", std::wstring(1, 0xD800)},
      {"a lone low surrogate alone", std::wstring(1, 0xDC00)},
      {"lone high at the end", L"Notes" + std::wstring(1, 0xD83D)},
      {"lone low at the start", std::wstring(1, 0xDE00) + L"Notes"},
      {"the placeholder tag inside, after the first tick", L"Notes【Velmora】 draft"},
      {"a tag typed by the user", L"【 [A] 24/01/15(月) 13:05:08 】 Notes"},
      {"the current tag at the start", kTagHere + std::wstring(L"memo"), L"", L"memo"},
      {"the current tag inside", L"Notes" + std::wstring(1, kTagHere) + L"draft", L"Notes", L"Notesdraft"},
      {"nothing but the current tag", std::wstring(1, kTagHere), L"", L""},
  };
  TestWindow a(L"Window A");
  TestWindow b(L"Window B");
  ASSERT_NE(a.Hwnd(), nullptr);
  ASSERT_NE(b.Hwnd(), nullptr);
  for (const bool back : {true, false}) {
    back ? settings.SetDispBack(true) : settings.SetDispFront(true);
    for (const Case& c : cases) {
      SCOPED_TRACE(std::string(c.what) + (back ? ", tag after" : ", tag in front"));
      const std::wstring tag = WideTag();
      const std::wstring given = WithTag(c.own, tag);
      const auto& left = back ? c.back : c.front;
      const std::wstring own = left ? *left : given;
      TickWith(b);  // A's last decoration is given back first
      ASSERT_TRUE(a.SetTitle(given));
      ASSERT_TRUE(Same(a.Title(), given)) << "the window holds its title as given";
      TickWith(b);  // the tag A's title may hold is the current one
      for (int tick = 0; tick < 2; ++tick) {
        TickWith(a);
        if (own.empty()) {
          EXPECT_TRUE(Same(a.Title(), given)) << "nothing to decorate: left alone";
        } else {
          EXPECT_TRUE(Same(a.Title(), back ? own + tag : tag + own)) << "tick " << tick;
        }
        EXPECT_EQ(b.Title(), L"Window B");
      }
      const std::wstring after = own.empty() ? given : own;
      TickWith(b);
      EXPECT_TRUE(Same(a.Title(), after)) << "after another window came to the front";
      TickWith(a);
      cycle.RestoreLastTitle();
      EXPECT_TRUE(Same(a.Title(), after)) << "after the restore";
    }
  }
}

// A program that puts back the decorated title it cached, after its own
// title was given back and other windows were decorated meanwhile.
TEST_F(RealTick, CachedDecoratedTitlePutBackCarriesOneTag) {
  TestWindow a(L"Cached");
  TestWindow b(L"Meanwhile");
  TickWith(a);
  const std::wstring cached = a.Title();
  ASSERT_EQ(cached, L"Cached" + WideTag());
  TickWith(b);
  ASSERT_EQ(a.Title(), L"Cached");
  ASSERT_TRUE(a.SetTitle(cached));
  TickWith(a);
  EXPECT_EQ(a.Title(), L"Cached" + WideTag());
  TickWith(b);
  EXPECT_EQ(a.Title(), L"Cached");
}

// The monitors under a window are asked about again only when it moves: a
// window moved off every monitor is left alone on the next tick, and
// decorated again on the tick after it came back.
TEST_F(RealTick, WindowMovedOffAndBackOnTheMonitorsIsJudgedAfresh) {
  TestWindow a(L"Moving");
  const auto moveTo = [&](int x, int y) {
    ::SetWindowPos(a.Hwnd(), nullptr, x, y, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    return WaitFor([&] {
      RECT r{};
      return ::GetWindowRect(a.Hwnd(), &r) && r.left == x && r.top == y;
    });
  };
  TickWith(a);
  TickWith(a);
  ASSERT_EQ(a.Title(), L"Moving" + WideTag());
  ASSERT_TRUE(moveTo(6000, 6000));
  ASSERT_TRUE(a.SetTitle(L"Moved away"));
  cycle.Tick();
  EXPECT_EQ(a.Title(), L"Moved away") << "off every monitor: not decorated";
  ASSERT_TRUE(moveTo(200, 150));
  cycle.Tick();
  EXPECT_EQ(a.Title(), L"Moved away" + WideTag()) << "back on a monitor";
}

// A title longer than Velmora reads is not answered with an empty or
// shortened title: in front it counts as untitled, left behind it is not
// written over. (The limit is lowered here: Wine takes titles of about a
// million units across processes.)
TEST(TitleTooLongToRead, IsLeftAlone) {
  TSettings settings;
  settings.DispCPU = settings.DispRAM = false;
  Win32WindowManager windows{50000};
  Win32ProcessApi processes;
  Win32SystemProbes probes;
  NoCpu cpu;
  StillClock clock;
  NoActions actions;
  DecorationCycle cycle{settings, {windows, processes, probes, cpu, clock, actions}, ReadDayNames()};
  TestWindow a(L"Soon too long");
  TestWindow b(L"Window B");
  ASSERT_TRUE(a.Activate());
  cycle.Tick();
  const std::wstring tag = Wide(cycle.State().MME);
  ASSERT_EQ(a.Title(), L"Soon too long" + tag);
  const std::wstring huge = std::wstring(60000, L'h') + tag;
  ASSERT_TRUE(a.SetTitle(huge));
  ASSERT_TRUE(a.Title() == huge) << "the window holds the whole title";
  ASSERT_EQ(windows.WindowTitle(ToHandle(a.Hwnd())), std::nullopt);
  cycle.Tick();  // in front
  EXPECT_TRUE(a.Title() == huge);
  ASSERT_TRUE(b.Activate());
  cycle.Tick();  // left behind: the restore is not written
  EXPECT_TRUE(a.Title() == huge);
  EXPECT_EQ(b.Title(), L"Window B" + tag);
}

// Programs that keep only so many units of a title: no piece of the tag
// stays once Velmora moves on.
TEST_F(RealTick, TitlesCutByTheirProgramKeepNoPieceOfTheTag) {
  const std::wstring tag = WideTag();
  const std::wstring emoji = L"ab\U0001F600cd";  // the pair at units 2 and 3
  struct Case {
    const char* what;
    bool back;
    std::wstring own;
    size_t limit;
    std::wstring givenBack;
  };
  const Case cases[] = {
      {"tag after, none of it kept", true, L"Notes", 5, L"Notes"},
      {"tag after, its first units kept", true, L"Notes", 8, L"Notes"},
      {"tag after a title that ends in a lone high", true, L"Notes" + std::wstring(1, 0xD83D), 9,
       L"Notes" + std::wstring(1, 0xD83D)},
      {"tag in front, part of the tag kept", false, L"ab", 3, L"ab"},
      {"tag in front, the cut between a pair's halves", false, emoji, tag.size() + 3, emoji.substr(0, 3)},
  };
  TestWindow other(L"Other window");
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    c.back ? settings.SetDispBack(true) : settings.SetDispFront(true);
    TestWindow cut(L"Cut", L"cap", std::to_wstring(c.limit));
    ASSERT_NE(cut.Hwnd(), nullptr);
    ASSERT_TRUE(cut.SetTitle(c.own));
    ASSERT_EQ(cut.Title(), c.own);
    const std::wstring decorated = (c.back ? c.own + tag : tag + c.own).substr(0, c.limit);
    for (int tick = 0; tick < 2; ++tick) {
      TickWith(cut);
      EXPECT_TRUE(Same(cut.Title(), decorated)) << "tick " << tick;
    }
    TickWith(other);
    EXPECT_TRUE(Same(cut.Title(), c.givenBack));
    TickWith(cut);
    cycle.RestoreLastTitle();
    EXPECT_TRUE(Same(cut.Title(), c.givenBack));
  }
}

// The window's process ends at each call the tick makes on the window, the
// last one before the title write included. Nothing throws, no other window
// is touched, and the next window in front is decorated at once.
TEST_F(RealTick, WindowWhoseProcessEndsDuringTheTick) {
  TestWindow other(L"Next window");
  ASSERT_NE(other.Hwnd(), nullptr);
  settings.DisableDialog = true;  // the class name is read too

  int calls = 0;
  {
    TestWindow dry(L"Counted");
    TickWith(dry);
    windows.doomed = dry.Hwnd();
    windows.calls = 0;
    TickWith(dry);
    calls = windows.calls;
    ASSERT_EQ(dry.Title(), L"Counted" + WideTag());
    windows.doomed = nullptr;
  }
  ASSERT_GE(calls, 3);  // the title, the state, the process, the write
  for (int k = 0; k < calls; ++k) {
    SCOPED_TRACE("process ended before call " + std::to_string(k));
    TestWindow doomed(L"Doomed");
    ASSERT_NE(doomed.Hwnd(), nullptr);
    TickWith(doomed);
    ASSERT_EQ(doomed.Title(), L"Doomed" + WideTag());
    windows.doomed = doomed.Hwnd();
    windows.owner = &doomed.Process();
    windows.calls = 0;
    windows.killAt = k;
    EXPECT_NO_THROW(cycle.Tick());
    EXPECT_FALSE(::IsWindow(doomed.Hwnd()));
    windows.doomed = nullptr;
    EXPECT_NO_THROW(cycle.Tick());  // whatever is in front now
    TickWith(other);
    EXPECT_EQ(other.Title(), L"Next window" + WideTag());
    EXPECT_TRUE(cycle.Titles().Late().Pending().empty()) << "nothing is kept for a dead window";
    cycle.RestoreLastTitle();
    EXPECT_EQ(other.Title(), L"Next window");
  }
}

}  // namespace
}  // namespace velmora::win32
