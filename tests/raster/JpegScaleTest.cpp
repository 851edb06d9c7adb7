#include <gtest/gtest.h>

#include "raster/uJpegCodec.h"

using namespace kx;

namespace {

TEST(JpegScaleToCover, LargestScaleThatStillCoversTheTarget) {
  struct Case {
    TPoint full, target;
    int denom;
  };
  const Case cases[] = {
      {{4000, 3000}, {1920, 1080}, 2},  // 2000 x 1500
      {{4000, 3000}, {1000, 750}, 4},
      {{4000, 3000}, {500, 375}, 8},
      {{4000, 3000}, {4000, 3000}, 1},
      {{4000, 3000}, {5000, 100}, 1},  // enlarging: never scaled down
      {{3841, 2161}, {1921, 1081}, 2},  // rounded up: 1921 x 1081
      {{3841, 2160}, {1921, 1081}, 1},
      {{640, 480}, {1280, 1024}, 1},
  };
  for (const Case& c : cases)
    EXPECT_EQ(JpegScaleToCover(c.full, c.target), c.denom) << c.full.X << "x" << c.full.Y;
}

TEST(JpegPictureSize, ReadsTheHeaderOnly) {
  const std::string jpeg = EncodeJpeg(TBitmap32(37, 21, MakePixel(10, 20, 30)));
  const std::span data(reinterpret_cast<const uint8_t*>(jpeg.data()), jpeg.size());
  EXPECT_EQ(JpegPictureSize(data), (TPoint{37, 21}));
  EXPECT_EQ(JpegPictureSize(data.first(20)), std::nullopt);
  const TBitmap32 half = DecodeJpeg(data, JpegScaleToCover({37, 21}, {18, 10}));
  EXPECT_EQ(half.Width(), 19);  // scale 2 rounds up
  EXPECT_EQ(half.Height(), 11);
}

}  // namespace
