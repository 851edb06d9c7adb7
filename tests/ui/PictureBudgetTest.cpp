#include <gtest/gtest.h>

#include <string>

#include "raster/uJpegCodec.h"
#include "raster/uPngIO.h"
#include "support/FlatPng.h"
#include "support/TestSupport.h"
#include "support/VirtualScreen.h"
#include "ui/uFormBuilder.h"
#include "ui/uKXFormParent.h"
#include "ui/uPictureData.h"
#include "ui/uStdControls.h"
#include "ui/uTextFormReader.h"
#include "ui/uThumbnailLoader.h"

using namespace kx;
using kxtest::TScratchDir;

namespace {

std::string Hex(const std::string& bytes) {
  static const char* digits = "0123456789ABCDEF";
  std::string out;
  for (const char c : bytes) out += {digits[uint8_t(c) >> 4], digits[uint8_t(c) & 15]};
  return out;
}

// A TImage whose Picture.Data is a PNG.
std::string ImageObject(int i, const std::string& png) {
  return "  object I" + std::to_string(i) + ": TImage\n    Picture.Data = {" + Hex("\x0ATPNGObject" + png) + "}\n  end\n";
}

class PictureBudgetTest : public kxtest::TScreenTest {};

}  // namespace

TEST_F(PictureBudgetTest, AWindowsPicturesShareOneBudget) {
  // 2048 x 2048 pixels take 16 MB decoded: four fill the window's 64 MB,
  // whether they are one picture named again or different ones; the controls
  // beyond show nothing and the window is built.
  ASSERT_EQ(int64_t(2048) * 2048 * 4 * 4, TPictureBudget::kWindowBytes);
  const std::string same = kxtest::FlatPng(2048, 2048), other = kxtest::FlatPng(2048, 2048, true);
  std::string text = "object W: TfmKXFormParent\n";
  for (int i = 0; i < 6; ++i) text += ImageObject(i, i == 2 ? other : same);
  text += ImageObject(6, kxtest::FlatPng(2, 2));
  TfmKXFormParent window;
  BuildWindow(window, ReadTextForm(text + "end\n"));
  int shown = 0;
  for (TComponent* c : window.Components)
    if (auto* image = dynamic_cast<TImage*>(c)) shown += !image->Picture.Empty();
  EXPECT_EQ(shown, 4);
  // Outside a window's build, pictures have only the decoders' limits.
  for (int i = 0; i < 6; ++i) EXPECT_FALSE(DecodePictureData("\x0ATPNGObject" + same).Empty());
}

TEST(PictureBudget, BudgetsNestAndRefuseFromTheHeader) {
  const std::string big = "\x0ATPNGObject" + kxtest::FlatPng(1000, 1000);  // 4 MB decoded
  const TPictureBudget outer(int64_t(5) << 20);
  EXPECT_FALSE(DecodePictureData(big).Empty());
  {
    const TPictureBudget inner(int64_t(3) << 20);
    EXPECT_EQ(TPictureBudget::Current(), &inner);
    EXPECT_TRUE(DecodePictureData(big).Empty());
    EXPECT_EQ(inner.Used(), 0);
  }
  EXPECT_EQ(TPictureBudget::Current(), &outer);
  EXPECT_EQ(outer.Used(), 4000000);
  EXPECT_TRUE(DecodePictureData(big).Empty());
  // A picture that does not decode still fails the build, as before.
  EXPECT_THROW(DecodePictureData("\x0ATPNGObject\x89PNG\r\n\x1A\nbroken"), std::exception);
}

TEST(Thumbnails, PicturesTooLargeToDecodeGetAPlaceholder) {
  TScratchDir dir;
  // Named as pictures the show plays; the kind is told by the bytes.
  kxtest::WriteFile(dir / "huge.bmp", kxtest::FlatPng(5792, 5792));
  kxtest::WriteFile(dir / "fits.bmp", kxtest::FlatPng(2048, 2048, true));
  kxtest::WriteFile(dir / "big.jpg", EncodeJpeg(TBitmap32(2400, 1800, MakePixel(200, 0, 0))));
  const TThumbnail huge = LoadThumbnail(dir / "huge.bmp", 8, 6);
  EXPECT_EQ(huge.Bitmap, PlaceholderThumbnail(8, 6));
  EXPECT_EQ(huge.Bitmap.Pixel(0, 0), kPlaceholderFrame);
  EXPECT_EQ(huge.Bitmap.Pixel(3, 3), kPlaceholderFill);
  EXPECT_EQ(huge.Title, "huge.bmp");
  EXPECT_EQ(LoadThumbnail(dir / "fits.bmp", 8, 6).Bitmap, TBitmap32(8, 6, MakePixel(255, 255, 255)));
  // A JPEG decodes at a DCT scale under the thumbnail budget.
  const TThumbnail jpeg = LoadThumbnail(dir / "big.jpg", 8, 6);
  ASSERT_EQ(jpeg.Bitmap.Width(), 8);
  EXPECT_NEAR(PixelR(jpeg.Bitmap.Pixel(4, 3)), 200, 3);
}
