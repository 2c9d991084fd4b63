#include "core/number_text.h"

#include <algorithm>

namespace velmora {

namespace {

bool IsSurrogate(char16_t c) { return c >= 0xD800 && c <= 0xDFFF; }

// Integer part with a ',' after every third digit from the right.
Text WithSeparators(TextView digits) {
  Text out;
  out.reserve(digits.size() + digits.size() / 3);
  for (size_t i = 0; i < digits.size(); ++i) {
    if (i != 0 && (digits.size() - i) % 3 == 0) out.push_back(u',');
    out.push_back(digits[i]);
  }
  return out;
}

}  // namespace

char16_t HalfWidthNumberChar(char16_t c) {
  if (c >= u'０' && c <= u'９') return static_cast<char16_t>(u'0' + (c - u'０'));
  switch (c) {
    case u'－': return u'-';
    case u'．': return u'.';
    case u'，': return u',';
    default: return c;
  }
}

Text FormatText(TextView value, const NumberFormat& format) {
  Text rest(value);
  const size_t minusAt = rest.find(u'-');
  const bool negative = minusAt != Text::npos;
  if (negative) rest.erase(minusAt, 1);

  const size_t pointAt = rest.find(u'.');
  const bool point = pointAt != Text::npos;
  Text integer = point ? rest.substr(0, pointAt) : rest;
  Text decimals = point ? rest.substr(pointAt + 1) : Text();

  if (format.Comma) integer = WithSeparators(integer);
  if (format.DecimalFixed) {
    const size_t length = static_cast<size_t>(std::max(format.DecimalLength, 0));
    decimals.resize(length, u'0');  // pads, or cuts without rounding
  }
  if (point || format.DecimalFixed) decimals.insert(decimals.begin(), u'.');
  if (format.DecimalFixed && integer.empty()) integer = Text(u"0");

  Text out;
  if (negative) out.push_back(u'-');
  out += integer;
  out += decimals;
  if (!out.empty()) out = format.LeftMark + out + format.RightMark;
  return out;
}

Text FilterText(TextView text, const NumberFormat& format) {
  Text kept;
  bool point = false;
  for (size_t i = 0; i < text.size(); ++i) {
    const char16_t raw = text[i];
    if (IsSurrogate(raw)) break;
    const char16_t c = HalfWidthNumberChar(raw);
    if (c == u',') continue;
    if (IsDigit(c)) {
      kept.push_back(c);
    } else if (c == u'.') {
      if (format.DecimalLength == 0 || point) break;
      point = true;
      kept.push_back(c);
    } else if (c == u'-') {
      if (!format.Minus || i != 0) break;
      kept.push_back(c);
    } else {
      break;
    }
  }
  if (kept.empty()) return kept;

  const size_t sign = kept.front() == u'-' ? 1 : 0;
  const size_t integerLength = static_cast<size_t>(std::max(format.IntegerLength, 0));
  const size_t pointAt = kept.find(u'.');
  if (pointAt == Text::npos) {
    if (kept.size() - sign > integerLength) kept.resize(sign + integerLength);
    return kept;
  }
  const size_t decimalLength = static_cast<size_t>(std::max(format.DecimalLength, 0));
  if (kept.size() - pointAt - 1 > decimalLength) kept.resize(pointAt + 1 + decimalLength);
  // With a point, too long an integer part is refused rather than cut.
  if (pointAt - sign > integerLength) return Text();
  return kept;
}

Text StripLeadingZeros(TextView value) {
  const bool negative = !value.empty() && value.front() == u'-';
  TextView rest = negative ? value.substr(1) : value;
  size_t zeros = 0;
  while (zeros < rest.size() && rest[zeros] == u'0') ++zeros;
  Text out(rest.substr(zeros));
  if (out.empty() && zeros > 0) out = Text(u"0");
  if (!out.empty() && out.front() == u'.') out.insert(out.begin(), u'0');
  if (negative) out.insert(out.begin(), u'-');
  return out;
}

}  // namespace velmora
