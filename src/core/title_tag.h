// The tag written into window titles, and turning a decorated title back
// into the window's own title.
#pragma once

#include <cstdint>
#include <vector>

#include "core/seams.h"
#include "core/text.h"

namespace velmora {

inline constexpr char16_t kTagOpen[] = u"【";
inline constexpr char16_t kTagClose[] = u" 】 ";
inline constexpr char16_t kPlaceholderTag[] = u"【Velmora】";

// Clamped to 0-100, three digits: "000" to "100".
Text PercentText(std::int32_t value);

// The date item for FormatDate 0-3; empty for any other index.
Text DateText(std::int32_t format, const LocalTime& t, const DayNames& names);
// The time item for FormatTime 0-3 (2 and 3: 12-hour clock, no marker).
Text TimeText(std::int32_t format, const LocalTime& t);

Text CpuText(std::int32_t total, bool formatName);
// One " CPUk:nnn" (or " nnn") entry per value, numbered from 1.
Text CoreText(const std::vector<std::int32_t>& values, bool formatName);
Text RamText(std::int32_t load, bool formatName);

// The title without `tag`: its first occurrence and, with back placement,
// everything after it; otherwise exactly the tag. A title that does not hold
// the tag (or an empty tag) comes back unchanged.
Text StripTag(const Text& title, const Text& tag, bool dispBack);

// The decorated title: title then tag (back) or tag then title.
Text PlaceTag(const Text& stripped, const Text& tag, bool dispBack);

}  // namespace velmora
