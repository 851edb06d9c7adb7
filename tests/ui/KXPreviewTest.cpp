#include <gtest/gtest.h>

#include <FL/Fl.H>

#include <stdexcept>
#include <string>

#include "package/uPictureFileWriter.h"
#include "support/PictureFileBuilder.h"
#include "support/TestSupport.h"
#include "ui/uKXPreview.h"

using namespace kx;
using kxtest::TScratchDir;

namespace {

constexpr TPixel kRed = MakePixel(255, 0, 0);
constexpr TPixel kBlue = MakePixel(0, 0, 255);

// A 4:3 picture, red on the left half and blue on the right.
TBitmap32 HalfAndHalf() {
  TBitmap32 b(40, 30, kRed);
  b.FillRect({20, 0, 40, 30}, kBlue);
  return b;
}

}  // namespace

TEST(KXPreview, StretchesAFourByThreePictureToItsSize) {
  TScratchDir dir;
  kxtest::WriteBmp(dir / "wide.BMP", HalfAndHalf());
  TKXPreview p(0, 0, 300, 300);
  p.SetFileName(dir / "wide.BMP");
  EXPECT_EQ(p.FileName(), dir / "wide.BMP");
  const TBitmap32& b = p.Picture().Bitmap();
  ASSERT_EQ(b.Width(), 300);
  ASSERT_EQ(b.Height(), 300);
  EXPECT_EQ(b.Pixel(0, 0), kRed);
  EXPECT_EQ(b.Pixel(140, 299), kRed);
  EXPECT_EQ(b.Pixel(160, 0), kBlue);
  EXPECT_EQ(b.Pixel(299, 299), kBlue);
}

TEST(KXPreview, ShowsAPictureFilesMainPicture) {
  TScratchDir dir;
  kxtest::WriteFile(dir / "lake.kxp", MakePictureFile(kxtest::SmallPictureFile()));
  TKXPreview p(0, 0, 120, 90);
  p.SetFileName(dir / "lake.kxp");
  const TBitmap32& b = p.Picture().Bitmap();
  ASSERT_EQ(b.Width(), 120);
  ASSERT_EQ(b.Height(), 90);
  const TPixel c = b.Pixel(60, 45);  // the picture's green, not the thumbnail's blue
  EXPECT_GT(PixelG(c), 160);
  EXPECT_LT(PixelB(c), 40);
}

TEST(KXPreview, OtherExtensionsAndUnreadablePictureFilesShowABlankPicture) {
  TScratchDir dir;
  kxtest::WriteBmp(dir / "wide.bmp", HalfAndHalf());
  kxtest::WriteBmp(dir / "wide.txt", HalfAndHalf());
  // A name the show does not take as a still picture stays blank, whatever
  // the bytes: the preview follows the show's rule.
  kxtest::WriteBmp(dir / "wide.tif", HalfAndHalf());
  kxtest::WriteFile(dir / "broken.kxp", "garbage");
  TKXPreview p(0, 0, 30, 20);
  for (const std::string& path : {dir / "wide.txt", dir / "wide.tif", dir / "broken.kxp", dir / "missing.dat"}) {
    p.SetFileName(dir / "wide.bmp");
    p.SetFileName(path);
    EXPECT_EQ(p.FileName(), path);
    EXPECT_EQ(p.Picture().Bitmap(), TBitmap32(30, 20, TKXPreview::kBlank)) << path;
  }
}

TEST(KXPreview, APictureThatDoesNotDecodeThrowsAndKeepsThePicture) {
  TScratchDir dir;
  kxtest::WriteBmp(dir / "wide.bmp", HalfAndHalf());
  kxtest::WriteFile(dir / "bad.jpg", "not a picture");
  TKXPreview p(0, 0, 30, 20);
  p.SetFileName(dir / "wide.bmp");
  const TBitmap32 before = p.Picture().Bitmap();
  EXPECT_THROW(p.SetFileName(dir / "bad.jpg"), std::runtime_error);
  EXPECT_THROW(p.SetFileName(dir / "missing.gif"), std::runtime_error);
  EXPECT_EQ(p.FileName(), dir / "missing.gif");
  EXPECT_EQ(p.Picture().Bitmap(), before);
}

TEST(KXPreview, ADecodeErrorNamesTheFile) {
  TScratchDir dir;
  kxtest::WriteFile(dir / "bad.jpg", "not a picture");
  TKXPreview p(0, 0, 30, 20);
  try {
    p.SetFileName(dir / "bad.jpg");
    ADD_FAILURE() << "no error";
  } catch (const std::runtime_error& e) {
    EXPECT_EQ(std::string(e.what()).rfind("File: " + (dir / "bad.jpg") + ": ", 0), 0u) << e.what();
  }
}

TEST(KXPreview, TakesATImagesProperties) {
  TKXPreview p;
  EXPECT_EQ(p.w(), 105);
  EXPECT_TRUE(p.SetProperty("Picture.Data", {TFormBinary{std::string("\x07TBitmap\0\0\0\0", 12)}}));
  EXPECT_TRUE(p.Picture().Empty());
  for (const char* name : {"Stretch", "Proportional", "Center", "Transparent", "AutoSize"})
    EXPECT_TRUE(p.SetProperty(name, {TFormIdent{"True"}})) << name;
  EXPECT_TRUE(p.Picture().Transparent());
  EXPECT_FALSE(p.SetProperty("Caption", {TFormString{"x"}}));
  EXPECT_THROW(p.SetProperty("Stretch", {TFormInt{1}}), TFormBuildError);
}

TEST(KXPreview, AReleaseInsideClicks) {
  TKXPreview p(10, 10, 50, 40);
  int clicks = 0;
  p.OnClick = [&](TComponent& sender) {
    EXPECT_EQ(&sender, static_cast<TComponent*>(&p));
    ++clicks;
  };
  auto event = [&](int e, int x, int y) {
    Fl::e_x = x;
    Fl::e_y = y;
    Fl::e_keysym = FL_Button + FL_LEFT_MOUSE;
    return p.handle(e);
  };
  EXPECT_EQ(event(FL_PUSH, 20, 20), 1);
  EXPECT_EQ(event(FL_RELEASE, 21, 21), 1);
  EXPECT_EQ(clicks, 1);
  event(FL_PUSH, 20, 20);
  event(FL_RELEASE, 100, 100);  // released outside
  EXPECT_EQ(clicks, 1);
}
