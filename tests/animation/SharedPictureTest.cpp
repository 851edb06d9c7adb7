#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "animation/uObjectPicture.h"
#include "animation/uPictureStore.h"
#include "animation/uSharedPicture.h"
#include "raster/uPngIO.h"
#include "support/FlatPng.h"
#include "support/GifBuilder.h"
#include "support/TestSupport.h"

using namespace kx;
using kxtest::TScratchDir;

namespace {

template <class T>
std::unique_ptr<T> Started(const std::string& type, const std::string& keys) {
  auto o = std::make_unique<T>();
  o->LoadObjectText("[Obj0]\r\nObjType=" + type + "\r\n" + keys);
  o->DesignWidth = o->DesignHeight = 8;
  o->DisplayRect = {0, 0, 8, 8};
  TRandom random;
  o->Start(0, random, false);
  return o;
}

}  // namespace

TEST(SharedPictures, ObjectsNamingOneFileShareItsDecodedPicture) {
  TScratchDir dir;
  WritePng(dir / "a.png", TBitmap32(2, 2, MakePixel(255, 0, 0, 128)));
  WritePng(dir / "b.png", TBitmap32(2, 2, MakePixel(0, 0, 255)));
  kxtest::WriteFile(dir / "a.gif", kxtest::MakeGif(2, 2, {{0, 0, 0}, {255, 0, 0}},
                                                   {kxtest::SolidFrame(0, 0, 2, 2, 1), kxtest::SolidFrame(0, 0, 1, 1, 0)}));
  const std::string a = "Filename=" + dir / "a.png" + "\r\n", gif = "Filename=" + dir / "a.gif" + "\r\n";
  std::vector<std::unique_ptr<TImgObject>> stills;
  for (int i = 0; i < 8; ++i) stills.push_back(Started<TImgObject>("IMG", a + (i % 2 ? "TransparentType=1\r\n" : "")));
  const auto other = Started<TImgObject>("IMG", "Filename=" + dir / "b.png" + "\r\n");
  for (const auto& o : stills) {
    ASSERT_TRUE(o->HasPicture());
    EXPECT_EQ(o->Picture().Bits(), stills[0]->Picture().Bits());
    EXPECT_EQ(o->AlphaMask(), (std::vector<uint8_t>(4, 128)));
  }
  EXPECT_NE(other->Picture().Bits(), stills[0]->Picture().Bits());

  // GIF frames are shared among objects whose settings compose them alike.
  std::vector<std::unique_ptr<TGifObject>> gifs;
  for (int i = 0; i < 4; ++i) gifs.push_back(Started<TGifObject>("GIF", gif + "AnimSpeed=" + std::to_string(i) + "\r\n"));
  const auto refreshed = Started<TGifObject>("GIF", gif + "RefreshFrame=1\r\n");
  for (const auto& o : gifs) {
    ASSERT_EQ(o->Gif().Frames.size(), 2u);
    EXPECT_EQ(o->Gif().Frames[1].Bits(), gifs[0]->Gif().Frames[1].Bits());
  }
  ASSERT_EQ(refreshed->Gif().Frames.size(), 2u);
  EXPECT_NE(refreshed->Gif().Frames[1].Bits(), gifs[0]->Gif().Frames[1].Bits());
  EXPECT_NE(refreshed->Gif().Frames[1], gifs[0]->Gif().Frames[1]);  // the red cleared to the fill

  // Two pictures and two sets of frames are alive, nothing more.
  const int64_t each = 2 * 2 * 4;
  EXPECT_EQ(TPictureStore::Shared().BytesInUse(), 2 * (each + 4) + 2 * 2 * each);
}

TEST(SharedPictures, TheBudgetHoldsForAllObjectsTogether) {
  // Five different files of 4096 x 4096 pixels (64 MB decoded each, 2 KB as
  // files): four fill the budget, the fifth is refused, and GIF frames get
  // nothing while they are held.
  TScratchDir dir;
  ASSERT_EQ(int64_t(4096) * 4096 * 4 * 4, TPictureStore::kMaxBytes);
  std::vector<std::unique_ptr<TImgObject>> objects;
  for (int i = 0; i < 5; ++i) {
    const std::string name = dir / ("p" + std::to_string(i) + ".png");
    kxtest::WriteFile(name, kxtest::FlatPng(4096, 4096, i % 2 == 1));
    objects.push_back(Started<TImgObject>("IMG", "Filename=" + name + "\r\n"));
  }
  for (int i = 0; i < 5; ++i) EXPECT_EQ(objects[size_t(i)]->HasPicture(), i < 4) << i;
  // More objects naming the held files cost nothing.
  for (int i = 0; i < 8; ++i)
    EXPECT_TRUE(Started<TImgObject>("IMG", "Filename=" + dir / "p1.png" + "\r\n")->HasPicture());

  kxtest::WriteFile(dir / "a.gif", kxtest::MakeGif(2, 2, {{0, 0, 0}, {255, 0, 0}}, {kxtest::SolidFrame(0, 0, 2, 2, 1)}));
  const std::string gif = "Filename=" + dir / "a.gif" + "\r\n";
  EXPECT_FALSE(Started<TGifObject>("GIF", gif)->HasPicture());
  objects.clear();
  EXPECT_EQ(TPictureStore::Shared().BytesInUse(), 0);
  EXPECT_TRUE(Started<TGifObject>("GIF", gif)->HasPicture());
}

TEST(SharedPictures, ScaledCopiesAreSharedAndKeptPerUser) {
  const TSharedPicture picture(TBitmap32(4, 4, MakePixel(1, 2, 3)), false);
  const auto a = picture.Scaled(8, 8, false, 1);
  ASSERT_TRUE(a);
  EXPECT_EQ(picture.Scaled(8, 8, false, 1), a);
  EXPECT_NE(picture.Scaled(8, 8, true, 1), a);
  // Two users keep eight copies: the first is still there after six more.
  for (int32_t w = 9; w < 15; ++w) ASSERT_TRUE(picture.Scaled(w, 8, false, 2));
  EXPECT_EQ(picture.Scaled(8, 8, false, 2), a);
  // One user keeps four: after four others it is made anew.
  for (int32_t w = 20; w < 24; ++w) ASSERT_TRUE(picture.Scaled(w, 8, false, 1));
  EXPECT_NE(picture.Scaled(8, 8, false, 1), a);
}
