// The 32-bit BMP writer: the header fields a reader relies on, and pictures
// that come back pixel for pixel through the BMP decoder.
#include <gtest/gtest.h>

#include <cstring>

#include "raster/uBmpDecode.h"
#include "raster/uBmpWrite.h"
#include "raster/uPictureDecode.h"

using namespace kx;

namespace {

uint32_t U32(const std::string& s, size_t at) {
  uint32_t v = 0;
  for (int i = 3; i >= 0; --i) v = v << 8 | uint8_t(s[at + i]);
  return v;
}
uint16_t U16(const std::string& s, size_t at) { return uint16_t(uint8_t(s[at]) | uint8_t(s[at + 1]) << 8); }

std::span<const uint8_t> Bytes(const std::string& s) { return {reinterpret_cast<const uint8_t*>(s.data()), s.size()}; }

// Every pixel different, and the rows and columns told apart.
TBitmap32 Pattern(int w, int h) {
  TBitmap32 b(w, h);
  for (int y = 0; y < h; ++y)
    for (int x = 0; x < w; ++x) b.SetPixel(x, y, MakePixel(uint8_t(x * 7), uint8_t(y * 13), uint8_t(x + y), 255));
  return b;
}

}  // namespace

TEST(BmpWrite, HeaderOf1024x768At32Bits) {
  const std::string bmp = EncodeBmp32(TBitmap32(1024, 768, MakePixel(1, 2, 3)));
  const uint32_t pixels = 1024 * 768 * 4;
  ASSERT_EQ(bmp.size(), 54u + pixels);
  EXPECT_EQ(bmp.substr(0, 2), "BM");
  EXPECT_EQ(U32(bmp, 2), 54u + pixels);  // file size
  EXPECT_EQ(U32(bmp, 6), 0u);            // reserved
  EXPECT_EQ(U32(bmp, 10), 54u);          // offset of the pixels
  EXPECT_EQ(U32(bmp, 14), 40u);          // information header size
  EXPECT_EQ(int32_t(U32(bmp, 18)), 1024);
  EXPECT_EQ(int32_t(U32(bmp, 22)), 768);  // positive: bottom-up
  EXPECT_EQ(U16(bmp, 26), 1);             // planes
  EXPECT_EQ(U16(bmp, 28), 32);            // bits per pixel
  EXPECT_EQ(U32(bmp, 30), 0u);            // uncompressed
  EXPECT_EQ(U32(bmp, 34), pixels);
  EXPECT_EQ(U32(bmp, 46), 0u);  // no palette
  // The first pixel stored is the bottom-left one, as blue, green, red, fourth byte.
  EXPECT_EQ(uint8_t(bmp[54]), 3);
  EXPECT_EQ(uint8_t(bmp[55]), 2);
  EXPECT_EQ(uint8_t(bmp[56]), 1);
  EXPECT_EQ(uint8_t(bmp[57]), 255);
}

TEST(BmpWrite, RowsAreStoredBottomUp) {
  TBitmap32 b(2, 2, MakePixel(0, 0, 0));
  b.SetPixel(0, 0, MakePixel(10, 20, 30));  // top left
  b.SetPixel(1, 1, MakePixel(40, 50, 60));  // bottom right
  const std::string bmp = EncodeBmp32(b);
  EXPECT_EQ(U32(bmp, 54 + 4), MakePixel(40, 50, 60));  // bottom row first
  EXPECT_EQ(U32(bmp, 54 + 8), MakePixel(10, 20, 30));
}

TEST(BmpWrite, RoundTripsThroughTheDecoder) {
  for (const auto& [w, h] : {std::pair{1, 1}, {3, 5}, {17, 2}, {1024, 768}}) {
    SCOPED_TRACE(std::to_string(w) + "x" + std::to_string(h));
    const TBitmap32 picture = Pattern(w, h);
    const std::string bmp = EncodeBmp32(picture);
    EXPECT_EQ(PictureKindOf(Bytes(bmp)), TPictureKind::Bmp);
    EXPECT_EQ(DecodeBmp(Bytes(bmp)), picture);
  }
}
