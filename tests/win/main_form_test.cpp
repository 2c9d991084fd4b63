// TMainForm created on real windows, with the processor count it is given:
// what a start on one processor or on several does to PPCPUCore, with the
// counter library as the CTest entry provides it (our scripted pdh.dll
// beside this program, or none at all).
#include <gtest/gtest.h>

#include <windows.h>

#include <atomic>
#include <string>
#include <thread>
#include <vector>

#include "core/settings.h"
#include "core/settings_storage.h"
#include "support.h"
#include "win32/main_form.h"
#include "win32/settings_files.h"
#include "win32/wide.h"

namespace velmora::win32 {
namespace {

using testing::WaitFor;

// Answers every message box of this process with OK while it runs, and
// keeps their texts.
class BoxAnswerer {
 public:
  BoxAnswerer()
      : thread_([this] {
          while (!stop_) {
            for (HWND box : testing::VisibleDialogsOf(::GetCurrentProcessId())) {
              texts_.push_back(testing::DialogText(box));
              ::PostMessageW(box, WM_COMMAND, IDOK, 0);
              WaitFor([&] { return !::IsWindow(box) || !::IsWindowVisible(box); });
            }
            ::Sleep(20);
          }
        }) {}
  // The texts of the boxes answered, once no more can come.
  std::vector<std::wstring> Stop() {
    stop_ = true;
    thread_.join();
    return texts_;
  }
  ~BoxAnswerer() {
    if (thread_.joinable()) Stop();
  }

 private:
  std::atomic<bool> stop_{false};
  std::vector<std::wstring> texts_;
  std::thread thread_;
};

class MainFormTest : public ::testing::Test {
 protected:
  void SetUp() override {
    wchar_t temp[MAX_PATH] = {};
    ::GetTempPathW(MAX_PATH, temp);
    folder_ = FromWide(temp) + u"velmora-main-" + DecimalText(::GetCurrentProcessId()) + u"-" +
              DecimalText(::GetTickCount()) + u"\\";
    ASSERT_TRUE(::CreateDirectoryW(Wide(folder_), nullptr));
    storage_ = std::make_unique<SettingsStorage>(files_, ansi_, folder_);
  }
  void TearDown() override {
    ::DeleteFileW(Wide(folder_ + kIniFileName));
    ::RemoveDirectoryW(Wide(folder_));
    // Destroying the main window ends the program's message loop: not this one's.
    MSG quit;
    while (::PeekMessageW(&quit, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE)) {
    }
  }

  std::wstring IniPath() const { return Wide(folder_ + kIniFileName); }

  // Creates the main window; the boxes its creation shows
  // are answered with OK and their texts returned.
  std::vector<std::wstring> Create(TMainForm& form) {
    BoxAnswerer answerer;
    EXPECT_TRUE(form.Create());
    return answerer.Stop();
  }

  // PPCPUCore as the tray menu would show it now.
  struct Item {
    bool enabled, checked;
  };
  static Item CpuCoreItem(const TMainForm& form) {
    const UniqueMenu menu = form.MakeTrayMenu();
    const UINT state = ::GetMenuState(menu.get(), static_cast<UINT>(TrayItem::PPCPUCore), MF_BYCOMMAND);
    EXPECT_NE(state, static_cast<UINT>(-1)) << "no such item";
    return {(state & (MF_GRAYED | MF_DISABLED)) == 0, (state & MF_CHECKED) != 0};
  }

  Text folder_;
  Win32SettingsFiles files_;
  Win32CodePage ansi_;
  std::unique_ptr<SettingsStorage> storage_;
  TSettings settings_;
};

// win.main_form: our pdh.dll, which has the counters.
TEST_F(MainFormTest, OneProcessorDisablesAndClearsThePerProcessorItem) {
  ASSERT_TRUE(testing::WriteBytes(IniPath(), "[Disp]\r\nCPUCore=1\r\n"));
  TMainForm form(::GetModuleHandleW(nullptr), settings_, *storage_, 1);
  EXPECT_TRUE(Create(form).empty()) << "a message at creation";
  EXPECT_TRUE(form.Cycle().State().FSingleCore);
  const Item item = CpuCoreItem(form);
  EXPECT_FALSE(item.enabled);
  EXPECT_FALSE(item.checked);
  EXPECT_FALSE(settings_.DispCPUCore);
}

TEST_F(MainFormTest, SeveralProcessorsKeepThePerProcessorItemAsSaved) {
  for (const bool saved : {true, false}) {
    SCOPED_TRACE(saved ? "saved checked" : "saved clear");
    ASSERT_TRUE(testing::WriteBytes(IniPath(),
                                    saved ? "[Disp]\r\nCPUCore=1\r\n" : "[Disp]\r\nCPUCore=0\r\n"));
    TSettings settings;
    TMainForm form(::GetModuleHandleW(nullptr), settings, *storage_, 4);
    EXPECT_TRUE(Create(form).empty()) << "a message at creation";
    EXPECT_FALSE(form.Cycle().State().FSingleCore);
    const Item item = CpuCoreItem(form);
    EXPECT_TRUE(item.enabled);
    EXPECT_EQ(item.checked, saved);
  }
}

// win.main_form_pdh_unloadable: no counter library at all.
TEST_F(MainFormTest, OneProcessorWithoutTheCounterLibraryKeepsThePerProcessorItemAsSaved) {
  ASSERT_TRUE(testing::WriteBytes(IniPath(), "[Disp]\r\nCPUCore=1\r\n"));
  TMainForm form(::GetModuleHandleW(nullptr), settings_, *storage_, 1);
  const std::vector<std::wstring> boxes = Create(form);
  // The binding error, and not the counter-failure message after it.
  EXPECT_EQ(boxes, std::vector<std::wstring>{L"Library not found: pdh.dll."});
  const Item item = CpuCoreItem(form);
  EXPECT_TRUE(item.enabled);
  EXPECT_TRUE(item.checked);
  EXPECT_TRUE(settings_.DispCPUCore);
}

}  // namespace
}  // namespace velmora::win32
