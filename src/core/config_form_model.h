// What the settings dialog decides without a window: which controls follow
// which check box, the up-down ranges, the exclusion list, the browse
// buttons' checks, and what closing does to the settings.
#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <vector>

#include "core/config_item.h"
#include "core/dialog_settings.h"
#include "core/settings.h"
#include "core/settings_storage.h"
#include "core/text.h"
#include "core/timer_interval.h"

namespace velmora {

// The controls whose enabled state follows `checkBox` (CHKAlarm, ChkWhistle
// or ChkMem); empty for any other control. The sound check boxes are not
// group switches: they never disable their edit box and button.
std::span<const ConfigItem> ControlsFollowing(ConfigItem checkBox);

// An up-down's range; a step past one end gives the other end. The ranges
// are those of the settings the up-downs edit.
using UpDownRange = ValueRange;
inline constexpr UpDownRange kAlarmTimeRange = SettingEditedBy(ConfigItem::UDAlarm)->range;
inline constexpr UpDownRange kHourRange = SettingEditedBy(ConfigItem::UDHour)->range;
inline constexpr UpDownRange kMinuteRange = SettingEditedBy(ConfigItem::UDMin)->range;
inline constexpr UpDownRange kWhistleTimeRange = SettingEditedBy(ConfigItem::UDWhistle)->range;
inline constexpr UpDownRange kRamUseRange = SettingEditedBy(ConfigItem::UDMem)->range;

std::int32_t WrapStep(std::int32_t position, std::int32_t delta, UpDownRange range);
// A hand-edited file may hold any number; the dialog shows and keeps the
// nearest one its up-down can take.
std::int32_t ClampToRange(std::int32_t position, UpDownRange range);

// "<name>は登録済みです。"
Text AlreadyListedText(const Text& name);
// Appends `name` as given unless the list holds it already, compared as a
// whole without regard to case; then returns the message to show instead.
std::optional<Text> AddDisabledProgram(std::vector<Text>& list, const Text& name);

// The browse buttons and what their file-open dialog asks for.
enum class BrowseButton { BtnRef, BtnMem, BtnAlarmWav, BtntWhistleWav };
struct BrowseSpec {
  const char16_t* title;
  const char16_t* filter;     // "name|pattern", as shown in the type list
  const char16_t* extension;  // lower case, with its "."
};
const BrowseSpec& BrowseSpecOf(BrowseButton button);

// True when the file name's extension (from its last ".") equals `required`,
// A-Z folded; "x.WAV" has ".wav", "x.wave" has not, "x" has none.
bool HasExtension(TextView path, TextView required);

// The text EditMem gets for a chosen program: a path with a blank is quoted,
// so that it starts that program and not "C:\Program" with arguments.
Text CommandLineForProgram(const Text& path);

// How the dialog was closed: OK, or any other way (Cancel, Esc, close box).
enum class CloseResult { OK, Cancel };

// Closing: OK saves what the dialog shows (`edited`); any other result reads
// the files again, keys absent from them keeping the edited value (but
// "Update" falling back to 1) and the exclusion list rebuilt. On success the
// outcome is in `settings` (dialog fields only). A failure throws and leaves
// `settings` as it was, so the dialog can stay open with what it shows.
void FinishConfigForm(CloseResult result, const TSettings& edited, TSettings& settings, SettingsStorage& storage);

}  // namespace velmora
