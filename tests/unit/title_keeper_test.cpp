#include <gtest/gtest.h>

#include <algorithm>

#include "core/decoration_cycle.h"
#include "core/title_keeper.h"
#include "fakes.h"

namespace velmora {
namespace {

constexpr WindowHandle kLast = 1, kOther = 2;
const Text kTag = u"【 [A] 12:00 】 ";

class Keeper : public ::testing::Test {
 protected:
  Keeper() {
    wm.Add(kLast, {.title = u"Editor"});
    wm.Add(kOther, {.title = u"Other"});
    state.MhWndOld = kLast;
    state.MME = kTag;
  }
  bool Wrote(WindowHandle w) const {
    const std::string prefix = "set " + std::to_string(w) + " ";
    return std::any_of(wm.log.begin(), wm.log.end(), [&](const std::string& l) { return l.rfind(prefix, 0) == 0; });
  }

  FakeWindowManager wm;
  TSettings settings;
  CycleState state;
  TitleKeeper keeper{wm, settings, state};
};

// The first occurrence of MME, removed as the placement in force says, in
// the title of whichever window is at hand.
TEST_F(Keeper, StripsTheFirstOccurrenceOfTheTagFromAnyWindow) {
  struct Case {
    const char* what;
    Text title;
    Text mme;
    bool back;
    Text stripped;
  };
  const Case cases[] = {
      {"no tag", u"Editor", kTag, true, u"Editor"},
      {"no tag, front", u"Editor", kTag, false, u"Editor"},
      {"back: the text after the tag goes too", u"Editor【 [A] 12:00 】 extra", kTag, true, u"Editor"},
      {"front", u"【 [A] 12:00 】 Editor", kTag, false, u"Editor"},
      {"decorated in front, stripped after the switch to back", u"【 [A] 12:00 】 Editor", kTag, true, u""},
      {"the placeholder on the first tick", u"Notes【Velmora】 draft", kPlaceholderTag, true, u"Notes"},
      {"the placeholder on the first tick, front", u"Notes【Velmora】 draft", kPlaceholderTag, false,
       u"Notes draft"},
      {"the tag twice, back", u"Notes【 [A] 12:00 】 【 [A] 12:00 】 ", kTag, true, u"Notes"},
      {"the tag twice, front", u"A【 [A] 12:00 】 B【 [A] 12:00 】 ", kTag, false, u"AB【 [A] 12:00 】 "},
      {"case-sensitive", u"Editor【 [a] 12:00 】 ", kTag, true, u"Editor【 [a] 12:00 】 "},
      {"no length limit", Text(5000, u'x') + kTag, kTag, true, Text(5000, u'x')},
  };
  for (const Case& c : cases) {
    for (const WindowHandle w : {kLast, kOther}) {
      SCOPED_TRACE(std::string(c.what) + (w == kLast ? ", the window decorated last" : ", another window"));
      wm.windows.at(w).title = c.title;
      state.MME = c.mme;
      c.back ? settings.SetDispBack(true) : settings.SetDispFront(true);
      Text read;
      EXPECT_EQ(keeper.GetStrippedTitle(w, &read), c.stripped);
      EXPECT_EQ(read, c.title);
      // Written back as stripped, also when nothing was removed or nothing is left.
      wm.log.clear();
      keeper.RestoreTitle(w);
      EXPECT_EQ(wm.Title(w), c.stripped);
      EXPECT_TRUE(Wrote(w));
    }
  }
}

TEST_F(Keeper, NoTitleMeansEmptyAndAnUnreadableTitleIsLeftAlone) {
  wm.Add(3, {.title = u""});
  wm.Add(4, {.title = u"Huge" + kTag, .unreadable = true});
  EXPECT_EQ(keeper.GetStrippedTitle(0), u"");
  EXPECT_EQ(keeper.GetStrippedTitle(3), u"");
  EXPECT_EQ(keeper.GetStrippedTitle(4), u"");
  EXPECT_EQ(keeper.GetStrippedTitle(99), u"");  // destroyed
  wm.log.clear();
  keeper.RestoreTitle(0);
  keeper.RestoreTitle(4);
  keeper.RestoreTitle(99);
  EXPECT_FALSE(Wrote(0));
  EXPECT_FALSE(Wrote(4));
  EXPECT_EQ(wm.Title(4), u"Huge" + kTag);
  EXPECT_TRUE(keeper.Late().Pending().empty());
  keeper.RestoreTitle(3);  // an empty title is written back empty
  EXPECT_TRUE(Wrote(3));
}

// Tags written before MME are still ours: a copy of a decorated title taken
// a tick earlier loses its tag too. The placeholder, never written, is not
// one of them.
TEST_F(Keeper, TagsWrittenBeforeTheCurrentOneAreFoundWhenItIsNot) {
  const Text t1 = u"【 [A] 12:01 】 ", t2 = u"【 [A] 12:02 】 ";
  state.MME = kPlaceholderTag;
  keeper.TitleWritten(u"Editor", u"Editor" + t1, t1, true);
  state.MME = t1;
  keeper.TitleWritten(u"Editor", u"Editor" + t2, t2, true);
  state.MME = t2;
  wm.windows.at(kOther).title = u"Editor" + t1 + u"Editor" + t2;
  EXPECT_EQ(keeper.GetStrippedTitle(kOther), u"Editor" + t1 + u"Editor") << "MME first";
  wm.windows.at(kOther).title = u"Editor" + t1;
  EXPECT_EQ(keeper.GetStrippedTitle(kOther), u"Editor");
  wm.windows.at(kOther).title = u"Notes【Velmora】 draft";
  EXPECT_EQ(keeper.GetStrippedTitle(kOther), u"Notes【Velmora】 draft");
}

}  // namespace
}  // namespace velmora
