// The vector loops of the Lanczos-3 resampler against the plain ones: every
// output byte must be the same, whatever the sizes.
#include <gtest/gtest.h>

#include <cstdint>
#include <string>

#include "raster/uResample.h"
#include "raster/uResampleKernels.h"

using namespace kx;

namespace {

TBitmap32 RandomPixels(int32_t w, int32_t h, uint32_t seed) {
  TBitmap32 b(w, h);
  for (int32_t y = 0; y < h; ++y)
    for (int32_t x = 0; x < w; ++x) {
      seed = seed * 1664525u + 1013904223u;
      b.SetPixel(x, y, seed ^ (seed >> 13));
    }
  return b;
}

// Hard black and white edges: the filter's lobes overshoot both ends, so the
// clamping to 0 and 255 is exercised on every channel.
TBitmap32 Stripes(int32_t w, int32_t h) {
  TBitmap32 b(w, h);
  for (int32_t y = 0; y < h; ++y)
    for (int32_t x = 0; x < w; ++x) b.SetPixel(x, y, ((x / 2 + y / 3) & 1) ? 0xFFFFFFFFu : 0u);
  return b;
}

std::string Name(TResamplePath path) {
  static const char* const kNames[] = {"scalar", "SSE2", "AVX2"};
  return kNames[size_t(path)];
}

struct TSizes {
  int32_t SrcW, SrcH, DstW, DstH;
};

// Odd sizes, rows shorter and longer than one vector, single rows and
// columns, enlarging, shrinking, both at once, and a strong reduction whose
// taps run to hundreds.
constexpr TSizes kSizes[] = {
    {1, 1, 7, 5},     {1, 9, 4, 3},      {9, 1, 250, 1},   {37, 23, 1, 1},   {37, 23, 1, 40},
    {2, 2, 3, 3},     {3, 5, 11, 2},     {64, 48, 31, 17}, {131, 85, 240, 161}, {333, 77, 45, 199},
    {200, 3, 67, 3},  {5, 300, 5, 17},   {17, 17, 9, 33},  {1000, 10, 3, 2},  {7, 640, 13, 2},
    {120, 80, 120, 41}, {45, 60, 91, 60},
};

class ResamplePaths : public ::testing::TestWithParam<TResamplePath> {
 protected:
  void SetUp() override {
    if (!ResamplePathAvailable(GetParam())) GTEST_SKIP() << Name(GetParam()) << " is not available here";
  }

  void ExpectSameAsScalar(const TBitmap32& src, const TSizes& s) {
    TBitmap32 expected(s.DstW, s.DstH, 0x12345678u), actual(s.DstW, s.DstH, 0x9ABCDEF0u);
    ResampleLanczos3On(TResamplePath::Scalar, src, expected);
    ResampleLanczos3On(GetParam(), src, actual);
    for (int32_t y = 0; y < s.DstH; ++y)
      for (int32_t x = 0; x < s.DstW; ++x)
        ASSERT_EQ(actual.Pixel(x, y), expected.Pixel(x, y))
            << Name(GetParam()) << " " << s.SrcW << "x" << s.SrcH << " -> " << s.DstW << "x" << s.DstH << " at " << x
            << "," << y;
  }
};

TEST_P(ResamplePaths, RandomPixelsGiveTheScalarBytes) {
  uint32_t seed = 7;
  for (const TSizes& s : kSizes) ExpectSameAsScalar(RandomPixels(s.SrcW, s.SrcH, seed++), s);
}

TEST_P(ResamplePaths, OvershootingEdgesGiveTheScalarBytes) {
  for (const TSizes& s : kSizes) ExpectSameAsScalar(Stripes(s.SrcW, s.SrcH), s);
}

// The photo-fitting case the slideshow runs most, at a reduced size.
TEST_P(ResamplePaths, PhotoReductionGivesTheScalarBytes) {
  ExpectSameAsScalar(RandomPixels(1000, 750, 99), {1000, 750, 960, 540});
}

INSTANTIATE_TEST_SUITE_P(Each, ResamplePaths, ::testing::Values(TResamplePath::Sse2, TResamplePath::Avx2),
                         [](const auto& info) { return Name(info.param); });

TEST(ResampleLanczos3Dispatch, PublicEntryUsesAnAvailablePathWithTheScalarBytes) {
  EXPECT_TRUE(ResamplePathAvailable(BestResamplePath()));
  const TBitmap32 src = RandomPixels(77, 51, 3);
  TBitmap32 expected(100, 29), actual(100, 29);
  ResampleLanczos3On(TResamplePath::Scalar, src, expected);
  ResampleLanczos3(src, actual);
  EXPECT_EQ(actual, expected);
}

}  // namespace
