// The number field's text rules: the value text as typed or pasted, and the
// display text made from it. Pure functions of the text and the field's
// limits and marks.
#pragma once

#include "core/text.h"

namespace velmora {

// The limits and the look of the number, the inputs of the text functions.
struct NumberFormat {
  int IntegerLength = 9;
  int DecimalLength = 3;
  bool Minus = true;
  bool Comma = true;
  bool DecimalFixed = false;
  Text LeftMark;
  Text RightMark;
};

// An ASCII digit.
inline bool IsDigit(char16_t c) { return c >= u'0' && c <= u'9'; }

// A full-width digit, minus, full stop or comma as its ASCII counterpart
// (what the input method types with full-width input on); any other unit
// as it is.
char16_t HalfWidthNumberChar(char16_t c);

// Value text in, display text out: separators, fixed decimals, marks.
Text FormatText(TextView value, const NumberFormat& format);
// Any text in, value text out, within the length and sign limits.
Text FilterText(TextView text, const NumberFormat& format);
// "007" -> "7", "000" -> "0", ".5" -> "0.5", "-00.50" -> "-0.50".
Text StripLeadingZeros(TextView value);

}  // namespace velmora
