// The four pictures of the tray icon, drawn at whatever size the
// notification area asks for: a heart on a transparent background with a
// grey shadow along its right and lower edge.
#pragma once

#include <cstdint>
#include <vector>

namespace velmora {

enum class HeartPicture {
  Frame0,            // large red heart, pixel 1 to 30 of 32
  Frame1,            // smaller red heart, pixel 4 to 28 of 32
  AnimationStopped,  // smaller heart in magenta
  FunctionStopped,   // smaller heart in dark red
};

inline constexpr std::uint32_t kHeartRed = 0xFF0000;
inline constexpr std::uint32_t kHeartMagenta = 0xFF00FF;
inline constexpr std::uint32_t kHeartDarkRed = 0x840000;
inline constexpr std::uint32_t kHeartShadow = 0x848484;

// size x size pixels, rows top down, each 0xAARRGGBB with straight alpha
// (edges are anti-aliased; away from them a pixel is fully opaque or fully
// transparent).
std::vector<std::uint32_t> DrawHeart(HeartPicture picture, int size);

}  // namespace velmora
