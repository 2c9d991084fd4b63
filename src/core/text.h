// UTF-16 text helpers shared by the core. Core text is std::u16string: the
// same code units the wide Windows functions read and write.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace velmora {

using Text = std::u16string;
using TextView = std::u16string_view;

// Widens 7-bit ASCII; used for numbers and fixed Latin texts.
Text FromAscii(std::string_view ascii);

// Decimal digits of v, at least `width` of them (leading zeros).
Text DecimalText(std::int64_t v, int width = 1);

// Letter case folding limited to A-Z / a-z; every other unit stays as it is.
Text AsciiLower(TextView s);
Text AsciiUpper(TextView s);
bool EqualsAsciiNoCase(TextView a, TextView b);

// The text after the last '\' or ':'; the whole text when it has neither.
TextView FileNamePart(TextView path);

// The text up to the first NUL.
TextView UpToNul(TextView s);

// UTF-8 <-> UTF-16 for messages and test output.
std::string ToUtf8(TextView s);
Text FromUtf8(std::string_view s);

}  // namespace velmora
