// The settings files on a real disk: folders, atomic replacement, errors
// with the platform's texts, and the Japanese code page.
#include <gtest/gtest.h>

#include <shlobj.h>

#include "core/errors.h"
#include "core/settings_storage.h"
#include "support.h"
#include "win32/settings_files.h"
#include "win32/wide.h"

namespace velmora::win32 {
namespace {

using velmora::testing::ReadBytes;
using velmora::testing::TestWindow;
using velmora::testing::WriteBytes;

// The real file system, with the roaming folder moved to a scratch folder.
class ScratchFiles : public SettingsFiles {
 public:
  explicit ScratchFiles(Text appData) : appData_(std::move(appData)) {}
  std::optional<Text> SpecialFolder(int csidl) override {
    return csidl == CSIDL_APPDATA ? std::optional<Text>(appData_) : real_.SpecialFolder(csidl);
  }
  bool DirectoryExists(const Text& p) override { return real_.DirectoryExists(p); }
  void MakeDirectory(const Text& p) override { real_.MakeDirectory(p); }
  bool FileExists(const Text& p) override { return real_.FileExists(p); }
  bool ReadWholeFile(const Text& p, std::string& b, std::uint32_t& e) override { return real_.ReadWholeFile(p, b, e); }
  bool ReplaceFileAtomically(const Text& p, const std::string& b, std::uint32_t& e) override {
    return real_.ReplaceFileAtomically(p, b, e);
  }
  Text ErrorText(std::uint32_t e) override { return real_.ErrorText(e); }

 private:
  Win32SettingsFiles real_;
  Text appData_;
};

std::wstring W(const Text& t) { return std::wstring(Wide(t)); }

size_t FilesIn(const Text& folder) {
  WIN32_FIND_DATAW data;
  HANDLE find = ::FindFirstFileW((W(folder) + L"\\*").c_str(), &data);
  if (find == INVALID_HANDLE_VALUE) return 0;
  size_t n = 0;
  do {
    if (!(data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)) ++n;
  } while (::FindNextFileW(find, &data));
  ::FindClose(find);
  return n;
}

std::string ListFolder(const Text& folder) {
  std::string names;
  WIN32_FIND_DATAW data;
  HANDLE find = ::FindFirstFileW((W(folder) + L"\\*").c_str(), &data);
  if (find == INVALID_HANDLE_VALUE) return names;
  do names += velmora::testing::Narrow(data.cFileName) + " ";
  while (::FindNextFileW(find, &data));
  ::FindClose(find);
  return names;
}

class SettingsFilesTest : public ::testing::Test {
 protected:
  void SetUp() override {
    wchar_t temp[MAX_PATH] = {};
    ::GetTempPathW(MAX_PATH, temp);
    root_ = FromWide(temp) + u"velmora-test-" + DecimalText(::GetCurrentProcessId()) + u"-" +
            DecimalText(::GetTickCount());
    ASSERT_TRUE(::CreateDirectoryW(Wide(root_), nullptr));
    files_ = std::make_unique<ScratchFiles>(root_);
    ASSERT_TRUE(PrepareDataFolder(*files_, u"Velmora", false, folder_));
    storage_ = std::make_unique<SettingsStorage>(*files_, ansi_, folder_);
  }
  void TearDown() override {
    // Best effort; the scratch folder lives in the test prefix's temp folder.
    for (const char16_t* name : {u"Velmora.ini", u"Disable.log"}) ::DeleteFileW(Wide(folder_ + name));
    ::RemoveDirectoryW(Wide(folder_ + u"Velmora.ini"));
    ::RemoveDirectoryW(Wide(folder_));
    ::RemoveDirectoryW(Wide(root_ + u"\\Orvane"));
    ::RemoveDirectoryW(Wide(root_));
  }
  Text SaveError(const std::function<void()>& save) {
    try {
      save();
    } catch (const Exception& e) {
      return e.Message();
    }
    return u"(no error)";
  }

  Text root_, folder_;
  std::unique_ptr<ScratchFiles> files_;
  Win32CodePage ansi_;
  std::unique_ptr<SettingsStorage> storage_;
  TSettings settings_;
};

TEST_F(SettingsFilesTest, FirstRunCreatesBothFoldersAndWritesTheFiles) {
  EXPECT_EQ(folder_, root_ + u"\\Orvane\\Velmora\\");
  EXPECT_TRUE(files_->DirectoryExists(root_ + u"\\Orvane"));
  EXPECT_TRUE(files_->DirectoryExists(root_ + u"\\Orvane\\Velmora"));

  storage_->LoadSettings(settings_);
  storage_->SaveSettings(settings_);
  storage_->SavePrefs(settings_);
  EXPECT_EQ(ReadBytes(W(folder_ + u"Disable.log")), "\xFF\xFE");
  const std::string ini = ReadBytes(W(folder_ + u"Velmora.ini"));
  EXPECT_EQ(ini.substr(0, 22), std::string("\xFF\xFE[\0D\0i\0s\0a\0b\0l\0e\0]\0\r\0\n\0", 22));
  EXPECT_EQ(FilesIn(folder_), 2u);  // no temporary file left behind
}

TEST_F(SettingsFilesTest, RealRoamingFolderIsFound) {
  Win32SettingsFiles real;
  const Text appData = GetSpecialFolder(real, 1);
  ASSERT_FALSE(appData.empty());
  EXPECT_TRUE(real.DirectoryExists(appData));
  EXPECT_NE(appData.back(), u'\\');
}

TEST_F(SettingsFilesTest, FileHeldOpenWithoutSharingFailsTheSaveAndKeepsTheOriginal) {
  const Text ini = folder_ + u"Velmora.ini";
  const std::string original = "[Disp]\r\nBack=0\r\n\r\n";
  ASSERT_TRUE(WriteBytes(W(ini), original));
  TestWindow holder(L"Holding the settings", L"hold", W(ini));
  ASSERT_NE(holder.Hwnd(), nullptr);

  const Text message = SaveError([&] { storage_->SavePrefs(settings_); });
  EXPECT_EQ(message.rfind(u"ファイル " + ini + u" は開けません。 ", 0), 0u) << ToUtf8(message);
  EXPECT_EQ(message.back(), u' ');
  EXPECT_GT(message.size(), (u"ファイル " + ini + u" は開けません。  ").size());  // the platform's reason
  holder.Process().Kill();
  EXPECT_EQ(ReadBytes(W(ini)), original);
}

TEST_F(SettingsFilesTest, FileThatCannotBeReplacedFailsWithTheCreateMessage) {
  const Text ini = folder_ + u"Velmora.ini";
  const std::string original = "[Disp]\r\nBack=0\r\n\r\n";
  ASSERT_TRUE(WriteBytes(W(ini), original));
  // Readable, but another program keeps it from being replaced.
  TestWindow holder(L"Reading the settings", L"hold-read", W(ini));
  ASSERT_NE(holder.Hwnd(), nullptr);

  const Text message = SaveError([&] { storage_->SavePrefs(settings_); });
  const Text expected = u"ファイル \"" + ini + u"\" を作成できません。";
  EXPECT_EQ(message.rfind(expected, 0), 0u) << ToUtf8(message);
  EXPECT_GT(message.size(), expected.size());
  holder.Process().Kill();
  EXPECT_EQ(ReadBytes(W(ini)), original);
  EXPECT_EQ(FilesIn(folder_), 1u) << ListFolder(folder_);  // the temporary file was removed
}

TEST_F(SettingsFilesTest, FolderStandingAtTheFilePathFailsTheSave) {
  const Text ini = folder_ + u"Velmora.ini";
  ASSERT_TRUE(::CreateDirectoryW(Wide(ini), nullptr));
  storage_->LoadPrefs(settings_);  // not a file: reads as missing
  const Text message = SaveError([&] { storage_->SaveSettings(settings_); });
  EXPECT_EQ(message.rfind(u"ファイル \"" + ini + u"\" を作成できません。", 0), 0u) << ToUtf8(message);
  EXPECT_TRUE(files_->DirectoryExists(ini));
  EXPECT_EQ(ReadBytes(W(folder_ + u"Disable.log")), "\xFF\xFE");  // the list went first
}

TEST_F(SettingsFilesTest, FileWithoutMarkIsReadInTheJapaneseCodePage) {
  ASSERT_EQ(::GetACP(), 932u) << "the tests run with a Japanese locale";
  // "C:\音\時報.wav" in Shift-JIS.
  const std::string sjisPath = "C:\\\x89\xB9\\\x8E\x9E\x95\xF1.wav";
  ASSERT_TRUE(WriteBytes(W(folder_ + u"Velmora.ini"), "[Whistle]\r\nWavFile=" + sjisPath + "\r\n"));
  ASSERT_TRUE(WriteBytes(W(folder_ + u"Disable.log"), "\x83\x81\x83\x82\x92\xA0.exe\r\n"));  // メモ帳.exe
  storage_->LoadSettings(settings_);
  EXPECT_EQ(settings_.WhistleWavFile, u"C:\\音\\時報.wav");
  EXPECT_EQ(settings_.DisabledPrograms, std::vector<Text>{u"メモ帳.exe"});

  storage_->SaveSettings(settings_);
  TSettings reloaded;
  storage_->LoadSettings(reloaded);
  EXPECT_EQ(reloaded.WhistleWavFile, u"C:\\音\\時報.wav");
  EXPECT_EQ(reloaded.DisabledPrograms, std::vector<Text>{u"メモ帳.exe"});

  // The preferences alone, on a first run, are written in the code page.
  ::DeleteFileW(Wide(folder_ + u"Velmora.ini"));
  storage_->SavePrefs(reloaded);
  EXPECT_EQ(ReadBytes(W(folder_ + u"Velmora.ini")).substr(0, 8), "[Disp]\r\n");
}

TEST_F(SettingsFilesTest, ErrorTextIsThePlatformsWithoutLineBreak) {
  Win32SettingsFiles real;
  const Text text = real.ErrorText(ERROR_ACCESS_DENIED);
  ASSERT_FALSE(text.empty());
  EXPECT_GT(text.back(), u' ');
  EXPECT_NE(text.back(), u'.');
}

}  // namespace
}  // namespace velmora::win32
