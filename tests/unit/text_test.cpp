#include <gtest/gtest.h>

#include "core/errors.h"
#include "core/text.h"
#include "fakes.h"

namespace velmora {
namespace {

TEST(Text, FileNamePartTakesTextAfterLastBackslashOrColon) {
  const std::pair<Text, Text> cases[] = {
      {u"C:\\Tools\\editor.exe", u"editor.exe"},
      {u"C:editor.exe", u"editor.exe"},
      {u"editor.exe", u"editor.exe"},
      {u"\\\\server\\share\\a.exe", u"a.exe"},
      {u"C:\\Tools\\", u""},
      {u"", u""},
  };
  for (const auto& [path, name] : cases) EXPECT_EQ(Text(FileNamePart(path)), name) << ToUtf8(path);
}

TEST(Text, CaseFoldingTouchesOnlyAsciiLetters) {
  EXPECT_EQ(AsciiUpper(u"editor-Ä-ａ.exe"), u"EDITOR-Ä-ａ.EXE");
  EXPECT_EQ(AsciiLower(u"EDITOR-Ä-Ａ.EXE"), u"editor-Ä-Ａ.exe");
  EXPECT_TRUE(EqualsAsciiNoCase(u"EDITOR.exe", u"editor.EXE"));
  EXPECT_FALSE(EqualsAsciiNoCase(u"ä.exe", u"Ä.exe"));
  EXPECT_FALSE(EqualsAsciiNoCase(u"a.exe", u"a.exe "));
}

TEST(Text, Utf8RoundTripKeepsJapaneseAndSurrogatePairs) {
  const Text s = u"【 [あ] 24/01/15(月) 】 \U0001F600";
  EXPECT_EQ(FromUtf8(ToUtf8(s)), s);
  EXPECT_EQ(ToUtf8(u"水"), "\xE6\xB0\xB4");
}

TEST(ErrorBox, AppendsPeriodOnlyAfterCharactersAboveIt) {
  EXPECT_EQ(ErrorBoxText(u"Library not found: pdh.dll"), u"Library not found: pdh.dll.");
  EXPECT_EQ(ErrorBoxText(u"done."), u"done.");
  EXPECT_EQ(ErrorBoxText(u"what?"), u"what?.");  // '?' is above '.'
  EXPECT_EQ(ErrorBoxText(u"a-"), u"a-");        // '-' is below '.'
  EXPECT_EQ(ErrorBoxText(u"notepad.exeを起動できません。"), u"notepad.exeを起動できません。.");
  EXPECT_EQ(ErrorBoxText(u""), u"");
}

}  // namespace
}  // namespace velmora
