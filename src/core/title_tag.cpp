#include "core/title_tag.h"

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

Text StripTag(const Text& title, const Text& tag, bool dispBack) {
  const size_t pos = tag.empty() ? Text::npos : title.find(tag);
  if (pos == Text::npos) return title;
  if (dispBack) return title.substr(0, pos);
  Text out = title;
  out.erase(pos, tag.size());
  return out;
}

Text PlaceTag(const Text& stripped, const Text& tag, bool dispBack) {
  return dispBack ? stripped + tag : tag + stripped;
}

}  // namespace velmora
