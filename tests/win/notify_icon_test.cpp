// TNotifyIcon against the notification area of the running shell. Wine's
// explorer keeps a tray window even on a bare X display (hidden there), and
// answers adds, changes and removals as Windows does: an add of an icon
// that is there, or a change or removal of one that is not, fails. That is
// how these tests see whether the icon is in the tray.
#include <gtest/gtest.h>

#include "support.h"
#include "win32/notify_icon.h"

namespace velmora::testing {
namespace {

using win32::TNotifyIcon;

// True when the tray holds the icon of `record` (a change of nothing
// succeeds only for an icon that is there).
bool InTray(const NOTIFYICONDATAW& record) {
  NOTIFYICONDATAW probe{};
  probe.cbSize = record.cbSize;
  probe.hWnd = record.hWnd;
  probe.uID = record.uID;
  probe.uFlags = 0;
  return ::Shell_NotifyIconW(NIM_MODIFY, &probe) != FALSE;
}

void Pump() {
  MSG msg;
  while (::PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) ::DispatchMessageW(&msg);
}

class NotifyIconTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(WaitFor([] { return ::FindWindowW(L"Shell_TrayWnd", nullptr) != nullptr; }))
        << "no notification area in this session";
    icon_.SetIcon(::LoadIconW(nullptr, IDI_APPLICATION));
    icon_.SetHint(u"Velmora test icon");
  }
  void TearDown() override { icon_.RemoveFromTray(); }

  TNotifyIcon icon_{nullptr};
};

TEST_F(NotifyIconTest, IsAddedChangedAndRemoved) {
  ASSERT_FALSE(InTray(icon_.Data()));
  ASSERT_TRUE(icon_.AddToTray());
  EXPECT_TRUE(icon_.IconVisible());
  EXPECT_TRUE(InTray(icon_.Data()));
  // Adding again is no failure: the icon is simply there.
  EXPECT_TRUE(icon_.AddToTray());

  EXPECT_TRUE(icon_.UpdateTray());
  icon_.SetHint(u"Changed hint");
  EXPECT_TRUE(InTray(icon_.Data()));

  ASSERT_TRUE(icon_.RemoveFromTray());
  EXPECT_FALSE(icon_.IconVisible());
  EXPECT_FALSE(InTray(icon_.Data()));
  EXPECT_FALSE(icon_.UpdateTray()) << "a removed icon cannot be changed";
  EXPECT_FALSE(icon_.RemoveFromTray());
}

TEST_F(NotifyIconTest, TwoIconsHaveTheirOwnPlaces) {
  TNotifyIcon second(nullptr);
  second.SetIcon(::LoadIconW(nullptr, IDI_INFORMATION));
  ASSERT_TRUE(icon_.AddToTray());
  ASSERT_TRUE(second.AddToTray());
  EXPECT_EQ(second.Handle(), icon_.Handle());
  EXPECT_NE(second.IconId(), icon_.IconId());
  ASSERT_TRUE(second.RemoveFromTray());
  EXPECT_TRUE(InTray(icon_.Data()));
  EXPECT_FALSE(InTray(second.Data()));
}

TEST_F(NotifyIconTest, TaskbarCreatedPutsAShownIconBack) {
  ASSERT_TRUE(icon_.AddToTray());
  // A new taskbar starts without icons: take ours away behind its back.
  NOTIFYICONDATAW gone = icon_.Data();
  ASSERT_TRUE(::Shell_NotifyIconW(NIM_DELETE, &gone));
  ASSERT_FALSE(InTray(icon_.Data()));

  DWORD_PTR result = 0;
  ASSERT_TRUE(::SendMessageTimeoutW(icon_.Handle(), TNotifyIcon::TaskbarCreatedMessage(), 0, 0, SMTO_ABORTIFHUNG,
                                    200, &result));
  EXPECT_TRUE(InTray(icon_.Data()));
  EXPECT_TRUE(icon_.IconVisible());
}

TEST_F(NotifyIconTest, TaskbarCreatedLeavesAHiddenIconHidden) {
  ASSERT_TRUE(icon_.AddToTray());
  ASSERT_TRUE(icon_.RemoveFromTray());
  DWORD_PTR result = 0;
  ASSERT_TRUE(::SendMessageTimeoutW(icon_.Handle(), TNotifyIcon::TaskbarCreatedMessage(), 0, 0, SMTO_ABORTIFHUNG,
                                    200, &result));
  EXPECT_FALSE(InTray(icon_.Data()));
}

TEST_F(NotifyIconTest, DoubleClickNotificationRaisesTheEvent) {
  int doubleClicks = 0;
  icon_.OnDblClick = [&] { ++doubleClicks; };
  ASSERT_TRUE(icon_.AddToTray());
  // The shell reports mouse actions on the icon through its callback message.
  for (UINT mouse : {WM_LBUTTONDOWN, WM_LBUTTONUP, WM_LBUTTONDBLCLK, WM_LBUTTONUP}) {
    ::PostMessageW(icon_.Handle(), TNotifyIcon::kCallbackMessage, icon_.IconId(), mouse);
  }
  EXPECT_TRUE(WaitFor([&] {
    Pump();
    return doubleClicks == 1;
  }));
  // Notifications for a number that is no icon of ours are ignored.
  ::PostMessageW(icon_.Handle(), TNotifyIcon::kCallbackMessage, icon_.IconId() + 100, WM_LBUTTONDBLCLK);
  Pump();
  EXPECT_EQ(doubleClicks, 1);
}

}  // namespace
}  // namespace velmora::testing
