#include <gtest/gtest.h>

#include <cstdlib>

#include "raster/uResample.h"

using namespace kx;

namespace {

TBitmap32 Gradient(int32_t w, int32_t h) {
  TBitmap32 b(w, h);
  for (int32_t y = 0; y < h; ++y)
    for (int32_t x = 0; x < w; ++x)
      b.SetPixel(x, y, MakePixel(uint8_t(x * 255 / std::max(1, w - 1)), uint8_t(y * 255 / std::max(1, h - 1)), 90));
  return b;
}

int MaxChannelDiff(TPixel a, TPixel b) {
  int d = 0;
  for (int s = 0; s < 32; s += 8) d = std::max(d, std::abs(int((a >> s) & 255) - int((b >> s) & 255)));
  return d;
}

TEST(ResampleLanczos3, FlatColourStaysExactAtEverySize) {
  const TPixel colour = MakePixel(200, 17, 99, 130);
  const std::pair<int, int> sizes[] = {{1, 1}, {3, 7}, {64, 48}, {17, 90}, {250, 3}};
  const TBitmap32 src(40, 30, colour);
  for (const auto& [w, h] : sizes) {
    TBitmap32 dst(w, h);
    ResampleLanczos3(src, dst);
    for (int32_t y = 0; y < h; ++y)
      for (int32_t x = 0; x < w; ++x) ASSERT_EQ(dst.Pixel(x, y), colour) << w << "x" << h << " at " << x << "," << y;
  }
}

TEST(ResampleLanczos3, SameSizeIsACopy) {
  const TBitmap32 src = Gradient(13, 9);
  TBitmap32 dst(13, 9);
  ResampleLanczos3(src, dst);
  EXPECT_EQ(dst, src);
}

// A smooth ramp keeps its values within a small ringing tolerance at either scale.
TEST(ResampleLanczos3, SmoothRampFollowsTheSource) {
  const TBitmap32 src = Gradient(120, 80);
  for (const auto& [w, h] : {std::pair{60, 40}, std::pair{37, 23}, std::pair{240, 160}, std::pair{131, 85}}) {
    TBitmap32 dst(w, h);
    ResampleLanczos3(src, dst);
    for (int32_t y = 0; y < h; ++y)
      for (int32_t x = 0; x < w; ++x) {
        // The source pixel under the destination pixel's centre.
        const int32_t sx = std::min(119, int32_t((x + 0.5) * 120 / w));
        const int32_t sy = std::min(79, int32_t((y + 0.5) * 80 / h));
        ASSERT_LE(MaxChannelDiff(dst.Pixel(x, y), src.Pixel(sx, sy)), 6) << w << "x" << h << " at " << x << "," << y;
      }
  }
}

TEST(ResampleLanczos3, HalvingAFineCheckerboardGivesMidGrey) {
  TBitmap32 src(64, 64);
  for (int32_t y = 0; y < 64; ++y)
    for (int32_t x = 0; x < 64; ++x) src.SetPixel(x, y, ((x + y) & 1) ? MakePixel(255, 255, 255) : MakePixel(0, 0, 0));
  TBitmap32 dst(32, 32);
  ResampleLanczos3(src, dst);
  for (int32_t y = 4; y < 28; ++y)
    for (int32_t x = 4; x < 28; ++x) ASSERT_LE(std::abs(int(PixelG(dst.Pixel(x, y))) - 128), 3) << x << "," << y;
}

TEST(ResampleLanczos3, EmptyBitmapsAreLeftAlone) {
  TBitmap32 empty;
  TBitmap32 dst(4, 4, 7);
  ResampleLanczos3(empty, dst);
  EXPECT_EQ(dst.Pixel(0, 0), 7u);
  ResampleLanczos3(dst, empty);
  EXPECT_TRUE(empty.Empty());
}

}  // namespace
