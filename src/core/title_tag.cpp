#include "core/title_tag.h"

#include <utility>

namespace velmora {

Text PercentText(std::int32_t value) {
  if (value < 0) value = 0;
  if (value > 100) value = 100;
  return DecimalText(value, 3);
}

Text DateText(std::int32_t format, const LocalTime& t, const DayNames& names) {
  if (format < 0 || format > 3) return {};
  Text out;
  if (format == 0 || format == 1) {
    out += DecimalText(t.year % 100, 2);
    out += u'/';
  }
  out += DecimalText(t.month, 2);
  out += u'/';
  out += DecimalText(t.day, 2);
  if (format == 0 || format == 2) {
    out += u'(';
    if (t.dayOfWeek >= 0 && t.dayOfWeek < 7) out += names[static_cast<size_t>(t.dayOfWeek)];
    out += u')';
  }
  return out;
}

Text TimeText(std::int32_t format, const LocalTime& t) {
  if (format < 0 || format > 3) return {};
  int hour = t.hour;
  if (format >= 2) {
    hour %= 12;
    if (hour == 0) hour = 12;
  }
  Text out = DecimalText(hour, 2);
  out += u':';
  out += DecimalText(t.minute, 2);
  if (format == 0 || format == 2) {
    out += u':';
    out += DecimalText(t.second, 2);
  }
  return out;
}

Text CpuText(std::int32_t total, bool formatName) {
  return formatName ? PercentText(total) : u"CPU:" + PercentText(total);
}

Text CoreText(const std::vector<std::int32_t>& values, bool formatName) {
  Text out;
  int k = 1;
  for (const auto v : values) {
    out += u' ';
    if (!formatName) {
      out += u"CPU";
      out += DecimalText(k);
      out += u':';
    }
    out += PercentText(v);
    ++k;
  }
  return out;
}

Text RamText(std::int32_t load, bool formatName) {
  return formatName ? PercentText(load) : u"RAM:" + PercentText(load);
}

namespace {

// Where the tag stands: where it was placed, else its first occurrence.
size_t TagPosition(const Text& title, const Text& mme, bool dispBack) {
  if (mme.empty() || title.size() < mme.size()) return Text::npos;
  const size_t placed = dispBack ? title.size() - mme.size() : 0;
  if (title.compare(placed, mme.size(), mme) == 0) return placed;
  return title.find(mme);
}

}  // namespace

Text StripTag(const Text& title, const Text& mme, bool dispBack) {
  const auto pos = TagPosition(title, mme, dispBack);
  if (pos == Text::npos) return title;
  if (dispBack) return title.substr(0, pos);
  Text out = title;
  out.erase(pos, mme.size());
  return out;
}

Text StripTag(const Text& title, const Text& mme, const std::vector<Text>& unconfirmed, bool dispBack) {
  if (TagPosition(title, mme, dispBack) != Text::npos) return StripTag(title, mme, dispBack);
  for (auto it = unconfirmed.rbegin(); it != unconfirmed.rend(); ++it)
    if (TagPosition(title, *it, dispBack) != Text::npos) return StripTag(title, *it, dispBack);
  return title;
}

Text PlaceTag(const Text& stripped, const Text& tag, bool dispBack) {
  return dispBack ? stripped + tag : tag + stripped;
}

WrittenTitle RecordWrite(Text own, Text written, bool dispBack) {
  const bool tagged = written.size() > own.size();
  const std::size_t kept = tagged && !dispBack ? 1 : own.size();
  return {std::move(own), std::move(written), kept, tagged};
}

bool HoldsWrittenTitle(const Text& title, const WrittenTitle& known) {
  return !title.empty() && title.size() >= known.kept && title.size() <= known.written.size() &&
         known.written.compare(0, title.size(), title) == 0;
}

Text OwnTitle(const Text& title, const Text& mme, bool dispBack, const std::vector<Text>& unconfirmed,
              const WrittenTitle* known) {
  if (title.empty()) return {};
  if (known && HoldsWrittenTitle(title, *known)) return known->own;
  return StripTag(title, mme, unconfirmed, dispBack);
}

Text GetStrippedTitle(WindowManager& wm, WindowHandle w, const Text& mme, bool dispBack,
                      const std::vector<Text>& unconfirmed, const WrittenTitle* known) {
  if (w == 0) return {};
  return OwnTitle(wm.WindowTitle(w), mme, dispBack, unconfirmed, known);
}

bool RestoreTitle(WindowManager& wm, WindowHandle w, const Text& mme, bool dispBack,
                  const std::vector<Text>& unconfirmed) {
  if (w == 0) return true;
  return wm.WriteWindowText(w, GetStrippedTitle(wm, w, mme, dispBack, unconfirmed));
}

}  // namespace velmora
