// The program's message boxes on a Windows whose display language is not
// Japanese (this program runs with an English locale): the buttons still
// read "OK" and "キャンセル", the box is still the system's, and the error
// box shows its messages one at a time, in order, in Japanese.
#include <gtest/gtest.h>

#include <windows.h>

#include <algorithm>
#include <atomic>
#include <functional>
#include <new>
#include <stdexcept>
#include <string>
#include <thread>
#include <utility>
#include <vector>

#include "core/errors.h"
#include "support.h"
#include "win32/error_box.h"
#include "win32/message_box.h"

namespace velmora::win32 {
namespace {

using testing::Narrow;
using testing::TitleOf;
using testing::WaitFor;

// A message box as a user sees it.
struct SeenBox {
  HWND hwnd = nullptr;
  std::wstring caption, text;
  std::vector<std::pair<int, std::wstring>> buttons;  // visible ones: identifier, caption
  bool icon = false;
  int defaultId = 0;
};

BOOL CALLBACK CollectButton(HWND child, LPARAM lParam) {
  wchar_t cls[16] = {};
  ::GetClassNameW(child, cls, 16);
  if (_wcsicmp(cls, L"Button") == 0 && ::IsWindowVisible(child)) {
    reinterpret_cast<SeenBox*>(lParam)->buttons.emplace_back(::GetDlgCtrlID(child), TitleOf(child));
  }
  return TRUE;
}

SeenBox Look(HWND box) {
  SeenBox seen;
  seen.hwnd = box;
  seen.caption = TitleOf(box);
  seen.text = testing::DialogText(box);
  ::EnumChildWindows(box, CollectButton, reinterpret_cast<LPARAM>(&seen));
  DWORD_PTR icon = 0;
  const HWND iconControl = ::GetDlgItem(box, 0x440);  // stc1
  seen.icon = iconControl && ::IsWindowVisible(iconControl) &&
              ::SendMessageTimeoutW(iconControl, STM_GETICON, 0, 0, SMTO_ABORTIFHUNG, 5000, &icon) && icon != 0;
  DWORD_PTR def = 0;
  if (::SendMessageTimeoutW(box, DM_GETDEFID, 0, 0, SMTO_ABORTIFHUNG, 5000, &def) && HIWORD(def) == DC_HASDEFID) {
    seen.defaultId = LOWORD(def);
  }
  return seen;
}

// This process's visible boxes other than `known`.
HWND NewBox(const std::vector<HWND>& known) {
  for (HWND box : testing::VisibleDialogsOf(::GetCurrentProcessId())) {
    if (std::find(known.begin(), known.end(), box) == known.end()) return box;
  }
  return nullptr;
}

HWND WaitForNewBox(const std::vector<HWND>& known = {}) {
  HWND box = nullptr;
  WaitFor([&] { return (box = NewBox(known)) != nullptr; });
  return box;
}

// Presses a button of the box, and waits until the box is gone.
bool Press(HWND box, int id) {
  ::PostMessageW(box, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED), reinterpret_cast<LPARAM>(::GetDlgItem(box, id)));
  return WaitFor([&] { return !::IsWindow(box); });
}

// Runs `open` on this thread (a box's modal loop) while `drive` looks at
// and answers the box from another thread.
int WithBox(const std::function<int()>& open, const std::function<void(HWND)>& drive) {
  std::thread driver([&] {
    const HWND box = WaitForNewBox();
    if (!box) {
      ADD_FAILURE() << "no message box appeared";
      return;
    }
    drive(box);
    if (::IsWindow(box)) {
      ADD_FAILURE() << "the box was left open";
      Press(box, IDCANCEL) || Press(box, IDOK);
    }
  });
  const int answer = open();
  driver.join();
  return answer;
}

using Buttons = std::vector<std::pair<int, std::wstring>>;

TEST(MessageBoxes, TheSystemsOwnCaptionsAreNotJapaneseHere) {
  // Without this the tests below could not tell our captions from the system's.
  SeenBox seen;
  WithBox([] { return ::MessageBoxW(nullptr, L"plain", L"Velmora", MB_OKCANCEL); },
          [&](HWND box) {
            seen = Look(box);
            Press(box, IDCANCEL);
          });
  EXPECT_EQ(seen.buttons, (Buttons{{IDOK, L"OK"}, {IDCANCEL, L"Cancel"}}));
}

TEST(MessageBoxes, ConfirmationReadsOkAndCancelInJapaneseAndAnswersAsBefore) {
  const UINT flags = MB_OKCANCEL | MB_ICONQUESTION | MB_DEFBUTTON1 | MB_SETFOREGROUND | MB_TASKMODAL;
  struct Case {
    const char* what;
    std::function<void(HWND)> answer;
    int expected;
  };
  const Case cases[] = {
      {"OK", [](HWND box) { Press(box, IDOK); }, IDOK},
      {"キャンセル", [](HWND box) { Press(box, IDCANCEL); }, IDCANCEL},
      {"the close box", [](HWND box) {
         ::PostMessageW(box, WM_CLOSE, 0, 0);
         WaitFor([&] { return !::IsWindow(box); });
       }, IDCANCEL},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    SeenBox seen;
    const int answer = WithBox(
        [&] { return ShowMessageBox(nullptr, L"トレイアイコンを非表示にしますか？", L"確認", flags); },
        [&](HWND box) {
          seen = Look(box);
          c.answer(box);
        });
    EXPECT_EQ(answer, c.expected);
    EXPECT_EQ(seen.caption, L"確認");
    EXPECT_EQ(seen.text, L"トレイアイコンを非表示にしますか？");
    EXPECT_TRUE(seen.icon);
    EXPECT_EQ(seen.buttons, (Buttons{{IDOK, L"OK"}, {IDCANCEL, L"キャンセル"}}));
    EXPECT_EQ(seen.defaultId, IDOK);
  }
}

TEST(MessageBoxes, ErrorBoxIsTheSystemsBoxWithOneOkButton) {
  SeenBox seen;
  WithBox(
      [] {
        ShowErrorBox(nullptr, u"C:\\nowhere\\opt.exeを起動できません。");
        return 0;
      },
      [&](HWND box) {
        seen = Look(box);
        Press(box, seen.buttons.empty() ? IDOK : seen.buttons.front().first);
      });
  EXPECT_EQ(seen.caption, L"Velmora");
  EXPECT_EQ(seen.text, L"C:\\nowhere\\opt.exeを起動できません。.");
  EXPECT_TRUE(seen.icon);
  ASSERT_EQ(seen.buttons.size(), 1u);
  EXPECT_EQ(seen.buttons.front().second, L"OK");
}

TEST(MessageBoxes, FailuresWithoutAMessageOfOursAreShownInJapanese) {
  struct Case {
    const char* what;
    std::function<void()> fail;
    const wchar_t* text;
  };
  const Case cases[] = {
      {"out of memory", [] { throw std::bad_alloc(); }, L"メモリが不足しています。."},
      {"a library's exception", [] { throw std::length_error("basic_string::_M_create"); },
       L"予期しないエラーが発生しました。."},
      {"anything else", [] { throw 7; }, L"予期しないエラーが発生しました。."},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    SeenBox seen;
    WithBox(
        [&] {
          RunGuarded(nullptr, c.fail);
          return 0;
        },
        [&](HWND box) {
          seen = Look(box);
          Press(box, seen.buttons.empty() ? IDOK : seen.buttons.front().first);
        });
    EXPECT_EQ(seen.text, c.text);
    EXPECT_EQ(seen.caption, L"Velmora");
  }
}

// Failures raised by a timer tick while an error box is open, as the
// cycle's ticks go on in the box's message loop.
std::vector<Text> g_failures;
std::atomic<bool> g_failed{false};
void CALLBACK FailWhileOpen(HWND, UINT, UINT_PTR id, DWORD) {
  ::KillTimer(nullptr, id);
  for (const Text& message : g_failures) RunGuarded(nullptr, [&] { throw Exception(message); });
  g_failed = true;
}

TEST(MessageBoxes, ErrorsThatComeWhileABoxIsOpenFollowInOrderOneAtATime) {
  // A repeat of the one on screen, and one of a waiting one, among them.
  g_failures = {u"二番目", u"最初", u"三番目", u"二番目"};
  g_failed = false;
  std::vector<std::wstring> shown;
  std::vector<size_t> open;
  std::thread driver([&] {
    std::vector<HWND> seen;
    for (HWND box; (box = WaitForNewBox(seen)) != nullptr;) {
      seen.push_back(box);
      // The first box stays until the tick's failures have all come.
      if (seen.size() == 1 && !WaitFor([] { return g_failed.load(); })) ADD_FAILURE() << "the tick did not run";
      open.push_back(testing::VisibleDialogsOf(::GetCurrentProcessId()).size());
      const SeenBox look = Look(box);
      shown.push_back(look.text);
      Press(box, look.buttons.empty() ? IDOK : look.buttons.front().first);
      if (seen.size() == 3) break;
    }
  });
  ::SetTimer(nullptr, 0, 50, FailWhileOpen);
  RunGuarded(nullptr, [] { throw Exception(u"最初"); });
  driver.join();
  EXPECT_EQ(shown, (std::vector<std::wstring>{L"最初.", L"二番目.", L"三番目."}));
  EXPECT_EQ(open, (std::vector<size_t>{1, 1, 1})) << "a box on top of another";
  EXPECT_TRUE(testing::VisibleDialogsOf(::GetCurrentProcessId()).empty());
}

// A confirmation opened from within an error box's loop gets its captions
// too, and the error box keeps its own.
void CALLBACK ConfirmOnce(HWND, UINT, UINT_PTR id, DWORD) {
  ::KillTimer(nullptr, id);
  ShowMessageBox(nullptr, L"内側", L"確認", MB_OKCANCEL | MB_ICONQUESTION);
}

TEST(MessageBoxes, ABoxOpenedInsideAnotherBoxGetsItsCaptionsToo) {
  SeenBox outer, inner;
  std::thread driver([&] {
    const HWND first = WaitForNewBox();
    if (!first) return;
    const HWND second = WaitForNewBox({first});
    if (second) {
      inner = Look(second);
      Press(second, IDCANCEL);
    }
    outer = Look(first);
    Press(first, IDOK);
  });
  ::SetTimer(nullptr, 0, 50, ConfirmOnce);
  ShowMessageBox(nullptr, L"外側", L"Velmora", MB_OK | MB_ICONERROR);
  driver.join();
  EXPECT_EQ(inner.text, L"内側");
  EXPECT_EQ(inner.buttons, (Buttons{{IDOK, L"OK"}, {IDCANCEL, L"キャンセル"}}));
  EXPECT_EQ(outer.text, L"外側");
  ASSERT_EQ(outer.buttons.size(), 1u);
  EXPECT_EQ(outer.buttons.front().second, L"OK");
}

}  // namespace
}  // namespace velmora::win32
