#include "core/show_request.h"

#include <algorithm>

namespace velmora {

std::array<std::uint8_t, kShowRequestBytes> ShowRequestPayload() {
  // "/Show" plus one U+0000 is six units; the size counts one unit more.
  std::array<std::uint8_t, kShowRequestBytes> bytes{};
  for (std::size_t i = 0; kShowRequestText[i] != 0; ++i) {
    bytes[2 * i] = static_cast<std::uint8_t>(kShowRequestText[i] & 0xFF);
    bytes[2 * i + 1] = static_cast<std::uint8_t>(kShowRequestText[i] >> 8);
  }
  return bytes;
}

Text RequestText(const void* data, std::uint64_t byteCount, std::size_t maxUnits) {
  Text text;
  if (data == nullptr) return text;
  // Byte by byte: the sender's buffer need not be aligned for 16-bit reads.
  const auto* bytes = static_cast<const std::uint8_t*>(data);
  const std::uint64_t units = std::min<std::uint64_t>(byteCount / 2, maxUnits);
  for (std::uint64_t i = 0; i < units; ++i) {
    const auto unit = static_cast<char16_t>(bytes[2 * i] | (bytes[2 * i + 1] << 8));
    if (unit == 0) break;
    text.push_back(unit);
  }
  return text;
}

bool IsShowRequest(const void* data, std::uint64_t byteCount) {
  // One unit more than "/Show" is enough to tell a longer text apart.
  constexpr std::size_t kLength = std::char_traits<char16_t>::length(kShowRequestText);
  return RequestText(data, byteCount, kLength + 1) == kShowRequestText;
}

}  // namespace velmora
