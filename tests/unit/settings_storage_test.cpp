#include <gtest/gtest.h>

#include "core/errors.h"
#include "core/ini_file.h"
#include "core/settings_storage.h"
#include "fakes.h"

namespace velmora {
namespace {

const Text kFolder = u"C:\\Users\\u\\AppData\\Roaming\\Orvane\\Velmora\\";
const Text kIni = kFolder + u"Velmora.ini";
const Text kList = kFolder + u"Disable.log";

class Storage : public ::testing::Test {
 protected:
  std::string Ansi(std::u16string_view text) { return ansi.Encode(text); }
  Text Error(const std::function<void()>& f) {
    try {
      f();
    } catch (const Exception& e) {
      return e.Message();
    }
    return u"(no error)";
  }

  FakeFiles files;
  FakeCodePage ansi;
  SettingsStorage storage{files, ansi, kFolder};
  TSettings settings;
};

TEST_F(Storage, DataFolderIsCreatedUnderRoamingAppData) {
  files.dirs.insert(u"C:\\Users\\u\\AppData\\Roaming");
  Text folder;
  ASSERT_TRUE(PrepareDataFolder(files, u"Velmora", false, folder));
  EXPECT_EQ(folder, kFolder);
  EXPECT_TRUE(files.DirectoryExists(u"C:\\Users\\u\\AppData\\Roaming\\Orvane"));
  EXPECT_TRUE(files.DirectoryExists(u"C:\\Users\\u\\AppData\\Roaming\\Orvane\\Velmora"));
  ASSERT_TRUE(PrepareDataFolder(files, u"Velmora", false, folder));  // exists already

  Text common;
  ASSERT_TRUE(PrepareDataFolder(files, u"Velmora", true, common));
  EXPECT_EQ(common, u"C:\\ProgramData\\Orvane\\Velmora\\");
}

TEST_F(Storage, NoDataFolderWhenTheLookupOrTheCreationFails) {
  Text folder = u"unchanged";
  files.appData = std::nullopt;
  EXPECT_FALSE(PrepareDataFolder(files, u"Velmora", false, folder));
  EXPECT_TRUE(files.dirs.empty());  // nothing created relative to the current folder
  files.appData = Text(u"C:\\Users\\u\\AppData\\Roaming");
  files.uncreatable.insert(u"C:\\Users\\u\\AppData\\Roaming\\Orvane\\Velmora");
  EXPECT_FALSE(PrepareDataFolder(files, u"Velmora", false, folder));
}

TEST_F(Storage, SpecialFolderTable) {
  EXPECT_EQ(GetSpecialFolder(files, 1), u"C:\\Users\\u\\AppData\\Roaming");
  EXPECT_EQ(GetSpecialFolder(files, 3), u"C:\\ProgramData");
  EXPECT_EQ(GetSpecialFolder(files, 0), u"");  // the fake knows no documents folder
  EXPECT_EQ(GetSpecialFolder(files, 6), u"");
}

TEST_F(Storage, FirstRunOkThenExitWritesTheExactBytes) {
  storage.LoadPrefs(settings);
  storage.LoadSettings(settings);
  storage.SaveSettings(settings);
  EXPECT_EQ(files.files.at(kList), "\xFF\xFE");
  const std::u16string settingsText =
      u"[Disable]\r\nCount=-1\r\nDialog=0\r\n\r\n"
      u"[Format]\r\nDate=0\r\nTime=0\r\nName=0\r\nUpdate=1\r\n\r\n"
      u"[Whistle]\r\nEnable=0\r\nTime=10\r\nWavEnable=0\r\nWavFile=\r\n\r\n"
      u"[Alarm]\r\nEnable=0\r\nTime=10\r\nHour=0\r\nMin=0\r\nWavEnabled=0\r\nWavFile=\r\n\r\n"
      u"[RAM]\r\nEnable=0\r\nUse=90\r\nExe=\r\n\r\n";
  EXPECT_EQ(files.files.at(kIni), Utf16File(settingsText));

  storage.SavePrefs(settings);
  const std::u16string disp =
      u"[Disp]\r\nBack=1\r\nFront=0\r\nIME=1\r\nDate=1\r\nTime=1\r\nCPU=1\r\nCPUCore=0\r\nRAM=1\r\n"
      u"Anime=0\r\nTrayIcon=0\r\n\r\n";
  EXPECT_EQ(files.files.at(kIni), Utf16File(settingsText + disp));
}

TEST_F(Storage, FirstRunExitWithoutOkWritesOnlyDispInTheAnsiCodePage) {
  storage.SavePrefs(settings);
  EXPECT_EQ(files.files.at(kIni),
            "[Disp]\r\nBack=1\r\nFront=0\r\nIME=1\r\nDate=1\r\nTime=1\r\nCPU=1\r\nCPUCore=0\r\nRAM=1\r\n"
            "Anime=0\r\nTrayIcon=0\r\n\r\n");
  EXPECT_FALSE(files.FileExists(kList));

  ansi.utf8 = true;  // a system whose code page is UTF-8 gets the UTF-8 mark
  files.files.clear();
  storage.SavePrefs(settings);
  EXPECT_EQ(files.files.at(kIni).substr(0, 9), "\xEF\xBB\xBF[Disp]");
}

TEST_F(Storage, SaveSettingsKeepsAFileWithoutMark) {
  // Only the preferences were saved so far: ANSI text without a mark. The
  // next OK must keep its "[Disp]" section, not decode it as UTF-16 and drop it.
  files.files[kIni] = Ansi(u"[Disp]\r\nBack=0\r\nFront=1\r\n\r\n[Mine]\r\nx=\xE9\r\n");
  storage.SaveSettings(settings);
  TSettings loaded;
  storage.LoadPrefs(loaded);
  EXPECT_TRUE(loaded.DispFront);
  EXPECT_FALSE(loaded.DispBack);
  const std::string bytes = files.files.at(kIni);
  EXPECT_EQ(bytes.substr(0, 2), "\xFF\xFE");
  EXPECT_NE(bytes.find(Utf16File(u"[Mine]\r\nx=\xE9\r\n").substr(2)), std::string::npos);
}

TEST_F(Storage, SavePrefsWritesBackInTheEncodingItRead) {
  struct Case { std::string bytes; std::string mark; };
  const Case cases[] = {
      {"\xEF\xBB\xBF[A]\r\nk=\xC3\xA9\r\n", "\xEF\xBB\xBF"},
      {Utf16File(u"[A]\r\nk=\u00E9\r\n"), "\xFF\xFE"},
      {std::string("\xFE\xFF\0[\0A\0]\0\r\0\n\0k\0=\0\xE9", 20), "\xFE\xFF"},
  };
  for (const auto& c : cases) {
    files.files[kIni] = c.bytes;
    storage.SavePrefs(settings);
    const std::string written = files.files.at(kIni);
    EXPECT_EQ(written.substr(0, c.mark.size()), c.mark);
    TSettings t;
    t.DispIME = false;
    storage.LoadPrefs(t);
    EXPECT_TRUE(t.DispIME);  // the section was written and reads back
  }
  // The unknown key survived in each encoding.
  files.files[kIni] = Utf16File(u"[A]\r\nk=\u00E9\r\n");
  storage.SavePrefs(settings);
  EXPECT_NE(files.files.at(kIni).find(Utf16File(u"k=\u00E9").substr(2)), std::string::npos);
}

TEST_F(Storage, LoadSettingsReadsEveryKeyWithItsDefault) {
  files.files[kIni] = Utf16File(
      u"[Disable]\r\nDialog=1\r\n[Format]\r\nDate=2\r\nTime=3\r\nName=1\r\nUpdate=4\r\n"
      u"[Whistle]\r\nEnable=1\r\nTime=20\r\nWavEnable=1\r\nWavFile= C:\\chime.wav \r\n"
      u"[Alarm]\r\nEnable=1\r\nTime=5\r\nHour=7\r\nMin=30\r\nWavEnabled=1\r\nWavFile=C:\\a.wav\r\n"
      u"[RAM]\r\nEnable=1\r\nUse=80\r\nExe=C:\\Tools\\free.exe /q\r\n");
  storage.LoadSettings(settings);
  EXPECT_TRUE(settings.DisableDialog);
  EXPECT_EQ(settings.FormatDate, 2);
  EXPECT_EQ(settings.FormatTime, 3);
  EXPECT_TRUE(settings.FormatName);
  EXPECT_EQ(settings.FormatUpdate, 4);
  EXPECT_TRUE(settings.WhistleEnable && settings.WhistleWavEnable);
  EXPECT_EQ(settings.WhistleTime, 20);
  EXPECT_EQ(settings.WhistleWavFile, u"C:\\chime.wav");  // blanks at the ends are not kept
  EXPECT_TRUE(settings.AlarmEnable && settings.AlarmWavEnabled);
  EXPECT_EQ(settings.AlarmTime, 5);
  EXPECT_EQ(settings.AlarmHour, 7);
  EXPECT_EQ(settings.AlarmMin, 30);
  EXPECT_EQ(settings.AlarmWavFile, u"C:\\a.wav");
  EXPECT_TRUE(settings.RAMEnable);
  EXPECT_EQ(settings.RAMUse, 80);
  EXPECT_EQ(settings.RAMExe, u"C:\\Tools\\free.exe /q");
}

TEST_F(Storage, UpdateTexts) {
  const std::pair<const char16_t*, int> cases[] = {{u"abc", 1}, {u"12", 12}, {u"0x3", 3}, {u"", 1}, {u"-2", -2}};
  for (const auto& [text, value] : cases) {
    settings.FormatUpdate = 7;
    files.files[kIni] = Utf16File(u"[Format]\r\nUpdate=" + Text(text) + u"\r\n");
    storage.LoadSettings(settings);
    EXPECT_EQ(settings.FormatUpdate, value) << ToUtf8(text);
  }
  // Out of range stays in the model as it is; the timer still gets a sane interval.
  EXPECT_EQ(settings.TimerIntervalMs(), 1000u);
}

TEST_F(Storage, CancelOnFirstRunKeepsEditsOfAbsentKeysButNotTheInterval) {
  settings.WhistleTime = 20;
  settings.FormatUpdate = 5;
  settings.DisabledPrograms = {u"added.exe"};
  storage.LoadSettings(settings);
  EXPECT_EQ(settings.WhistleTime, 20);
  EXPECT_EQ(settings.FormatUpdate, 1);
  EXPECT_TRUE(settings.DisabledPrograms.empty());

  files.files[kIni] = Utf16File(u"[Whistle]\r\nTime=10\r\n");
  settings.WhistleTime = 20;
  storage.LoadSettings(settings);
  EXPECT_EQ(settings.WhistleTime, 10);
}

TEST_F(Storage, LegacyListIsMergedOnceAndRetiredByTheFirstSave) {
  files.files[kIni] = Ansi(u"[Disable]\r\nCount=2\r\n0=a.exe\r\n1=b.exe\r\n");
  files.files[kList] = Ansi(u"c.exe\r\n");
  const std::vector<Text> expected = {u"c.exe", u"a.exe", u"b.exe", u""};
  storage.LoadSettings(settings);
  EXPECT_EQ(settings.DisabledPrograms, expected);
  storage.LoadSettings(settings);  // a cancel reloads: still once
  EXPECT_EQ(settings.DisabledPrograms, expected);

  storage.SaveSettings(settings);
  EXPECT_EQ(files.files.at(kList), Utf16File(u"c.exe\r\na.exe\r\nb.exe\r\n\r\n"));
  storage.LoadSettings(settings);
  EXPECT_EQ(settings.DisabledPrograms, expected);
  // The numbered keys stay in the file but are no longer read.
  const std::string ini = files.files.at(kIni);
  EXPECT_NE(ini.find(Utf16File(u"Count=-1").substr(2)), std::string::npos);
  EXPECT_NE(ini.find(Utf16File(u"0=a.exe").substr(2)), std::string::npos);
}

// The legacy list as an earlier version's reader took it: keys "0" to
// "<Count>", each looked up on its own, a missing one an empty entry.
std::vector<Text> LegacyListAsRead(const IniFile& ini) {
  std::vector<Text> list;
  const std::int32_t count = ini.ReadInteger(u"Disable", u"Count", -1);
  for (std::int32_t k = 0; k <= count; ++k) list.push_back(ini.ReadString(u"Disable", DecimalText(k), Text()));
  return list;
}

TEST_F(Storage, LegacyListsOfEarlierVersionsReadExactlyAsTheyAlwaysDid) {
  // n entries under keys 0 to n-1, with Count as n (the reader's extra empty
  // entry) or as the last key; empty values, blanks and Japanese names.
  for (int n = 0; n <= 40; ++n) {
    for (const int count : {n, n - 1}) {
      if (count < 0) continue;
      Text section = u"[Disable]\r\nCount=" + DecimalText(count) + u"\r\n";
      for (int k = 0; k < n; ++k) {
        Text value = u"p" + DecimalText(k) + u".exe";
        if (k % 5 == 1) value = u"メモ帳 " + DecimalText(k) + u".exe";
        if (k % 7 == 3) value.clear();
        section += DecimalText(k) + u"=" + value + u"\r\n";
      }
      const Text content = u"[Format]\r\nDate=1\r\n" + section + u"Dialog=1\r\n";
      files.files[kIni] = Utf16File(content);
      storage.LoadSettings(settings);
      EXPECT_EQ(settings.DisabledPrograms, LegacyListAsRead(IniFile(content))) << n << " entries, Count=" << count;
    }
  }
}

TEST_F(Storage, HandEditedLegacyListsKeepEveryKeyButCannotExplode) {
  struct Case {
    const char* what;
    const char16_t* section;
    std::vector<Text> list;
  };
  const Case cases[] = {
      {"only the last key", u"Count=3\r\n3=notepad.exe", {u"", u"", u"", u"notepad.exe"}},
      {"gaps and the missing last key", u"Count=5\r\n0=a.exe\r\n2=c.exe", {u"a.exe", u"", u"c.exe", u""}},
      {"keys above Count", u"Count=1\r\n0=a.exe\r\n1=b.exe\r\n2=c.exe", {u"a.exe", u"b.exe"}},
      {"keys in any order", u"Count=2\r\n2=c.exe\r\n0=a.exe\r\n1=b.exe", {u"a.exe", u"b.exe", u"c.exe"}},
      {"a key twice: the later line", u"Count=0\r\n0=a.exe\r\n0=b.exe", {u"b.exe"}},
      {"absurd Count", u"Count=2147483647\r\n0=a.exe", {u"a.exe", u""}},
      {"absurd Count in hexadecimal", u"Count=$7FFFFFFF\r\n0=a.exe\r\n1=b.exe", {u"a.exe", u"b.exe", u""}},
      {"absurd Count, no keys", u"Count=2147483647", {u""}},
      {"other spellings are other keys", u"Count=9\r\n00=a.exe\r\n+1=b.exe\r\n1a=c.exe\r\n 1 = d.exe",
       {u"", u"d.exe", u""}},
      {"a line without \"=\"", u"Count=1\r\n0\r\n1=b.exe", {u"", u"b.exe"}},
      {"Count below zero", u"Count=-2\r\n0=a.exe", {}},
  };
  for (const auto& c : cases) {
    files.files[kIni] = Ansi(Text(u"[Disable]\r\n") + c.section + u"\r\n");
    storage.LoadSettings(settings);
    EXPECT_EQ(settings.DisabledPrograms, c.list) << c.what;
  }

  // A lone far key is honoured; the empty entries before it are bounded by
  // the file's size, not by the key.
  const Text far = u"[Disable]\r\nCount=2147483647\r\n2000000000=far.exe\r\n";
  files.files[kIni] = Ansi(far);
  storage.LoadSettings(settings);
  ASSERT_FALSE(settings.DisabledPrograms.empty());
  EXPECT_LE(settings.DisabledPrograms.size(), far.size() + 2);
  EXPECT_EQ(settings.DisabledPrograms[settings.DisabledPrograms.size() - 2], u"far.exe");
  EXPECT_EQ(settings.DisabledPrograms.back(), u"");
}

TEST_F(Storage, ListFileLines) {
  struct Case { std::string bytes; std::vector<Text> entries; };
  const Case cases[] = {
      {"\xFF\xFE", {}},
      {Utf16File(u"a.exe\r\nb.exe\r\n"), {u"a.exe", u"b.exe"}},
      {Utf16File(u"a.exe\r\n\r\n"), {u"a.exe", u""}},
      {Utf16File(u" a.exe \rb.exe\nc.exe"), {u" a.exe ", u"b.exe", u"c.exe"}},  // untrimmed
      {Utf16File(u"x.exe\r\nx.exe\r\n"), {u"x.exe", u"x.exe"}},
      {"plain.exe\r\n\xE9.exe", {u"plain.exe", u"\u00E9.exe"}},  // no mark: ANSI
      {"\xEF\xBB\xBF\xC3\xA9.exe\n", {u"\u00E9.exe"}},
  };
  for (const auto& c : cases) {
    files.files[kList] = c.bytes;
    storage.LoadSettings(settings);
    EXPECT_EQ(settings.DisabledPrograms, c.entries);
  }
}

TEST_F(Storage, DispPairAndItems) {
  struct Case { const char16_t* disp; bool back, front; };
  const Case cases[] = {{u"Back=1\r\nFront=1", false, true},
                        {u"Back=0\r\nFront=0", false, false},
                        {u"Front=1", false, true},
                        {u"", true, false}};
  for (const auto& c : cases) {
    TSettings t;
    files.files[kIni] = Utf16File(u"[Disp]\r\n" + Text(c.disp) + u"\r\n");
    storage.LoadPrefs(t);
    EXPECT_EQ(t.DispBack, c.back) << ToUtf8(c.disp);
    EXPECT_EQ(t.DispFront, c.front) << ToUtf8(c.disp);
  }
  files.files[kIni] = Ansi(u"[disp]\r\nIME=0\r\nDate=0\r\nTime=0\r\nCPU=0\r\nCPUCore=1\r\nRAM=0\r\nAnime=1\r\nTrayIcon=1\r\n");
  storage.LoadPrefs(settings);
  EXPECT_FALSE(settings.DispIME || settings.DispDate || settings.DispTime || settings.DispCPU || settings.DispRAM);
  EXPECT_TRUE(settings.DispCPUCore && settings.DispAnime && settings.DispTrayIcon);
}

TEST_F(Storage, UnknownSectionsAndKeysSurviveBothSavesCommentsDoNot) {
  files.files[kIni] = Utf16File(
      u"[Extra]\r\n; note\r\nfoo=bar\r\n\r\n[Format]\r\nDate=2\r\nMine=1\r\n\r\n[Disp]\r\nBack=1\r\n");
  storage.LoadSettings(settings);
  storage.SaveSettings(settings);
  storage.SavePrefs(settings);
  const std::string text = files.files.at(kIni);
  const std::string head = Utf16File(u"[Extra]\r\nfoo=bar\r\n\r\n[Format]\r\n");
  EXPECT_EQ(text.substr(0, head.size()), head);
  EXPECT_NE(text.find(Utf16File(u"Date=2\r\nMine=1\r\nTime=0").substr(2)), std::string::npos);
  EXPECT_EQ(text.find(Utf16File(u"note").substr(2)), std::string::npos);
}

TEST_F(Storage, ErrorsCarryTheExactTexts) {
  files.files[kIni] = "\xFF\xFE";
  files.unreadable.insert(kIni);
  EXPECT_EQ(Error([&] { storage.LoadPrefs(settings); }),
            u"ファイル " + kIni + u" は開けません。 error 32 ");
  files.unreadable.clear();
  files.unwritable.insert(kIni);
  const std::string before = files.files.at(kIni);
  EXPECT_EQ(Error([&] { storage.SavePrefs(settings); }),
            u"ファイル \"" + kIni + u"\" を作成できません。アクセスが拒否されました");
  EXPECT_EQ(files.files.at(kIni), before);

  // The list is written first: a failing INI leaves the new list in place.
  settings.DisabledPrograms = {u"x.exe"};
  EXPECT_NE(Error([&] { storage.SaveSettings(settings); }), u"(no error)");
  EXPECT_EQ(files.files.at(kList), Utf16File(u"x.exe\r\n"));
  EXPECT_EQ(files.files.at(kIni), before);
}

TEST_F(Storage, JapanesePathRoundTripsThroughUtf16) {
  settings.WhistleWavFile = u"C:\\音\\時報.wav";
  storage.SaveSettings(settings);
  TSettings loaded;
  storage.LoadSettings(loaded);
  EXPECT_EQ(loaded.WhistleWavFile, u"C:\\音\\時報.wav");
}

}  // namespace
}  // namespace velmora
