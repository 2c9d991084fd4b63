// The request a second start sends the running instance: WM_COPYDATA with
// the UTF-16LE text "/Show" and two U+0000 code units, 14 bytes in all.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>

#include "core/text.h"

namespace velmora {

inline constexpr std::size_t kShowRequestBytes = 14;
inline constexpr char16_t kShowRequestText[] = u"/Show";

// The exact bytes of a request.
std::array<std::uint8_t, kShowRequestBytes> ShowRequestPayload();

// The text of a received request: UTF-16LE up to the first U+0000, never
// beyond `byteCount` bytes (an odd last byte is no code unit) and never more
// than `maxUnits` units; null data reads as the empty text.
Text RequestText(const void* data, std::uint64_t byteCount, std::size_t maxUnits);

// True when the received data reads exactly "/Show" (case-sensitive).
bool IsShowRequest(const void* data, std::uint64_t byteCount);

}  // namespace velmora
