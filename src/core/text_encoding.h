// Byte-order marks and the system ANSI code page for the settings files.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "core/text.h"

namespace velmora {

enum class FileEncoding { Ansi, Utf8, Utf16LE, Utf16BE };

// The system ANSI code page (932 on Japanese systems).
class CodePage {
 public:
  virtual ~CodePage() = default;
  virtual Text Decode(std::string_view bytes) = 0;
  virtual std::string Encode(TextView text) = 0;
  virtual bool IsUtf8() = 0;
};

struct DecodedText {
  Text text;
  FileEncoding encoding = FileEncoding::Ansi;
};

// EF BB BF UTF-8, FF FE UTF-16LE, FE FF UTF-16BE, checked in that order; no
// mark: the ANSI code page.
DecodedText DecodeByMark(std::string_view bytes, CodePage& ansi);

// The text with the encoding's byte-order mark; ANSI has none (UTF-8's mark
// when the system code page is UTF-8).
std::string EncodeWithMark(TextView text, FileEncoding encoding, CodePage& ansi);

// Splits at CR LF, a lone CR or a lone LF. A final line end adds no empty line.
std::vector<Text> SplitLines(TextView text);

}  // namespace velmora
