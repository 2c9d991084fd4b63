#include "core/heart_image.h"

#include <gtest/gtest.h>

namespace velmora {
namespace {

std::uint32_t Rgb(std::uint32_t argb) { return argb & 0xFFFFFF; }
std::uint32_t Alpha(std::uint32_t argb) { return argb >> 24; }

struct Bounds {
  int left = 1 << 30, top = 1 << 30, right = -1, bottom = -1;
};

// The extent of the pixels that are mostly of the given colour.
Bounds BoundsOf(const std::vector<std::uint32_t>& px, int size, std::uint32_t rgb) {
  Bounds b;
  for (int y = 0; y < size; ++y) {
    for (int x = 0; x < size; ++x) {
      const std::uint32_t p = px[y * size + x];
      if (Alpha(p) >= 128 && Rgb(p) == rgb) {
        b.left = std::min(b.left, x), b.right = std::max(b.right, x);
        b.top = std::min(b.top, y), b.bottom = std::max(b.bottom, y);
      }
    }
  }
  return b;
}

TEST(HeartImage, EachPictureHasItsColourTransparentCornersAndAGreyShadowAtEverySize) {
  const struct {
    HeartPicture picture;
    std::uint32_t color;
  } pictures[] = {{HeartPicture::Frame0, kHeartRed},
                  {HeartPicture::Frame1, kHeartRed},
                  {HeartPicture::AnimationStopped, kHeartMagenta},
                  {HeartPicture::FunctionStopped, kHeartDarkRed}};
  for (int size : {16, 20, 24, 32, 40, 48, 64}) {
    for (const auto& p : pictures) {
      const auto px = DrawHeart(p.picture, size);
      ASSERT_EQ(px.size(), static_cast<std::size_t>(size * size));
      for (int corner : {0, size - 1, size * (size - 1), size * size - 1}) {
        EXPECT_EQ(Alpha(px[corner]), 0u) << size;
      }
      const std::uint32_t centre = px[(size / 2) * size + size / 2];
      EXPECT_EQ(centre, 0xFF000000u | p.color) << size;
      const Bounds heart = BoundsOf(px, size, p.color);
      const Bounds shadow = BoundsOf(px, size, kHeartShadow);
      ASSERT_GE(shadow.right, 0) << "no shadow at " << size;
      EXPECT_GT(shadow.right, heart.right) << size;
      EXPECT_GT(shadow.bottom, heart.bottom) << size;
      EXPECT_LT(shadow.right, size);
      EXPECT_LT(shadow.bottom, size);
      // A heart: the lobes at the top are wider than the point at the bottom.
      EXPECT_GT(heart.right - heart.left, 0);
      const int topRow = heart.top + (heart.bottom - heart.top) / 4;
      const int bottomRow = heart.bottom - (heart.bottom - heart.top) / 8;
      auto width = [&](int row) {
        int n = 0;
        for (int x = 0; x < size; ++x) n += Rgb(px[row * size + x]) == p.color && Alpha(px[row * size + x]) >= 128;
        return n;
      };
      EXPECT_GT(width(topRow), width(bottomRow)) << size;
    }
  }
}

TEST(HeartImage, FramesAt32PixelsSpanTheirBoxes) {
  const Bounds large = BoundsOf(DrawHeart(HeartPicture::Frame0, 32), 32, kHeartRed);
  EXPECT_EQ(large.left, 1);
  EXPECT_EQ(large.top, 1);
  EXPECT_EQ(large.right, 30);
  EXPECT_NEAR(large.bottom, 30, 1);  // the point is anti-aliased
  const Bounds small = BoundsOf(DrawHeart(HeartPicture::Frame1, 32), 32, kHeartRed);
  EXPECT_EQ(small.left, 4);
  EXPECT_EQ(small.top, 4);
  EXPECT_EQ(small.right, 28);
  EXPECT_NEAR(small.bottom, 28, 1);
}

TEST(HeartImage, TheTwoFramesDifferSoTheIconBeats) {
  for (int size : {16, 32}) {
    EXPECT_NE(DrawHeart(HeartPicture::Frame0, size), DrawHeart(HeartPicture::Frame1, size));
  }
}

}  // namespace
}  // namespace velmora
