#include "core/button_glyph.h"

#include <gtest/gtest.h>

namespace velmora {
namespace {

std::uint32_t At(const std::vector<std::uint32_t>& px, int size, double x, double y) {
  return px[static_cast<std::size_t>(y * size) * size + static_cast<std::size_t>(x * size)];
}

TEST(ButtonGlyph, CheckMarkAndCrossAtEverySize) {
  const struct {
    ButtonGlyph glyph;
    std::uint32_t color;
    // A point on the strokes and points well away from them, in units of
    // the side.
    double onX, onY;
    double offs[3][2];
  } cases[] = {
      {ButtonGlyph::Ok, kGlyphOkColor, 0.40, 0.76, {{0.80, 0.80}, {0.20, 0.20}, {0.50, 0.95}}},
      {ButtonGlyph::Cancel, kGlyphCancelColor, 0.50, 0.50, {{0.50, 0.15}, {0.15, 0.50}, {0.85, 0.50}}},
  };
  for (int size : {16, 20, 24, 32, 48}) {
    for (const auto& c : cases) {
      const auto px = DrawButtonGlyph(c.glyph, size);
      ASSERT_EQ(px.size(), static_cast<std::size_t>(size * size));
      EXPECT_EQ(At(px, size, c.onX, c.onY), 0xFF000000u | c.color) << size;
      for (const auto& off : c.offs) EXPECT_EQ(At(px, size, off[0], off[1]) >> 24, 0u) << size;
      for (int corner : {0, size - 1, size * (size - 1), size * size - 1}) EXPECT_EQ(px[corner], 0u) << size;
      bool softEdge = false;
      for (std::uint32_t p : px) {
        if (p == 0) continue;
        EXPECT_EQ(p & 0xFFFFFF, c.color);
        softEdge |= (p >> 24) < 255;
      }
      EXPECT_TRUE(softEdge) << "edges are not anti-aliased at " << size;
    }
  }
}

TEST(ButtonGlyph, NoPictureWithoutPixels) {
  EXPECT_TRUE(DrawButtonGlyph(ButtonGlyph::Ok, 0).empty());
  EXPECT_TRUE(DrawButtonGlyph(ButtonGlyph::Cancel, -3).empty());
}

}  // namespace
}  // namespace velmora
