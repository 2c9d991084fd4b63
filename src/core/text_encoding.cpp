#include "core/text_encoding.h"

namespace velmora {

namespace {

Text DecodeUtf16(std::string_view bytes, bool bigEndian) {
  Text out;
  out.reserve(bytes.size() / 2);
  for (size_t i = 0; i + 1 < bytes.size(); i += 2) {
    const auto a = static_cast<unsigned char>(bytes[i]), b = static_cast<unsigned char>(bytes[i + 1]);
    out.push_back(static_cast<char16_t>(bigEndian ? (a << 8) | b : (b << 8) | a));
  }
  return out;
}

void AppendUtf16(std::string& out, TextView text, bool bigEndian) {
  out.reserve(out.size() + text.size() * 2);
  for (const char16_t c : text) {
    const auto hi = static_cast<char>(c >> 8), lo = static_cast<char>(c & 0xFF);
    out.push_back(bigEndian ? hi : lo);
    out.push_back(bigEndian ? lo : hi);
  }
}

bool StartsWith(std::string_view bytes, std::string_view mark) { return bytes.substr(0, mark.size()) == mark; }

}  // namespace

DecodedText DecodeByMark(std::string_view bytes, CodePage& ansi) {
  if (StartsWith(bytes, "\xEF\xBB\xBF")) return {FromUtf8(bytes.substr(3)), FileEncoding::Utf8};
  if (StartsWith(bytes, "\xFF\xFE")) return {DecodeUtf16(bytes.substr(2), false), FileEncoding::Utf16LE};
  if (StartsWith(bytes, "\xFE\xFF")) return {DecodeUtf16(bytes.substr(2), true), FileEncoding::Utf16BE};
  return {ansi.Decode(bytes), FileEncoding::Ansi};
}

std::string EncodeWithMark(TextView text, FileEncoding encoding, CodePage& ansi) {
  std::string out;
  switch (encoding) {
    case FileEncoding::Utf8:
      return "\xEF\xBB\xBF" + ToUtf8(text);
    case FileEncoding::Utf16LE:
      out = "\xFF\xFE";
      AppendUtf16(out, text, false);
      return out;
    case FileEncoding::Utf16BE:
      out = "\xFE\xFF";
      AppendUtf16(out, text, true);
      return out;
    case FileEncoding::Ansi:
      break;
  }
  if (ansi.IsUtf8()) return "\xEF\xBB\xBF" + ToUtf8(text);
  return ansi.Encode(text);
}

std::vector<Text> SplitLines(TextView text) {
  std::vector<Text> lines;
  size_t pos = 0;
  while (pos < text.size()) {
    size_t end = text.find_first_of(u"\r\n", pos);
    if (end == TextView::npos) {
      lines.emplace_back(text.substr(pos));
      break;
    }
    lines.emplace_back(text.substr(pos, end - pos));
    pos = end + 1;
    if (text[end] == u'\r' && pos < text.size() && text[pos] == u'\n') ++pos;
  }
  return lines;
}

}  // namespace velmora
