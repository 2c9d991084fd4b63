#include <gtest/gtest.h>

#include "core/config_form_model.h"
#include "core/errors.h"
#include "fakes.h"

namespace velmora {
namespace {

using C = ConfigItem;

TEST(ConfigFormModel, EachGroupSwitchDisablesItsOwnControlsOnly) {
  const std::vector<C> alarm(ControlsFollowing(C::CHKAlarm).begin(), ControlsFollowing(C::CHKAlarm).end());
  const std::vector<C> whistle(ControlsFollowing(C::ChkWhistle).begin(), ControlsFollowing(C::ChkWhistle).end());
  const std::vector<C> mem(ControlsFollowing(C::ChkMem).begin(), ControlsFollowing(C::ChkMem).end());
  EXPECT_EQ(alarm, (std::vector<C>{C::TXTAlarm, C::UDAlarm, C::LabelAlarm, C::TXTHour, C::UDHour, C::LabelHour,
                                   C::TXTMin, C::UDMin, C::LabelMin, C::CHKAlarmWav, C::EditAlarmWav,
                                   C::BtnAlarmWav}));
  EXPECT_EQ(whistle, (std::vector<C>{C::TXTWhistle, C::UDWhistle, C::LabelWhistle, C::ChkWhistleWav,
                                     C::EditWhistleWav, C::BtntWhistleWav}));
  EXPECT_EQ(mem, (std::vector<C>{C::TXTMem, C::UDMem, C::EditMem, C::LabelMem, C::BtnMem}));
  // The sound check boxes switch nothing; a group never switches its own check box.
  for (C sound : {C::CHKAlarmWav, C::ChkWhistleWav, C::TXTAlarm}) EXPECT_TRUE(ControlsFollowing(sound).empty());
  for (C chk : {C::CHKAlarm, C::ChkWhistle, C::ChkMem}) {
    for (C other : {C::CHKAlarm, C::ChkWhistle, C::ChkMem}) {
      const auto g = ControlsFollowing(chk);
      EXPECT_EQ(std::find(g.begin(), g.end(), other), g.end());
    }
  }
}

TEST(ConfigFormModel, UpDownsWrapAtBothEnds) {
  struct Case {
    std::int32_t position, delta;
    UpDownRange range;
    std::int32_t expected;
  } cases[] = {
      {23, +1, kHourRange, 0},          {0, -1, kHourRange, 23},         {22, +1, kHourRange, 23},
      {1, -1, kWhistleTimeRange, 60},   {60, +1, kAlarmTimeRange, 1},    {59, +1, kMinuteRange, 0},
      {100, +1, kRamUseRange, 1},       {1, -1, kRamUseRange, 100},      {90, -1, kRamUseRange, 89},
      {500, -1, kRamUseRange, 99},      // out of range from a hand-edited file: stepped from the nearest end
      {INT32_MAX, +1, kRamUseRange, 1}, {INT32_MIN, -1, kHourRange, 23},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(WrapStep(c.position, c.delta, c.range), c.expected) << c.position << " " << c.delta;
  }
  EXPECT_EQ(ClampToRange(0, kAlarmTimeRange), 1);
  EXPECT_EQ(ClampToRange(-5, kHourRange), 0);
  EXPECT_EQ(ClampToRange(250, kRamUseRange), 100);
  EXPECT_EQ(ClampToRange(30, kMinuteRange), 30);
}

TEST(ConfigFormModel, IntervalListAndTheTimerItGives) {
  for (int i = 0; i < kIntervalCount; ++i) {
    EXPECT_EQ(IntervalItemText(i), DecimalText(500 * (i + 1)));
    EXPECT_EQ(IntervalIndexOf(i), i);
    EXPECT_EQ(IntervalFromIndex(i), 500u * static_cast<unsigned>(i + 1));
  }
  EXPECT_EQ(IntervalItemText(0), u"500");
  EXPECT_EQ(IntervalItemText(9), u"5000");
  // A hand-edited index shows "1000" and runs at 1000 ms; no selection is never a dead timer.
  for (std::int32_t bad : {-1, 10, 12, -2147483647 - 1, 2147483647}) {
    EXPECT_EQ(IntervalIndexOf(bad), 1) << bad;
    EXPECT_EQ(IntervalFromIndex(bad), 1000u) << bad;
  }
}

TEST(ConfigFormModel, AddDisabledProgramRefusesAnyCaseOfAListedName) {
  struct Case {
    std::vector<Text> list;
    Text name;
    std::optional<Text> message;
    std::vector<Text> after;
  } cases[] = {
      {{u"notepad.exe"}, u"Notepad.exe", u"Notepad.exeは登録済みです。", {u"notepad.exe"}},
      {{u"NOTEPAD.EXE"}, u"Notepad.exe", u"Notepad.exeは登録済みです。", {u"NOTEPAD.EXE"}},
      {{u"a.exe"}, u"NOTEPAD.EXE", std::nullopt, {u"a.exe", u"NOTEPAD.EXE"}},  // kept as given
      {{u"notepad.exe.bak"}, u"notepad.exe", std::nullopt, {u"notepad.exe.bak", u"notepad.exe"}},  // whole text
      {{u"note"}, u"notepad.exe", std::nullopt, {u"note", u"notepad.exe"}},
      {{}, u"メモ帳.exe", std::nullopt, {u"メモ帳.exe"}},
      {{u"メモ帳.EXE"}, u"メモ帳.exe", u"メモ帳.exeは登録済みです。", {u"メモ帳.EXE"}},
  };
  for (auto& c : cases) {
    EXPECT_EQ(AddDisabledProgram(c.list, c.name), c.message) << ToUtf8(c.name);
    EXPECT_EQ(c.list, c.after) << ToUtf8(c.name);
  }
}

TEST(ConfigFormModel, ExtensionFromTheLastDotOfTheNameWithAtoZFolded) {
  struct Case {
    const char16_t* path;
    const char16_t* required;
    bool ok;
  } cases[] = {
      {u"C:\\snd\\bell.wav", u".wav", true},     {u"C:\\snd\\BELL.WAV", u".wav", true},
      {u"C:\\snd\\bell.wave", u".wav", false},   {u"C:\\snd\\bell.wav.txt", u".wav", false},
      {u"C:\\snd.wav\\bell", u".wav", false},    {u"C:\\snd\\bell", u".wav", false},
      {u"C:\\bin\\Tool.Exe", u".exe", true},     {u"C:\\bin\\tool.exe", u".wav", false},
      {u"C:\\bin\\tool.ｅｘｅ", u".exe", false},  // only A-Z fold
      {u"C:\\bin\\.exe", u".exe", true},
  };
  for (const Case& c : cases) EXPECT_EQ(HasExtension(c.path, c.required), c.ok) << ToUtf8(c.path);
}

TEST(ConfigFormModel, BrowseButtonsAskForTheirFileType) {
  EXPECT_EQ(Text(BrowseSpecOf(BrowseButton::BtnRef).title), u"タイトルを書き換えないプログラム");
  EXPECT_EQ(Text(BrowseSpecOf(BrowseButton::BtnMem).title), u"メモリ最適化ソフト");
  EXPECT_EQ(Text(BrowseSpecOf(BrowseButton::BtnAlarmWav).title), u"アラームのサウンド");
  EXPECT_EQ(Text(BrowseSpecOf(BrowseButton::BtntWhistleWav).title), u"時報のサウンド");
  for (auto b : {BrowseButton::BtnRef, BrowseButton::BtnMem}) {
    EXPECT_EQ(Text(BrowseSpecOf(b).filter), u"プログラム(*.exe)|*.exe");
    EXPECT_EQ(Text(BrowseSpecOf(b).extension), u".exe");
  }
  for (auto b : {BrowseButton::BtnAlarmWav, BrowseButton::BtntWhistleWav}) {
    EXPECT_EQ(Text(BrowseSpecOf(b).filter), u"サウンドファイル(*.wav)|*.wav");
    EXPECT_EQ(Text(BrowseSpecOf(b).extension), u".wav");
  }
}

TEST(ConfigFormModel, ChosenProgramWithABlankIsQuoted) {
  struct Case {
    const char16_t* path;
    const char16_t* commandLine;
  } cases[] = {
      {u"C:\\Tools\\memfree.exe", u"C:\\Tools\\memfree.exe"},
      {u"C:\\Program Files\\Mem\\free.exe", u"\"C:\\Program Files\\Mem\\free.exe\""},
      {u"\"C:\\Program Files\\free.exe\"", u"\"C:\\Program Files\\free.exe\""},
      {u"C:\\a\tb\\free.exe", u"\"C:\\a\tb\\free.exe\""},
  };
  for (const Case& c : cases) EXPECT_EQ(CommandLineForProgram(c.path), c.commandLine) << ToUtf8(c.path);
}

const Text kFolder = u"C:\\Users\\u\\AppData\\Roaming\\Orvane\\Velmora\\";

class Closing : public ::testing::Test {
 protected:
  Closing() {
    settings.SeenPrograms = {u"NOTEPAD.EXE"};
    settings.DispRAM = false;
    edited = settings;
    edited.FormatUpdate = 5;
    edited.WhistleTime = 20;
    edited.AlarmEnable = true;
    edited.RAMExe = u"\"C:\\Program Files\\free.exe\"";
    edited.DisabledPrograms = {u"added.exe"};
  }
  FakeFiles files;
  FakeCodePage ansi;
  SettingsStorage storage{files, ansi, kFolder};
  TSettings settings, edited;
};

TEST_F(Closing, OkSavesWhatTheDialogShows) {
  FinishConfigForm(CloseResult::OK, edited, settings, storage);
  EXPECT_EQ(settings.FormatUpdate, 5);
  EXPECT_EQ(settings.DisabledPrograms, std::vector<Text>{u"added.exe"});
  TSettings reread;
  storage.LoadSettings(reread);
  EXPECT_EQ(reread.FormatUpdate, 5);
  EXPECT_EQ(reread.WhistleTime, 20);
  EXPECT_TRUE(reread.AlarmEnable);
  EXPECT_EQ(reread.RAMExe, u"\"C:\\Program Files\\free.exe\"");
  EXPECT_EQ(reread.DisabledPrograms, std::vector<Text>{u"added.exe"});
  // What the dialog does not edit is left alone.
  EXPECT_EQ(settings.SeenPrograms, std::vector<Text>{u"NOTEPAD.EXE"});
  EXPECT_FALSE(settings.DispRAM);
}

TEST_F(Closing, CancelRereadsTheFilesAndAbsentKeysKeepTheEdits) {
  files.files[kFolder + u"Velmora.ini"] = Utf16File(u"[Whistle]\r\nTime=30\r\n");
  files.files[kFolder + u"Disable.log"] = Utf16File(u"old.exe\r\n");
  FinishConfigForm(CloseResult::Cancel, edited, settings, storage);
  EXPECT_EQ(settings.WhistleTime, 30);  // in the file
  EXPECT_TRUE(settings.AlarmEnable);    // absent: the edit stays
  EXPECT_EQ(settings.RAMExe, edited.RAMExe);
  EXPECT_EQ(settings.FormatUpdate, 1);  // absent, but its read default is 1
  EXPECT_EQ(settings.DisabledPrograms, std::vector<Text>{u"old.exe"});
  EXPECT_EQ(settings.SeenPrograms, std::vector<Text>{u"NOTEPAD.EXE"});
  EXPECT_EQ(files.writes, 0);
}

TEST_F(Closing, AFailureThrowsAndChangesNothing) {
  const TSettings before = settings;
  files.unwritable.insert(kFolder + u"Velmora.ini");
  EXPECT_THROW(FinishConfigForm(CloseResult::OK, edited, settings, storage), Exception);
  EXPECT_EQ(settings.FormatUpdate, before.FormatUpdate);
  EXPECT_EQ(settings.DisabledPrograms, before.DisabledPrograms);

  // The list file reads, the settings file does not: nothing half-loaded.
  files.files[kFolder + u"Disable.log"] = Utf16File(u"old.exe\r\n");
  files.files[kFolder + u"Velmora.ini"] = Utf16File(u"[Whistle]\r\nTime=30\r\n");
  files.unreadable.insert(kFolder + u"Velmora.ini");
  EXPECT_THROW(FinishConfigForm(CloseResult::Cancel, edited, settings, storage), Exception);
  EXPECT_EQ(settings.DisabledPrograms, before.DisabledPrograms);
  EXPECT_EQ(settings.WhistleTime, before.WhistleTime);
}

}  // namespace
}  // namespace velmora
