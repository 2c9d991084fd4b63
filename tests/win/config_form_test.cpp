// The settings dialog on real windows: it runs modally on the test's thread
// while a second thread drives it with posted messages and bounded sends,
// polling for every outcome.
#include <gtest/gtest.h>

#include <windows.h>

#include <commctrl.h>

#include <atomic>
#include <functional>
#include <mutex>
#include <thread>

#include "core/text.h"
#include "support.h"
#include "win32/config_form.h"
#include "win32/settings_files.h"
#include "win32/wide.h"

namespace velmora::win32 {
namespace {

using I = ConfigItem;
using testing::Narrow;
using testing::ReadBytes;
using testing::WaitFor;
using testing::WriteBytes;

std::wstring W(const Text& t) { return std::wstring(Wide(t)); }

std::string Utf16File(const std::u16string& text) {
  std::string bytes = "\xFF\xFE";
  for (char16_t c : text) {
    bytes.push_back(static_cast<char>(c & 0xFF));
    bytes.push_back(static_cast<char>(c >> 8));
  }
  return bytes;
}

// The dialog's thread may be busy for a while on its first paint (fonts are
// loaded then, slowly on a fresh machine), so the driver's sends wait long.
constexpr UINT kAnswerMs = 5000;

LRESULT Send(HWND hwnd, UINT msg, WPARAM wParam = 0, LPARAM lParam = 0) {
  DWORD_PTR result = 0;
  ::SendMessageTimeoutW(hwnd, msg, wParam, lParam, SMTO_ABORTIFHUNG, kAnswerMs, &result);
  return static_cast<LRESULT>(result);
}

std::wstring TextOf(HWND hwnd) {
  wchar_t buf[512] = {};
  DWORD_PTR got = 0;
  if (!::SendMessageTimeoutW(hwnd, WM_GETTEXT, std::size(buf), reinterpret_cast<LPARAM>(buf), SMTO_ABORTIFHUNG,
                             kAnswerMs, &got)) {
    return L"(no answer)";
  }
  return buf;
}

void Click(HWND button) { ::PostMessageW(button, BM_CLICK, 0, 0); }

// A press and release of the left button at a point of the window's client area.
void MouseClick(HWND hwnd, int x, int y) {
  ::PostMessageW(hwnd, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(x, y));
  ::PostMessageW(hwnd, WM_LBUTTONUP, 0, MAKELPARAM(x, y));
}

void ClickArrow(HWND upDown, bool up) {
  RECT r{};
  ::GetClientRect(upDown, &r);
  MouseClick(upDown, r.right / 2, up ? r.bottom / 4 : r.bottom * 3 / 4);
}

void Key(HWND hwnd, UINT vk) {
  ::PostMessageW(hwnd, WM_KEYDOWN, vk, 1);
  ::PostMessageW(hwnd, WM_KEYUP, vk, 0xC0000001);
}

// The radio button of `index` in a radio group.
HWND Radio(HWND group, int index) {
  HWND child = ::GetWindow(group, GW_CHILD);
  for (int i = 0; i < index && child; ++i) child = ::GetWindow(child, GW_HWNDNEXT);
  return child;
}

// Records what the browse buttons play instead of playing it.
class RecordingSound final : public DiskAndSound {
 public:
  std::uint32_t SetProcessErrorMode(std::uint32_t mode) override { return real_.SetProcessErrorMode(mode); }
  bool DiskSpaceKnown(const Text& root) override { return real_.DiskSpaceKnown(root); }
  bool FileExists(const Text& path) override { return real_.FileExists(path); }
  bool PlayWaveFile(const Text& path, std::uint32_t) override {
    played.push_back(path);
    return true;
  }
  std::vector<Text> played;  // read after the dialog has closed

 private:
  Win32DiskAndSound real_;
};

class ConfigFormTest : public ::testing::Test {
 protected:
  void SetUp() override {
    wchar_t temp[MAX_PATH] = {};
    ::GetTempPathW(MAX_PATH, temp);
    folder_ = FromWide(temp) + u"velmora-config-" + DecimalText(::GetCurrentProcessId()) + u"-" +
              DecimalText(::GetTickCount()) + u"\\";
    ASSERT_TRUE(::CreateDirectoryW(Wide(folder_), nullptr));
    storage_ = std::make_unique<SettingsStorage>(files_, ansi_, folder_);
  }
  void TearDown() override {
    form_.reset();
    ::RemoveDirectoryW(Wide(folder_ + u"Velmora.ini"));
    for (const char16_t* name : {u"Velmora.ini", u"Disable.log", u"bell.WAV", u"bell.wave"}) {
      ::DeleteFileW(Wide(folder_ + name));
    }
    ::RemoveDirectoryW(Wide(folder_));
  }

  std::wstring Ini() const { return W(folder_ + u"Velmora.ini"); }
  std::wstring List() const { return W(folder_ + u"Disable.log"); }

  // `window`: also make the dialog's window now rather than at its first show.
  void CreateForm(bool window = true) {
    form_ = std::make_unique<TConfigForm>(::GetModuleHandleW(nullptr), settings_, *storage_);
    form_->UseSound(sound_);
    ASSERT_TRUE(form_->Create());
    if (window) {
      ASSERT_TRUE(form_->HandleNeeded());
    }
  }
  HWND Item(I item) const { return form_->Item(item); }

  // Shows the dialog modally while `drive` runs on another thread; a drive
  // that leaves the dialog open is cancelled after it, so a failure cannot hang.
  // The driver asks the system, not the form, whether the dialog is up: the
  // form makes its window on this thread while the driver waits.
  CloseResult Run(const std::function<void()>& drive) {
    std::thread driver([&] {
      if (WaitFor([&] { return ShownForm() != nullptr; })) drive();
      if (!WaitFor([&] { return ShownForm() == nullptr; }, std::chrono::seconds(5))) {
        ADD_FAILURE() << "the dialog stayed open";
        for (HWND box : testing::VisibleDialogsOf(::GetCurrentProcessId())) ::PostMessageW(box, WM_CLOSE, 0, 0);
        ::PostMessageW(form_->Handle(), WM_COMMAND, IDCANCEL, 0);
      }
    });
    const CloseResult result = form_->ShowModal();
    driver.join();
    return result;
  }

  static HWND ShownForm() {
    for (HWND w = nullptr; (w = ::FindWindowExW(nullptr, w, kConfigFormClass, nullptr)) != nullptr;) {
      DWORD pid = 0;
      ::GetWindowThreadProcessId(w, &pid);
      if (pid == ::GetCurrentProcessId() && ::IsWindowVisible(w)) return w;
    }
    return nullptr;
  }

  // Waits for a message box of this process and answers it with OK.
  std::wstring AnswerMessageBox(std::wstring* title = nullptr) {
    const HWND box = testing::WaitForDialogOf(::GetCurrentProcessId());
    if (!box) return L"(no message box)";
    const std::wstring text = testing::DialogText(box);
    if (title) *title = testing::TitleOf(box);
    ::PostMessageW(box, WM_COMMAND, IDOK, 0);
    WaitFor([&] { return testing::VisibleDialogsOf(::GetCurrentProcessId()).empty(); });
    return text;
  }

  Text folder_;
  Win32SettingsFiles files_;
  Win32CodePage ansi_;
  std::unique_ptr<SettingsStorage> storage_;
  TSettings settings_;
  RecordingSound sound_;
  std::unique_ptr<TConfigForm> form_;
};

TEST_F(ConfigFormTest, FirstStartShowsTheDefaultsWithTheGroupsDisabled) {
  // Start-up loads the settings only; the window is made at the first show.
  CreateForm(false);
  EXPECT_EQ(form_->Handle(), nullptr);
  EXPECT_EQ(form_->TimerInterval(), 1000u);
  EXPECT_FALSE(form_->Create());
  const CloseResult result = Run([&] {
    EXPECT_EQ(TextOf(form_->Handle()), L"Velmora - 詳細設定");
    EXPECT_EQ(TextOf(Item(I::ComboBoxTimer)), L"1000");
    for (I group : {I::RadioGroupDate, I::RadioGroupTime}) {
      for (int k = 0; k < 4; ++k) {
        EXPECT_EQ(Send(Radio(Item(group), k), BM_GETCHECK), k == 0 ? BST_CHECKED : BST_UNCHECKED) << k;
      }
    }
    EXPECT_EQ(TextOf(Radio(Item(I::RadioGroupDate), 0)), L"年/月/日(曜日)");
    EXPECT_EQ(TextOf(Radio(Item(I::RadioGroupTime), 3)), L"時:分    [12時間]");
    const std::pair<I, const wchar_t*> numbers[] = {
        {I::TXTAlarm, L"10"}, {I::TXTHour, L"0"}, {I::TXTMin, L"0"}, {I::TXTWhistle, L"10"}, {I::TXTMem, L"90"}};
    for (const auto& [field, text] : numbers) EXPECT_EQ(TextOf(Item(field)), text);
    for (I chk : {I::CHKAlarm, I::ChkWhistle, I::ChkMem}) EXPECT_TRUE(::IsWindowEnabled(Item(chk)));
    for (I off : {I::TXTAlarm, I::UDHour, I::LabelMin, I::CHKAlarmWav, I::BtnAlarmWav, I::TXTWhistle,
                  I::EditWhistleWav, I::TXTMem, I::EditMem, I::BtnMem, I::BtnDel, I::BtnLog}) {
      EXPECT_FALSE(::IsWindowEnabled(Item(off))) << static_cast<int>(off);
    }
    // Clicking a group's check box switches its controls; a sound check box switches nothing.
    Click(Item(I::CHKAlarm));
    EXPECT_TRUE(WaitFor([&] { return ::IsWindowEnabled(Item(I::TXTHour)) && ::IsWindowEnabled(Item(I::BtnAlarmWav)); }));
    EXPECT_FALSE(::IsWindowEnabled(Item(I::TXTWhistle)));
    Click(Item(I::CHKAlarmWav));
    EXPECT_TRUE(WaitFor([&] { return Send(Item(I::CHKAlarmWav), BM_GETCHECK) == BST_CHECKED; }));
    Click(Item(I::CHKAlarmWav));
    EXPECT_TRUE(WaitFor([&] { return Send(Item(I::CHKAlarmWav), BM_GETCHECK) == BST_UNCHECKED; }));
    EXPECT_TRUE(::IsWindowEnabled(Item(I::EditAlarmWav)));
    Click(Item(I::CHKAlarm));
    EXPECT_TRUE(WaitFor([&] { return !::IsWindowEnabled(Item(I::TXTHour)); }));
    Key(Item(I::ChkItem), VK_ESCAPE);
  });
  EXPECT_EQ(result, CloseResult::Cancel);
  EXPECT_TRUE(ReadBytes(Ini()).empty());  // nothing written
}

TEST_F(ConfigFormTest, UpDownsWrapAndFillTheirFields) {
  ASSERT_TRUE(WriteBytes(Ini(), Utf16File(u"[Whistle]\r\nEnable=1\r\nTime=1\r\n[Alarm]\r\nEnable=1\r\nHour=23\r\n"
                                          u"[RAM]\r\nEnable=1\r\nUse=100\r\n")));
  CreateForm();
  const CloseResult result = Run([&] {
    EXPECT_EQ(TextOf(Item(I::TXTHour)), L"23");
    ClickArrow(Item(I::UDHour), true);
    EXPECT_TRUE(WaitFor([&] { return TextOf(Item(I::TXTHour)) == L"0"; })) << Narrow(TextOf(Item(I::TXTHour)));
    EXPECT_EQ(TextOf(Item(I::TXTWhistle)), L"1");
    ClickArrow(Item(I::UDWhistle), false);
    EXPECT_TRUE(WaitFor([&] { return TextOf(Item(I::TXTWhistle)) == L"60"; }))
        << Narrow(TextOf(Item(I::TXTWhistle)));
    // The arrow keys in a field step its up-down.
    Key(Item(I::TXTMem), VK_UP);
    EXPECT_TRUE(WaitFor([&] { return TextOf(Item(I::TXTMem)) == L"1"; })) << Narrow(TextOf(Item(I::TXTMem)));
    // Enter in a check box confirms like OK.
    Key(Item(I::ChkItem), VK_RETURN);
  });
  EXPECT_EQ(result, CloseResult::OK);
  TSettings saved;
  storage_->LoadSettings(saved);
  EXPECT_EQ(saved.AlarmHour, 0);
  EXPECT_EQ(saved.WhistleTime, 60);
  EXPECT_EQ(saved.RAMUse, 1);
  EXPECT_EQ(settings_.AlarmHour, 0);
}

TEST_F(ConfigFormTest, UpDownsStepByOneHoweverLongAnArrowIsHeld) {
  CreateForm();
  for (I upDown : {I::UDAlarm, I::UDHour, I::UDMin, I::UDWhistle, I::UDMem}) {
    UDACCEL table[4] = {};
    const auto count = ::SendMessageW(Item(upDown), UDM_GETACCEL, std::size(table), reinterpret_cast<LPARAM>(table));
    ASSERT_EQ(count, 1) << static_cast<int>(upDown);
    EXPECT_EQ(table[0].nSec, 0u);
    EXPECT_EQ(table[0].nInc, 1u);
  }
}

TEST_F(ConfigFormTest, AMessageThatCannotBeReceivedLeavesTheDialogOpen) {
  CreateForm();
  DWORD sent = 1234;
  bool openAfter = false;
  const CloseResult result = Run([&] {
    // From another program, too large for Wine to hand over: the dialog's
    // GetMessageW fails on it.
    testing::ChildProcess sender(testing::BinDir() + L"velmora_copydata.exe",
                                 L"4194304 " + std::to_wstring(reinterpret_cast<INT_PTR>(form_->Handle())));
    ASSERT_TRUE(sender.Started());
    ASSERT_TRUE(sender.WaitExit(30000, sent));
    // Still open and answering, after the sender has given up.
    openAfter = ShownForm() == form_->Handle() && Send(Item(I::ChkItem), BM_GETCHECK) == BST_UNCHECKED &&
                ::IsWindowVisible(form_->Handle());
    Click(Item(I::BtnOK));
  });
  EXPECT_NE(sent, 2u) << "the sender found no window";
  EXPECT_TRUE(openAfter) << "the dialog closed";
  EXPECT_EQ(result, CloseResult::OK);
  EXPECT_FALSE(ReadBytes(Ini()).empty()) << "OK saved";
  MSG quit;
  EXPECT_FALSE(::PeekMessageW(&quit, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE)) << "the program was told to end";
}

TEST_F(ConfigFormTest, ExclusionListButtonsRefuseDuplicatesWithTheExactMessage) {
  settings_.SeenPrograms = {u"NOTEPAD.EXE"};
  CreateForm();
  Text chosen = u"C:\\windows\\Notepad.exe";
  form_->ChooseFile = [&](HWND, const BrowseSpec&) { return std::optional<Text>(chosen); };
  std::wstring title, fromRef, fromLog;
  const CloseResult result = Run([&] {
    // Picking from the seen programs enables BtnLog; it adds the upper-case name.
    const LRESULT row = Send(Item(I::ListBoxLog), LB_GETITEMHEIGHT, 0);
    MouseClick(Item(I::ListBoxLog), 5, static_cast<int>(row / 2));
    EXPECT_TRUE(WaitFor([&] { return ::IsWindowEnabled(Item(I::BtnLog)); }));
    Click(Item(I::BtnLog));
    EXPECT_TRUE(WaitFor([&] { return Send(Item(I::ListBox), LB_GETCOUNT) == 1; }));
    Click(Item(I::BtnRef));  // "Notepad.exe" against "NOTEPAD.EXE"
    fromRef = AnswerMessageBox(&title);
    Click(Item(I::BtnLog));  // the same entry again
    fromLog = AnswerMessageBox();
    // Answered when the dialog's thread is back from the message box.
    EXPECT_TRUE(WaitFor([&] { return Send(Item(I::ListBox), LB_GETCOUNT) == 1; }));
    EXPECT_TRUE(::IsWindowEnabled(Item(I::BtnLog)));  // the entry stays selected

    // BtnDel follows the selection and deletes the selected entry.
    MouseClick(Item(I::ListBox), 5, static_cast<int>(row / 2));
    EXPECT_TRUE(WaitFor([&] { return ::IsWindowEnabled(Item(I::BtnDel)); }));
    Click(Item(I::BtnDel));
    EXPECT_TRUE(WaitFor([&] { return Send(Item(I::ListBox), LB_GETCOUNT) == 0; }));
    EXPECT_FALSE(::IsWindowEnabled(Item(I::BtnDel)));
    Click(Item(I::BtnRef));  // not listed now: added as given
    EXPECT_TRUE(WaitFor([&] { return Send(Item(I::ListBox), LB_GETCOUNT) == 1; }));
    Click(Item(I::BtnOK));
  });
  EXPECT_EQ(result, CloseResult::OK);
  EXPECT_EQ(fromRef, L"Notepad.exeは登録済みです。");
  EXPECT_EQ(title, L"Velmora");
  EXPECT_EQ(fromLog, L"NOTEPAD.EXEは登録済みです。");
  EXPECT_EQ(ReadBytes(List()), Utf16File(u"Notepad.exe\r\n"));
}

TEST_F(ConfigFormTest, BrowseButtonsCheckTheExtensionQuoteProgramsAndPlayTheSound) {
  ASSERT_TRUE(WriteBytes(Ini(), Utf16File(u"[Alarm]\r\nEnable=1\r\n[RAM]\r\nEnable=1\r\n")));
  const Text wav = folder_ + u"bell.WAV", wave = folder_ + u"bell.wave";
  ASSERT_TRUE(WriteBytes(W(wav), "RIFF"));
  ASSERT_TRUE(WriteBytes(W(wave), "RIFF"));
  CreateForm();
  std::mutex lock;  // the pick is staged on the driver's thread and read on the dialog's
  std::vector<Text> titles;
  Text chosen;
  form_->ChooseFile = [&](HWND, const BrowseSpec& spec) {
    const std::lock_guard<std::mutex> hold(lock);
    titles.push_back(spec.title);
    return std::optional<Text>(chosen);
  };
  const auto choose = [&](const Text& path) {
    const std::lock_guard<std::mutex> hold(lock);
    chosen = path;
  };
  const auto asked = [&] {
    const std::lock_guard<std::mutex> hold(lock);
    return titles.size();
  };
  const CloseResult result = Run([&] {
    choose(wave);  // another extension: ignored
    Click(Item(I::BtnAlarmWav));
    EXPECT_TRUE(WaitFor([&] { return asked() == 1; }));
    choose(wav);
    Click(Item(I::BtnAlarmWav));
    EXPECT_TRUE(WaitFor([&] { return TextOf(Item(I::EditAlarmWav)) == W(wav); }));
    choose(u"C:\\Program Files\\Mem Tool\\free.EXE");
    Click(Item(I::BtnMem));
    EXPECT_TRUE(WaitFor([&] { return TextOf(Item(I::EditMem)) == L"\"C:\\Program Files\\Mem Tool\\free.EXE\""; }))
        << Narrow(TextOf(Item(I::EditMem)));
    Click(Item(I::BtnCancel));
  });
  EXPECT_EQ(result, CloseResult::Cancel);
  EXPECT_EQ(sound_.played, std::vector<Text>{wav});  // once, the accepted file only
  ASSERT_EQ(titles.size(), 3u);
  EXPECT_EQ(titles[0], u"アラームのサウンド");
  EXPECT_EQ(titles[2], u"メモリ最適化ソフト");
  // Cancel: the paths were absent from the file, so the edits stay.
  EXPECT_EQ(settings_.AlarmWavFile, wav);
}

TEST_F(ConfigFormTest, EscCloseBoxAndCancelRevertWhatTheFileHolds) {
  ASSERT_TRUE(WriteBytes(Ini(), Utf16File(u"[Whistle]\r\nEnable=1\r\nTime=30\r\n")));
  ASSERT_TRUE(WriteBytes(List(), Utf16File(u"keep.exe\r\n")));
  const std::string before = ReadBytes(Ini());
  CreateForm();
  struct Way {
    const char* name;
    std::function<void(TConfigForm&)> close;
  } ways[] = {
      {"Esc", [](TConfigForm& f) { Key(f.Item(I::ComboBoxTimer), VK_ESCAPE); }},
      {"close box", [](TConfigForm& f) { ::PostMessageW(f.Handle(), WM_SYSCOMMAND, SC_CLOSE, 0); }},
      {"Cancel", [](TConfigForm& f) { Click(f.Item(I::BtnCancel)); }},
  };
  for (const Way& way : ways) {
    const CloseResult result = Run([&] {
      ClickArrow(Item(I::UDWhistle), true);
      EXPECT_TRUE(WaitFor([&] { return TextOf(Item(I::TXTWhistle)) == L"31"; }));
      Send(Item(I::ComboBoxTimer), CB_SETCURSEL, 5);
      way.close(*form_);
    });
    EXPECT_EQ(result, CloseResult::Cancel) << way.name;
    EXPECT_EQ(TextOf(Item(I::TXTWhistle)), L"30") << way.name;
    EXPECT_EQ(settings_.WhistleTime, 30) << way.name;
    EXPECT_EQ(TextOf(Item(I::ComboBoxTimer)), L"1000") << way.name;  // "Update" falls back to 1
    EXPECT_EQ(form_->TimerInterval(), 1000u) << way.name;
    EXPECT_EQ(settings_.DisabledPrograms, std::vector<Text>{u"keep.exe"}) << way.name;
  }
  EXPECT_EQ(ReadBytes(Ini()), before);
}

TEST_F(ConfigFormTest, OkWritesTheFilesAndAFailedSaveKeepsTheDialogOpen) {
  CreateForm();
  ASSERT_TRUE(::CreateDirectoryW(Ini().c_str(), nullptr));  // the settings file cannot be replaced
  std::wstring error;
  const CloseResult result = Run([&] {
    Send(Item(I::ComboBoxTimer), CB_SETCURSEL, 5);
    Click(Item(I::BtnOK));
    error = AnswerMessageBox();
    EXPECT_TRUE(form_->Visible());
    EXPECT_TRUE(WaitFor([&] { return TextOf(Item(I::ComboBoxTimer)) == L"3000"; }));  // what it showed
    ::RemoveDirectoryW(Ini().c_str());
    Click(Item(I::BtnOK));
  });
  EXPECT_EQ(result, CloseResult::OK);
  EXPECT_EQ(error.rfind(L"ファイル \"" + Ini() + L"\" を作成できません。", 0), 0u) << Narrow(error);
  EXPECT_EQ(form_->TimerInterval(), 3000u);
  EXPECT_EQ(ReadBytes(List()), "\xFF\xFE");
  EXPECT_EQ(ReadBytes(Ini()),
            Utf16File(u"[Disable]\r\nCount=-1\r\nDialog=0\r\n\r\n[Format]\r\nDate=0\r\nTime=0\r\nName=0\r\nUpdate=5\r\n"
                      u"\r\n[Whistle]\r\nEnable=0\r\nTime=10\r\nWavEnable=0\r\nWavFile=\r\n\r\n[Alarm]\r\nEnable=0\r\n"
                      u"Time=10\r\nHour=0\r\nMin=0\r\nWavEnabled=0\r\nWavFile=\r\n\r\n[RAM]\r\nEnable=0\r\nUse=90\r\n"
                      u"Exe=\r\n\r\n"));
}

std::atomic<int> timerCalls;
void CALLBACK CountTimerCall(HWND, UINT, UINT_PTR, DWORD) { ++timerCalls; }

HWND FocusOf(HWND window) {
  GUITHREADINFO info{};
  info.cbSize = sizeof(info);
  ::GetGUIThreadInfo(::GetWindowThreadProcessId(window, nullptr), &info);
  return info.hwndFocus;
}

TEST_F(ConfigFormTest, TabOrderAndMnemonicsFollowTheTable) {
  ASSERT_TRUE(WriteBytes(Ini(), Utf16File(u"[Whistle]\r\nEnable=1\r\n[Alarm]\r\nEnable=1\r\n[RAM]\r\nEnable=1\r\n")));
  CreateForm();
  const std::vector<I> order = {
      I::ChkItem, I::ComboBoxTimer, I::CHKAlarm, I::TXTAlarm, I::TXTHour, I::TXTMin, I::CHKAlarmWav,
      I::EditAlarmWav, I::BtnAlarmWav, I::ChkWhistle, I::TXTWhistle, I::ChkWhistleWav, I::EditWhistleWav,
      I::BtntWhistleWav, I::BtnRef, I::ListBox, I::CHKDialog, I::ListBoxLog, I::ChkMem, I::TXTMem, I::EditMem,
      I::BtnMem, I::BtnOK, I::BtnCancel};
  timerCalls = 0;
  const UINT_PTR timer = ::SetTimer(nullptr, 0, 50, &CountTimerCall);
  const CloseResult result = Run([&] {
    const HWND form = form_->Handle();
    EXPECT_TRUE(WaitFor([&] { return FocusOf(form) == Item(I::GroupBoxDisp); }));
    // Into the group, through both radio groups (their checked items), then on.
    std::vector<HWND> expected = {Radio(Item(I::RadioGroupDate), 0), Radio(Item(I::RadioGroupTime), 0)};
    for (I item : order) expected.push_back(Item(item));
    for (HWND next : expected) {
      Key(FocusOf(form), VK_TAB);
      EXPECT_TRUE(WaitFor([&] { return FocusOf(form) == next; }, std::chrono::seconds(5)))
          << Narrow(TextOf(next)) << " / focus " << Narrow(TextOf(FocusOf(form)));
    }
    // Labels focus their field, group captions their first control.
    const std::pair<wchar_t, HWND> mnemonics[] = {
        {L'h', Item(I::TXTHour)},  {L'L', Item(I::TXTAlarm)}, {L'm', Item(I::TXTMin)},
        {L's', Item(I::TXTWhistle)}, {L'c', Item(I::TXTMem)},  {L'u', Item(I::ComboBoxTimer)},
        {L't', Radio(Item(I::RadioGroupTime), 0)}, {L'e', Item(I::BtnRef)},
    };
    for (const auto& [key, target] : mnemonics) {
      ::PostMessageW(FocusOf(form), WM_SYSCHAR, key, 0x20000001);
      EXPECT_TRUE(WaitFor([&] { return FocusOf(form) == target; }, std::chrono::seconds(5)))
          << char(key) << " / focus " << Narrow(TextOf(FocusOf(form)));
    }
    // The program's other messages go on meanwhile.
    EXPECT_TRUE(WaitFor([&] { return timerCalls >= 3; }));
    Click(Item(I::BtnCancel));
  });
  ::KillTimer(nullptr, timer);
  EXPECT_EQ(result, CloseResult::Cancel);
}

TEST_F(ConfigFormTest, ANewMonitorScaleLaysTheDialogOutAgain) {
  CreateForm();
  const HWND form = form_->Handle();
  const UINT dpi = 144;
  RECT suggested{100, 100, 100 + 900, 100 + 760};
  ::SendMessageW(form, WM_DPICHANGED, MAKEWPARAM(dpi, dpi), reinterpret_cast<LPARAM>(&suggested));
  EXPECT_EQ(form_->Dpi(), dpi);
  RECT window{};
  ::GetWindowRect(form, &window);
  EXPECT_EQ(window.left, 100);
  EXPECT_EQ(window.right - window.left, 900);
  LOGFONTW lf{};
  ::GetObjectW(reinterpret_cast<HFONT>(::SendMessageW(form, WM_GETFONT, 0, 0)), sizeof(lf), &lf);
  EXPECT_EQ(lf.lfHeight, -18);
  EXPECT_EQ(lf.lfCharSet, SHIFTJIS_CHARSET);
  ::GetObjectW(reinterpret_cast<HFONT>(::SendMessageW(Item(I::EditMem), WM_GETFONT, 0, 0)), sizeof(lf), &lf);
  EXPECT_STREQ(lf.lfFaceName, L"MS UI Gothic");
  EXPECT_EQ(lf.lfHeight, -18);
  // Positions are the 96-DPI ones times 1.5.
  const auto placed = [&](I item) {
    RECT r{};
    ::GetWindowRect(Item(item), &r);
    ::MapWindowPoints(nullptr, ::GetParent(Item(item)), reinterpret_cast<POINT*>(&r), 2);
    return r;
  };
  const RECT ok = placed(I::BtnOK);
  EXPECT_EQ(ok.left, 465);
  EXPECT_EQ(ok.top, 623);
  EXPECT_EQ(ok.right - ok.left, 165);
  const RECT group = placed(I::GroupBoxDisable);
  EXPECT_EQ(group.left, 435);
  EXPECT_EQ(group.bottom - group.top, 263);
  // Each number field keeps its width and its up-down stands at its right edge.
  const RECT hour = placed(I::TXTHour), upDown = placed(I::UDHour);
  EXPECT_EQ(hour.left, 53);
  EXPECT_EQ(hour.right - hour.left, 60);
  EXPECT_EQ(upDown.left, hour.right);
  EXPECT_EQ(upDown.right - upDown.left, 24);  // its arrows scaled too
  EXPECT_EQ(upDown.bottom - upDown.top, hour.bottom - hour.top);
  // The check mark and the cross are drawn again at the new size.
  for (I button : {I::BtnOK, I::BtnCancel}) {
    const auto icon = reinterpret_cast<HICON>(::SendMessageW(Item(button), BM_GETIMAGE, IMAGE_ICON, 0));
    ASSERT_NE(icon, nullptr);
    ICONINFO info{};
    ASSERT_TRUE(::GetIconInfo(icon, &info));
    BITMAP bitmap{};
    ::GetObjectW(info.hbmColor, sizeof(bitmap), &bitmap);
    EXPECT_EQ(bitmap.bmWidth, 24);
    ::DeleteObject(info.hbmColor);
    ::DeleteObject(info.hbmMask);
  }
}

TEST_F(ConfigFormTest, AnUpdateIndexOutsideTheListShowsAndRunsAt1000) {
  ASSERT_TRUE(WriteBytes(Ini(), Utf16File(u"[Format]\r\nUpdate=12\r\n")));
  CreateForm();
  EXPECT_EQ(settings_.FormatUpdate, 12);
  EXPECT_EQ(form_->TimerInterval(), 1000u);
  EXPECT_EQ(TextOf(Item(I::ComboBoxTimer)), L"1000");
}

}  // namespace
}  // namespace velmora::win32
