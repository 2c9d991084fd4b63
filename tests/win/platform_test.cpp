// The win32 seam implementations against real windows of another process.
#include <gtest/gtest.h>

#include "core/probes.h"
#include "core/decoration_cycle.h"
#include "core/title_keeper.h"
#include "core/window_rules.h"
#include "support.h"
#include "win32/platform.h"
#include "win32/wide.h"

namespace velmora::win32 {
namespace {

using velmora::testing::TestWindow;
using velmora::testing::WaitFor;

Text T(const std::wstring& s) { return FromWide(s); }

TEST(Platform, TitleReadAndWriteOfAnotherProcessWindow) {
  TestWindow window(L"Notes 水曜日");
  ASSERT_NE(window.Hwnd(), nullptr);
  Win32WindowManager wm;
  const WindowHandle w = ToHandle(window.Hwnd());

  EXPECT_EQ(wm.WindowTitle(w), u"Notes 水曜日");
  const Text decorated = u"Notes 水曜日【 [A] 26/12/09(水) 22:30:01  RAM:045 】 ";
  ASSERT_TRUE(wm.WriteWindowText(w, decorated));
  EXPECT_EQ(T(window.Title()), decorated);
  TSettings settings;
  CycleState state;
  state.MME = u"【 [A] 26/12/09(水) 22:30:01  RAM:045 】 ";
  TitleKeeper keeper{wm, settings, state};
  EXPECT_EQ(keeper.GetStrippedTitle(w), u"Notes 水曜日");

  // No length limit on the read, also at the sizes where its buffer grows.
  for (const size_t size : {510u, 511u, 512u, 3000u}) {
    const Text longTitle(size, u'x');
    ASSERT_TRUE(wm.WriteWindowText(w, longTitle));
    EXPECT_EQ(wm.WindowTitle(w), longTitle) << size;
  }
  EXPECT_EQ(keeper.GetStrippedTitle(w), Text(3000, u'x'));
  ASSERT_TRUE(wm.WriteWindowText(w, u""));
  EXPECT_EQ(wm.WindowTitle(w), Text{}) << "an empty title is read, as empty";

  EXPECT_EQ(wm.ClassName(w, 260), u"VelmoraTestWindow");
  EXPECT_EQ(wm.ClassName(w, 8), u"Velmora");
  EXPECT_EQ(wm.WindowProcessId(w), window.Pid());
}

TEST(Platform, DestroyedWindowReadsAsEmpty) {
  Win32WindowManager wm;
  WindowHandle gone = 0;
  {
    TestWindow window(L"Short lived");
    gone = ToHandle(window.Hwnd());
  }
  ASSERT_TRUE(WaitFor([&] { return !::IsWindow(ToHwnd(gone)); }));
  EXPECT_EQ(wm.WindowTitle(gone), std::nullopt) << "cannot be read";
  TSettings settings;
  CycleState state;
  TitleKeeper keeper{wm, settings, state};
  EXPECT_EQ(keeper.GetStrippedTitle(gone), u"");
  EXPECT_EQ(wm.WindowStyle(gone), 0u);
  EXPECT_FALSE(wm.WriteWindowText(gone, u"x"));
  EXPECT_FALSE(IsTargetWindow(wm, gone, true));
}

TEST(Platform, WindowStatesDecideQualification) {
  Win32WindowManager wm;
  struct Case { const wchar_t* state; bool target; };
  const Case cases[] = {{L"normal", true}, {L"hidden", false}, {L"minimized", false},
                        {L"offscreen", false}, {L"maximized", true}, {L"dialog", true}};
  for (const auto& c : cases) {
    TestWindow window(std::wstring(L"State ") + c.state, c.state);
    ASSERT_NE(window.Hwnd(), nullptr) << c.state;
    const WindowHandle w = ToHandle(window.Hwnd());
    EXPECT_EQ(IsTargetWindow(wm, w, true), c.target) << testing::Narrow(c.state);
    const std::wstring state = c.state;
    const std::uint32_t style = wm.WindowStyle(w);
    EXPECT_EQ((style & kStyleVisible) != 0, state != L"hidden") << testing::Narrow(c.state);
    EXPECT_EQ((style & kStyleVisible) != 0, ::IsWindowVisible(window.Hwnd()) != FALSE);
    EXPECT_EQ((style & kStyleMinimize) != 0, ::IsIconic(window.Hwnd()) != FALSE);
    EXPECT_EQ((style & kStyleMaximize) != 0, ::IsZoomed(window.Hwnd()) != FALSE);
    if (state == L"minimized") {
      EXPECT_NE(style & kStyleMinimize, 0u);
      Bounds b;
      EXPECT_FALSE(GetWindowBounds(wm, w, b));  // parked at -32000
    }
    if (state == L"maximized") {
      EXPECT_NE(style & kStyleMaximize, 0u);
      EXPECT_TRUE(IsTargetWindow(wm, w, false));
    }
    if (state == L"offscreen") {
      EXPECT_TRUE(IsTargetWindow(wm, w, false));
    }
    if (state == L"dialog") {
      EXPECT_EQ(wm.ClassName(w, 260), u"#32770");
    }
  }
}

TEST(Platform, DesktopTitleOnRealWindows) {
  Win32WindowManager wm;
  const std::wstring pm = L"Program Manager";
  struct Case { std::wstring title; bool target; };
  const Case cases[] = {{pm, false}, {pm + std::wstring(300, L'x'), true}, {pm + L" ", true}};
  for (const auto& c : cases) {
    TestWindow window(c.title);
    ASSERT_NE(window.Hwnd(), nullptr) << c.title.size();
    const WindowHandle w = ToHandle(window.Hwnd());
    EXPECT_EQ(wm.WindowTitle(w), T(c.title)) << c.title.size() << " units, read whole";
    EXPECT_EQ(IsTargetWindow(wm, w, true), c.target) << c.title.size() << " units";
  }
}

TEST(Platform, MonitorsAndBounds) {
  Win32WindowManager wm;
  EXPECT_TRUE(wm.MonitorFromPoint(0, 0));
  EXPECT_TRUE(wm.MonitorFromPoint(::GetSystemMetrics(SM_CXSCREEN) - 1, ::GetSystemMetrics(SM_CYSCREEN) - 1));
  EXPECT_FALSE(wm.MonitorFromPoint(-5000, -5000));
  EXPECT_FALSE(wm.MonitorFromPoint(::GetSystemMetrics(SM_CXSCREEN), 0));  // right edge is outside

  TestWindow window(L"Bounds");
  Bounds b;
  ASSERT_TRUE(GetWindowBounds(wm, ToHandle(window.Hwnd()), b));
  RECT r{};
  ::GetWindowRect(window.Hwnd(), &r);
  EXPECT_EQ(b.left, r.left);
  EXPECT_EQ(b.width, r.right - r.left);
  EXPECT_FALSE(IsOffScreen(wm, b.left, b.top, b.width, b.height));
  EXPECT_TRUE(IsOffScreen(wm, 5000, 5000, 400, 300));
}

TEST(Platform, ProcessFileNameOfTheOwningExecutable) {
  TestWindow window(L"Whose");
  Win32WindowManager wm;
  Win32ProcessApi processes;
  const Text path = GetProcessFileName(wm, processes, ToHandle(window.Hwnd()));
  EXPECT_TRUE(EqualsAsciiNoCase(FileNamePart(path), u"velmora_testwin.exe")) << ToUtf8(path);
  ASSERT_GE(path.size(), 3u);
  EXPECT_EQ(path.substr(1, 2), u":\\") << ToUtf8(path);

  // The fallback: the image name in device form, mapped to a drive letter,
  // names the same file.
  const Text device = processes.ImageFileName(window.Pid());
  ASSERT_FALSE(device.empty());
  const Text mapped = MapDevicePathToDrive(processes, device);
  EXPECT_TRUE(EqualsAsciiNoCase(mapped, path)) << ToUtf8(device) << " -> " << ToUtf8(mapped);

  EXPECT_EQ(GetProcessFileName(wm, processes, 0), u"");
  EXPECT_EQ(processes.MainModuleFileName(0), u"");
}

TEST(Platform, DriveLettersHaveDeviceNames) {
  Win32ProcessApi processes;
  const std::uint32_t drives = processes.LogicalDrives();
  ASSERT_NE(drives & (1u << 2), 0u);  // C:
  const Text c = processes.DosDeviceName(u'C');
  EXPECT_EQ(c.rfind(u"\\", 0), 0u) << ToUtf8(c);
}

TEST(Platform, HungWindowDoesNotHoldTheCaller) {
  TestWindow window(L"Soon hung");
  Win32WindowManager wm;
  const WindowHandle w = ToHandle(window.Hwnd());
  ASSERT_TRUE(window.Hang(20000));

  const auto start = ::GetTickCount64();
  const bool written = wm.WriteWindowText(w, u"never");
  const std::optional<Text> title = wm.WindowTitle(w);
  Win32SystemProbes probes;
  ImeMemory last;
  const bool ime = IsImeOpen(probes, w, last);
  // Wine gives no input-method window of another program's thread, so the
  // hung window itself stands for one: the query must time out, not fail.
  std::intptr_t answer = 0;
  const SendResult query = probes.QueryImeOpenStatus(w, answer);
  const auto elapsed = ::GetTickCount64() - start;

  EXPECT_FALSE(written);
  EXPECT_EQ(title, u"Soon hung");  // measured without a message, not lost
  EXPECT_FALSE(ime);
  EXPECT_EQ(query, SendResult::NoAnswer) << "a program that does not answer is not a failure";
  EXPECT_LT(elapsed, 1500u);
}

TEST(Platform, ProbesAnswer) {
  Win32SystemProbes probes;
  const std::int32_t load = GetMemoryLoad(probes);
  EXPECT_GE(load, 0);
  EXPECT_LE(load, 100);
  TestWindow window(L"Input");
  ImeMemory last;
  EXPECT_FALSE(IsImeOpen(probes, ToHandle(window.Hwnd()), last));  // Wine's input method reads as closed
  // The query answered by a window of another program, as an input-method
  // window answers it; none for no window or a destroyed one.
  std::intptr_t answer = 1;
  EXPECT_EQ(probes.QueryImeOpenStatus(ToHandle(window.Hwnd()), answer), SendResult::Answered);
  EXPECT_EQ(answer, 0);
  EXPECT_EQ(probes.QueryImeOpenStatus(0, answer), SendResult::Failed);
  WindowHandle gone = 0;
  {
    TestWindow shortLived(L"Short lived");
    gone = ToHandle(shortLived.Hwnd());
  }
  ASSERT_TRUE(WaitFor([&] { return !::IsWindow(ToHwnd(gone)); }));
  EXPECT_EQ(probes.QueryImeOpenStatus(gone, answer), SendResult::Failed);
  Win32WindowManager wm;
  ASSERT_TRUE(window.Activate());
  EXPECT_TRUE(WaitFor([&] { return GetFocusWindow(wm) == ToHandle(window.Hwnd()); }));
}

TEST(Platform, LocaleDayNamesAndClock) {
  const DayNames names = ReadDayNames();
  for (const auto& n : names) EXPECT_FALSE(n.empty());
  // The tests run with a Japanese locale: one character per day.
  if (::GetUserDefaultLCID() == 0x0411) {
    EXPECT_EQ(names[3], u"水");
    EXPECT_EQ(names[0], u"日");
  }
  Win32Clock clock;
  const LocalTime t = clock.Now();
  SYSTEMTIME st{};
  ::GetLocalTime(&st);
  EXPECT_EQ(t.year, st.wYear);
  EXPECT_EQ(t.dayOfWeek, st.wDayOfWeek);
  EXPECT_GE(ProcessorCount(), 1u);
}

}  // namespace
}  // namespace velmora::win32
