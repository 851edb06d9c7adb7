// Bitmaps reused from picture to picture: whatever a buffer held before,
// the decoders and the resampler that fill it whole give exactly the pixels
// a fresh bitmap gets, and a large enough allocation is kept.
#include <gtest/gtest.h>

#include <optional>
#include <span>
#include <string>

#include "raster/uJpegCodec.h"
#include "raster/uResample.h"
#include "raster/uStillPicture.h"

using namespace kx;

namespace {

TBitmap32 Gradient(int32_t w, int32_t h) {
  TBitmap32 b(w, h);
  for (int32_t y = 0; y < h; ++y)
    for (int32_t x = 0; x < w; ++x) b.SetPixel(x, y, MakePixel(uint8_t(x * 7), uint8_t(y * 11), uint8_t(x * y)));
  return b;
}

std::span<const uint8_t> Bytes(const std::string& s) { return {reinterpret_cast<const uint8_t*>(s.data()), s.size()}; }

TEST(ReusedBuffers, SetSizeClearsNewPixelsAndSetSizeForOverwriteKeepsTheAllocation) {
  TBitmap32 b(8, 8, MakePixel(1, 2, 3));
  const TPixel* bits = b.Bits();
  b.SetSizeForOverwrite(4, 4);
  EXPECT_EQ(b.Bits(), bits);
  EXPECT_EQ(b.Width(), 4);
  b.SetSizeForOverwrite(8, 8);
  EXPECT_EQ(b.Bits(), bits);  // grown back within what it holds
  TBitmap32 grown;
  grown.SetSize(3, 3);  // as always: pixels that did not exist are 0
  for (int32_t y = 0; y < 3; ++y)
    for (int32_t x = 0; x < 3; ++x) EXPECT_EQ(grown.Pixel(x, y), 0u);
  TBitmap32 filled(5, 2, MakePixel(9, 8, 7));
  EXPECT_EQ(filled.Pixel(4, 1), MakePixel(9, 8, 7));
  EXPECT_THROW(filled.SetSizeForOverwrite(-1, 2), std::length_error);
  EXPECT_THROW(filled.SetSizeForOverwrite(TBitmap32::kMaxSide + 1, 1), std::length_error);
}

TEST(ReusedBuffers, DecodingAndResamplingIntoAUsedBufferGiveTheFreshPixels) {
  const std::string jpeg = EncodeJpeg(Gradient(61, 43), 92);
  const struct {
    int Scale;
    TPoint Cover;
  } cases[] = {{1, {61, 43}}, {2, {30, 20}}, {4, {15, 10}}, {8, {7, 5}}};
  for (const auto& c : cases) {
    const TBitmap32 fresh = DecodeJpeg(Bytes(jpeg), c.Scale);
    TBitmap32 used(80, 80, MakePixel(255, 0, 255));  // larger, and full of another colour
    DecodeJpegInto(Bytes(jpeg), c.Scale, kMaxDecodedPixels, used);
    EXPECT_EQ(used, fresh) << c.Scale;
    TBitmap32 still(70, 70, MakePixel(0, 255, 0));
    DecodeStillPictureInto(Bytes(jpeg), c.Cover, still);
    EXPECT_EQ(still, DecodeStillPicture(Bytes(jpeg), c.Cover)) << c.Scale;
    EXPECT_EQ(still, fresh) << c.Scale;

    TBitmap32 fitted(17, 9);
    ResampleLanczos3(fresh, fitted);
    TBitmap32 reused(40, 40, MakePixel(1, 2, 3));
    reused.SetSizeForOverwrite(17, 9);
    ResampleLanczos3(fresh, reused);
    EXPECT_EQ(reused, fitted) << c.Scale;
  }
}

}  // namespace
