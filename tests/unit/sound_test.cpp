#include <gtest/gtest.h>

#include <stdexcept>

#include "core/sound.h"
#include "fakes.h"

namespace velmora {
namespace {

TEST(DriveReady, FirstCharacterNamesTheDrive) {
  struct Case {
    const char16_t* path;
    bool ready;
    const char* query;  // the root asked about; nullptr: no platform call at all
  };
  const Case cases[] = {
      {u"", false, nullptr},
      {u"c:\\Sounds\\chime.wav", true, "disk C:\\"},
      {u"C:\\Sounds\\chime.wav", true, "disk C:\\"},
      {u"c", true, "disk C:\\"},
      {u"chime.wav", true, "disk C:\\"},  // relative: judged by drive C
      {u"x.wav", false, "disk X:\\"},
      {u"E:\\chime.wav", false, "disk E:\\"},
      {u"\\\\server\\share\\chime.wav", true, nullptr},
      {u"\\Sounds\\chime.wav", true, nullptr},
      {u"1:\\chime.wav", false, nullptr},
      {u".\\chime.wav", false, nullptr},
      {u"Ｃ:\\chime.wav", false, nullptr},  // full-width letter
      {u"ｃ:\\chime.wav", false, nullptr},
      {u"é:\\chime.wav", false, nullptr},
      {u"@:\\", false, nullptr},
      {u"[:\\", false, nullptr},
  };
  for (const auto& c : cases) {
    FakeDiskAndSound disk;
    SCOPED_TRACE(ToUtf8(c.path));
    EXPECT_EQ(DriveReady(disk, c.path), c.ready);
    if (c.query) {
      EXPECT_EQ(disk.log, (std::vector<std::string>{"mode 1", c.query, "mode 32768"}));
      EXPECT_EQ(disk.modeDuringQuery, std::vector<std::uint32_t>{1});
    } else {
      EXPECT_TRUE(disk.log.empty());
    }
    EXPECT_EQ(disk.errorMode, 0x8000u) << "the kept mode is put back";
  }
}

// A disk query that throws still leaves the error mode as it was.
class ThrowingDisk : public FakeDiskAndSound {
 public:
  bool DiskSpaceKnown(const Text&) override { throw std::runtime_error("device gone"); }
};

TEST(DriveReady, ErrorModeIsPutBackOnEveryWayOut) {
  ThrowingDisk disk;
  disk.errorMode = 0x0003;
  EXPECT_THROW(DriveReady(disk, u"D:\\a.wav"), std::runtime_error);
  EXPECT_EQ(disk.errorMode, 0x0003u);
}

TEST(FileExistsReady, AsksTheFileSystemOnlyOnAReadyDrive) {
  FakeDiskAndSound disk;
  disk.files = {u"C:\\a.wav", u"E:\\b.wav", u"1:\\c.wav", u"\\\\server\\d.wav"};
  EXPECT_TRUE(FileExistsReady(disk, u"C:\\a.wav"));
  EXPECT_FALSE(FileExistsReady(disk, u"C:\\missing.wav"));
  EXPECT_TRUE(FileExistsReady(disk, u"\\\\server\\d.wav"));
  disk.log.clear();
  EXPECT_FALSE(FileExistsReady(disk, u"E:\\b.wav"));
  EXPECT_FALSE(FileExistsReady(disk, u"1:\\c.wav"));
  for (const auto& line : disk.log) EXPECT_EQ(line.rfind("exists", 0), std::string::npos) << line;
}

TEST(PlayWave, PlaysExistingFilesAsynchronouslyWithoutADefaultSound) {
  FakeDiskAndSound disk;
  disk.files = {u"C:\\a.wav", u"C:\\b.wav"};
  PlayWave(disk, u"");
  EXPECT_TRUE(disk.log.empty()) << "an empty path makes no platform call";
  PlayWave(disk, u"C:\\missing.wav");
  PlayWave(disk, u"Ｃ:\\a.wav");
  EXPECT_TRUE(disk.Played().empty());
  PlayWave(disk, u"C:\\a.wav");
  PlayWave(disk, u"C:\\b.wav");  // no SND_NOSTOP: the second replaces the first
  EXPECT_EQ(disk.Played(), (std::vector<std::string>{"play C:\\a.wav 3", "play C:\\b.wav 3"}));
}

}  // namespace
}  // namespace velmora
