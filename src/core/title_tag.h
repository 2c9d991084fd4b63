// The tag written into window titles, and turning a decorated title back
// into the window's own title.
#pragma once

#include <cstddef>
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

// The title without the tag `mme`: with back placement everything from the
// tag on goes; otherwise exactly the tag. The tag is looked for first where
// it was placed (the end, or the start), since the window's own title may
// hold the same text; then anywhere. An empty `mme` is no tag.
Text StripTag(const Text& title, const Text& mme, bool dispBack);

// The decorated title: title then tag (back) or tag then title.
Text PlaceTag(const Text& stripped, const Text& tag, bool dispBack);

// The title without `mme` or, when it does not hold `mme`, without the
// newest of `unconfirmed` that it holds.
Text StripTag(const Text& title, const Text& mme, const std::vector<Text>& unconfirmed, bool dispBack);

// What was last written into a window's title, and its own title then.
struct WrittenTitle {
  Text own;
  Text written;
  // How much of `written` the window must still hold: a window that keeps
  // only so many units of a title keeps the start of it. With the tag after
  // the title that is the whole own title; with the tag in front, any of it.
  std::size_t kept = 0;
  bool tagged = false;  // false once the own title was given back
};

// The record of a title `own` decorated as `written`; of `own` given back
// when `written` is `own`.
WrittenTitle RecordWrite(Text own, Text written, bool dispBack);

// True when `title` is what `known` says was written, or the part of it that
// the window kept; its own title is then `known.own`, whatever tag-like text
// that holds.
bool HoldsWrittenTitle(const Text& title, const WrittenTitle& known);

// `title` (a window's current title) without `mme` or an unconfirmed tag;
// with `known`, a title that still holds what was written gives the own
// title recorded then.
Text OwnTitle(const Text& title, const Text& mme, bool dispBack, const std::vector<Text>& unconfirmed,
              const WrittenTitle* known);

// The window's full current title without `mme` (or an unconfirmed tag);
// empty for handle 0, an untitled or a destroyed window. With `known`, a
// title that still holds what was written gives the own title recorded then.
Text GetStrippedTitle(WindowManager& wm, WindowHandle w, const Text& mme, bool dispBack,
                      const std::vector<Text>& unconfirmed = {}, const WrittenTitle* known = nullptr);

// Writes the stripped title back (also when nothing was removed); false when
// the window did not take it.
bool RestoreTitle(WindowManager& wm, WindowHandle w, const Text& mme, bool dispBack,
                  const std::vector<Text>& unconfirmed = {});

}  // namespace velmora
