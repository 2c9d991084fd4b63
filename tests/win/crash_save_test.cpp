// Settings saves killed at random moments: each file is always either its
// old or its new content, byte for byte.
#include <gtest/gtest.h>

#include <random>
#include <set>

#include "core/settings_storage.h"
#include "saver_states.h"
#include "support.h"
#include "win32/settings_files.h"
#include "win32/wide.h"

namespace velmora::win32 {
namespace {

using velmora::testing::BinDir;
using velmora::testing::ChildProcess;
using velmora::testing::ReadBytes;
using velmora::testing::WaitFor;

Text ScratchFolder(const wchar_t* name) {
  wchar_t temp[MAX_PATH] = {};
  ::GetTempPathW(MAX_PATH, temp);
  const Text folder = FromWide(temp) + FromWide(name) + DecimalText(::GetCurrentProcessId()) + u"\\";
  ::CreateDirectoryW(Wide(folder), nullptr);
  return folder;
}

// The bytes both files hold after a save of each state.
struct Expected {
  std::set<std::string> ini, list;
};

Expected ExpectedContents() {
  Win32SettingsFiles files;
  Win32CodePage ansi;
  const Text folder = ScratchFolder(L"velmora-expected-");
  SettingsStorage storage(files, ansi, folder);
  Expected e;
  auto record = [&] {
    e.ini.insert(ReadBytes(std::wstring(Wide(folder + kIniFileName))));
    e.list.insert(ReadBytes(std::wstring(Wide(folder + kListFileName))));
  };
  // Every state between two operations counts, from the empty folder on;
  // the second round starts from saved files.
  for (int round = 0; round < 2; ++round) {
    for (int which = 0; which < 2; ++which) {
      storage.SaveSettings(SaverState(which));
      record();
      storage.SavePrefs(SaverState(which));
      record();
    }
  }
  for (const char16_t* name : {kIniFileName, kListFileName}) ::DeleteFileW(Wide(folder + name));
  ::RemoveDirectoryW(Wide(folder));
  return e;
}

TEST(CrashSafeSaves, KilledSavesLeaveOldOrNewContent) {
  const Expected expected = ExpectedContents();
  ASSERT_EQ(expected.list.size(), 2u);  // one list per state

  HANDLE mapping = ::CreateFileMappingW(INVALID_HANDLE_VALUE, nullptr, PAGE_READWRITE, 0, sizeof(LONG),
                                        L"VelmoraSaverCount");
  ASSERT_NE(mapping, nullptr);
  auto* count = static_cast<volatile LONG*>(::MapViewOfFile(mapping, FILE_MAP_WRITE, 0, 0, 0));
  ASSERT_NE(count, nullptr);

  const Text folder = ScratchFolder(L"velmora-crash-");
  const std::wstring ini = Wide(folder + kIniFileName), list = Wide(folder + kListFileName);
  std::mt19937 random(12345);
  std::uniform_int_distribution<int> delay(0, 40);
  int kills = 0;
  while (*count < 200 || kills < 40) {
    const LONG before = *count;
    const Text bare = folder.substr(0, folder.size() - 1);  // a final "\" would escape the quote
    ChildProcess saver(BinDir() + L"velmora_saver.exe", L"\"" + std::wstring(Wide(bare)) + L"\"");
    ASSERT_TRUE(saver.Started());
    // Let it get into its saves, then end it wherever it is.
    ASSERT_TRUE(WaitFor([&] { return *count > before; }));
    ::Sleep(static_cast<DWORD>(delay(random)));
    saver.Kill();
    ++kills;
    const std::string iniNow = ReadBytes(ini), listNow = ReadBytes(list);
    ASSERT_TRUE(expected.ini.count(iniNow)) << "torn Velmora.ini after kill " << kills << ", " << iniNow.size()
                                            << " bytes";
    ASSERT_TRUE(expected.list.count(listNow)) << "torn Disable.log after kill " << kills << ", " << listNow.size()
                                              << " bytes";
    ASSERT_LT(kills, 2000);
  }
  EXPECT_GE(*count, 200);
  for (const auto& path : {ini, list}) ::DeleteFileW(path.c_str());
  ::UnmapViewOfFile(const_cast<LONG*>(count));
  ::CloseHandle(mapping);
}

}  // namespace
}  // namespace velmora::win32
