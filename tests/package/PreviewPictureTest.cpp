#include <gtest/gtest.h>

#include <cstdint>
#include <cstdlib>
#include <span>
#include <stdexcept>
#include <string>

#include "package/uPictureFileWriter.h"
#include "package/uPreviewPicture.h"
#include "raster/uJpegCodec.h"
#include "raster/uPngIO.h"
#include "support/TestSupport.h"

using namespace kx;
using kxtest::TScratchDir;
using kxtest::WriteFile;

namespace {

// Three bands across a picture: red, green and blue from the top.
TBitmap32 Bands(int32_t w, int32_t h) {
  TBitmap32 b(w, h);
  for (int32_t y = 0; y < h; ++y)
    for (int32_t x = 0; x < w; ++x)
      b.SetPixel(x, y, y < h / 3 ? MakePixel(255, 0, 0) : y < 2 * h / 3 ? MakePixel(0, 255, 0) : MakePixel(0, 0, 255));
  return b;
}

TBitmap32 Decoded(const std::string& jpeg) {
  return DecodeJpeg(std::span(reinterpret_cast<const uint8_t*>(jpeg.data()), jpeg.size()));
}

// Within a JPEG's error of the colour.
::testing::AssertionResult Near(TPixel p, int r, int g, int b) {
  if (std::abs(PixelR(p) - r) <= 24 && std::abs(PixelG(p) - g) <= 24 && std::abs(PixelB(p) - b) <= 24)
    return ::testing::AssertionSuccess();
  return ::testing::AssertionFailure() << int(PixelR(p)) << "," << int(PixelG(p)) << "," << int(PixelB(p));
}

struct PreviewCase {
  const char* name;
  int32_t width, height;
  // Rows of the 320 x 240 preview and the band each shows: 0 red, 1 green, 2 blue.
  int32_t rows[3];
  int bands[3];
};

class PreviewPictureTest : public testing::TestWithParam<PreviewCase> {};

// A 4:3 picture is resampled whole; a portrait one gives its middle, not
// all of it squeezed (squeezed, row 60 would be red); a wide one keeps its
// full height.
TEST_P(PreviewPictureTest, CutsFourByThreeFromTheMiddle) {
  const PreviewCase& c = GetParam();
  TScratchDir dir;
  WritePng(dir / "p.png", Bands(c.width, c.height));
  const TBitmap32 preview = Decoded(MakePreviewPicture(dir / "p.png"));
  ASSERT_EQ(preview.Width(), 320);
  ASSERT_EQ(preview.Height(), 240);
  const int colours[3][3] = {{255, 0, 0}, {0, 255, 0}, {0, 0, 255}};
  for (int i = 0; i < 3; ++i) {
    const int* want = colours[c.bands[i]];
    for (int32_t x : {4, 160, 315})
      EXPECT_TRUE(Near(preview.Pixel(x, c.rows[i]), want[0], want[1], want[2])) << "row " << c.rows[i] << " x " << x;
  }
}

INSTANTIATE_TEST_SUITE_P(Cases, PreviewPictureTest,
                         testing::Values(PreviewCase{"FourByThree", 800, 600, {30, 120, 210}, {0, 1, 2}},
                                         // 300 x 400: rows 87 to 312 kept, red ends at 133 (row 49 of 240).
                                         PreviewCase{"Portrait", 300, 400, {20, 60, 225}, {0, 1, 2}},
                                         PreviewCase{"Wide", 1600, 300, {30, 120, 210}, {0, 1, 2}}),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(PreviewPicture, FromAPictureFilesMainPicture) {
  TScratchDir dir;
  TPictureFileParts parts;
  parts.Thumbnail = EncodeJpeg(TBitmap32(8, 6, MakePixel(255, 255, 255)));
  parts.Picture = EncodeJpeg(Bands(400, 300));
  parts.RegionMap = {4, 3, 120};
  WriteFile(dir / "p.kxp", MakePictureFile(parts));
  const TBitmap32 preview = Decoded(MakePreviewPicture(dir / "p.kxp"));
  ASSERT_EQ(preview.Width(), 320);
  EXPECT_TRUE(Near(preview.Pixel(160, 30), 255, 0, 0));
  EXPECT_TRUE(Near(preview.Pixel(160, 210), 0, 0, 255));
}

TEST(PreviewPicture, APictureThatDoesNotDecodeIsAnError) {
  TScratchDir dir;
  WriteFile(dir / "p.jpg", "not a picture");
  EXPECT_ANY_THROW(MakePreviewPicture(dir / "p.jpg"));
  EXPECT_ANY_THROW(MakePreviewPicture(dir / "missing.png"));
}

}  // namespace
