// The eighteen settings of the settings dialog, one row each: where the
// settings file keeps it, the TSettings field, its initial value and range,
// and the dialog control that edits it. Loading and saving, TSettings'
// initial values and the dialog's controls all go by this table, in its
// order, which is the order of the keys in the file. A new setting is a
// new row.
#pragma once

#include <cstdint>
#include <type_traits>
#include <variant>

#include "core/config_item.h"
#include "core/settings.h"
#include "core/text.h"

namespace velmora {

// Integers from min to max, both included.
struct ValueRange {
  std::int32_t min = 0;
  std::int32_t max = 0;
};

// What a key that the file does not hold (or holds unreadably) reads as.
enum class AbsentKey { KeepsCurrent, GivesInitial };

struct DialogSetting {
  const char16_t* section;
  const char16_t* key;
  std::variant<bool TSettings::*, std::int32_t TSettings::*, Text TSettings::*> field;
  std::int32_t initial;  // a flag's 0 or 1, an integer; texts start empty
  ValueRange range;      // integers only
  ConfigItem control;    // its editor in the dialog
  AbsentKey absent = AbsentKey::KeepsCurrent;
};

inline constexpr DialogSetting kDialogSettings[] = {
    {u"Disable", u"Dialog", &TSettings::DisableDialog, 0, {}, ConfigItem::CHKDialog},
    {u"Format", u"Date", &TSettings::FormatDate, 0, {0, 3}, ConfigItem::RadioGroupDate},
    {u"Format", u"Time", &TSettings::FormatTime, 0, {0, 3}, ConfigItem::RadioGroupTime},
    {u"Format", u"Name", &TSettings::FormatName, 0, {}, ConfigItem::ChkItem},
    // Cancelling with no "Update" in the file goes back to 1000 ms, not to
    // the interval the list shows.
    {u"Format", u"Update", &TSettings::FormatUpdate, 1, {0, 9}, ConfigItem::ComboBoxTimer, AbsentKey::GivesInitial},
    {u"Whistle", u"Enable", &TSettings::WhistleEnable, 0, {}, ConfigItem::ChkWhistle},
    {u"Whistle", u"Time", &TSettings::WhistleTime, 10, {1, 60}, ConfigItem::UDWhistle},
    {u"Whistle", u"WavEnable", &TSettings::WhistleWavEnable, 0, {}, ConfigItem::ChkWhistleWav},
    {u"Whistle", u"WavFile", &TSettings::WhistleWavFile, {}, {}, ConfigItem::EditWhistleWav},
    {u"Alarm", u"Enable", &TSettings::AlarmEnable, 0, {}, ConfigItem::CHKAlarm},
    {u"Alarm", u"Time", &TSettings::AlarmTime, 10, {1, 60}, ConfigItem::UDAlarm},
    {u"Alarm", u"Hour", &TSettings::AlarmHour, 0, {0, 23}, ConfigItem::UDHour},
    {u"Alarm", u"Min", &TSettings::AlarmMin, 0, {0, 59}, ConfigItem::UDMin},
    {u"Alarm", u"WavEnabled", &TSettings::AlarmWavEnabled, 0, {}, ConfigItem::CHKAlarmWav},
    {u"Alarm", u"WavFile", &TSettings::AlarmWavFile, {}, {}, ConfigItem::EditAlarmWav},
    {u"RAM", u"Enable", &TSettings::RAMEnable, 0, {}, ConfigItem::ChkMem},
    {u"RAM", u"Use", &TSettings::RAMUse, 90, {1, 100}, ConfigItem::UDMem},
    {u"RAM", u"Exe", &TSettings::RAMExe, {}, {}, ConfigItem::EditMem},
};

// The row of the setting that `control` edits; nullptr for a control that
// edits none (which, where a constant needs the row, does not compile).
constexpr const DialogSetting* SettingEditedBy(ConfigItem control) {
  for (const DialogSetting& setting : kDialogSettings) {
    if (setting.control == control) return &setting;
  }
  return nullptr;
}

// The initial value of a setting, as its field's type.
template <typename T>
T InitialValue(const DialogSetting& setting) {
  if constexpr (std::is_same_v<T, Text>) {
    return Text();
  } else {
    return static_cast<T>(setting.initial);
  }
}

// The fields the dialog edits and LoadSettings/SaveSettings move: the
// table's and the exclusion list.
void CopyDialogFields(const TSettings& from, TSettings& to);

}  // namespace velmora
