#include "core/heart_image.h"

#include <algorithm>
#include <cmath>

namespace velmora {

namespace {

// The classic heart curve (x^2 + y^2 - 1)^3 = x^2 y^3, y pointing up.
bool InsideHeart(double x, double y) {
  const double a = x * x + y * y - 1.0;
  return a * a * a - x * x * y * y * y <= 0.0;
}

// Its extent, found once: |x| <= kHalfWidth, -1 <= y <= kTop.
struct Extent {
  double halfWidth = 0, top = 0;
};

const Extent& HeartExtent() {
  static const Extent extent = [] {
    Extent e;
    constexpr int kSteps = 2000;
    for (int i = 0; i <= kSteps; ++i) {
      const double x = 1.5 * i / kSteps;
      for (int j = 0; j <= kSteps; ++j) {
        const double y = -1.5 + 3.0 * j / kSteps;
        if (InsideHeart(x, y)) {
          e.halfWidth = std::max(e.halfWidth, x);
          e.top = std::max(e.top, y);
        }
      }
    }
    return e;
  }();
  return extent;
}

// A heart filling the square [lo, hi) in both directions, in pixels.
struct HeartBox {
  double lo, hi;
  bool Contains(double px, double py) const {
    const Extent& e = HeartExtent();
    const double u = (px - lo) / (hi - lo);  // 0..1 left to right
    const double v = (py - lo) / (hi - lo);  // 0..1 top to bottom
    return InsideHeart((2.0 * u - 1.0) * e.halfWidth, e.top - v * (e.top + 1.0));
  }
};

constexpr int kSamples = 4;  // per pixel and direction, for smooth edges

double Coverage(const HeartBox& box, int px, int py, double shift) {
  int hits = 0;
  for (int i = 0; i < kSamples; ++i) {
    for (int j = 0; j < kSamples; ++j) {
      const double x = px + (i + 0.5) / kSamples - shift;
      const double y = py + (j + 0.5) / kSamples - shift;
      if (box.Contains(x, y)) ++hits;
    }
  }
  return static_cast<double>(hits) / (kSamples * kSamples);
}

std::uint32_t Channel(std::uint32_t rgb, int shift) { return (rgb >> shift) & 0xFF; }

}  // namespace

std::vector<std::uint32_t> DrawHeart(HeartPicture picture, int size) {
  std::vector<std::uint32_t> pixels(static_cast<std::size_t>(std::max(size, 0)) * std::max(size, 0), 0);
  if (size <= 0) return pixels;

  const double scale = size / 32.0;
  const bool large = picture == HeartPicture::Frame0;
  // The shadow lies one 32nd of the icon, at least one pixel, to the lower
  // right; at small sizes the heart gives way so that the shadow still fits.
  const double shadow = std::max(1.0, scale);
  const double lo = (large ? 1.0 : 4.0) * scale;
  const double hi = std::min((large ? 31.0 : 29.0) * scale, size - shadow);
  const HeartBox box{lo, hi};
  const std::uint32_t color = picture == HeartPicture::AnimationStopped  ? kHeartMagenta
                              : picture == HeartPicture::FunctionStopped ? kHeartDarkRed
                                                                         : kHeartRed;

  for (int y = 0; y < size; ++y) {
    for (int x = 0; x < size; ++x) {
      const double heart = Coverage(box, x, y, 0.0);
      const double under = heart >= 1.0 ? 0.0 : Coverage(box, x, y, shadow);
      const double alpha = heart + under * (1.0 - heart);
      if (alpha <= 0.0) continue;
      std::uint32_t argb = static_cast<std::uint32_t>(std::lround(alpha * 255)) << 24;
      for (int c : {16, 8, 0}) {
        const double v = (Channel(color, c) * heart + Channel(kHeartShadow, c) * under * (1.0 - heart)) / alpha;
        argb |= static_cast<std::uint32_t>(std::lround(v)) << c;
      }
      pixels[static_cast<std::size_t>(y) * size + x] = argb;
    }
  }
  return pixels;
}

}  // namespace velmora
