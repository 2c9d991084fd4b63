// Velmora.exe itself, started under Wine and watched from outside: the
// titles of real windows of another process, read as a user sees them.
#include <gtest/gtest.h>

#include <shlobj.h>

#include <atomic>
#include <cstdint>
#include <cstdio>
#include <regex>
#include <string>
#include <thread>
#include <utility>
#include <vector>

#include "support.h"
#include "system_folder.h"

#include <shellapi.h>

namespace velmora::e2e {
namespace {

using velmora::testing::BinDir;
using velmora::testing::ChildProcess;
using velmora::testing::Narrow;
using velmora::testing::TestWindow;
using velmora::testing::TitleOf;
using velmora::testing::WaitFor;
using velmora::testing::DataFolder;
using velmora::testing::ReadBytes;
using velmora::testing::WriteBytes;

// The default tag: input mode, date with day name, time with seconds, the
// CPU item and the memory load.
const std::wregex kDefaultTag(
    LR"(【 \[A\] (\d\d/\d\d/\d\d)\(([^)]+)\) (\d\d:\d\d:\d\d) (CPU:\d{3}) RAM:(\d{3}) 】 $)");

// The same with an empty CPU item: the per-processor counters could not be
// set up.
const std::wregex kTagWithoutCpu(LR"(【 \[A\] \d\d/\d\d/\d\d\([^)]+\) \d\d:\d\d:\d\d  RAM:\d{3} 】 $)");

// What our scripted pdh.dll reports (it reads this variable when a query is
// opened). The CTest fixture "testpdh" puts it into the prefix's system
// folder, and Wine loads it instead of its own when the tests run with
// WINEDLLOVERRIDES=pdh=n; with pdh=b Velmora gets Wine's own.
constexpr wchar_t kTestPdhScript[] = L"cpus=0:12.5,1:13.5,_Total:37.5";

std::wstring Two(int v) {
  wchar_t buf[8];
  swprintf(buf, 8, L"%02d", v);
  return buf;
}

std::wstring TodayText() {
  SYSTEMTIME st{};
  ::GetLocalTime(&st);
  return Two(st.wYear % 100) + L"/" + Two(st.wMonth) + L"/" + Two(st.wDay);
}

std::wstring TodayName() {
  SYSTEMTIME st{};
  ::GetLocalTime(&st);
  const LCTYPE ids[7] = {LOCALE_SABBREVDAYNAME7, LOCALE_SABBREVDAYNAME1, LOCALE_SABBREVDAYNAME2,
                         LOCALE_SABBREVDAYNAME3, LOCALE_SABBREVDAYNAME4, LOCALE_SABBREVDAYNAME5,
                         LOCALE_SABBREVDAYNAME6};
  wchar_t buf[80] = {};
  ::GetLocaleInfoW(LOCALE_USER_DEFAULT, ids[st.wDayOfWeek], buf, 80);
  return buf;
}

size_t CountOf(const std::wstring& s, const std::wstring& what) {
  size_t n = 0;
  for (auto pos = s.find(what); pos != std::wstring::npos; pos = s.find(what, pos + 1)) ++n;
  return n;
}

bool IsDecorated(const TestWindow& w, const std::wregex& tag = kDefaultTag) {
  const std::wstring title = w.Title();
  return title.rfind(w.OwnTitle(), 0) == 0 && std::regex_match(title.substr(w.OwnTitle().size()), tag);
}

// A message box of the process `pid`, as a user sees it.
struct SeenBox {
  HWND hwnd = nullptr;
  std::wstring caption, text;
  bool icon = false;
};

HWND MessageBoxOf(DWORD pid) {
  const auto dialogs = testing::VisibleDialogsOf(pid);
  return dialogs.empty() ? nullptr : dialogs.front();
}

SeenBox WaitForMessageBox(DWORD pid) {
  SeenBox box;
  WaitFor([&] { return (box.hwnd = MessageBoxOf(pid)) != nullptr; });
  if (!box.hwnd) return box;
  box.caption = TitleOf(box.hwnd);
  // The box's text is the static control 0xFFFF, its icon the static
  // control stc1 (0x440). Icon handles are the box's own, so only the
  // presence of an icon can be seen from here.
  wchar_t text[512] = {};
  ::GetDlgItemTextW(box.hwnd, 0xFFFF, text, 512);
  box.text = text;
  DWORD_PTR icon = 0;
  const HWND iconControl = ::GetDlgItem(box.hwnd, 0x440);
  box.icon = iconControl && ::IsWindowVisible(iconControl) &&
             ::SendMessageTimeoutW(iconControl, STM_GETICON, 0, 0, SMTO_ABORTIFHUNG, 2000, &icon) && icon != 0;
  return box;
}

// Clicks OK and waits until the box is gone.
bool Dismiss(const SeenBox& box) {
  ::PostMessageW(box.hwnd, WM_COMMAND, IDOK, 0);
  return WaitFor([&] { return !::IsWindow(box.hwnd); });
}

// Sets an environment variable for the programs started meanwhile.
class ScopedEnvironment {
 public:
  ScopedEnvironment(const wchar_t* name, const wchar_t* value) : name_(name) {
    ::SetEnvironmentVariableW(name, value);
  }
  ~ScopedEnvironment() { ::SetEnvironmentVariableW(name_, nullptr); }

 private:
  const wchar_t* name_;
};

class VelmoraRun : public ::testing::Test {
 protected:
  void SetUp() override { StartVelmora(); }

  void StartVelmora() {
    velmora_ = ChildProcess(BinDir() + L"Velmora.exe", L"");
    ASSERT_TRUE(velmora_.Started());
    mainWindow_ = testing::WaitForWindowOf(velmora_.Pid(), L"TMainForm");
    ASSERT_NE(mainWindow_, nullptr);
    EXPECT_EQ(TitleOf(mainWindow_), L"Velmora");
    EXPECT_FALSE(::IsWindowVisible(mainWindow_));
  }

  // True while Velmora's GUI thread answers within a second.
  bool Answers() {
    DWORD_PTR result = 0;
    return ::SendMessageTimeoutW(mainWindow_, WM_NULL, 0, 0, SMTO_NORMAL, 1000, &result) != 0;
  }

  testing::DataFolderGuard dataFolder_{L".e2e-backup"};
  ScopedEnvironment script_{L"VELMORA_TESTPDH", kTestPdhScript};
  ChildProcess velmora_;
  HWND mainWindow_ = nullptr;
};

// Runs with settings files written before Velmora starts.
class VelmoraWithFiles : public VelmoraRun {
 protected:
  void SetUp() override {}

  // Starts Velmora with a folder where its settings file belongs, so that no
  // save can succeed, and waits until it decorates `window`.
  void StartWithUnwritableSettings(TestWindow& window) {
    ASSERT_TRUE(::CreateDirectoryW(UnwritableIni().c_str(), nullptr));
    StartVelmora();
    ASSERT_TRUE(window.Activate());
    ASSERT_TRUE(WaitFor([&] { return IsDecorated(window); }));
  }
  static std::wstring UnwritableIni() { return DataFolder() + L"Velmora.ini"; }
};

TEST_F(VelmoraRun, TagShowsTheTotalProcessorUsage) {
  TestWindow notes(L"Usage");
  ASSERT_TRUE(notes.Activate());
  ASSERT_TRUE(WaitFor([&] { return IsDecorated(notes); })) << Narrow(notes.Title());
  std::wsmatch m;
  const std::wstring title = notes.Title();
  const std::wstring tag = title.substr(notes.OwnTitle().size());
  ASSERT_TRUE(std::regex_match(tag, m, kDefaultTag));
  EXPECT_EQ(m[4].str(), L"CPU:038") << Narrow(title);  // the last entry, _Total, 37.5 rounded to even
}

TEST_F(VelmoraRun, ForegroundWindowCarriesExactlyOneDefaultTag) {
  TestWindow notes(L"Notes");
  ASSERT_TRUE(notes.Activate());
  ASSERT_TRUE(WaitFor([&] { return IsDecorated(notes); })) << Narrow(notes.Title());

  std::wsmatch m;
  std::wstring title = notes.Title();
  const std::wstring tag = title.substr(notes.OwnTitle().size());
  ASSERT_TRUE(std::regex_match(tag, m, kDefaultTag));
  EXPECT_EQ(m[1].str(), TodayText()) << Narrow(title);
  EXPECT_EQ(m[2].str(), TodayName()) << Narrow(title);
  if (::GetUserDefaultLCID() == 0x0411) {
    EXPECT_NE(std::wstring(L"日月火水木金土").find(m[2].str()), std::wstring::npos);
  }

  // Refreshed tick after tick, never stacked.
  const std::wstring first = title;
  ASSERT_TRUE(WaitFor([&] { return notes.Title() != first && IsDecorated(notes); })) << Narrow(notes.Title());
  EXPECT_EQ(CountOf(notes.Title(), L"【"), 1u) << Narrow(notes.Title());
  EXPECT_EQ(CountOf(notes.Title(), L"】"), 1u);
}

TEST_F(VelmoraRun, NextWindowInFrontTakesTheTagAndTheFirstGetsItsTitleBack) {
  TestWindow first(L"First window");
  TestWindow second(L"Second window");
  ASSERT_TRUE(first.Activate());
  ASSERT_TRUE(WaitFor([&] { return IsDecorated(first); }));
  ASSERT_TRUE(second.Activate());
  ASSERT_TRUE(WaitFor([&] { return IsDecorated(second); })) << Narrow(second.Title());
  // The same tick restored the first window before it decorated the second.
  EXPECT_EQ(first.Title(), L"First window");
  ASSERT_TRUE(first.Activate());
  ASSERT_TRUE(WaitFor([&] { return IsDecorated(first); }));
  EXPECT_EQ(second.Title(), L"Second window");
}

// A program that captions a message box with its window's current title
// puts up a caption that holds Velmora's tag: while the box is in front it
// shows one tag, refreshed, and its owner has its own title back.
TEST_F(VelmoraRun, MessageBoxCaptionedWithItsOwnersDecoratedTitleShowsOneTag) {
  TestWindow notes(L"Notes");
  ASSERT_TRUE(notes.Activate());
  ASSERT_TRUE(WaitFor([&] { return IsDecorated(notes); })) << Narrow(notes.Title());
  notes.ShowCaptionBox();
  const HWND box = testing::WaitForDialogOf(notes.Pid());
  ASSERT_NE(box, nullptr);
  const auto oneTag = [&] {
    const std::wstring caption = TitleOf(box);
    return caption.rfind(L"Notes", 0) == 0 && std::regex_match(caption.substr(5), kDefaultTag);
  };
  ASSERT_TRUE(WaitFor([&] { return ::GetForegroundWindow() == box && oneTag() && notes.Title() == L"Notes"; }))
      << Narrow(TitleOf(box)) << " / " << Narrow(notes.Title());
  for (int refresh = 0; refresh < 3; ++refresh) {
    const std::wstring before = TitleOf(box);
    ASSERT_TRUE(WaitFor([&] { return TitleOf(box) != before; })) << "refreshed";
    EXPECT_TRUE(oneTag()) << Narrow(TitleOf(box));
    EXPECT_EQ(notes.Title(), L"Notes");
  }
  ::PostMessageW(box, WM_COMMAND, IDOK, 0);
  ASSERT_TRUE(WaitFor([&] { return !::IsWindow(box); }));
  ASSERT_TRUE(WaitFor([&] { return IsDecorated(notes); })) << Narrow(notes.Title());
}

TEST_F(VelmoraRun, StandardDialogIsDecoratedLikeAnyWindow) {
  TestWindow dialog(L"Open file", L"dialog");
  ASSERT_NE(dialog.Hwnd(), nullptr);
  ASSERT_TRUE(dialog.Activate());
  EXPECT_TRUE(WaitFor([&] { return IsDecorated(dialog); })) << Narrow(dialog.Title());
}

TEST_F(VelmoraRun, WindowsThatDoNotQualifyAreLeftAlone) {
  TestWindow decorated(L"Decorated");
  for (const wchar_t* state : {L"minimized", L"offscreen", L"hidden"}) {
    ASSERT_TRUE(decorated.Activate());
    ASSERT_TRUE(WaitFor([&] { return IsDecorated(decorated); }));
    TestWindow staged(std::wstring(L"Staged ") + state, state);
    ASSERT_NE(staged.Hwnd(), nullptr);
    if (!staged.Activate()) {
      ADD_FAILURE() << "could not bring the " << Narrow(state) << " window to the front";
      continue;
    }
    // The tick that sees it in front gives the decorated window its title
    // back; that tick has then also passed over the staged window.
    ASSERT_TRUE(WaitFor([&] { return decorated.Title() == L"Decorated"; })) << Narrow(state);
    EXPECT_EQ(staged.Title(), staged.OwnTitle()) << Narrow(state);
  }
}

TEST_F(VelmoraRun, ClosingVelmoraGivesTheLastTitleBack) {
  TestWindow notes(L"Closing notes");
  ASSERT_TRUE(notes.Activate());
  ASSERT_TRUE(WaitFor([&] { return IsDecorated(notes); }));
  ::PostMessageW(mainWindow_, WM_CLOSE, 0, 0);
  DWORD code = 1234;
  ASSERT_TRUE(velmora_.WaitExit(15000, code));
  EXPECT_EQ(code, 0u);
  EXPECT_EQ(notes.Title(), L"Closing notes");
}

TEST_F(VelmoraRun, HungWindowInFrontDoesNotStopTheTicks) {
  TestWindow hung(L"Hung window");
  TestWindow other(L"Other window");
  ASSERT_TRUE(hung.Activate());
  ASSERT_TRUE(WaitFor([&] { return IsDecorated(hung); }));
  ASSERT_TRUE(hung.Hang(60000));

  // Several ticks pass with the hung window in front; Velmora keeps answering.
  const DWORD start = ::GetTickCount();
  while (::GetTickCount() - start < 3000) {
    ASSERT_TRUE(Answers());
    ::Sleep(100);
  }
  ASSERT_TRUE(other.Activate());
  ASSERT_TRUE(WaitFor([&] { return IsDecorated(other); }, std::chrono::seconds(5))) << Narrow(other.Title());
  const std::wstring first = other.Title();
  EXPECT_TRUE(WaitFor([&] { return other.Title() != first && IsDecorated(other); }, std::chrono::seconds(5)))
      << "the tag is refreshed on the next ticks";
  EXPECT_TRUE(Answers());
}

bool BringToFront(HWND hwnd) {
  return WaitFor([&] {
    ::SetForegroundWindow(hwnd);
    return ::GetForegroundWindow() == hwnd;
  });
}

TEST_F(VelmoraWithFiles, ProgramOnTheExclusionListIsLeftAlone) {
  ASSERT_TRUE(WriteBytes(DataFolder() + L"Disable.log", "NOTEPAD.EXE\r\n"));
  StartVelmora();
  TestWindow decorated(L"Not excluded");
  ASSERT_TRUE(decorated.Activate());
  ASSERT_TRUE(WaitFor([&] { return IsDecorated(decorated); }));

  wchar_t system[MAX_PATH] = {};
  ::GetSystemDirectoryW(system, MAX_PATH);
  ChildProcess notepad(std::wstring(system) + L"\\notepad.exe", L"");
  const HWND editor = testing::WaitForWindowOf(notepad.Pid(), L"Notepad");
  ASSERT_NE(editor, nullptr);
  ASSERT_TRUE(BringToFront(editor));
  ASSERT_TRUE(WaitFor([&] { return decorated.Title() == L"Not excluded"; }));
  EXPECT_EQ(TitleOf(editor).find(L"【"), std::wstring::npos) << Narrow(TitleOf(editor));
}

TEST_F(VelmoraWithFiles, DisplayPreferencesFromTheFileShapeTheTag) {
  ASSERT_TRUE(WriteBytes(DataFolder() + L"Velmora.ini", "[Disp]\r\nFront=1\r\nIME=0\r\nDate=0\r\nCPU=0\r\n"));
  StartVelmora();
  TestWindow notes(L"Front placed");
  ASSERT_TRUE(notes.Activate());
  const std::wregex frontTag(LR"(^【 \d\d:\d\d:\d\d RAM:\d{3} 】 Front placed$)");
  EXPECT_TRUE(WaitFor([&] { return std::regex_match(notes.Title(), frontTag); })) << Narrow(notes.Title());
}

TEST_F(VelmoraWithFiles, ExitWritesTheDisplayPreferences) {
  StartVelmora();
  ::PostMessageW(mainWindow_, WM_CLOSE, 0, 0);
  DWORD code = 1234;
  ASSERT_TRUE(velmora_.WaitExit(15000, code));
  EXPECT_EQ(code, 0u);
  // A first run: only the preferences, in the system code page without a mark.
  EXPECT_EQ(ReadBytes(DataFolder() + L"Velmora.ini"),
            "[Disp]\r\nBack=1\r\nFront=0\r\nIME=1\r\nDate=1\r\nTime=1\r\nCPU=1\r\nCPUCore=0\r\nRAM=1\r\n"
            "Anime=0\r\nTrayIcon=0\r\n\r\n");
}

TEST_F(VelmoraWithFiles, SettingsThatCannotBeSavedKeepVelmoraRunningWithTheTimerStopped) {
  const std::wstring ini = UnwritableIni();
  TestWindow notes(L"Unsaved");
  StartWithUnwritableSettings(notes);
  ASSERT_FALSE(HasFatalFailure());

  ::PostMessageW(mainWindow_, WM_CLOSE, 0, 0);
  const HWND box = testing::WaitForDialogOf(velmora_.Pid());
  ASSERT_NE(box, nullptr);
  EXPECT_EQ(TitleOf(box), L"Velmora");
  const std::wstring text = testing::DialogText(box);
  EXPECT_EQ(text.rfind(L"ファイル \"" + ini + L"\" を作成できません。", 0), 0u) << Narrow(text);
  EXPECT_EQ(notes.Title(), L"Unsaved");  // restored before the save was tried

  ::PostMessageW(box, WM_COMMAND, IDOK, 0);
  ASSERT_TRUE(WaitFor([&] { return !::IsWindow(box); }));
  DWORD code = 0;
  EXPECT_FALSE(velmora_.WaitExit(0, code));  // still running
  EXPECT_TRUE(Answers());
  // The timer stays off: the window is not decorated again.
  EXPECT_FALSE(WaitFor([&] { return IsDecorated(notes); }, std::chrono::seconds(3)));
}

// A library that lacks PdhCloseQuery: Velmora runs normally and meets the gap
// only when its window is destroyed, shows it, and ends all the same.
TEST(VelmoraWithoutClose, ErrorAtTheEndIsShownAndTheProgramEnds) {
  const testing::ScopedSystemLibrary variant(BinDir() + L"testpdh-noclose\\pdh.dll");
  ASSERT_TRUE(variant.Installed());
  ScopedEnvironment script(L"VELMORA_TESTPDH", kTestPdhScript);
  ChildProcess velmora(BinDir() + L"Velmora.exe", L"");
  ASSERT_TRUE(velmora.Started());
  const HWND main = testing::WaitForWindowOf(velmora.Pid(), L"TMainForm");
  ASSERT_NE(main, nullptr);
  TestWindow notes(L"Closing without close");
  ASSERT_TRUE(notes.Activate());
  ASSERT_TRUE(WaitFor([&] { return IsDecorated(notes); })) << Narrow(notes.Title());

  ::PostMessageW(main, WM_CLOSE, 0, 0);
  const SeenBox box = WaitForMessageBox(velmora.Pid());
  ASSERT_NE(box.hwnd, nullptr);
  EXPECT_EQ(box.caption, L"Velmora");
  EXPECT_EQ(box.text, L"Function not found: pdh.dll.PdhCloseQuery.");
  EXPECT_TRUE(box.icon);
  EXPECT_EQ(notes.Title(), L"Closing without close");  // restored before the window went
  ASSERT_TRUE(Dismiss(box));
  DWORD code = 1234;
  ASSERT_TRUE(velmora.WaitExit(15000, code));
  EXPECT_EQ(code, 0u);
}

// Wine's own pdh.dll (run with WINEDLLOVERRIDES=pdh=b): the total counter exists but
// wildcard expansion does not, so on this multi-processor machine the
// per-processor set-up fails. Windows would list every processor.
TEST(WinePdh, CounterFailureBoxAtStartThenDecoratesWithoutProcessorFigures) {
  ChildProcess velmora(BinDir() + L"Velmora.exe", L"");
  ASSERT_TRUE(velmora.Started());
  const SeenBox box = WaitForMessageBox(velmora.Pid());
  ASSERT_NE(box.hwnd, nullptr) << "no counter-failure box";
  EXPECT_EQ(box.caption, L"Velmora");
  EXPECT_EQ(box.text, L"CPU情報の取得に失敗しました。");
  EXPECT_TRUE(box.icon);
  ASSERT_TRUE(Dismiss(box));

  TestWindow notes(L"Without figures");
  ASSERT_TRUE(notes.Activate());
  ASSERT_TRUE(WaitFor([&] { return IsDecorated(notes, kTagWithoutCpu); })) << Narrow(notes.Title());
  const std::wstring first = notes.Title();
  EXPECT_TRUE(WaitFor([&] { return notes.Title() != first && IsDecorated(notes, kTagWithoutCpu); }))
      << "ticks go on: " << Narrow(notes.Title());
}

// pdh.dll cannot be loaded at all (WINEDLLOVERRIDES=pdh=d): the binding error
// from the window's creation is shown, and Velmora lives on.
TEST(NoPdh, LibraryNotFoundIsShownAndVelmoraKeepsRunning) {
  ChildProcess velmora(BinDir() + L"Velmora.exe", L"");
  ASSERT_TRUE(velmora.Started());
  const SeenBox box = WaitForMessageBox(velmora.Pid());
  ASSERT_NE(box.hwnd, nullptr);
  EXPECT_EQ(box.caption, L"Velmora");
  EXPECT_EQ(box.text, L"Library not found: pdh.dll.");
  EXPECT_TRUE(box.icon);
  ASSERT_TRUE(Dismiss(box));

  const HWND main = testing::WaitForWindowOf(velmora.Pid(), L"TMainForm");
  ASSERT_NE(main, nullptr);
  DWORD_PTR result = 0;
  EXPECT_TRUE(::SendMessageTimeoutW(main, WM_NULL, 0, 0, SMTO_NORMAL, 5000, &result));
  // Creation stopped at the error: no counter-failure box follows it.
  EXPECT_EQ(MessageBoxOf(velmora.Pid()), nullptr);
  DWORD code = 1234;
  EXPECT_FALSE(velmora.WaitExit(0, code)) << "Velmora ended";
  // No query was opened, so closing needs the library no more: a clean end.
  ::PostMessageW(main, WM_CLOSE, 0, 0);
  ASSERT_TRUE(velmora.WaitExit(15000, code));
  EXPECT_EQ(code, 0u);
}

// Visible message boxes and dialogs of a process.
int DialogCount(DWORD pid) { return static_cast<int>(testing::VisibleDialogsOf(pid).size()); }

// Lines the marker helper wrote: one per start, "<current folder>|<pid>|...".
std::vector<std::string> MarkerFolders(const std::wstring& path) {
  std::vector<std::string> folders;
  const std::string bytes = ReadBytes(path);
  size_t start = 0;
  for (size_t end; (end = bytes.find("\r\n", start)) != std::string::npos; start = end + 2) {
    const std::string line = bytes.substr(start, end - start);
    folders.push_back(line.substr(0, line.find('|')));
  }
  return folders;
}

std::int32_t MemoryLoad() {
  MEMORYSTATUSEX status{};
  status.dwLength = sizeof(status);
  ::GlobalMemoryStatusEx(&status);
  return static_cast<std::int32_t>(status.dwMemoryLoad);
}

TEST_F(VelmoraWithFiles, MemoryTriggerStartsTheProgramOncePerCrossingInVelmorasFolder) {
  if (MemoryLoad() < 1) GTEST_SKIP() << "the memory load reads 0 here, so no threshold can be reached";
  const std::wstring marker = BinDir() + L"e2e-trigger.txt";
  ::DeleteFileW(marker.c_str());
  ASSERT_TRUE(WriteBytes(DataFolder() + L"Velmora.ini",
                         Narrow(L"[RAM]\r\nEnable=1\r\nUse=1\r\nExe=\"" + BinDir() +
                                L"velmora_marker.exe\" e2e-trigger.txt\r\n")));
  StartVelmora();
  TestWindow notes(L"Trigger watch");
  ASSERT_TRUE(notes.Activate());

  ASSERT_TRUE(WaitFor([&] { return MarkerFolders(marker).size() == 1; })) << ReadBytes(marker);
  // Started with Velmora's own folder as its current folder.
  std::string velmoraDir = Narrow(BinDir());
  velmoraDir.pop_back();
  EXPECT_EQ(MarkerFolders(marker)[0], velmoraDir);

  // Several more ticks with the load still above the threshold: the tag is
  // refreshed each time, and the program is not started again.
  for (int tick = 0; tick < 3; ++tick) {
    const std::wstring before = notes.Title();
    ASSERT_TRUE(WaitFor([&] { return notes.Title() != before && IsDecorated(notes); })) << Narrow(notes.Title());
  }
  EXPECT_EQ(MarkerFolders(marker).size(), 1u) << ReadBytes(marker);
  ::DeleteFileW(marker.c_str());
}

TEST_F(VelmoraWithFiles, FailedProgramStartShowsOneErrorBoxAtATime) {
  if (MemoryLoad() < 1) GTEST_SKIP() << "the memory load reads 0 here, so no threshold can be reached";
  const std::wstring missing = BinDir() + L"no_such_optimiser.exe";
  ASSERT_TRUE(
      WriteBytes(DataFolder() + L"Velmora.ini", Narrow(L"[RAM]\r\nEnable=1\r\nUse=1\r\nExe=" + missing + L"\r\n")));
  StartVelmora();

  for (int box = 0; box < 2; ++box) {
    const HWND dialog = testing::WaitForDialogOf(velmora_.Pid());
    ASSERT_NE(dialog, nullptr) << "box " << box;
    EXPECT_EQ(TitleOf(dialog), L"Velmora");
    // The message, and the full stop the error box adds after "。".
    EXPECT_EQ(testing::DialogText(dialog), missing + L"を起動できません。.");

    // The ticks go on and fail again while the box is open; none of them
    // puts a second box on top.
    const DWORD start = ::GetTickCount();
    while (::GetTickCount() - start < 3000) {
      ASSERT_EQ(DialogCount(velmora_.Pid()), 1);
      ASSERT_TRUE(Answers());
      ::Sleep(100);
    }
    ::PostMessageW(dialog, WM_COMMAND, IDOK, 0);
    ASSERT_TRUE(WaitFor([&] { return !::IsWindow(dialog); }));
    // The next failure after the close shows the next box (the loop's second
    // round): the timer is still running.
  }
  DWORD code = 0;
  EXPECT_FALSE(velmora_.WaitExit(0, code));
}

// True when the notification area holds Velmora's icon (its only icon, the
// first on its tray window): a change of nothing succeeds only then.
bool VelmoraIconInTray(DWORD pid) {
  const HWND trayWindow = testing::WaitForWindowOf(pid, L"VelmoraTrayIcon");
  if (!trayWindow) return false;
  NOTIFYICONDATAW probe{};
  probe.cbSize = NOTIFYICONDATAW_V2_SIZE;
  probe.hWnd = trayWindow;
  probe.uID = 1;
  return ::Shell_NotifyIconW(NIM_MODIFY, &probe) != FALSE;
}

// A second start while Velmora runs hands over its request and ends at once;
// the first instance goes on. The request shows a hidden icon again and
// clears the preference that hid it, which the exit then saves.
struct SecondStartCase {
  const char* iniBefore;
  bool iconBefore;
  const char* trayIconSaved;
};

class SecondStart : public VelmoraWithFiles, public ::testing::WithParamInterface<SecondStartCase> {};

TEST_P(SecondStart, EndsAtOnceAndTheFirstShowsItsIcon) {
  ASSERT_TRUE(WriteBytes(DataFolder() + L"Velmora.ini", GetParam().iniBefore));
  StartVelmora();
  ASSERT_TRUE(WaitFor([&] { return VelmoraIconInTray(velmora_.Pid()) == GetParam().iconBefore; }));

  ChildProcess second(BinDir() + L"Velmora.exe", L"");
  ASSERT_TRUE(second.Started());
  DWORD code = 1234;
  ASSERT_TRUE(second.WaitExit(15000, code));
  EXPECT_EQ(code, 0u);

  EXPECT_FALSE(velmora_.WaitExit(0, code)) << "the first instance goes on";
  EXPECT_EQ(::FindWindowW(L"TMainForm", L"Velmora"), mainWindow_);
  EXPECT_TRUE(Answers());
  EXPECT_TRUE(WaitFor([&] { return VelmoraIconInTray(velmora_.Pid()); }));

  ::PostMessageW(mainWindow_, WM_CLOSE, 0, 0);
  ASSERT_TRUE(velmora_.WaitExit(15000, code));
  EXPECT_EQ(code, 0u);
  const std::string ini = ReadBytes(DataFolder() + L"Velmora.ini");
  EXPECT_NE(ini.find(GetParam().trayIconSaved), std::string::npos) << ini;
}

INSTANTIATE_TEST_SUITE_P(Icon, SecondStart,
                         ::testing::Values(SecondStartCase{"[Disp]\r\nTrayIcon=0\r\n", true, "\r\nTrayIcon=0\r\n"},
                                           SecondStartCase{"[Disp]\r\nTrayIcon=1\r\n", false, "\r\nTrayIcon=0\r\n"}));

// How often a file of a folder was replaced (a save renames its new content
// over the file), from the folder's change notifications.
class Replacements {
 public:
  Replacements(const std::wstring& folder, std::wstring name)
      : name_(std::move(name)),
        folder_(::CreateFileW(folder.c_str(), FILE_LIST_DIRECTORY,
                              FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr, OPEN_EXISTING,
                              FILE_FLAG_BACKUP_SEMANTICS | FILE_FLAG_OVERLAPPED, nullptr)),
        event_(::CreateEventW(nullptr, TRUE, FALSE, nullptr)) {
    Ask();
  }
  ~Replacements() {
    if (folder_ != INVALID_HANDLE_VALUE) {
      ::CancelIo(folder_);
      DWORD ignored = 0;
      ::GetOverlappedResult(folder_, &overlapped_, &ignored, TRUE);
      ::CloseHandle(folder_);
    }
    if (event_) ::CloseHandle(event_);
  }
  bool Watching() const { return asked_; }
  // The replacements reported so far.
  int Count() {
    DWORD got = 0;
    while (asked_ && ::GetOverlappedResult(folder_, &overlapped_, &got, FALSE)) {
      for (size_t at = 0; got != 0;) {
        const auto* entry = reinterpret_cast<const FILE_NOTIFY_INFORMATION*>(buffer_ + at);
        const std::wstring name(entry->FileName, entry->FileNameLength / sizeof(wchar_t));
        if ((entry->Action == FILE_ACTION_RENAMED_NEW_NAME || entry->Action == FILE_ACTION_ADDED) &&
            _wcsicmp(name.c_str(), name_.c_str()) == 0) {
          ++count_;
        }
        if (entry->NextEntryOffset == 0) break;
        at += entry->NextEntryOffset;
      }
      Ask();
    }
    return count_;
  }

 private:
  void Ask() {
    ::ResetEvent(event_);
    overlapped_ = {};
    overlapped_.hEvent = event_;
    asked_ = folder_ != INVALID_HANDLE_VALUE &&
             ::ReadDirectoryChangesW(folder_, buffer_, sizeof(buffer_), FALSE, FILE_NOTIFY_CHANGE_FILE_NAME, nullptr,
                                     &overlapped_, nullptr);
  }

  std::wstring name_;
  HANDLE folder_;
  HANDLE event_;
  OVERLAPPED overlapped_{};
  alignas(DWORD) unsigned char buffer_[16384];
  bool asked_ = false;
  int count_ = 0;
};

TEST_F(VelmoraRun, SessionEndIsAgreedToThenEndsTheProcess) {
  TestWindow notes(L"Session notes");
  ASSERT_TRUE(notes.Activate());
  ASSERT_TRUE(WaitFor([&] { return IsDecorated(notes); }));

  Replacements saves(DataFolder(), L"Velmora.ini");
  ASSERT_TRUE(saves.Watching());
  DWORD_PTR agreed = 0;
  ASSERT_TRUE(::SendMessageTimeoutW(mainWindow_, WM_QUERYENDSESSION, 0, 0, SMTO_ABORTIFHUNG, 5000, &agreed));
  EXPECT_EQ(agreed, 1u);
  EXPECT_EQ(notes.Title(), L"Session notes");
  EXPECT_EQ(ReadBytes(DataFolder() + L"Velmora.ini").rfind("[Disp]\r\n", 0), 0u);
  // The close request ran twice, each time saving the preferences.
  EXPECT_TRUE(WaitFor([&] { return saves.Count() >= 2; })) << saves.Count();

  // The session ends: Velmora goes in the handler, so no answer comes back.
  DWORD_PTR ignored = 0;
  ::SendMessageTimeoutW(mainWindow_, WM_ENDSESSION, TRUE, 0, SMTO_ABORTIFHUNG, 200, &ignored);
  DWORD code = 1234;
  ASSERT_TRUE(velmora_.WaitExit(15000, code));
  EXPECT_EQ(code, 0u);
  EXPECT_EQ(notes.Title(), L"Session notes");
  EXPECT_EQ(saves.Count(), 2) << "saved twice for the one query, and not at the end";
}

// The preferences cannot be written: one error box, the answer no, and
// Velmora goes on; not a second failed save and box for the same query.
TEST_F(VelmoraWithFiles, SessionEndWithSettingsThatCannotBeSavedIsRefusedAfterOneBox) {
  const std::wstring ini = UnwritableIni();
  TestWindow notes(L"Unsaved session");
  StartWithUnwritableSettings(notes);
  ASSERT_FALSE(HasFatalFailure());

  std::atomic<bool> answered{false};
  DWORD_PTR reply = 1234;
  LRESULT delivered = 0;
  std::thread query([&] {
    delivered = ::SendMessageTimeoutW(mainWindow_, WM_QUERYENDSESSION, 0, 0, SMTO_NORMAL, 60000, &reply);
    answered = true;
  });
  const HWND box = testing::WaitForDialogOf(velmora_.Pid());
  EXPECT_NE(box, nullptr);
  if (box) {
    const std::wstring text = testing::DialogText(box);
    EXPECT_EQ(text.rfind(L"ファイル \"" + ini + L"\" を作成できません。", 0), 0u) << Narrow(text);
    EXPECT_EQ(notes.Title(), L"Unsaved session");  // restored before the save was tried
    ::PostMessageW(box, WM_COMMAND, IDOK, 0);
  }
  // Once the box is closed the answer comes, with no box before it.
  HWND second = nullptr;
  EXPECT_TRUE(WaitFor([&] {
    const auto boxes = testing::VisibleDialogsOf(velmora_.Pid());
    for (HWND b : boxes)
      if (b != box) second = b;
    return answered || second != nullptr;
  }, std::chrono::seconds(30)));
  EXPECT_EQ(second, nullptr) << "a second box: " << Narrow(second ? testing::DialogText(second) : L"");
  // Whatever came, let the query finish.
  if (!WaitFor([&] {
        for (HWND b : testing::VisibleDialogsOf(velmora_.Pid())) ::PostMessageW(b, WM_COMMAND, IDOK, 0);
        return answered.load();
      })) {
    velmora_.Kill();
  }
  query.join();
  EXPECT_NE(delivered, 0);
  EXPECT_EQ(reply, 0u) << "the session end was agreed to";
  DWORD code = 0;
  EXPECT_FALSE(velmora_.WaitExit(0, code)) << "Velmora ended";
  EXPECT_TRUE(Answers());
}

// ---- Bad input against the whole program (run as a CTest entry of its own) ----

class BadInputRun : public VelmoraRun {};
class BadInputWithFiles : public VelmoraWithFiles {};

// Titles a user or a program may give a window: Velmora decorates them and
// gives them back unit for unit, when another window comes to the front and
// when it exits.
TEST_F(BadInputRun, HostileTitlesComeBackExactly) {
  const std::wstring longTitle = std::wstring(1, 0xDC00) + std::wstring(99998, L'z') + std::wstring(1, 0xD800);
  const std::wstring titles[] = {
      longTitle,
      L"x",
      L"Notes" + std::wstring(1, 0xD83D),
      L"Notes【Velmora】 draft",
      L"【 [A] 24/01/15(月) 13:05:09 CPU:012 RAM:045 】 typed by hand",
  };
  TestWindow window(L"Hostile");
  TestWindow other(L"Other");
  for (const std::wstring& own : titles) {
    SCOPED_TRACE(Narrow(own.substr(0, 40)) + " (" + std::to_string(own.size()) + " units)");
    ASSERT_TRUE(window.SetTitle(own));
    ASSERT_TRUE(window.Activate());
    ASSERT_TRUE(WaitFor([&] { return IsDecorated(window); })) << Narrow(window.Title().substr(0, 80));
    const std::wstring first = window.Title();
    ASSERT_TRUE(WaitFor([&] { return window.Title() != first && IsDecorated(window); })) << "refreshed";
    ASSERT_TRUE(other.Activate());
    ASSERT_TRUE(WaitFor([&] { return IsDecorated(other); }));
    EXPECT_TRUE(window.Title() == own) << Narrow(window.Title().substr(0, 80));
  }
  ASSERT_TRUE(window.Activate());
  ASSERT_TRUE(WaitFor([&] { return IsDecorated(window); }));
  ::PostMessageW(mainWindow_, WM_CLOSE, 0, 0);
  DWORD code = 1234;
  ASSERT_TRUE(velmora_.WaitExit(15000, code));
  EXPECT_TRUE(window.Title() == titles[std::size(titles) - 1]);
}

// Windows whose process ends while Velmora decorates them, at staggered
// moments of its ticks: no error, no hang, and the next window is decorated.
TEST_F(BadInputRun, WindowsWhoseProcessEndsWhileDecoratedLeaveVelmoraUnharmed) {
  for (int i = 0; i < 8; ++i) {
    TestWindow doomed(L"Short lived " + std::to_wstring(i));
    ASSERT_TRUE(doomed.Activate());
    ASSERT_TRUE(WaitFor([&] { return IsDecorated(doomed); }));
    ::Sleep(static_cast<DWORD>(i * 131));  // a different moment within the second each time
    doomed.Process().Kill();
  }
  EXPECT_TRUE(Answers());
  EXPECT_TRUE(testing::VisibleDialogsOf(velmora_.Pid()).empty());
  TestWindow next(L"Next after the short lived");
  ASSERT_TRUE(next.Activate());
  EXPECT_TRUE(WaitFor([&] { return IsDecorated(next); })) << Narrow(next.Title());
  DWORD code = 0;
  EXPECT_FALSE(velmora_.WaitExit(0, code));
}

std::string GarbageBytes(size_t n, unsigned seed) {
  std::string bytes(n, '\0');
  for (auto& b : bytes) {
    seed = seed * 1103515245u + 12345u;
    b = static_cast<char>(seed >> 16);
  }
  return bytes;
}

// Settings files that are huge or not text at all. Start-up neither fails
// nor hangs nor complains: what is not INI text reads as absent, so the
// defaults stand. The loads leave both files as they are; the exit rewrites
// "Velmora.ini" by the usual rules (INI text kept, anything else dropped)
// and leaves "Disable.log" alone, which only the settings dialog's OK writes.
struct BadFilesCase {
  const char* name;
  std::string ini, list;
  bool tagInFront;        // the file's own [Disp] section asks for it
  const char* keptLine;   // a line the exit must carry over
};

std::vector<BadFilesCase> BadFilesCases() {
  std::string sections, big = "[Big]\r\n";
  for (int i = 0; sections.size() < (10u << 20); ++i) sections.append("[s").append(std::to_string(i)).append("]\r\n");
  for (int i = 0; big.size() < (10u << 20); ++i) {
    const std::string n = std::to_string(i);
    big.append("k").append(n).append("=v").append(n).append("\r\n");
  }
  const std::string garbage = GarbageBytes(1 << 20, 3);
  std::string markedGarbage = "\xFF\xFE";
  markedGarbage += garbage;
  return {
      {"ten_MB_of_sections", sections + "[Disp]\r\nFront=1\r\n", "", true, "\r\n[s99999]\r\n"},
      {"ten_MB_in_one_section", big + "[Disp]\r\nFront=1\r\n", "", true, "\r\nk99999=v99999\r\n"},
      {"binary_garbage", garbage, garbage, false, "[Disp]\r\n"},
      {"garbage_behind_a_UTF16_mark", markedGarbage, markedGarbage, false, ""},
  };
}

class BadInputFiles : public VelmoraWithFiles, public ::testing::WithParamInterface<BadFilesCase> {};

TEST_P(BadInputFiles, StartUpFallsBackQuicklyAndKeepsTheFiles) {
  const BadFilesCase& c = GetParam();
  const std::wstring ini = DataFolder() + L"Velmora.ini", list = DataFolder() + L"Disable.log";
  ASSERT_TRUE(WriteBytes(ini, c.ini));
  if (!c.list.empty()) {
    ASSERT_TRUE(WriteBytes(list, c.list));
  }

  const ULONGLONG start = ::GetTickCount64();
  StartVelmora();
  TestWindow notes(L"Decorated despite the files");
  ASSERT_TRUE(notes.Activate());
  const std::wregex frontTag(LR"(^【 \[A\] .* 】 Decorated despite the files$)");
  ASSERT_TRUE(WaitFor([&] {
    return c.tagInFront ? std::regex_match(notes.Title(), frontTag) : IsDecorated(notes);
  })) << Narrow(notes.Title());
  const ULONGLONG ms = ::GetTickCount64() - start;
  RecordProperty("start_to_first_tag_ms", static_cast<int>(ms));
  std::printf("[ figures  ] %s: start to first tag %llu ms\n", c.name, ms);
  EXPECT_LT(ms, 10000u) << "start-up with these files took " << ms << " ms";
  EXPECT_TRUE(testing::VisibleDialogsOf(velmora_.Pid()).empty()) << "no message: the defaults stand";
  EXPECT_TRUE(ReadBytes(ini) == c.ini) << "the loads wrote the settings file";

  ::PostMessageW(mainWindow_, WM_CLOSE, 0, 0);
  DWORD code = 1234;
  ASSERT_TRUE(velmora_.WaitExit(60000, code));
  EXPECT_EQ(code, 0u);
  EXPECT_TRUE(c.list.empty() || ReadBytes(list) == c.list) << "the exit wrote the list file";
  const std::string after = ReadBytes(ini);
  EXPECT_NE(after.find(c.keptLine), std::string::npos) << "the exit lost INI text";
  const bool utf16 = c.ini.rfind("\xFF\xFE", 0) == 0;
  const std::string disp = utf16 ? std::string("[\0D\0i\0s\0p\0]\0", 12) : std::string("[Disp]\r\n");
  EXPECT_NE(after.find(disp), std::string::npos) << "the preferences were not saved";
}

INSTANTIATE_TEST_SUITE_P(Files, BadInputFiles, ::testing::ValuesIn(BadFilesCases()),
                         [](const auto& info) { return std::string(info.param.name); });

// WM_COPYDATA that is not a well-formed show request, sent to Velmora's main
// window and its application window while the icon is hidden: every one is
// answered, none shows the icon, and the well-formed one afterwards does.
struct CopyDataCase {
  const char* what;
  bool toApplicationWindow;
  ULONG_PTR dwData;
  std::vector<unsigned char> data;  // empty with `null`: lpData null
  bool null;
  DWORD cbData;                     // 0xFFFFFFFF: the size of `data`
  // Too large for Wine to hand over (about 2 MB and more): the receiver's
  // GetMessageW fails and the sender waits for its time-out.
  bool undeliverable = false;
};

std::vector<unsigned char> Utf16Bytes(const std::u16string& units, size_t padTo = 0, unsigned char pad = 0) {
  std::vector<unsigned char> bytes;
  for (const char16_t u : units) {
    bytes.push_back(static_cast<unsigned char>(u & 0xFF));
    bytes.push_back(static_cast<unsigned char>(u >> 8));
  }
  if (bytes.size() < padTo) bytes.resize(padTo, pad);
  return bytes;
}

const std::u16string kShow(u"/Show\0\0", 7);
constexpr DWORD kAll = 0xFFFFFFFF;
constexpr size_t kHuge = 1u << 20;       // handed over whole under Wine
constexpr size_t kTooLarge = 8u << 20;

bool SendCopyData(HWND to, const CopyDataCase& c) {
  COPYDATASTRUCT data{};
  data.dwData = c.dwData;
  data.cbData = c.cbData == kAll ? static_cast<DWORD>(c.data.size()) : c.cbData;
  data.lpData = c.null ? nullptr : const_cast<unsigned char*>(c.data.data());
  DWORD_PTR result = 0;
  return ::SendMessageTimeoutW(to, WM_COPYDATA, 0, reinterpret_cast<LPARAM>(&data), SMTO_ABORTIFHUNG,
                               c.undeliverable ? 1000 : 10000, &result) != 0;
}

// Start-up has finished once a window is decorated: only then are requests
// handled (one that arrives while the main window is still being created
// is dropped).
void WaitUntilTicking(TestWindow& window) {
  ASSERT_TRUE(window.Activate());
  ASSERT_TRUE(WaitFor([&] { return IsDecorated(window); })) << Narrow(window.Title());
}

HWND ApplicationWindowOf(DWORD pid) { return testing::WaitForWindowOf(pid, L"VelmoraApplication"); }

TEST_F(BadInputWithFiles, MalformedShowRequestsAreAnsweredAndIgnored) {
  ASSERT_TRUE(WriteBytes(DataFolder() + L"Velmora.ini", "[Disp]\r\nTrayIcon=1\r\n"));
  StartVelmora();
  TestWindow notes(L"Ticking");
  WaitUntilTicking(notes);
  const HWND application = ApplicationWindowOf(velmora_.Pid());
  ASSERT_NE(application, nullptr);
  const CopyDataCase cases[] = {
      {"null lpData, cbData 14", false, 0, {}, true, 14},
      {"null lpData, cbData 0", false, 0, {}, true, 0},
      {"null lpData, huge cbData", false, 0, {}, true, 0x7FFFFFFF},
      {"no bytes", false, 0, Utf16Bytes(kShow), false, 0},
      {"one byte", false, 0, Utf16Bytes(kShow), false, 1},
      {"odd cbData that cuts the text", false, 0, Utf16Bytes(kShow), false, 9},
      {"lower case", false, 0, Utf16Bytes(std::u16string(u"/show\0", 6)), false, kAll},
      {"trailing blank", false, 0, Utf16Bytes(std::u16string(u"/Show \0", 7)), false, kAll},
      {"eight-bit text", false, 0, {'/', 'S', 'h', 'o', 'w', 0}, false, kAll},
      {"huge buffer without a NUL", false, 0, Utf16Bytes(u"/Show", kHuge, 'A'), false, kAll},
      {"huge buffer of NULs", false, 0, std::vector<unsigned char>(kHuge, 0), false, kAll},
      {"huge buffer, longer text", false, 0, Utf16Bytes(u"/ShowX", kHuge, 0), false, kAll},
      {"wrong dwData and a wrong text", false, 0xFFFFFFFF, Utf16Bytes(u"/Hide"), false, kAll},
      {"too large to hand over, holding the request", false, 0, Utf16Bytes(kShow, kTooLarge, 0), false, kAll,
       true},
      {"the request to the application window", true, 0, Utf16Bytes(kShow), false, kAll},
  };
  for (const CopyDataCase& c : cases) {
    SCOPED_TRACE(c.what);
    const bool answered = SendCopyData(c.toApplicationWindow ? application : mainWindow_, c);
    EXPECT_TRUE(answered || c.undeliverable) << "no answer";
    EXPECT_TRUE(Answers());
    EXPECT_FALSE(VelmoraIconInTray(velmora_.Pid())) << "the icon was shown";
  }
  // The ticks go on.
  const std::wstring before = notes.Title();
  EXPECT_TRUE(WaitFor([&] { return notes.Title() != before && IsDecorated(notes); })) << Narrow(notes.Title());
  DWORD code = 0;
  EXPECT_FALSE(velmora_.WaitExit(0, code)) << "Velmora ended";
  EXPECT_TRUE(SendCopyData(mainWindow_, {"the request", false, 0, Utf16Bytes(kShow), false, kAll}));
  EXPECT_TRUE(WaitFor([&] { return VelmoraIconInTray(velmora_.Pid()); }));
}

// A request sent as soon as the main window exists, while start-up is still
// loading the preferences that hide the icon, is not lost.
TEST_F(BadInputWithFiles, ShowRequestDuringStartUpIsHonoured) {
  ASSERT_TRUE(WriteBytes(DataFolder() + L"Velmora.ini", "[Disp]\r\nTrayIcon=1\r\n"));
  for (int run = 0; run < 3; ++run) {
    SCOPED_TRACE("run " + std::to_string(run));
    StartVelmora();
    EXPECT_TRUE(SendCopyData(mainWindow_, {"the request", false, 0, Utf16Bytes(kShow), false, kAll}));
    EXPECT_TRUE(WaitFor([&] { return VelmoraIconInTray(velmora_.Pid()); }));
    velmora_.Kill();
  }
}

// Well-formed requests: the text reads "/Show" within cbData, whatever else
// the message carries.
class BadInputShowRequest : public VelmoraWithFiles, public ::testing::WithParamInterface<CopyDataCase> {};

TEST_P(BadInputShowRequest, ShowsTheHiddenIcon) {
  ASSERT_TRUE(WriteBytes(DataFolder() + L"Velmora.ini", "[Disp]\r\nTrayIcon=1\r\n"));
  StartVelmora();
  TestWindow notes(L"Ticking");
  WaitUntilTicking(notes);
  ASSERT_FALSE(VelmoraIconInTray(velmora_.Pid()));
  ASSERT_TRUE(SendCopyData(mainWindow_, GetParam()));
  EXPECT_TRUE(WaitFor([&] { return VelmoraIconInTray(velmora_.Pid()); }));
  EXPECT_TRUE(Answers());
}

INSTANTIATE_TEST_SUITE_P(
    Requests, BadInputShowRequest,
    ::testing::Values(CopyDataCase{"exact", false, 0, Utf16Bytes(kShow), false, kAll},
                      CopyDataCase{"any_dwData", false, 0xFFFFFFFF, Utf16Bytes(kShow), false, kAll},
                      CopyDataCase{"one_NUL", false, 0, Utf16Bytes(kShow), false, 12},
                      CopyDataCase{"odd_cbData_after_the_NUL", false, 0, Utf16Bytes(kShow), false, 13},
                      CopyDataCase{"huge_buffer", false, 0, Utf16Bytes(kShow, kHuge, 'A'), false, kAll}),
    [](const auto& info) { return std::string(info.param.what); });

}  // namespace
}  // namespace velmora::e2e
