// The table of the dialog's settings, row by row: every row is stored under
// its own key and read back into its own field, with its read rule.
#include <gtest/gtest.h>

#include <variant>

#include "core/dialog_settings.h"
#include "core/ini_file.h"
#include "core/settings_storage.h"
#include "core/text_encoding.h"
#include "fakes.h"

namespace velmora {
namespace {

const Text kFolder = u"C:\\Users\\u\\AppData\\Roaming\\Orvane\\Velmora\\";

std::string Where(const DialogSetting& setting) { return ToUtf8(Text(setting.section) + u"/" + setting.key); }

// A value other than the row's initial one, and its text in the file.
void SetOtherValue(TSettings& s, const DialogSetting& setting, Text& stored) {
  std::visit(
      [&](auto field) {
        auto& value = s.*field;
        using T = std::remove_cvref_t<decltype(value)>;
        if constexpr (std::is_same_v<T, bool>) {
          value = setting.initial == 0;
          stored = value ? u"1" : u"0";
        } else if constexpr (std::is_same_v<T, std::int32_t>) {
          value = setting.initial == setting.range.max ? setting.range.min : setting.range.max;
          stored = DecimalText(value);
        } else {
          value = u"C:\\Sounds\\" + Text(setting.key) + u" 1.wav";
          stored = value;
        }
      },
      setting.field);
}

bool SameField(const TSettings& a, const TSettings& b, const DialogSetting& setting) {
  return std::visit([&](auto field) { return a.*field == b.*field; }, setting.field);
}

class DialogSettings : public ::testing::Test {
 protected:
  IniFile StoredIni() {
    FakeCodePage ansi;
    return IniFile(DecodeByMark(files.files.at(kFolder + u"Velmora.ini"), ansi).text);
  }
  FakeFiles files;
  FakeCodePage ansi;
  SettingsStorage storage{files, ansi, kFolder};
};

TEST_F(DialogSettings, EachRowIsSavedUnderItsKeyAndLoadedIntoItsField) {
  for (const DialogSetting& setting : kDialogSettings) {
    files.files.clear();
    TSettings edited;
    Text stored;
    SetOtherValue(edited, setting, stored);
    storage.SaveSettings(edited);
    EXPECT_EQ(StoredIni().ReadString(setting.section, setting.key, u"(absent)"), stored) << Where(setting);

    TSettings loaded;
    storage.LoadSettings(loaded);
    for (const DialogSetting& other : kDialogSettings) {
      EXPECT_TRUE(SameField(loaded, edited, other)) << Where(setting) << " then " << Where(other);
    }
  }
}

TEST_F(DialogSettings, AnAbsentKeyKeepsTheCurrentValueUnlessItsRowSaysInitial) {
  for (const DialogSetting& setting : kDialogSettings) {
    TSettings s;
    Text stored;
    SetOtherValue(s, setting, stored);
    const TSettings edited = s;
    storage.LoadSettings(s);  // no files at all
    const bool kept = SameField(s, edited, setting);
    EXPECT_EQ(kept, setting.absent == AbsentKey::KeepsCurrent) << Where(setting);
    if (!kept) {
      EXPECT_TRUE(SameField(s, TSettings(), setting)) << Where(setting);
    }
  }
}

TEST(DialogSettingsTable, EveryRowHasAKeyAFieldAndAnEditorOfItsOwn) {
  for (std::size_t i = 0; i < std::size(kDialogSettings); ++i) {
    const DialogSetting& a = kDialogSettings[i];
    EXPECT_EQ(SettingEditedBy(a.control), &a) << Where(a);
    for (std::size_t j = i + 1; j < std::size(kDialogSettings); ++j) {
      const DialogSetting& b = kDialogSettings[j];
      EXPECT_FALSE(EqualsAsciiNoCase(a.section, b.section) && EqualsAsciiNoCase(a.key, b.key)) << Where(a);
      EXPECT_NE(a.field, b.field) << Where(a) << " " << Where(b);
      EXPECT_NE(a.control, b.control) << Where(a) << " " << Where(b);
    }
    if (a.field.index() == 1) {  // an integer starts inside its range
      EXPECT_LE(a.range.min, a.initial) << Where(a);
      EXPECT_LE(a.initial, a.range.max) << Where(a);
    }
  }
}

}  // namespace
}  // namespace velmora
