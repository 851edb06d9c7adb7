#include <gtest/gtest.h>

#include <optional>
#include <span>
#include <string>

#include "raster/uBmpWrite.h"
#include "raster/uJpegCodec.h"
#include "raster/uPictureDecode.h"
#include "raster/uPictureSize.h"
#include "raster/uPngIO.h"
#include "support/FlatPng.h"
#include "support/GifBuilder.h"

using namespace kx;

namespace {

std::span<const uint8_t> Bytes(const std::string& s) { return {reinterpret_cast<const uint8_t*>(s.data()), s.size()}; }

}  // namespace

TEST(PictureSize, HeadersTellTheSizeTheDecodersGive) {
  const std::string gif = kxtest::MakeGif(5, 3, {{0, 0, 0}, {9, 9, 9}}, {kxtest::SolidFrame(1, 1, 2, 2, 1)});
  // No logical screen: the first frame, found past a control extension.
  std::string gifNoScreen = gif;
  gifNoScreen[6] = gifNoScreen[8] = 0;
  std::string bmpTopDown = EncodeBmp32(TBitmap32(6, 2));
  bmpTopDown[22] = char(0xFE), bmpTopDown[23] = bmpTopDown[24] = bmpTopDown[25] = char(0xFF);  // height -2
  struct Case {
    const char* name;
    std::string data;
    std::optional<std::pair<int64_t, int64_t>> size;
  };
  const Case cases[] = {
      {"png", EncodePng(TBitmap32(7, 4)), std::pair<int64_t, int64_t>{7, 4}},
      {"large png", kxtest::FlatPng(9000, 5000), std::pair<int64_t, int64_t>{9000, 5000}},
      {"gif screen", gif, std::pair<int64_t, int64_t>{5, 3}},
      {"gif without a screen", gifNoScreen, std::pair<int64_t, int64_t>{2, 2}},
      {"bmp", EncodeBmp32(TBitmap32(6, 2)), std::pair<int64_t, int64_t>{6, 2}},
      {"bmp top-down", bmpTopDown, std::pair<int64_t, int64_t>{6, 2}},
      {"jpeg", EncodeJpeg(TBitmap32(17, 9)), std::pair<int64_t, int64_t>{17, 9}},
      {"cut png", EncodePng(TBitmap32(7, 4)).substr(0, 20), std::nullopt},
      {"gif without a frame", gifNoScreen.substr(0, 30), std::nullopt},
      {"unknown", "hello, world, not a picture", std::nullopt},
  };
  for (const Case& c : cases) {
    const std::optional<TPictureSize> size = DeclaredPictureSize(Bytes(c.data));
    ASSERT_EQ(size.has_value(), c.size.has_value()) << c.name;
    if (!size) continue;
    EXPECT_EQ(size->Width, c.size->first) << c.name;
    EXPECT_EQ(size->Height, c.size->second) << c.name;
    if (size->Pixels() > kMaxDecodedPixels) continue;
    const TBitmap32 decoded = DecodePicture(Bytes(c.data));
    EXPECT_EQ(decoded.Width(), size->Width) << c.name;
    EXPECT_EQ(decoded.Height(), size->Height) << c.name;
  }
}
