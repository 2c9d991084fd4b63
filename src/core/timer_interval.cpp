#include "core/timer_interval.h"

namespace velmora {

int IntervalIndexOf(std::int32_t formatUpdate) {
  const bool listed = formatUpdate >= kIntervalIndexRange.min && formatUpdate <= kIntervalIndexRange.max;
  return listed ? formatUpdate : SettingEditedBy(ConfigItem::ComboBoxTimer)->initial;
}

std::uint32_t IntervalFromIndex(int index) { return 500u * static_cast<std::uint32_t>(IntervalIndexOf(index) + 1); }

Text IntervalItemText(int index) { return DecimalText(IntervalFromIndex(index)); }

}  // namespace velmora
