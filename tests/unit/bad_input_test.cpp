// Hostile input for the core: odd titles, titles that hold tag-like text,
// programs that keep only part of a title, windows that vanish part-way
// through a tick, and settings files that are huge or not text at all.
#include <gtest/gtest.h>

#include <chrono>
#include <functional>
#include <optional>
#include <random>

#include "core/decoration_cycle.h"
#include "core/errors.h"
#include "core/ini_file.h"
#include "core/settings_storage.h"
#include "fakes.h"

namespace velmora {
namespace {

constexpr WindowHandle kMain = 1000, kA = 1, kB = 2;
// Stands for the tag of the running tick in the titles of the tables below.
constexpr char16_t kTagHere = u'\uE000';

// Equality of long titles without printing them in full.
::testing::AssertionResult Same(const Text& got, const Text& want) {
  if (got == want) return ::testing::AssertionSuccess();
  size_t at = 0;
  while (at < got.size() && at < want.size() && got[at] == want[at]) ++at;
  return ::testing::AssertionFailure() << "got " << got.size() << " units, want " << want.size()
                                       << "; first difference at " << at << ": got \""
                                       << ToUtf8(TextView(got).substr(at, 40)) << "\" want \""
                                       << ToUtf8(TextView(want).substr(at, 40)) << "\"";
}

// A desktop with Velmora's own hidden window, the window under test A and a
// second window B.
struct Desk : CycleOnFakes {
  explicit Desk(FakeWindow a) {
    wm.Add(kMain, {.title = u"Velmora", .visible = false, .pid = 1});
    a.pid = 10;
    wm.Add(kA, std::move(a));
    wm.Add(kB, {.title = u"Paint", .pid = 20});
    processes.moduleNames = {{1, u"C:\\Velmora\\Velmora.exe"}, {10, u"C:\\Windows\\notepad.exe"},
                             {20, u"D:\\Apps\\Paint.exe"}};
    cycle.State().MhWndOld = kMain;
  }
  void TickWith(WindowHandle front) {
    wm.foreground = front;
    cycle.Tick();
  }
  // The tag every tick writes here: the fake clock stands still and there
  // are no processor figures.
  Text Tag() { return cycle.ComposeTag(u"", u"", u"RAM:045"); }
};

Text WithTag(Text title, const Text& tag) {
  for (size_t at; (at = title.find(kTagHere)) != Text::npos;) title.replace(at, 1, tag);
  return title;
}

Text Units(size_t n, char16_t first, char16_t fill, char16_t last) {
  Text t(n, fill);
  t.front() = first;
  t.back() = last;
  return t;
}

struct TitleCase {
  const char* what;
  Text own;  // kTagHere: the tag the cycle writes
  // What is left of a title that holds the current tag, by placement; none:
  // it comes back exactly. Empty: there is nothing to decorate.
  std::optional<Text> back, front;
  // Stripped again on every decoration (the tag stays in the title after
  // the first strip): covered by the rule's own tests.
  bool frontChangesOnEveryStrip = false;
};

std::vector<TitleCase> OddTitles() {
  return {
      {"empty title (0 units)", u""},
      {"one unit", u"x"},
      {"100,000 units", Text(100000, u'x')},
      {"100,000 units, lone low first and lone high last", Units(100000, 0xDC00, u'x', 0xD800)},
      {"100,000 units, lone high first and lone low last", Units(100000, 0xD800, u'x', 0xDC00)},
      {"a lone high surrogate alone", Text(1, 0xD800)},
      {"a lone low surrogate alone", Text(1, 0xDC00)},
      {"lone high at the end", Text(u"Notes") + char16_t(0xD83D)},
      {"lone low at the start", char16_t(0xDE00) + Text(u"Notes")},
      {"a whole surrogate pair", u"Notes \U0001F600"},
      {"the placeholder tag inside, after the first tick", u"Notes【Velmora】 draft"},
      {"a tag typed by the user", u"【 [A] 24/01/15(月) 13:05:08 CPU:099 RAM:001 】 Notes"},
      {"half a tag at the end", u"Notes【 [A]"},
      {"half a tag at the start", u" 】 Notes"},
      // Text of ours in a title is the tag, wherever it stands.
      {"the current tag at the start", kTagHere + Text(u"memo"), u"", u"memo"},
      {"the current tag inside", u"Notes" + Text(1, kTagHere) + u"draft", u"Notes", u"Notesdraft"},
      {"the current tag at the end", u"Notes" + Text(1, kTagHere), u"Notes", u"Notes"},
      {"nothing but the current tag", Text(1, kTagHere), u"", u""},
      {"the current tag twice", kTagHere + Text(u"x") + kTagHere, u"", u"", true},
  };
}

// Decorated, refreshed, left, decorated again and given back: the window's
// own title comes back exactly, and while decorated it carries the tag in
// its place. A title that holds the current tag loses it as the placement
// says; one left with nothing is not decorated and keeps its title.
TEST(BadTitles, OwnTitleComesBackExactlyInBothPlacements) {
  for (const bool back : {true, false}) {
    for (const TitleCase& c : OddTitles()) {
      if (!back && c.frontChangesOnEveryStrip) continue;
      SCOPED_TRACE(std::string(c.what) + (back ? ", tag after" : ", tag in front"));
      Desk desk{{}};
      if (!back) desk.settings.SetDispFront(true);
      const Text tag = desk.Tag();
      const Text given = WithTag(c.own, tag);
      const std::optional<Text>& left = back ? c.back : c.front;
      const Text own = left ? WithTag(*left, tag) : given;
      desk.wm.windows.at(kA).title = given;

      // B first: the tag that is current when A comes to the front is the
      // one A's own title may hold.
      desk.TickWith(kB);
      ASSERT_EQ(desk.cycle.State().MME, tag);
      for (int tick = 0; tick < 3; ++tick) {
        desk.TickWith(kA);
        EXPECT_EQ(desk.wm.Title(kB), u"Paint");
        if (own.empty()) {
          EXPECT_TRUE(Same(desk.wm.Title(kA), given)) << "nothing to decorate: left alone";
        } else {
          EXPECT_TRUE(Same(desk.wm.Title(kA), PlaceTag(own, tag, back))) << "tick " << tick;
        }
      }
      const Text after = own.empty() ? given : own;
      desk.TickWith(kB);
      EXPECT_TRUE(Same(desk.wm.Title(kA), after)) << "after another window came to the front";
      desk.TickWith(kA);
      desk.cycle.RestoreLastTitle();
      EXPECT_TRUE(Same(desk.wm.Title(kA), after)) << "after the restore of the menu or the exit";
      desk.TickWith(0);
      EXPECT_TRUE(Same(desk.wm.Title(kA), after)) << "no foreground window";
    }
  }
}

// On the first tick the placeholder is the tag.
TEST(BadTitles, PlaceholderIsTheTagUntilTheFirstWrite) {
  for (const bool back : {true, false}) {
    Desk desk{{.title = u"Notes【Velmora】 draft"}};
    if (!back) desk.settings.SetDispFront(true);
    desk.TickWith(kA);
    const Text own = back ? u"Notes" : u"Notes draft";
    EXPECT_EQ(desk.wm.Title(kA), PlaceTag(own, desk.Tag(), back));
    desk.cycle.RestoreLastTitle();
    EXPECT_EQ(desk.wm.Title(kA), own);
  }
}

// A program that keeps only the first units of any title it is given: the
// tag is cut off, or the own title behind a tag in front, possibly between
// the two halves of a surrogate pair. A piece of the tag is recognised as
// ours; where the whole tag was kept, what the program kept of its own title
// is its title.
TEST(BadTitles, TitleCutByTheProgramKeepsNoPieceOfTheTag) {
  const Text tag = Desk{{}}.Tag();
  const Text emoji = u"ab\U0001F600cd";  // the pair at units 2 and 3
  struct Case {
    const char* what;
    bool back;
    Text own;
    size_t limit;
    Text givenBack;
  };
  const Case cases[] = {
      {"tag after, none of it kept", true, u"Notes", 5, u"Notes"},
      {"tag after, its first units kept", true, u"Notes", 8, u"Notes"},
      {"tag after, all but its last unit kept", true, u"Notes", 5 + tag.size() - 1, u"Notes"},
      {"tag after a title that ends in a lone high", true, Text(u"Notes") + char16_t(0xD83D), 9,
       Text(u"Notes") + char16_t(0xD83D)},
      {"tag in front, part of the tag kept", false, u"ab", 3, u"ab"},
      {"tag in front, part of the title kept", false, u"Notes", tag.size() + 2, u"No"},
      {"tag in front, the cut between a pair's halves", false, emoji, tag.size() + 3, emoji.substr(0, 3)},
      {"tag in front, a lone low at the cut", false, emoji, tag.size() + 4, emoji.substr(0, 4)},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    Desk desk{{.title = c.own, .titleLimit = c.limit}};
    if (!c.back) desk.settings.SetDispFront(true);
    const Text kept = PlaceTag(c.own, tag, c.back).substr(0, c.limit);
    for (int tick = 0; tick < 3; ++tick) {
      desk.TickWith(kA);
      EXPECT_EQ(desk.wm.Title(kA), kept) << "tick " << tick;
    }
    desk.TickWith(kB);
    EXPECT_EQ(desk.wm.Title(kA), c.givenBack);
    desk.TickWith(kA);
    desk.cycle.RestoreLastTitle();
    EXPECT_EQ(desk.wm.Title(kA), c.givenBack);
  }
}

// A program that changes its own title while it is decorated: the new title
// is taken as its own, with the tag found where it was put.
TEST(BadTitles, TitleChangedByItsProgramWhileDecorated) {
  struct Case {
    const char* what;
    bool back;
    Text changedTo;  // kTagHere: the tag as it stood
    Text own;
  };
  const Case cases[] = {
      {"a new title", true, u"Other document", u"Other document"},
      {"a mark put in front of the decorated title", true, u"* Notes" + Text(1, kTagHere), u"* Notes"},
      {"text added after the tag", true, u"Notes" + Text(1, kTagHere) + u" extra", u"Notes"},
      {"a shorter title", true, u"Note", u"Note"},
      {"tag in front, a mark added at the end", false, kTagHere + Text(u"Notes *"), u"Notes *"},
      {"tag in front, a new title", false, u"Other", u"Other"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    Desk desk{{.title = u"Notes"}};
    if (!c.back) desk.settings.SetDispFront(true);
    desk.TickWith(kA);
    desk.wm.windows.at(kA).title = WithTag(c.changedTo, desk.Tag());
    desk.TickWith(kA);
    EXPECT_EQ(desk.wm.Title(kA), PlaceTag(c.own, desk.Tag(), c.back));
    desk.cycle.RestoreLastTitle();
    EXPECT_EQ(desk.wm.Title(kA), c.own);
  }
}

// Given back its own title (the tray menu was opened), the window decorated
// last takes a title that holds the current tag, as a program that puts back
// a title it cached would: the tag goes, from its first occurrence.
TEST(BadTitles, TitleWithTheTagPutBackAfterARestoreLosesIt) {
  for (const bool back : {true, false}) {
    SCOPED_TRACE(back ? "tag after" : "tag in front");
    Desk desk{{.title = u"Notes"}};
    if (!back) desk.settings.SetDispFront(true);
    desk.TickWith(kA);
    desk.cycle.RestoreLastTitle();
    desk.wm.windows.at(kA).title = u"memo" + desk.Tag() + u"memo" + desk.Tag();
    const Text own = back ? u"memo" : u"memomemo" + desk.Tag();
    desk.TickWith(kB);
    EXPECT_EQ(desk.wm.Title(kA), own);
    desk.TickWith(0);
    EXPECT_EQ(desk.wm.Title(kA), own);
  }
}

// A window destroyed at any point of a tick, between the reads and the
// write included: every later call on it fails, nothing throws, no other
// title is touched, and the next window is decorated as usual.
TEST(DestroyedMidTick, AtEveryCallOfTheTick) {
  for (const bool decoratedBefore : {false, true}) {
    // How many calls a tick makes on the window.
    int calls = 0;
    {
      Desk dry{{.title = u"Notes"}};
      if (decoratedBefore) dry.TickWith(kA);
      dry.wm.doomed = kA;
      dry.wm.callsBeforeDestroyed = 1 << 20;
      dry.TickWith(kA);
      calls = dry.wm.doomedCalls;
      ASSERT_GE(calls, 3) << "a tick reads the title, the state and the process, and writes";
    }
    for (int k = 0; k <= calls; ++k) {
      SCOPED_TRACE((decoratedBefore ? "decorated before, gone after " : "new in front, gone after ") +
                   std::to_string(k) + " calls");
      Desk desk{{.title = u"Notes"}};
      if (decoratedBefore) desk.TickWith(kA);
      desk.wm.doomed = kA;
      desk.wm.callsBeforeDestroyed = k;
      EXPECT_NO_THROW(desk.TickWith(kA));
      EXPECT_EQ(desk.wm.Title(kB), u"Paint");
      EXPECT_EQ(desk.wm.Title(kMain), u"Velmora");
      // The platform may still name the dead handle as the foreground window.
      EXPECT_NO_THROW(desk.TickWith(kA));
      EXPECT_NO_THROW(desk.TickWith(kB));
      EXPECT_EQ(desk.wm.Title(kB), u"Paint" + desk.Tag());
      EXPECT_EQ(desk.cycle.State().MhWndOld, kB);
      EXPECT_TRUE(desk.cycle.Titles().Late().Pending().empty()) << "nothing is kept for a dead window";
      EXPECT_NO_THROW(desk.cycle.RestoreLastTitle());
      EXPECT_EQ(desk.wm.Title(kB), u"Paint");
    }
  }
}

// Settings files that are huge or are not text.
const Text kFolder = u"C:\\Users\\u\\AppData\\Roaming\\Orvane\\Velmora\\";
const Text kIni = kFolder + u"Velmora.ini";
const Text kList = kFolder + u"Disable.log";

std::string RandomBytes(size_t n, unsigned seed) {
  std::mt19937 random(seed);
  std::string bytes(n, '\0');
  for (auto& b : bytes) b = static_cast<char>(random() & 0xFF);
  return bytes;
}

// Lines of the serialized file that open a section.
size_t SectionLines(const IniFile& ini) {
  const Text text = u"\n" + ini.Serialize();
  size_t n = 0;
  for (auto at = text.find(u"\n["); at != Text::npos; at = text.find(u"\n[", at + 1)) ++n;
  return n;
}

struct FileCase {
  const char* what;
  std::string bytes;
  bool saved = true;  // also put through the saves (the loads take them all)
};

std::vector<FileCase> BadFiles() {
  const std::string garbage = RandomBytes(64 << 10, 7);
  std::string manySections;
  for (int i = 0; manySections.size() < (10u << 20); ++i) manySections += "[s" + std::to_string(i) + "]\r\n";
  std::string oneSection = "[Big]\r\n";
  for (int i = 0; oneSection.size() < (10u << 20); ++i)
    oneSection += "k" + std::to_string(i) + "=v" + std::to_string(i) + "\r\n";
  return {
      {"binary garbage", garbage},
      {"garbage behind the UTF-16LE mark, odd length", "\xFF\xFE" + garbage + "x"},
      {"garbage behind the UTF-16BE mark", "\xFE\xFF" + garbage},
      {"garbage behind the UTF-8 mark", "\xEF\xBB\xBF" + garbage},
      {"nothing but line ends and NULs", std::string(1 << 20, '\0') + std::string(1 << 20, '\n')},
      {"10 MB of sections", manySections, false},
      {"10 MB in one section", oneSection},
      {"10 MB of one line", "[Disp]\r\nBack=" + std::string(10u << 20, 'x'), false},
      {"10 MB of brackets", std::string(10u << 20, '['), false},
  };
}

// Start-up reads: no error, no hang, the defaults stand, nothing written.
TEST(BadSettingsFiles, LoadsFallBackToDefaultsQuicklyAndWriteNothing) {
  for (const FileCase& c : BadFiles()) {
    SCOPED_TRACE(c.what);
    FakeFiles files;
    FakeCodePage ansi;
    SettingsStorage storage{files, ansi, kFolder};
    files.files[kIni] = c.bytes;
    files.files[kList] = c.bytes;
    TSettings settings;
    const TSettings defaults;
    const auto start = std::chrono::steady_clock::now();
    ASSERT_NO_THROW(storage.LoadPrefs(settings));
    ASSERT_NO_THROW(storage.LoadSettings(settings));
    const auto ms =
        std::chrono::duration_cast<std::chrono::milliseconds>(std::chrono::steady_clock::now() - start).count();
    EXPECT_LT(ms, 5000) << "both loads took " << ms << " ms";
    EXPECT_EQ(settings.DispBack, defaults.DispBack);
    EXPECT_EQ(settings.FormatUpdate, defaults.FormatUpdate);
    EXPECT_EQ(settings.RAMUse, defaults.RAMUse);
    EXPECT_EQ(files.writes, 0);
    EXPECT_EQ(files.files[kIni], c.bytes);
  }
}

// The saves keep the rules: what the file held as INI text is carried over,
// what it held beside that is dropped, and the result reads back.
TEST(BadSettingsFiles, SavesKeepWhatIsIniAndReadBack) {
  for (const FileCase& c : BadFiles()) {
    if (!c.saved) continue;
    SCOPED_TRACE(c.what);
    FakeFiles files;
    FakeCodePage ansi;
    SettingsStorage storage{files, ansi, kFolder};
    files.files[kIni] = c.bytes;
    TSettings settings;
    settings.SetDispFront(true);
    settings.RAMUse = 77;
    ASSERT_NO_THROW(storage.SavePrefs(settings));
    ASSERT_NO_THROW(storage.SaveSettings(settings));
    TSettings back;
    storage.LoadPrefs(back);
    storage.LoadSettings(back);
    EXPECT_TRUE(back.DispFront);
    EXPECT_EQ(back.RAMUse, 77);
    const IniFile before(DecodeByMark(c.bytes, ansi).text);
    const IniFile after(DecodeByMark(files.files[kIni], ansi).text);
    if (before.Find(u"Big", u"k0")) {
      EXPECT_EQ(after.Find(u"Big", u"k0"), before.Find(u"Big", u"k0"));
      EXPECT_EQ(after.EntryCount(u"Big"), before.EntryCount(u"Big"));
    }
    EXPECT_GE(SectionLines(after), SectionLines(before));
  }
}

// A Disable.log of garbage: one entry a line, as the rules say; a tick
// against a long list still only compares file names.
TEST(BadSettingsFiles, GarbageListFileGivesItsLinesAndTicksGoOn) {
  FakeFiles files;
  FakeCodePage ansi;
  SettingsStorage storage{files, ansi, kFolder};
  files.files[kList] = RandomBytes(10u << 20, 11);
  TSettings settings;
  ASSERT_NO_THROW(storage.LoadSettings(settings));
  EXPECT_EQ(settings.DisabledPrograms, SplitLines(ansi.Decode(files.files[kList])));

  Desk desk{{.title = u"Notes"}};
  desk.settings.DisabledPrograms = settings.DisabledPrograms;
  const auto start = std::chrono::steady_clock::now();
  desk.TickWith(kA);
  const auto ms =
      std::chrono::duration_cast<std::chrono::milliseconds>(std::chrono::steady_clock::now() - start).count();
  EXPECT_EQ(desk.wm.Title(kA), u"Notes" + desk.Tag());
  EXPECT_LT(ms, 500) << "a tick against " << settings.DisabledPrograms.size() << " entries took " << ms << " ms";
}

}  // namespace
}  // namespace velmora
