#include <gtest/gtest.h>

#include <functional>
#include <optional>

#include "core/number_edit_model.h"
#include "fakes.h"

namespace velmora {
namespace {

// A window whose font is 7 pixels a character, with a clipboard that can be
// made to fail.
class FakeNumberEditView : public NumberEditView {
 public:
  int charWidth = 7;
  int invalidations = 0, caretUpdates = 0, beeps = 0, changes = 0, nextControls = 0;
  int focusCalls = 0, styleUpdates = 0;
  std::optional<int> clientHeight;
  bool foregroundIsOwn = true;
  std::optional<Text> clipboard;
  bool clipboardFails = false;

  int MeasureText(TextView text) override { return charWidth * static_cast<int>(text.size()); }
  void Invalidate() override { ++invalidations; }
  void UpdateCaret() override { ++caretUpdates; }
  void SetClientHeight(int height) override { clientHeight = height; }
  void UpdateWindowStyle() override { ++styleUpdates; }
  void MessageBeep() override { ++beeps; }
  void Change() override { ++changes; }
  void NextControl() override { ++nextControls; }
  bool ForegroundIsOwnThread() override { return foregroundIsOwn; }
  void SetFocus() override { ++focusCalls; }
  bool ReadClipboardText(Text& text) override {
    if (clipboardFails || !clipboard) return false;
    text = *clipboard;
    return true;
  }
  bool WriteClipboardText(const Text& text) override {
    if (clipboardFails) return false;
    clipboard = text;
    return true;
  }
};

struct Field {
  FakeNumberEditView view;
  NumberEditModel model{view};

  explicit Field(TextView text = u"0") { model.SetText(text); }
  // Keys as the keyboard sends them: key down, then the character.
  void Type(TextView keys) {
    for (const char16_t c : keys) {
      if (c == u'\b') model.KeyDown(vk::Back, ssNone);
      model.KeyPress(c);
    }
  }
  void Backspace() { Type(u"\b"); }
  bool Selected() const { return model.SelLength() != 0; }
};

using Adjust = std::function<void(NumberEditModel&)>;

TEST(NumberEditModel, DefaultsOfEveryProperty) {
  Field f;
  const NumberEditModel& m = f.model;
  EXPECT_EQ(m.Alignment(), TAlignment::taRightJustify);
  EXPECT_EQ(m.VertAlignment(), TVertAlignment::taVCenter);
  EXPECT_TRUE(m.AutoSelect());
  EXPECT_TRUE(m.AutoSize());
  EXPECT_EQ(m.BorderStyle(), TBorderStyle::bsSingle);
  EXPECT_TRUE(m.Ctl3D());
  EXPECT_EQ(m.TopMargin(), 2);
  EXPECT_EQ(m.BottomMargin(), 2);
  EXPECT_EQ(m.LeftMargin(), 2);
  EXPECT_EQ(m.RightMargin(), 2);
  EXPECT_EQ(m.IntegerLength(), 9);
  EXPECT_EQ(m.DecimalLength(), 3);
  EXPECT_TRUE(m.Minus());
  EXPECT_TRUE(m.Comma());
  EXPECT_FALSE(m.DecimalFixed());
  EXPECT_EQ(m.LeftMark(), u"");
  EXPECT_EQ(m.RightMark(), u"");
  EXPECT_FALSE(m.ReadOnly());
  EXPECT_TRUE(m.ErrorBeep());
  EXPECT_FALSE(m.ImageCopy());
  EXPECT_TRUE(m.HideSelection());
  EXPECT_FALSE(m.EnterFocusMove());
  EXPECT_FALSE(m.ArrowFocusMove());
  EXPECT_EQ(m.GetText(), u"0");
  EXPECT_EQ(m.ValText(), u"0");
  EXPECT_EQ(m.SelStart(), 0);
  EXPECT_EQ(m.SelLength(), 0);
  EXPECT_FALSE(m.CanUndo());
  EXPECT_FALSE(m.Modified());
  EXPECT_EQ(m.CaretWidth(), 1);
}

TEST(NumberEditModel, AssigningTextFiltersAndFormats) {
  struct Case { Text assigned, value, display; };
  const Case cases[] = {
      {u"1234567", u"1234567", u"1,234,567"},
      {u"-1234.5", u"-1234.5", u"-1,234.5"},
      {u"1,234.5678", u"1234.567", u"1,234.567"},
      {u"007", u"7", u"7"},
      {u".5", u"0.5", u"0.5"},
      {u"5-3", u"5", u"5"},
      {u"1.2.3", u"1.2", u"1.2"},
      {u"12a34", u"12", u"12"},
      {u" 12", u"", u""},
      {u"1234567890", u"123456789", u"123,456,789"},
      {u"-1234567890", u"-123456789", u"-123,456,789"},
      {u"1234567890.5", u"", u""},
      {u"-", u"-", u"-"},
      {u",-5", u"", u""},                    // the skipped comma still counts as a position
      {u"-00.50", u"-0.50", u"-0.50"},
      {u"12\U0001F600", u"12", u"12"},       // a surrogate ends the scan
      {u"1\xD800" u"5", u"1", u"1"},          // so does a lone one
      {u"１２，３４５．６", u"12345.6", u"12,345.6"},  // full width, as the input method types it
      {u"－８", u"-8", u"-8"},
      {u"12３4", u"1234", u"1,234"},
      {u"１２。５", u"12", u"12"},             // the ideographic full stop is not a point
  };
  for (const auto& c : cases) {
    Field f(u"42");
    f.model.SetText(c.assigned);
    EXPECT_EQ(f.model.GetText(), c.value) << ToUtf8(c.assigned);
    EXPECT_EQ(f.model.ValText(), c.display) << ToUtf8(c.assigned);
    EXPECT_EQ(f.view.changes, 0);
    EXPECT_FALSE(f.model.Modified());
    EXPECT_FALSE(f.model.CanUndo());
  }
}

TEST(NumberEditModel, AssigningTheSameTextTwiceDoesNothingTheSecondTime) {
  Field f;
  f.model.SelectAll();
  f.model.SetText(u"1234");
  const int invalidations = f.view.invalidations;
  f.model.SetText(u"1234");
  EXPECT_EQ(f.view.invalidations, invalidations);
  EXPECT_EQ(f.model.SelLength(), 1);  // the selection stays as it was
}

TEST(NumberEditModel, FormatTextVariants) {
  struct Case { const char* name; Adjust setup; Text value, display; };
  const auto fixed = [](NumberEditModel& m) { m.SetDecimalFixed(true); };
  const auto marks = [](NumberEditModel& m) {
    m.SetLeftMark(u"(");
    m.SetRightMark(u")");
  };
  const Case cases[] = {
      {"fixed", fixed, u"12", u"12.000"},
      {"fixed", fixed, u"12.5", u"12.500"},
      {"fixed", fixed, u"12.34567", u"12.345"},
      {"fixed", fixed, u"", u"0.000"},
      {"fixed", fixed, u"-", u"-0.000"},
      {"fixed", fixed, u"-.5", u"-0.500"},
      {"fixed, no decimals", [](NumberEditModel& m) { m.SetDecimalFixed(true); m.SetDecimalLength(0); },
       u"12", u"12."},
      {"marks", marks, u"-1234", u"(-1,234)"},
      {"marks", marks, u"", u""},
      {"yen", [](NumberEditModel& m) { m.SetLeftMark(u"￥"); m.SetRightMark(u" 円"); }, u"1500", u"￥1,500 円"},
      {"no comma", [](NumberEditModel& m) { m.SetComma(false); }, u"1234567", u"1234567"},
      {"comma", [](NumberEditModel&) {}, u"123", u"123"},
      {"comma", [](NumberEditModel&) {}, u"123456.7", u"123,456.7"},
      {"comma", [](NumberEditModel&) {}, u"12.", u"12."},
  };
  for (const auto& c : cases) {
    Field f;
    c.setup(f.model);
    f.model.SetText(c.value);
    EXPECT_EQ(f.model.ValText(), c.display) << c.name << " " << ToUtf8(c.value);
  }
}

TEST(NumberEditModel, FilterTextLimits) {
  struct Case { NumberFormat format; Text text, value; };
  NumberFormat noMinus;
  noMinus.Minus = false;
  NumberFormat noPoint;
  noPoint.DecimalLength = 0;
  NumberFormat short2;
  short2.IntegerLength = 2;
  short2.DecimalLength = 1;
  NumberFormat none;
  none.IntegerLength = 0;
  const Case cases[] = {
      {noMinus, u"-5", u""},
      {noMinus, u"5", u"5"},
      {noPoint, u"12.5", u"12"},
      {noPoint, u".5", u""},
      {short2, u"12345", u"12"},
      {short2, u"-12345", u"-12"},
      {short2, u"12.34", u"12.3"},
      {short2, u"123.4", u""},
      {none, u"5", u""},
      {none, u".5", u".5"},
      {NumberFormat{}, u"00012", u"00012"},  // leading zeros are left to StripLeadingZeros
      {NumberFormat{}, u"", u""},
  };
  for (const auto& c : cases) EXPECT_EQ(FilterText(c.text, c.format), c.value) << ToUtf8(c.text);
}

TEST(NumberEditModel, StripLeadingZeros) {
  const std::pair<Text, Text> cases[] = {
      {u"007", u"7"},    {u"000", u"0"},   {u"-00.50", u"-0.50"}, {u".5", u"0.5"}, {u"", u""},
      {u"-", u"-"},      {u"0.", u"0."},   {u"-.", u"-0."},       {u"100", u"100"}, {u"-0", u"-0"},
  };
  for (const auto& [in, out] : cases) EXPECT_EQ(StripLeadingZeros(in), out) << ToUtf8(in);
}

TEST(NumberEditModel, ChangingLimitsFiltersTheValueAgain) {
  struct Case { Text before; Adjust change; Text after; };
  const Case cases[] = {
      {u"-5", [](NumberEditModel& m) { m.SetMinus(false); }, u""},
      {u"1.25", [](NumberEditModel& m) { m.SetDecimalLength(1); }, u"1.2"},
      {u"1.25", [](NumberEditModel& m) { m.SetDecimalLength(0); }, u"1"},
      {u"12345", [](NumberEditModel& m) { m.SetIntegerLength(3); }, u"123"},
      {u"12345.5", [](NumberEditModel& m) { m.SetIntegerLength(3); }, u""},
      {u"1.25", [](NumberEditModel& m) { m.SetDecimalLength(-1); }, u"1.25"},  // ignored
  };
  for (const auto& c : cases) {
    Field f(c.before);
    c.change(f.model);
    EXPECT_EQ(f.model.GetText(), c.after) << ToUtf8(c.before);
    EXPECT_EQ(f.model.ValText(), f.model.FormatText(c.after));
    EXPECT_EQ(f.view.changes, 0);
  }
}

TEST(NumberEditModel, UndoCannotBringBackWhatNewLimitsForbid) {
  Field f(u"0");
  f.Type(u"-5");  // "-1", then "-15"
  f.model.SetMinus(false);
  EXPECT_EQ(f.model.GetText(), u"");
  f.model.Undo();
  EXPECT_EQ(f.model.GetText(), u"");  // "-1" would break the limit; filtered like the value
}

TEST(NumberEditModel, TypingFollowsTheCharacterTable) {
  struct Case { Adjust setup; Text start, keys, value, display; int beeps; int changes; };
  const auto none = [](NumberEditModel&) {};
  const Case cases[] = {
      {none, u"0", u"1234", u"1234", u"1,234", 0, 4},
      {none, u"0", u"1234567890", u"123456789", u"123,456,789", 1, 9},
      {none, u"12", u".5678", u"12.567", u"12.567", 1, 4},
      {none, u"12", u"..", u"12.", u"12.", 1, 1},
      {[](NumberEditModel& m) { m.SetDecimalLength(0); }, u"12", u".", u"12", u"12", 1, 0},
      {none, u"0", u"-", u"-1", u"-1", 0, 1},
      {none, u"-1", u"-", u"1", u"1", 0, 1},
      {none, u"12.5", u"-", u"-12.5", u"-12.5", 0, 1},
      {[](NumberEditModel& m) { m.SetMinus(false); }, u"12", u"-", u"12", u"12", 1, 0},
      {[](NumberEditModel& m) { m.SetDecimalFixed(true); }, u"0", u"-", u"-0", u"-0.000", 0, 1},
      {none, u"", u".", u"0.", u"0.", 0, 1},
      {none, u"-", u".5", u"-0.5", u"-0.5", 0, 2},
      {none, u"", u"7", u"7", u"7", 0, 1},
      {none, u"0", u"0", u"0", u"0", 0, 1},
      {none, u"12.5", u"\b", u"12", u"12", 0, 1},
      {none, u"-5", u"\b", u"0", u"0", 0, 1},
      {none, u"0", u"\b", u"0", u"0", 0, 1},
      {none, u"", u"\b", u"0", u"0", 0, 0},
      {none, u"-", u"\b", u"0", u"0", 0, 1},
      {none, u"5", u"a ,\x1A\x1B", u"5", u"5", 5, 0},  // letters, blank, comma, Ctrl+Z, Esc
      {none, u"5", u"\r", u"5", u"5", 1, 0},
      {none, u"5", u"\x01\x03\x16\x18", u"5", u"5", 0, 0},  // Ctrl+A, C, V, X: work done on key down
      {[](NumberEditModel& m) { m.SetErrorBeep(false); }, u"5", u"a", u"5", u"5", 0, 0},
      {none, u"0", u"１２．５", u"12.5", u"12.5", 0, 4},
      {none, u"3", u"－", u"-3", u"-3", 0, 1},
      {none, u"3", u"，", u"3", u"3", 1, 0},
      {none, u"3", u"\U0001F600", u"3", u"3", 2, 0},  // both halves of a pair beep
      // A one-digit field takes a digit in place of the zero it starts with.
      {[](NumberEditModel& m) { m.SetIntegerLength(1); }, u"0", u"53", u"5", u"5", 1, 1},
      {[](NumberEditModel& m) { m.SetIntegerLength(0); }, u"", u"5", u"", u"", 1, 0},
  };
  for (const auto& c : cases) {
    Field f(c.start);
    c.setup(f.model);
    f.view.beeps = f.view.changes = 0;
    f.Type(c.keys);
    const std::string what = ToUtf8(c.start) + " + " + ToUtf8(c.keys);
    EXPECT_EQ(f.model.GetText(), c.value) << what;
    EXPECT_EQ(f.model.ValText(), c.display) << what;
    EXPECT_EQ(f.view.beeps, c.beeps) << what;
    EXPECT_EQ(f.view.changes, c.changes) << what;
    EXPECT_EQ(f.model.Modified(), c.changes > 0) << what;
  }
}

TEST(NumberEditModel, ADigitThatWouldNotFitTheFieldBeeps) {
  Field f(u"1234");
  // 44 pixels of client less margins and frame leave 36: "1,234" (35) fits, "12,345" (42) not.
  f.model.SetClientSize(44, 16);
  EXPECT_EQ(f.model.AvailableWidth(), 36);
  f.Type(u"5");
  EXPECT_EQ(f.model.GetText(), u"1234");
  EXPECT_EQ(f.view.beeps, 1);
  f.Type(u"-.");  // "-1,234" and "1,234." are as wide as "12,345"
  EXPECT_EQ(f.model.GetText(), u"1234");
  EXPECT_EQ(f.view.beeps, 3);
}

TEST(NumberEditModel, AvailableWidthDependsOnTheFrame) {
  struct Case { TBorderStyle border; bool ctl3D; int available; };
  const Case cases[] = {{TBorderStyle::bsSingle, true, 96 - 4}, {TBorderStyle::bsSingle, false, 96 - 2},
                        {TBorderStyle::bsNone, true, 96 - 2}, {TBorderStyle::bsNone, false, 96 - 2}};
  for (const auto& c : cases) {
    Field f;
    f.model.SetClientSize(100, 16);
    f.model.SetBorderStyle(c.border);
    f.model.SetCtl3D(c.ctl3D);
    EXPECT_EQ(f.model.AvailableWidth(), c.available);
  }
}

TEST(NumberEditModel, TypingOverASelection) {
  Field f(u"1234");
  f.model.SelectAll();
  EXPECT_EQ(f.model.SelLength(), 5);  // the display text "1,234"
  f.Type(u"7");
  EXPECT_EQ(f.model.GetText(), u"7");
  EXPECT_FALSE(f.Selected());
  f.model.Undo();
  EXPECT_EQ(f.model.GetText(), u"0");  // Clear saved the old value, the digit saved "0"

  Field g(u"1234");
  g.model.SetModified(true);
  g.model.SelectAll();
  g.Backspace();
  EXPECT_EQ(g.model.GetText(), u"0");
  EXPECT_FALSE(g.model.Modified());
  EXPECT_EQ(g.view.changes, 0);
  g.model.Undo();
  EXPECT_EQ(g.model.GetText(), u"1234");
}

TEST(NumberEditModel, UndoTogglesOneStep) {
  Field f(u"12");
  f.Type(u"5");
  f.model.SetModified(false);
  f.model.Undo();
  EXPECT_EQ(f.model.GetText(), u"12");
  EXPECT_EQ(f.model.SelLength(), 2);
  EXPECT_TRUE(f.model.CanUndo());
  EXPECT_FALSE(f.model.Modified());
  f.model.Undo();
  EXPECT_EQ(f.model.GetText(), u"125");
  EXPECT_EQ(f.view.changes, 3);
  f.model.ClearUndo();
  f.model.Undo();
  EXPECT_EQ(f.model.GetText(), u"125");
  EXPECT_FALSE(f.model.CanUndo());
}

TEST(NumberEditModel, PasteFiltersAndAppends) {
  struct Case { Text start; bool selected; std::optional<Text> clipboard; Text value; int changes; };
  const Case cases[] = {
      {u"5", false, u"1,000", u"51000", 1},
      {u"5", true, u"1,000", u"1000", 1},
      {u"5", true, u"abc", u"", 1},
      {u"5", false, u"abc", u"5", 1},
      {u"0", false, u"0012", u"12", 1},
      {u"5", true, u"１，２３４．５", u"1234.5", 1},
      {u"5", false, std::nullopt, u"5", 0},  // no text on the clipboard
  };
  for (const auto& c : cases) {
    Field f(c.start);
    f.model.SetModified(true);
    if (c.selected) f.model.SelectAll();
    f.view.clipboard = c.clipboard;
    f.model.KeyDown(vk::V, ssCtrl);
    const std::string what = ToUtf8(c.start) + " + " + (c.clipboard ? ToUtf8(*c.clipboard) : "(none)");
    EXPECT_EQ(f.model.GetText(), c.value) << what;
    EXPECT_EQ(f.view.changes, c.changes) << what;
    EXPECT_FALSE(f.Selected()) << what;
    EXPECT_TRUE(f.model.Modified()) << what;  // paste leaves it as it was
    EXPECT_EQ(f.model.CanUndo(), c.changes > 0) << what;
  }
}

TEST(NumberEditModel, CopyTakesValueOrDisplayText) {
  struct Case { bool imageCopy; bool selected; std::optional<Text> clipboard; };
  const Case cases[] = {{false, true, u"-1234.5"}, {true, true, u"<-1,234.5>"}, {false, false, std::nullopt}};
  for (const auto& c : cases) {
    Field f(u"-1234.5");
    f.model.SetLeftMark(u"<");
    f.model.SetRightMark(u">");
    f.model.SetImageCopy(c.imageCopy);
    if (c.selected) f.model.SelectAll();
    f.model.KeyDown(vk::C, ssCtrl);
    EXPECT_EQ(f.view.clipboard, c.clipboard);
    EXPECT_EQ(f.model.GetText(), u"-1234.5");
  }
}

TEST(NumberEditModel, CutKeepsTheValueWhenTheClipboardFails) {
  Field f(u"1234");
  f.model.SelectAll();
  f.view.clipboardFails = true;
  f.model.KeyDown(vk::X, ssCtrl);
  EXPECT_EQ(f.model.GetText(), u"1234");
  EXPECT_EQ(f.view.beeps, 1);
  EXPECT_EQ(f.view.changes, 0);
  f.model.KeyDown(vk::C, ssCtrl);
  EXPECT_EQ(f.view.beeps, 2);

  f.view.clipboardFails = false;
  f.model.KeyDown(vk::X, ssCtrl);
  EXPECT_EQ(f.view.clipboard, u"1234");
  EXPECT_EQ(f.model.GetText(), u"0");
  EXPECT_EQ(f.view.changes, 1);
}

// What each change does to the undo step, Modified and OnChange.
TEST(NumberEditModel, UndoModifiedAndChangeOfEveryEdit) {
  enum class Mod { True, False, Unchanged };
  struct Case { const char* name; Text start; bool selected; std::function<void(Field&)> edit;
                bool undoSaved; Mod modified; int changes; };
  const Case cases[] = {
      {"digit", u"12", false, [](Field& f) { f.Type(u"3"); }, true, Mod::True, 1},
      {"point", u"12", false, [](Field& f) { f.Type(u"."); }, true, Mod::True, 1},
      {"minus", u"12", false, [](Field& f) { f.Type(u"-"); }, true, Mod::True, 1},
      {"backspace", u"12", false, [](Field& f) { f.Backspace(); }, true, Mod::True, 1},
      {"backspace on selection", u"12", true, [](Field& f) { f.Backspace(); }, true, Mod::False, 0},
      {"backspace on empty", u"", false, [](Field& f) { f.Backspace(); }, false, Mod::Unchanged, 0},
      {"clear", u"12", false, [](Field& f) { f.model.Clear(); }, true, Mod::False, 0},
      {"clear selection", u"12", true, [](Field& f) { f.model.ClearSelection(); }, true, Mod::False, 0},
      {"clear selection, none", u"12", false, [](Field& f) { f.model.ClearSelection(); }, false,
       Mod::Unchanged, 0},
      {"cut", u"12", true, [](Field& f) { f.model.CutToClipboard(); }, true, Mod::False, 1},
      {"cut, no selection", u"12", false, [](Field& f) { f.model.CutToClipboard(); }, false, Mod::Unchanged,
       0},
      {"paste", u"12", false, [](Field& f) { f.model.PasteFromClipboard(); }, true, Mod::Unchanged, 1},
      {"assign", u"12", false, [](Field& f) { f.model.SetText(u"99"); }, false, Mod::Unchanged, 0},
      {"leave with minus", u"-", false, [](Field& f) { f.model.Exit(); }, false, Mod::Unchanged, 0},
  };
  for (const bool modifiedBefore : {false, true}) {
    for (const auto& c : cases) {
      Field f(c.start);
      f.view.clipboard = u"3";
      f.model.SetModified(modifiedBefore);
      if (c.selected) f.model.SelectAll();
      c.edit(f);
      const bool expected = c.modified == Mod::True || (c.modified == Mod::Unchanged && modifiedBefore);
      EXPECT_EQ(f.model.Modified(), expected) << c.name;
      EXPECT_EQ(f.view.changes, c.changes) << c.name;
      EXPECT_EQ(f.model.CanUndo(), c.undoSaved) << c.name;
      if (c.undoSaved) {
        f.model.Undo();
        EXPECT_EQ(f.model.GetText(), c.start) << c.name;
      }
    }
  }
  Field f(u"12");
  f.Type(u"3");
  const int changes = f.view.changes;
  f.model.Undo();
  EXPECT_EQ(f.view.changes, changes + 1);  // undo raises OnChange
}

TEST(NumberEditModel, ReadOnlyIgnoresEditsButSelectsAndCopies) {
  Field f(u"1234");
  f.model.SetReadOnly(true);
  f.view.clipboard = u"99";
  f.Type(u"5-.\b");
  f.model.KeyDown(vk::Delete, ssNone);
  EXPECT_FALSE(f.model.KeyDown(vk::V, ssCtrl));
  f.model.SelectAll();
  EXPECT_FALSE(f.model.KeyDown(vk::X, ssCtrl));
  EXPECT_EQ(f.model.GetText(), u"1234");
  EXPECT_EQ(f.view.beeps, 0);
  EXPECT_EQ(f.view.changes, 0);
  EXPECT_FALSE(f.model.Modified());

  struct Case { std::uint16_t key; unsigned shift; bool selects; };
  const Case cases[] = {
      {vk::A, ssCtrl, true},         {vk::Left, ssShift, true},   {vk::Right, ssShift, true},
      {vk::Home, ssNone, false},     {vk::End, ssNone, false},    {vk::Left, ssNone, false},
      {vk::Right, ssNone, false},    {vk::Prior, ssNone, false},  {vk::Next, ssNone, false},
      {vk::Up, ssNone, false},       {vk::Down, ssNone, false},
  };
  for (const auto& c : cases) {
    if (c.selects) {
      f.model.ClearSelect();
    } else {
      f.model.SelectAll();
    }
    EXPECT_TRUE(f.model.KeyDown(c.key, c.shift)) << c.key;
    EXPECT_EQ(f.Selected(), c.selects) << c.key;
  }
  f.model.ClearSelect();
  f.model.DblClick();
  EXPECT_TRUE(f.Selected());
  f.model.KeyDown(vk::C, ssCtrl);
  EXPECT_EQ(f.view.clipboard, u"1234");
}

TEST(NumberEditModel, KeyTableNeedsTheExactModifiers) {
  struct Case { std::uint16_t key; unsigned shift; bool consumed; bool selected; };
  const Case cases[] = {
      {vk::A, ssCtrl | ssShift, false, false},
      {vk::A, ssCtrl | ssLeft, false, false},  // a mouse button held
      {vk::A, ssNone, false, false},
      {vk::Left, ssShift | ssCtrl, false, false},
      {vk::Left, ssShift, true, true},
      {vk::Home, ssShift, false, false},
  };
  for (const auto& c : cases) {
    Field f(u"12");
    EXPECT_EQ(f.model.KeyDown(c.key, c.shift), c.consumed) << c.key << " " << c.shift;
    EXPECT_EQ(f.Selected(), c.selected) << c.key << " " << c.shift;
  }
}

TEST(NumberEditModel, EnterAndArrowsMoveTheFocusWhenAsked) {
  Field f;
  f.model.KeyDown(vk::Down, ssNone);
  f.Type(u"\r");
  EXPECT_EQ(f.view.nextControls, 0);
  EXPECT_EQ(f.view.beeps, 1);
  f.model.SetArrowFocusMove(true);
  f.model.SetEnterFocusMove(true);
  f.model.KeyDown(vk::Up, ssNone);
  f.model.KeyDown(vk::Down, ssNone);
  f.Type(u"\r");
  EXPECT_EQ(f.view.nextControls, 3);
  EXPECT_EQ(f.view.beeps, 1);
}

TEST(NumberEditModel, DialogCode) {
  Field f;
  EXPECT_EQ(f.model.DialogCode(), 0x81u);
  f.model.SetEnterFocusMove(true);
  EXPECT_EQ(f.model.DialogCode(), 0x85u);
}

TEST(NumberEditModel, MouseSelection) {
  Field f(u"1234");
  f.model.SetClientSize(117, 16);
  f.model.SetFontMetrics(12, false);
  const PixelRect r = f.model.PaintRect();  // "1,234": 35 pixels, right aligned
  EXPECT_EQ(r.left, 117 - 35 - 2 - 1);
  EXPECT_EQ(r.right, r.left + 35);

  f.model.SelectAll();
  f.model.MouseDown(MouseButton::Left);  // a click takes the focus and drops the selection
  EXPECT_EQ(f.view.focusCalls, 1);
  EXPECT_FALSE(f.Selected());
  f.model.MouseMove(r.left - 1, true);
  EXPECT_FALSE(f.Selected());
  f.model.MouseMove(r.left, false);
  EXPECT_FALSE(f.Selected());
  f.model.MouseMove(r.right, true);  // dragging over the text selects it
  EXPECT_TRUE(f.Selected());

  f.model.MouseDown(MouseButton::Right);
  EXPECT_TRUE(f.Selected());
  f.model.DblClick();
  f.model.MouseDown(MouseButton::Left);  // the second press of the double-click
  EXPECT_TRUE(f.Selected());
  f.model.MouseDown(MouseButton::Left);
  EXPECT_FALSE(f.Selected());

  f.view.foregroundIsOwn = false;
  f.model.MouseDown(MouseButton::Left);
  EXPECT_EQ(f.view.focusCalls, 2);
}

TEST(NumberEditModel, EnteringAndLeavingTheField) {
  Field f(u"-");
  f.model.Enter();
  EXPECT_EQ(f.model.SelLength(), 1);
  f.model.Exit();
  EXPECT_EQ(f.model.GetText(), u"0");
  EXPECT_FALSE(f.Selected());

  Field g(u"12");
  g.model.SetAutoSelect(false);
  g.model.SetHideSelection(false);
  g.model.Enter();
  EXPECT_FALSE(g.Selected());
  g.model.SelectAll();
  g.model.Exit();
  EXPECT_TRUE(g.Selected());
}

TEST(NumberEditModel, TextOriginFollowsTheAlignments) {
  // Client 100 x 30, font 12, "1,234" 35 pixels wide, margins 2.
  struct Case { TAlignment h; TVertAlignment v; int x, y; };
  const Case cases[] = {
      {TAlignment::taLeftJustify, TVertAlignment::taTopJustify, 2, 2},
      {TAlignment::taRightJustify, TVertAlignment::taBottomJustify, 100 - 35 - 2 - 1, 30 - 12 - 2},
      {TAlignment::taCenter, TVertAlignment::taVCenter, (100 - 4) / 2 + 2 - 35 / 2 - 1, (30 - 12 - 4) / 2 + 2},
  };
  for (const auto& c : cases) {
    Field f(u"1234");
    f.model.SetClientSize(100, 30);
    f.model.SetFontMetrics(12, false);
    f.model.SetAlignment(c.h);
    f.model.SetVertAlignment(c.v);
    const PixelPoint p = f.model.TextOrigin();
    EXPECT_EQ(p.x, c.x);
    EXPECT_EQ(p.y, c.y);
    const PixelRect r = f.model.PaintRect();
    EXPECT_EQ(r.left, c.x);
    EXPECT_EQ(r.top, c.y);
    EXPECT_EQ(r.right, c.x + 35);
    EXPECT_EQ(r.bottom, c.y + 12);
  }
}

TEST(NumberEditModel, RightAlignedTextWiderThanTheFieldStartsLeftOfIt) {
  Field f(u"123456789");
  f.model.SetClientSize(40, 16);
  EXPECT_LT(f.model.TextOrigin().x, 0);
}

TEST(NumberEditModel, CaretStandsAfterTheTypedCharacters) {
  struct Case { Adjust setup; Text value; int chars; };
  const auto fixed = [](NumberEditModel& m) { m.SetDecimalFixed(true); };
  const auto marks = [](NumberEditModel& m) {
    m.SetLeftMark(u"(");
    m.SetRightMark(u")");
  };
  const Case cases[] = {
      {[](NumberEditModel&) {}, u"1234", 5},   // "1,234"
      {marks, u"-1234", 7},                     // "(-1,234" before ")"
      {fixed, u"12.5", 4},                      // "12.5" of "12.500"
      {fixed, u"12", 2},
      {fixed, u"", 1},                          // "0" of "0.000"
      {fixed, u"-", 2},                         // "-0"
      {[](NumberEditModel& m) { m.SetDecimalFixed(true); m.SetLeftMark(u"$"); }, u"-.5", 5},  // "$-0.5"
      {[](NumberEditModel& m) { m.SetDecimalFixed(true); m.SetLeftMark(u"$"); }, u"1234.", 7},  // "$1,234."
  };
  for (const auto& c : cases) {
    Field f(u"1");
    c.setup(f.model);
    f.model.SetText(c.value);
    EXPECT_EQ(f.model.CaretOffset(c.value), 7 * c.chars) << ToUtf8(c.value);
  }
  Field f(u"12");
  f.model.SetClientSize(100, 16);
  f.model.SetFontMetrics(12, false);
  f.model.SetAlignment(TAlignment::taLeftJustify);
  EXPECT_EQ(f.model.CaretPos().x, 2 + 14);
  EXPECT_EQ(f.model.CaretPos().y, 2);
}

TEST(NumberEditModel, SizingAndMargins) {
  Field f;
  f.model.SetFontMetrics(12, true);
  EXPECT_EQ(f.model.CaretWidth(), 2);
  f.model.AdjustHeight();
  EXPECT_EQ(f.view.clientHeight, 16);
  f.model.SetTopMargin(5);
  EXPECT_EQ(f.view.clientHeight, 19);
  f.model.SetTopMargin(-1);
  f.model.SetLeftMargin(-3);
  EXPECT_EQ(f.model.TopMargin(), 5);
  EXPECT_EQ(f.model.LeftMargin(), 2);
  f.model.SetAutoSize(false);
  f.view.clientHeight.reset();
  f.model.SetBottomMargin(9);
  EXPECT_FALSE(f.view.clientHeight);
  f.model.SetBorderStyle(TBorderStyle::bsNone);
  EXPECT_EQ(f.view.styleUpdates, 1);
  f.model.SetCtl3D(false);  // no border: nothing to restyle
  EXPECT_EQ(f.view.styleUpdates, 1);
}

TEST(NumberEditModel, PaintColors) {
  struct Case { bool enabled, selected; PaintColors colors; };
  const Case cases[] = {
      {true, false, {ColorRole::FontColor, ColorRole::Color}},
      {true, true, {ColorRole::HighlightText, ColorRole::Highlight}},
      {false, true, {ColorRole::DisabledColor, ColorRole::Color}},
      {false, false, {ColorRole::DisabledColor, ColorRole::Color}},
  };
  for (const auto& c : cases) {
    const PaintColors p = ChoosePaintColors(c.enabled, c.selected);
    EXPECT_EQ(p.text, c.colors.text);
    EXPECT_EQ(p.background, c.colors.background);
  }
}

TEST(NumberEditModel, HalfWidthNumberChar) {
  const std::pair<char16_t, char16_t> cases[] = {
      {u'０', u'0'}, {u'９', u'9'}, {u'－', u'-'}, {u'．', u'.'}, {u'，', u','},
      {u'ー', u'ー'}, {u'。', u'。'}, {u'Ａ', u'Ａ'}, {u'5', u'5'},
  };
  for (const auto& [in, out] : cases) EXPECT_EQ(HalfWidthNumberChar(in), out) << int(in);
}

}  // namespace
}  // namespace velmora
