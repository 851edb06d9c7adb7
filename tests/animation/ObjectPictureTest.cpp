#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <string>

#include "animation/uAnimEngine.h"
#include "animation/uObjectPicture.h"
#include "devices/headless/uVirtualClock.h"
#include "raster/uPngIO.h"
#include "support/GifBuilder.h"
#include "support/TestSupport.h"

using namespace kx;
using kxtest::TScratchDir;

namespace {

const TPixel kGround = MakePixel(10, 20, 30);

// (f x m + b x (255 - m)) div 255 per channel, alpha m.
TPixel Mixed(TPixel f, TPixel b, uint32_t m) {
  const auto ch = [&](uint8_t fc, uint8_t bc) { return uint8_t((fc * m + bc * (255 - m)) / 255); };
  return MakePixel(ch(PixelR(f), PixelR(b)), ch(PixelG(f), PixelG(b)), ch(PixelB(f), PixelB(b)), uint8_t(m));
}

// A 2 x 2 picture: top row [P0, P1], bottom row [P2, P3]; P2 (bottom left)
// is the colour key of TransparentType 1.
const TPixel P0 = MakePixel(200, 0, 0, 128), P1 = MakePixel(0, 200, 0, 255), P2 = MakePixel(0, 0, 200, 0),
             P3 = MakePixel(50, 50, 50, 64);
TBitmap32 Square() {
  TBitmap32 b(2, 2);
  b.SetPixel(0, 0, P0), b.SetPixel(1, 0, P1), b.SetPixel(0, 1, P2), b.SetPixel(1, 1, P3);
  return b;
}

// Sets the shared folder to a scratch folder for the test's duration.
class TSharedFolder {
 public:
  explicit TSharedFolder(const TScratchDir& dir)
      : m_images(dir / "share/Ardmont/Common/images/"), m_base(dir / "share") {
    std::filesystem::create_directories(m_images);
  }
  const std::string& Images() const { return m_images; }

 private:
  std::string m_images;
  kxtest::TSharedFolderBase m_base;
};

// One still-picture object read from keys, started over a design of 8 x 8.
std::unique_ptr<TImgObject> ImgObject(const std::string& keys, int32_t display = 8) {
  auto o = std::make_unique<TImgObject>();
  o->LoadObjectText("[Obj0]\r\nObjType=IMG\r\n" + keys);
  o->DesignWidth = o->DesignHeight = 8;
  o->DisplayRect = {0, 0, display, display};
  return o;
}

TEST(ImgObject, BlendRulesOnExactPixels) {
  TScratchDir dir;
  WritePng(dir / "sq.png", Square());
  kxtest::WriteBmp(dir / "sq.bmp", Square());  // 24-bit: every pixel opaque
  const TPixel Q0 = P0 | 0xFF000000u, Q1 = P1, Q2 = P2 | 0xFF000000u, Q3 = P3 | 0xFF000000u;
  struct Case {
    const char* name;
    std::string keys;
    bool mirrored;
    TPixel want[4];  // top left, top right, bottom left, bottom right
  };
  const std::string png = "Filename=" + dir / "sq.png" + "\r\n", bmp = "Filename=" + dir / "sq.bmp" + "\r\n";
  const Case cases[] = {
      // PNG, type 0: the alpha channel times the master alpha; no colour key.
      {"png alpha", png, false, {Mixed(P0, kGround, 128), P1, Mixed(P2, kGround, 0), Mixed(P3, kGround, 64)}},
      {"png alpha at half opacity", png + "Opacity=5\r\n", false,
       {Mixed(P0, kGround, 128 * 128 / 255), Mixed(P1, kGround, 128), Mixed(P2, kGround, 0), Mixed(P3, kGround, 64 * 128 / 255)}},
      // Mirrored: columns and their alpha swap together.
      {"png mirrored", png, true, {P1, Mixed(P0, kGround, 128), Mixed(P3, kGround, 64), Mixed(P2, kGround, 0)}},
      // Type 1: the alpha channel is ignored; the bottom-left pixel is the key.
      {"png key", png + "TransparentType=1\r\n", false, {Mixed(P0, kGround, 255), P1, kGround, Mixed(P3, kGround, 255)}},
      // Transparency off: the whole square at the master alpha.
      {"png opaque", png + "Transparent=0\r\n", false,
       {Mixed(P0, kGround, 255), P1, Mixed(P2, kGround, 255), Mixed(P3, kGround, 255)}},
      // A BMP defaults to type 1.
      {"bmp key", bmp, false, {Q0, Q1, kGround, Q3}},
      // Type 2: the colour value 0xC80000 (blue 200) names P2's colour; the
      // system code of the button face names none of them.
      {"bmp colour", bmp + "TransparentType=2\r\nTransparentColor=0xC80000\r\n", false, {Q0, Q1, kGround, Q3}},
      {"bmp system colour", bmp + "TransparentType=2\r\nTransparentColor=0x8000000F\r\n", false, {Q0, Q1, Q2, Q3}},
  };
  for (const Case& c : cases) {
    auto o = ImgObject(c.keys + "PosLeft=2\r\nPosTop=2\r\n");
    TRandom random;
    o->Start(0, random, false);
    ASSERT_TRUE(o->HasPicture()) << c.name;
    TBitmap32 dst(4, 4, kGround);
    o->Draw(dst, o->DrawRect(), c.mirrored, 0);
    EXPECT_EQ(o->DrawRect(), (TRect{1, 1, 3, 3})) << c.name;
    EXPECT_EQ(dst.Pixel(1, 1), c.want[0]) << c.name;
    EXPECT_EQ(dst.Pixel(2, 1), c.want[1]) << c.name;
    EXPECT_EQ(dst.Pixel(1, 2), c.want[2]) << c.name;
    EXPECT_EQ(dst.Pixel(2, 2), c.want[3]) << c.name;
    EXPECT_EQ(dst.Pixel(0, 0), kGround) << c.name;
  }
}

TEST(ImgObject, AlphaMaskComesFromPngsOnly) {
  TScratchDir dir;
  WritePng(dir / "a.PNG", Square());
  TBitmap32 opaque(2, 1, MakePixel(1, 2, 3));
  WritePng(dir / "b.png", opaque);
  kxtest::WriteBmp(dir / "c.png", Square());  // a BMP named .png
  const std::pair<std::string, bool> cases[] = {{"a.PNG", true}, {"c.png", false}};
  for (const auto& [name, mask] : cases) {
    auto o = ImgObject("Filename=" + dir / name + "\r\n");
    TRandom random;
    o->Start(0, random, false);
    EXPECT_TRUE(o->IsPng) << name;
    EXPECT_EQ(o->HasAlphaMask, mask) << name;
    if (mask) EXPECT_EQ(o->AlphaMask(), (std::vector<uint8_t>{128, 255, 0, 64}));
  }
}

TEST(ImgObject, PictureFileLookUpOrder) {
  TScratchDir dir;
  const TSharedFolder shared(dir);
  std::filesystem::create_directories(dir / "work");
  std::filesystem::create_directories(dir / "stored");
  WritePng(dir / "stored/a.png", TBitmap32(1, 1, MakePixel(1, 0, 0)));
  WritePng(dir / "work/a.png", TBitmap32(2, 1, MakePixel(2, 0, 0)));
  WritePng(shared.Images() + "a.png", TBitmap32(3, 1, MakePixel(3, 0, 0)));
  WritePng(dir / "work/b.png", TBitmap32(2, 1, MakePixel(2, 0, 0)));
  WritePng(shared.Images() + "b.png", TBitmap32(3, 1, MakePixel(3, 0, 0)));
  WritePng(shared.Images() + "c.png", TBitmap32(3, 1, MakePixel(3, 0, 0)));
  struct Case {
    std::string stored;
    int width;  // which file was taken; 0: none
  };
  const Case cases[] = {
      {dir / "stored/a.png", 1},         // the stored path first
      {"C:\\Authoring\\b.png", 2},        // then the work folder + the name part
      {"C:\\Authoring\\c.png", 3},        // then the shared folder's images
      {"/nowhere/d.png", 0},              // found nowhere: no picture
  };
  for (const Case& c : cases) {
    TAnimObjects list;
    list.LoadFromText("[Obj0]\r\nObjType=IMG\r\nFilename=" + c.stored + "\r\n[Obj1]\r\nObjType=GIF\r\nFilename=" +
                      c.stored + "\r\n");
    list.LocateFiles(dir / "work/");
    TRandom random;
    list[0].Start(0, random, false);
    EXPECT_EQ(list[0].HasPicture(), c.width > 0) << c.stored;
    EXPECT_EQ(list[0].PictureWidth, c.width) << c.stored;
    EXPECT_EQ(list[0].Running(), c.width > 0) << c.stored;
  }
}

// ---- through the engine ----

class TObjectScene {
 public:
  explicit TObjectScene(int32_t size = 8) {
    project.Picture = TBitmap32(size, size, kGround);
    project.DesignWidth = project.DesignHeight = 8;
  }
  void Start(const std::string& objects) {
    project.Objects.LoadFromText(objects);
    engine.Attach(project);
    engine.SetSeed(1);
    engine.SetWeather(false);
    engine.Start();
  }
  const TBitmap32& Frame(uint32_t ms) {
    clock.Advance(ms);
    engine.NextFrame();
    return engine.GetOutput();
  }
  TVirtualClock clock{500};
  TProject project;
  TRandom random;
  TAnimEngine engine{clock, random};
};

TEST(ObjectDrawing, EngineDrawsObjectsInListOrderScaledToTheDisplay) {
  TScratchDir dir;
  WritePng(dir / "red.png", TBitmap32(2, 2, MakePixel(255, 0, 0)));
  WritePng(dir / "blue.png", TBitmap32(2, 2, MakePixel(0, 0, 255)));
  // The picture is shown at twice its design size: objects double too.
  TObjectScene scene(16);
  scene.Start("[Obj0]\r\nObjType=IMG\r\nFilename=" + dir / "red.png" + "\r\nPosLeft=2\r\nPosTop=2\r\n" +
              "[Obj1]\r\nObjType=IMG\r\nFilename=/missing/x.png\r\n" +
              "[Obj2]\r\nObjType=IMG\r\nFilename=" + dir / "blue.png" + "\r\nPosLeft=3\r\nPosTop=3\r\n");
  const TBitmap32& out = scene.Frame(33);
  EXPECT_FALSE(scene.project.Objects[1].HasPicture());
  // Red covers design (1..3) = display (2..6); blue (2..4) = (4..8) over it.
  EXPECT_EQ(out.Pixel(1, 1), kGround | 0xFF000000u);
  EXPECT_EQ(out.Pixel(2, 2), MakePixel(255, 0, 0));
  EXPECT_EQ(out.Pixel(3, 5), MakePixel(255, 0, 0));
  EXPECT_EQ(out.Pixel(4, 4), MakePixel(0, 0, 255));
  EXPECT_EQ(out.Pixel(7, 7), MakePixel(0, 0, 255));
  EXPECT_EQ(out.Pixel(8, 8), kGround | 0xFF000000u);
  // The water frame underneath is untouched.
  EXPECT_EQ(scene.engine.WaterFrame().Pixel(4, 4), kGround);
}

TEST(ObjectDrawing, HiddenObjectsLeaveTheFrameAsTheWaterIs) {
  TScratchDir dir;
  WritePng(dir / "red.png", TBitmap32(2, 2, MakePixel(255, 0, 0)));
  TObjectScene scene;
  scene.Start("[Obj0]\r\nObjType=IMG\r\nFilename=" + dir / "red.png" + "\r\nDisplaySec=1\r\nPosLeft=4\r\nPosTop=4\r\n");
  EXPECT_EQ(scene.Frame(33), scene.engine.WaterFrame());
  EXPECT_EQ(&scene.engine.GetOutput(), &scene.engine.Composite());
  EXPECT_EQ(scene.Frame(1000).Pixel(4, 4), MakePixel(255, 0, 0));
}

TEST(ObjectDrawing, GifFramesFollowTheVirtualClock) {
  TScratchDir dir;
  // Frame 0 red for 10 hundredths, frame 1 blue for 20 on a yellow-free palette.
  kxtest::TGifFrameSpec red = kxtest::SolidFrame(0, 0, 2, 2, 1), blue = kxtest::SolidFrame(0, 0, 2, 2, 2);
  red.Delay = 10, blue.Delay = 20;
  kxtest::WriteFile(dir / "rb.gif", kxtest::MakeGif(2, 2, {{0, 0, 0}, {255, 0, 0}, {0, 0, 255}}, {red, blue}));
  struct Case {
    int animSpeed;
    std::vector<std::pair<uint32_t, TPixel>> at;  // ms after start, colour at the object
  };
  const TPixel R = MakePixel(255, 0, 0), B = MakePixel(0, 0, 255);
  const Case cases[] = {
      {10, {{0, R}, {99, R}, {100, B}, {299, B}, {300, R}, {400, B}}},
      {5, {{199, R}, {200, B}, {599, B}, {600, R}}},
      {0, {{100, R}, {5000, R}}},
  };
  for (const Case& c : cases) {
    TObjectScene scene;
    scene.Start("[Obj0]\r\nObjType=GIF\r\nFilename=" + dir / "rb.gif" + "\r\nAnimSpeed=" +
                std::to_string(c.animSpeed) + "\r\nPosLeft=4\r\nPosTop=4\r\n");
    uint32_t now = 0;
    for (const auto& [ms, colour] : c.at) {
      const TBitmap32& out = scene.Frame(ms - now);
      now = ms;
      EXPECT_EQ(out.Pixel(3, 3), colour) << c.animSpeed << " at " << ms;
    }
  }
}

TEST(ObjectDrawing, SeededRunsRepeatExactly) {
  TScratchDir dir;
  WritePng(dir / "red.png", TBitmap32(2, 2, MakePixel(255, 0, 0)));
  const std::string objects = "[Obj0]\r\nObjType=IMG\r\nFilename=" + dir / "red.png" +
                              "\r\nMotion=1\r\nMotionSpeed=200\r\n[Obj1]\r\nObjType=IMG\r\nFilename=" + dir / "red.png" +
                              "\r\nMotion=2\r\nMotionSpeed=100\r\nPosLeftType=4\r\n";
  // Each run's objects draw from its own engine's generator, seeded alike.
  const auto run = [&] {
    TObjectScene scene;
    scene.Start(objects);
    std::vector<TBitmap32> frames;
    for (int i = 0; i < 20; ++i) frames.push_back(scene.Frame(33));
    return frames;
  };
  const std::vector<TBitmap32> first = run();
  EXPECT_EQ(first, run());
  EXPECT_NE(first.front(), first.back());
}

}  // namespace
