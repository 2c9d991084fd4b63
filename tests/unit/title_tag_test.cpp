#include <gtest/gtest.h>

#include "core/title_tag.h"
#include "fakes.h"  // PrintTo for Text

namespace velmora {
namespace {

TEST(TitleTag, PercentTextClampsToThreeDigits) {
  const std::pair<int, const char16_t*> cases[] = {
      {-1, u"000"}, {0, u"000"}, {7, u"007"}, {45, u"045"}, {100, u"100"}, {250, u"100"},
      {INT32_MIN, u"000"}, {INT32_MAX, u"100"}};
  for (const auto& [v, text] : cases) EXPECT_EQ(PercentText(v), text) << v;
}

TEST(TitleTag, DateFormats) {
  const DayNames names = JapaneseDayNames();
  const LocalTime monday{2024, 1, 15, 1, 13, 5, 9, 0};
  const LocalTime y2k{2000, 12, 31, 0, 0, 0, 0, 0};  // a Sunday, year 00
  struct Case { int format; LocalTime t; const char16_t* text; };
  const Case cases[] = {
      {0, monday, u"24/01/15(月)"}, {1, monday, u"24/01/15"}, {2, monday, u"01/15(月)"},
      {3, monday, u"01/15"}, {0, y2k, u"00/12/31(日)"}, {4, monday, u""}, {-1, monday, u""}};
  for (const auto& c : cases) EXPECT_EQ(DateText(c.format, c.t, names), c.text) << c.format;
}

TEST(TitleTag, TimeFormatsIncludingTwelveHourClockWithoutMarker) {
  auto at = [](int h, int m, int s) { return LocalTime{2024, 1, 15, 1, h, m, s, 0}; };
  struct Case { int format; LocalTime t; const char16_t* text; };
  const Case cases[] = {
      {0, at(13, 5, 9), u"13:05:09"}, {1, at(13, 5, 9), u"13:05"},
      {2, at(13, 5, 9), u"01:05:09"}, {3, at(13, 5, 9), u"01:05"},
      {0, at(0, 30, 0), u"00:30:00"}, {1, at(0, 30, 0), u"00:30"},
      {2, at(0, 30, 0), u"12:30:00"}, {3, at(0, 30, 0), u"12:30"},
      {2, at(0, 0, 30), u"12:00:30"}, {2, at(12, 0, 30), u"12:00:30"},
      {2, at(23, 59, 59), u"11:59:59"}, {2, at(11, 59, 59), u"11:59:59"},
      {4, at(13, 5, 9), u""}, {-7, at(13, 5, 9), u""}};
  for (const auto& c : cases) EXPECT_EQ(TimeText(c.format, c.t), c.text) << c.format << " " << c.t.hour;
}

TEST(TitleTag, MetricTexts) {
  EXPECT_EQ(CpuText(12, false), u"CPU:012");
  EXPECT_EQ(CpuText(-1, false), u"CPU:000");
  EXPECT_EQ(CpuText(12, true), u"012");
  EXPECT_EQ(RamText(45, false), u"RAM:045");
  EXPECT_EQ(RamText(45, true), u"045");
  EXPECT_EQ(CoreText({20, 5}, false), u" CPU1:020 CPU2:005");
  EXPECT_EQ(CoreText({20, 5}, true), u" 020 005");
  EXPECT_EQ(CoreText({}, false), u"");
  std::vector<std::int32_t> twelve(12, 1);
  EXPECT_EQ(CoreText(twelve, false).substr(CoreText(twelve, false).size() - 10), u" CPU12:001");
}

TEST(TitleTag, StripTagByPlacement) {
  const Text tag = u"【 [A] 12:00 】 ";
  struct Case { Text title; bool back; Text stripped; };
  const Case cases[] = {
      {u"Editor【 [A] 12:00 】 ", true, u"Editor"},
      {u"Editor【 [A] 12:00 】 extra", true, u"Editor"},  // the text after the tag goes too
      {u"【 [A] 12:00 】 Editor", false, u"Editor"},
      {u"【 [A] 12:00 】 Editor", true, u""},            // placement switched after decorating
      {u"Editor", true, u"Editor"},
      {u"Editor", false, u"Editor"},
      {u"Editor【 [A] 12:00 】 x【 [A] 12:00 】 ", false, u"Editorx【 [A] 12:00 】 "},  // first only
      {u"Editor【 [A] 12:00 】 x【 [A] 12:00 】 ", true, u"Editor"},
      {u"【 [A] 12:00 】 ", false, u""},
      {u"Editor【 [a] 12:00 】 ", true, u"Editor【 [a] 12:00 】 "},  // case-sensitive
  };
  for (const auto& c : cases) EXPECT_EQ(StripTag(c.title, tag, c.back), c.stripped) << ToUtf8(c.title);
}

TEST(TitleTag, PlaceTagPutsNothingBetween) {
  EXPECT_EQ(PlaceTag(u"Editor", u"【 012 045 】 ", true), u"Editor【 012 045 】 ");
  EXPECT_EQ(PlaceTag(u"Editor", u"【 012 045 】 ", false), u"【 012 045 】 Editor");
}

}  // namespace
}  // namespace velmora
