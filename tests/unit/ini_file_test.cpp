#include <gtest/gtest.h>

#include "core/ini_file.h"
#include "fakes.h"

namespace velmora {
namespace {

TEST(IniFile, ReadingRules) {
  const IniFile ini(
      u"top=ignored\r\n"
      u"  [ Format ]  \n"
      u"; a comment\r"
      u"Date = 2\r\n"
      u"\tName=\x01 1 \x1f\r\n"
      u"flag line\r\n"
      u"[other]\n"
      u"a=1\n"
      u"[FORMAT]\n"
      u"date=3\n"
      u"Empty=\n"
      u"Path=C:\\a b.wav  \n"
      u"Eq=x=y");  // no line end on the last line
  EXPECT_EQ(ini.ReadInteger(u"format", u"DATE", -1), 3);  // merged section, later key wins
  EXPECT_EQ(ini.ReadInteger(u"Format", u"Name", -1), 1);
  EXPECT_EQ(ini.Find(u"Format", u"flag line"), std::nullopt);  // no "=": reads as absent
  EXPECT_EQ(ini.Find(u"Format", u"top"), std::nullopt);
  EXPECT_EQ(ini.ReadString(u"Format", u"Empty", u"default"), u"");  // present but empty
  EXPECT_EQ(ini.ReadString(u"Format", u"Path", u""), u"C:\\a b.wav");
  EXPECT_EQ(ini.ReadString(u"Format", u"Eq", u""), u"x=y");
  EXPECT_EQ(ini.ReadString(u"Format", u"Missing", u"d"), u"d");
  EXPECT_EQ(ini.ReadInteger(u"Other", u"A", 0), 1);
}

TEST(IniFile, IntegerTexts) {
  const std::pair<const char16_t*, std::optional<std::int32_t>> cases[] = {
      {u"12", 12}, {u"-7", -7}, {u"+5", 5}, {u"0x3", 3}, {u"0X1f", 31}, {u"$10", 16}, {u"$FFFFFFFF", -1},
      {u"-$10", -16}, {u"2147483647", INT32_MAX}, {u"-2147483648", INT32_MIN},
      {u"2147483648", std::nullopt}, {u"0x", std::nullopt}, {u"$", std::nullopt}, {u"abc", std::nullopt},
      {u"", std::nullopt}, {u"1 2", std::nullopt}, {u"0x1G", std::nullopt}, {u"$100000000", std::nullopt},
      {u"１２", std::nullopt}, {u"-", std::nullopt}, {u"00012", 12}};
  for (const auto& [text, value] : cases) EXPECT_EQ(ParseIniInteger(text), value) << ToUtf8(text);
}

TEST(IniFile, BooleansAreIntegers) {
  const IniFile ini(u"[s]\na=1\nb=2\nc=-1\nd=0\ne=yes\nf=\n");
  EXPECT_TRUE(ini.ReadBool(u"s", u"a", false));
  EXPECT_TRUE(ini.ReadBool(u"s", u"b", false));
  EXPECT_TRUE(ini.ReadBool(u"s", u"c", false));
  EXPECT_FALSE(ini.ReadBool(u"s", u"d", true));
  EXPECT_TRUE(ini.ReadBool(u"s", u"e", true));  // unknown word: the default
  EXPECT_FALSE(ini.ReadBool(u"s", u"e", false));
  EXPECT_TRUE(ini.ReadBool(u"s", u"f", true));
  EXPECT_FALSE(ini.ReadBool(u"s", u"zz", false));
}

TEST(IniFile, WritingKeepsOrderSpellingAndUnknownLines) {
  IniFile ini(
      u"; header comment\r\n"
      u"[Unknown]\r\n"
      u"Keep = this \r\n"
      u"\r\n"
      u"[format]\r\n"
      u"DATE=1\r\n"
      u"Name=0\r\n"
      u"bare line\r\n"
      u"date=2\r\n"
      u"; dropped\r\n");
  ini.WriteInteger(u"Format", u"Date", 3);   // the later duplicate is changed, in place
  ini.WriteString(u"Format", u"New", u"v");  // new keys at the end of their section
  ini.WriteBool(u"Disp", u"Back", true);     // new sections at the end
  ini.WriteInteger(u"Disp", u"N", -12);
  EXPECT_EQ(ini.Serialize(),
            u"[Unknown]\r\n"
            u"Keep=this\r\n"
            u"\r\n"
            u"[format]\r\n"
            u"DATE=1\r\n"
            u"Name=0\r\n"
            u"bare line\r\n"
            u"date=3\r\n"
            u"New=v\r\n"
            u"\r\n"
            u"[Disp]\r\n"
            u"Back=1\r\n"
            u"N=-12\r\n"
            u"\r\n");
  EXPECT_EQ(IniFile(u"").Serialize(), u"");
  EXPECT_EQ(IniFile(u"; only a comment\r\nkey=before any section").Serialize(), u"");
}

TEST(IniFile, EmptySectionIsKept) {
  const IniFile ini(u"[A]\n[B]\nx=1\n[]\ny=2");
  EXPECT_EQ(ini.Serialize(), u"[A]\r\n\r\n[B]\r\nx=1\r\n\r\n[]\r\ny=2\r\n\r\n");
}

}  // namespace
}  // namespace velmora
