#include "core/button_glyph.h"

#include <algorithm>
#include <cmath>
#include <span>

namespace velmora {

namespace {

struct Point {
  double x, y;
};
struct Segment {
  Point a, b;
};

// In units of the picture's side, y down.
constexpr Segment kCheck[] = {{{0.14, 0.52}, {0.40, 0.78}}, {{0.40, 0.78}, {0.88, 0.20}}};
constexpr Segment kCross[] = {{{0.22, 0.22}, {0.78, 0.78}}, {{0.78, 0.22}, {0.22, 0.78}}};

double DistanceToSegment(Point p, const Segment& s) {
  const double dx = s.b.x - s.a.x, dy = s.b.y - s.a.y;
  const double len2 = dx * dx + dy * dy;
  double t = len2 > 0 ? ((p.x - s.a.x) * dx + (p.y - s.a.y) * dy) / len2 : 0.0;
  t = std::clamp(t, 0.0, 1.0);
  const double ex = s.a.x + t * dx - p.x, ey = s.a.y + t * dy - p.y;
  return std::sqrt(ex * ex + ey * ey);
}

}  // namespace

std::vector<std::uint32_t> DrawButtonGlyph(ButtonGlyph glyph, int size) {
  if (size < 1) return {};
  const std::span<const Segment> strokes = glyph == ButtonGlyph::Ok ? std::span<const Segment>(kCheck)
                                                                    : std::span<const Segment>(kCross);
  const std::uint32_t color = glyph == ButtonGlyph::Ok ? kGlyphOkColor : kGlyphCancelColor;
  // Thick enough to read at 16 pixels, never thinner than 2 pixels.
  const double halfWidth = std::max(0.085, 1.0 / size);

  // 4 x 4 samples a pixel give the edges their partial cover.
  constexpr int kSub = 4;
  std::vector<std::uint32_t> pixels(static_cast<std::size_t>(size) * size, 0);
  for (int y = 0; y < size; ++y) {
    for (int x = 0; x < size; ++x) {
      int inside = 0;
      for (int sy = 0; sy < kSub; ++sy) {
        for (int sx = 0; sx < kSub; ++sx) {
          const Point p{(x + (sx + 0.5) / kSub) / size, (y + (sy + 0.5) / kSub) / size};
          for (const Segment& s : strokes) {
            if (DistanceToSegment(p, s) <= halfWidth) {
              ++inside;
              break;
            }
          }
        }
      }
      const auto alpha = static_cast<std::uint32_t>((inside * 255 + kSub * kSub / 2) / (kSub * kSub));
      if (alpha > 0) pixels[static_cast<std::size_t>(y) * size + x] = (alpha << 24) | color;
    }
  }
  return pixels;
}

}  // namespace velmora
