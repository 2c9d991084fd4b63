// The cycle timer's interval. FormatUpdate is an index into the dialog's
// interval list, "500", "1000", ... "5000" ms; the settings and the list
// both go by this one rule.
#pragma once

#include <cstdint>

#include "core/dialog_settings.h"
#include "core/text.h"

namespace velmora {

inline constexpr ValueRange kIntervalIndexRange = SettingEditedBy(ConfigItem::ComboBoxTimer)->range;
static_assert(kIntervalIndexRange.min == 0, "list indexes start at 0");
inline constexpr int kIntervalCount = kIntervalIndexRange.max + 1;

// The list index that shows FormatUpdate; an index outside the list (a
// hand-edited file) shows the default "1000".
int IntervalIndexOf(std::int32_t formatUpdate);
// The cycle timer's interval for a list index; no selection (or any index
// outside the list) gives 1000 ms, never a timer that does not run.
std::uint32_t IntervalFromIndex(int index);
// The list's item for an index: "500" for 0.
Text IntervalItemText(int index);

}  // namespace velmora
