#include <gtest/gtest.h>

#include <cmath>
#include <numbers>
#include <string>
#include <vector>

#include "animation/uObject.h"
#include "animation/uObjectPicture.h"
#include "package/uIniFile.h"
#include "raster/uRandom.h"

using namespace kx;

namespace {

// An object without a picture file: the tests give it a picture size and
// run the common life directly.
class TTestObject : public TAnimObject {
 public:
  TTestObject(int32_t pictureW = 10, int32_t pictureH = 10, int32_t designW = 100, int32_t designH = 100) {
    PictureWidth = pictureW, PictureHeight = pictureH;
    DesignWidth = designW, DesignHeight = designH;
    DisplayRect = {0, 0, designW, designH};
  }
  void Load(const std::string& keys) { LoadObjectText("[Obj0]\r\n" + keys); }
  // Starts drawing from the object's own generator.
  using TAnimObject::Start;
  void Start(uint32_t now, bool reseed) { Start(now, Random, reseed); }
  TRandom Random;
};

constexpr uint32_t kT0 = 1000;

TEST(AnimObjects, DefaultsAndKeyOrderOfSaveToText) {
  TAnimObjects list;
  list.LoadFromText("[Obj0]\r\nObjType=IMG\r\nFilename=C:\\Pics\\bird.png\r\n");
  ASSERT_EQ(list.Count(), 1u);
  EXPECT_EQ(list[0].SaveToText(),
            "[Obj0]\r\nLeft=0\r\nTop=0\r\nWidth=0\r\nHeight=0\r\nScaled=1\r\nMoveAreaRectleft=0\r\nMoveAreaRecttop=0\r\n"
            "MoveAreaRectright=0\r\nMoveAreaRectbottom=0\r\nWidthSize=100\r\nHeightSize=100\r\nSpeed=10\r\n"
            "InitialPos=0\r\nInitialDir=0\r\nPosLeftType=0\r\nPosTopType=0\r\nPosLeft=100\r\nPosTop=100\r\n"
            "ObjFacing=1\r\nOpacity=10\r\nDisplaySec=0\r\nDisplayDurationType=0\r\nDisplayDurationSec=60\r\n"
            "DIsplayDurationCycle=10\r\nMotion=0\r\nMotionSpeed=10\r\nMotionAreaType=0\r\nDirFlip=0\r\n"
            "Redisplay=1\r\nRedisplayDelay=30\r\nRedisplayTimes=0\r\nResetPos=1\r\nRestrictArea=1\r\n"
            "OffScreenOpt=TBLR\r\nAppearEffect=0\r\nAppearEffectDur=2\r\nDisappearEffect=0\r\nDisappearEffectDur=2\r\n"
            "ObjType=IMG\r\nFilename=C:\\Pics\\bird.png\r\nTransparent=1\r\nTransparentType=0\r\nTransparentColor=0\r\n");
}

TEST(AnimObjects, KeysReadAsNumbersBytesAndLetters) {
  TAnimObjects list;
  list.LoadFromText(
      "[Obj0]\r\nObjType=GIF\r\nMotion=0x102\r\nInitialDir=258\r\nOpacity=0x5\r\nPosLeft=abc\r\nDisplaySec= 7 \r\n"
      "DIsplayDurationCycle=3\r\nOffScreenOpt=xRyT\r\nRedisplay=0x0\r\nDirFlip=-1\r\nWidthSize=99999999999\r\n"
      "TransparentColor=0x8000000F\r\nAnimSpeed=20\r\nRefreshFrame=1\r\n");
  ASSERT_EQ(list.Count(), 1u);
  const auto& o = dynamic_cast<const TGifObject&>(list[0]);
  EXPECT_EQ(o.Motion, 2);       // low 8 bits of 0x102
  EXPECT_EQ(o.InitialDir, 2);   // low 8 bits of 258
  EXPECT_EQ(o.Opacity, 5);
  EXPECT_EQ(o.PosLeft, 100);    // not a number: the default
  EXPECT_EQ(o.DisplaySec, 7);
  EXPECT_EQ(o.DisplayDurationCycle, 3);
  EXPECT_EQ(o.OffScreenEdges.ToText(), "TR");
  EXPECT_FALSE(o.Redisplay);
  EXPECT_TRUE(o.DirFlip);
  EXPECT_EQ(o.WidthSize, 100);  // beyond 32 bits: the default
  EXPECT_EQ(o.TransparentColor, int32_t(0x8000000F));
  EXPECT_EQ(o.TransparentType, 0);
  EXPECT_EQ(o.AnimSpeed, 20);
  EXPECT_TRUE(o.RefreshFrame);
  const std::string saved = o.SaveToText();
  EXPECT_NE(saved.find("ObjType=GIF\r\nFilename=\r\nAnimSpeed=20\r\nTransparent=1\r\nTransparentType=0\r\n"
                       "TransparentColor=-2147483633\r\nRefreshFrame=1\r\n"),
            std::string::npos)
      << saved;
}

TEST(AnimObjects, OffScreenLettersAreCaseSensitive) {
  const std::pair<const char*, const char*> cases[] = {
      {"OffScreenOpt=tblr\r\n", ""}, {"OffScreenOpt=\r\n", ""}, {"", "TBLR"}, {"OffScreenOpt=LLbB\r\n", "BL"}};
  for (const auto& [key, edges] : cases) {
    TTestObject o;
    o.Load(key);
    EXPECT_EQ(o.OffScreenEdges.ToText(), edges) << key;
  }
}

TEST(AnimObjects, TransparentTypeDefaultFollowsTheFileName) {
  const std::pair<const char*, int> cases[] = {{"a.png", 0}, {"A.PnG", 0}, {"a.bmp", 1}, {"png", 1}, {"", 1}};
  for (const auto& [name, type] : cases) {
    TAnimObjects list;
    list.LoadFromText(std::string("[Obj0]\r\nObjType=IMG\r\nFilename=") + name + "\r\n");
    EXPECT_EQ(dynamic_cast<const TImgObject&>(list[0]).TransparentType, type) << name;
  }
}

TEST(AnimObjects, ObjTypeMatchesExactlyAndEachObjectReadsItsOwnSection) {
  TAnimObjects list;
  list.LoadFromText(
      "[Obj0]\r\nObjType=IMG\r\nMotion=1\r\n[Obj1]\r\nObjType=gif\r\nMotion=2\r\n[Obj2]\r\nObjType=GIF\r\nMotion=3\r\n"
      "[Obj3]\r\nObjType=Img\r\n[Other]\r\nObjType=IMG\r\n");
  ASSERT_EQ(list.Count(), 2u);
  EXPECT_EQ(list[0].Motion, 1);
  EXPECT_EQ(list[1].Index, 1);
  EXPECT_EQ(list[1].Motion, 3);  // from its own section Obj2
  EXPECT_NE(dynamic_cast<const TGifObject*>(&list[1]), nullptr);
  EXPECT_EQ(list[1].SaveToText().substr(0, 8), "[Obj1]\r\n");

  // A second load replaces the list.
  list.LoadFromText("[Obj0]\r\nObjType=gif\r\n");
  EXPECT_TRUE(list.Empty());
}

TEST(AnimObjects, ListStopsAtAThousandObjects) {
  std::string text;
  for (int i = 0; i < 1200; ++i) text += "[Obj" + std::to_string(i) + "]\r\nObjType=IMG\r\n";
  TAnimObjects list;
  list.LoadFromText(text);
  EXPECT_EQ(list.Count(), TAnimObjects::kMaxObjects);
}

TEST(AnimObjects, SaveToTextReadsBackToTheSameText) {
  TAnimObjects list;
  list.LoadFromText(
      "[Obj0]\r\nObjType=IMG\r\nFilename=x.bmp\r\nMotion=7\r\nMoveAreaRectleft=-5\r\nMoveAreaRectbottom=300\r\n"
      "OffScreenOpt=RL\r\nTransparentType=2\r\nTransparentColor=255\r\nWidth=40\r\nScaled=0\r\n");
  const std::string first = list[0].SaveToText();
  TAnimObjects again;
  again.LoadFromText(first);
  ASSERT_EQ(again.Count(), 1u);
  EXPECT_EQ(again[0].SaveToText(), first);
}

TEST(AnimObjects, NamePartTakesEitherSeparator) {
  EXPECT_EQ(NamePart("C:\\Program Files\\x\\bird.gif"), "bird.gif");
  EXPECT_EQ(NamePart("/a/b/fish.png"), "fish.png");
  EXPECT_EQ(NamePart("plain.bmp"), "plain.bmp");
  EXPECT_EQ(NamePart("dir/"), "");
}

// ---- the display state machine ----

struct TVisibleAt {
  uint32_t Ms;  // since Start
  bool Visible;
};

void ExpectVisibility(TAnimObject& o, const std::vector<TVisibleAt>& table) {
  for (const TVisibleAt& v : table) {
    o.CatchUp(kT0 + v.Ms);
    EXPECT_EQ(o.Visible, v.Visible) << "at " << v.Ms << " ms";
  }
}

TEST(AnimObjectDisplay, DisplayCycleWithAndWithoutRedisplay) {
  TTestObject o;
  o.Load("DisplaySec=5\r\nDisplayDurationType=1\r\nDisplayDurationSec=10\r\nRedisplayDelay=30\r\n");
  o.Start(kT0, false);
  EXPECT_FALSE(o.Visible);
  ExpectVisibility(o, {{4995, false}, {5000, true}, {14995, true}, {15000, false}, {44995, false}, {45000, true},
                       {54995, true}, {55000, false}, {84995, false}, {85000, true}});

  TTestObject once;
  once.Load("DisplaySec=5\r\nDisplayDurationType=1\r\nDisplayDurationSec=10\r\nRedisplay=0\r\n");
  once.Start(kT0, false);
  ExpectVisibility(once, {{5000, true}, {14995, true}, {15000, false}, {45000, false}, {200000, false}});
  EXPECT_EQ(once.StartTick, -1);
  // A new Start shows it again.
  once.Start(kT0 + 300000, false);
  once.CatchUp(kT0 + 305000);
  EXPECT_TRUE(once.Visible);
}

TEST(AnimObjectDisplay, DisplayTypeZeroNeverHides) {
  TTestObject o;
  o.Load("DisplayDurationSec=1\r\nMotion=2\r\nMotionSpeed=100\r\n");
  o.Start(kT0, false);
  ExpectVisibility(o, {{0, true}, {1000, true}, {60000, true}});
}

struct TAlphaAt {
  uint32_t Ms;
  int Alpha;
};

TEST(AnimObjectDisplay, FadesFollowTheirFormulas) {
  struct Case {
    const char* name;
    const char* keys;
    std::vector<TAlphaAt> alphas;
  };
  const Case cases[] = {
      {"fade in to 255", "AppearEffect=1\r\nAppearEffectDur=2\r\n", {{0, 0}, {1000, 128}, {1500, 191}, {2000, 255}, {9000, 255}}},
      // nearest(50 x 255 / 100) = nearest(127.5) = 128; at 1 s p = 25.
      {"fade in to 128", "AppearEffect=1\r\nAppearEffectDur=2\r\nOpacity=5\r\n", {{0, 0}, {1000, 64}, {2000, 128}, {5000, 128}}},
      // Hidden after 10 s; the last 2 s fade; it comes back at full opacity.
      {"fade out",
       "DisplayDurationType=1\r\nDisplayDurationSec=10\r\nDisappearEffect=1\r\nDisappearEffectDur=2\r\nRedisplayDelay=1\r\n",
       {{7995, 255}, {8000, 255}, {9000, 128}, {9995, 0}, {10000, 255}, {11000, 255}, {18995, 255}, {20000, 128}}},
      // A fade of 0 seconds is no fade: full opacity at once.
      {"zero-second fades",
       "AppearEffect=1\r\nAppearEffectDur=0\r\nDisplayDurationType=1\r\nDisplayDurationSec=3\r\nDisappearEffect=1\r\n"
       "DisappearEffectDur=0\r\n",
       {{0, 255}, {2995, 255}}},
  };
  for (const Case& c : cases) {
    TTestObject o;
    o.Load(c.keys);
    o.Start(kT0, false);
    for (const TAlphaAt& a : c.alphas) {
      o.CatchUp(kT0 + a.Ms);
      EXPECT_EQ(o.Alpha, a.Alpha) << c.name << " at " << a.Ms;
    }
  }
}

TEST(AnimObjectDisplay, FadeOutThenReappearsVisible) {
  TTestObject o;
  o.Load("DisplayDurationType=1\r\nDisplayDurationSec=10\r\nDisappearEffect=1\r\nRedisplayDelay=1\r\n");
  o.Start(kT0, false);
  ExpectVisibility(o, {{9995, true}, {10000, false}, {10995, false}, {11000, true}});
  EXPECT_EQ(o.Alpha, 255);
}

// ---- leaving the picture ----

// Steps until the object is hidden or `steps` have passed; returns the step
// at which it was hidden, or -1.
int StepsUntilHidden(TAnimObject& o, int steps) {
  for (int i = 1; i <= steps; ++i) {
    const bool wasOff = o.OffScreen;
    const double x = o.BounceX;
    o.CatchUp(kT0 + uint32_t(i) * TAnimObject::kStepMs);
    if (!o.Visible) {
      EXPECT_TRUE(wasOff);
      EXPECT_LE(x, o.Area.Left);
      EXPECT_LT(x, 0);
      return i;
    }
  }
  return -1;
}

TEST(AnimObjectDisplay, LeavingThroughAnAllowedEdge) {
  struct Case {
    const char* keys;
    bool leaves;
  };
  // One step moves at most 1 design pixel; the area's left edge is 5 pixels
  // inside the picture when restricted, 5 outside when not.
  const std::string base = "Motion=3\r\nInitialDir=1\r\nPosLeft=50\r\nDisplayDurationType=2\r\nRedisplay=0\r\n";
  const Case cases[] = {
      {"RestrictArea=0\r\nOffScreenOpt=L\r\n", true},
      {"RestrictArea=0\r\nOffScreenOpt=TB\r\n", false},
      {"RestrictArea=0\r\nOffScreenOpt=tblr\r\n", false},
      {"RestrictArea=0\r\nOffScreenOpt=\r\n", false},
      {"RestrictArea=1\r\nOffScreenOpt=TBLR\r\n", false},  // the area lies inside the picture
  };
  for (const Case& c : cases) {
    TTestObject o;
    o.Load(base + c.keys);
    o.Start(kT0, false);
    const int hiddenAt = StepsUntilHidden(o, 20000);
    EXPECT_EQ(hiddenAt > 0, c.leaves) << c.keys;
    if (!c.leaves) EXPECT_TRUE(o.Visible) << c.keys;
  }
}

TEST(AnimObjectDisplay, RestrictedBouncesNeverGoOffScreen) {
  for (const int motion : {2, 3, 4, 5, 6}) {
    TTestObject o;
    o.Load("Motion=" + std::to_string(motion) + "\r\nPosLeft=50\r\nPosTop=50\r\nDisplayDurationType=2\r\n");
    o.Start(kT0, false);
    for (int i = 1; i <= 20000; ++i) {
      o.CatchUp(kT0 + uint32_t(i) * 5);
      ASSERT_FALSE(o.OffScreen) << "motion " << motion << " step " << i;
    }
    EXPECT_TRUE(o.Visible);
  }
}

// ---- placing and motion ----

TEST(AnimObjectMotion, FirstPositionRules) {
  // A 400 x 100 picture and a 20 x 20 object: the restricted area is
  // (10, 10, 390, 90).
  TTestObject centre(20, 20, 400, 100);
  centre.Load("PosLeftType=3\r\nPosTopType=3\r\n");
  centre.Start(kT0, false);
  EXPECT_EQ(centre.Area, (TRect{10, 10, 390, 90}));
  EXPECT_EQ(centre.PosLeft, 200);
  EXPECT_EQ(centre.PosTop, 50);
  EXPECT_EQ(centre.ScreenLeft, 190);

  // Type 5 on an area from 0 to 400 (a picture of no size adds no margin):
  // -v below the middle, 800 - v above; v drawn after Start's three draws.
  for (const uint32_t seed : {1u, 2u, 3u, 77u, 1234u}) {
    TTestObject o(0, 0, 400, 100);
    o.Load("PosLeftType=5\r\n");
    o.Random.Seed(seed);
    o.Start(kT0, false);
    TRandom draws(seed);
    for (int i = 0; i < 3; ++i) draws.Random(1000);
    const auto v = int32_t(draws.Random(400));
    EXPECT_EQ(o.PosLeft, v < 200 ? -v : 800 - v) << seed;
  }
}

TEST(AnimObjectMotion, InitialDirections) {
  struct Case {
    int dir, x, y;  // 0: either
  };
  const Case cases[] = {{1, -1, 0}, {2, 1, 0}, {3, 0, -1}, {4, 0, 1}, {5, -1, -1}, {6, 1, -1}, {7, -1, 1}, {8, 1, 1}};
  for (const Case& c : cases)
    for (const uint32_t seed : {1u, 2u, 3u, 4u}) {
      TTestObject o;
      o.Load("InitialDir=" + std::to_string(c.dir) + "\r\n");
      o.Random.Seed(seed);
      o.Start(kT0, false);
      if (c.x) EXPECT_EQ(o.DirX, c.x) << c.dir;
      if (c.y) EXPECT_EQ(o.DirY, c.y) << c.dir;
      EXPECT_EQ(o.MirrorX, o.DirX);
      EXPECT_EQ(o.WanderDirY, o.DirY);
    }
}

TEST(AnimObjectMotion, EllipseAdvancesATenthOfADegreePerStep) {
  // A 200 x 200 area around (100, 100) and a picture of no size: radius 100.
  TTestObject o(0, 0, 200, 200);
  o.Load("Motion=7\r\n");
  o.Start(kT0, false);
  EXPECT_EQ(o.Speed, 100);
  o.CatchUp(kT0);  // the step due at the start: one tenth of a degree
  EXPECT_NEAR(o.PosX, 100 + 100 * std::sin(-0.1 * std::numbers::pi / 180), 1e-9);
  EXPECT_NEAR(o.PosY, 100 + 100 * std::cos(-0.1 * std::numbers::pi / 180), 1e-9);
  for (uint32_t ms = 5; ms <= 899 * 5; ms += 5) o.CatchUp(kT0 + ms);  // 900 steps: a quarter turn
  EXPECT_EQ(o.StepCount, 900);
  EXPECT_NEAR(o.PosX, 0, 1e-9);
  EXPECT_NEAR(o.PosY, 100, 1e-9);
}

TEST(AnimObjectMotion, StepsFollowTheClockAndCatchUpAtMostTwoSeconds) {
  TTestObject o;
  o.Load("Motion=9\r\n");
  o.Start(kT0, false);
  o.CatchUp(kT0 + 100);
  EXPECT_EQ(o.StepCount, 21);  // due at 0, 5, ..., 100
  o.CatchUp(kT0 + 102);
  EXPECT_EQ(o.StepCount, 21);
  o.CatchUp(kT0 + 60000);  // a minute's stall: two seconds of steps
  EXPECT_EQ(o.StepCount, 21 + 401);
  o.CatchUp(kT0 + 60005);
  EXPECT_EQ(o.StepCount, 21 + 402);
  o.Stop();
  o.CatchUp(kT0 + 70000);
  EXPECT_EQ(o.StepCount, 21 + 402);
}

TEST(AnimObjectMotion, WanderTurnsBackIntoTheArea) {
  TTestObject o(10, 10, 200, 100);
  o.Load("Motion=1\r\nMotionSpeed=50\r\nPosTop=50\r\n");
  o.Start(kT0, false);
  for (int i = 1; i <= 40000; ++i) {
    o.CatchUp(kT0 + uint32_t(i) * 5);
    // One step moves at most 1000 x 500 / 100000 = 5 design pixels.
    ASSERT_GE(o.PosX, o.Area.Left - 5.0);
    ASSERT_LE(o.PosX, o.Area.Right + 5.0);
    ASSERT_GE(o.PosY, o.Area.Top - 5.0);
    ASSERT_LE(o.PosY, o.Area.Bottom + 5.0);
  }
}

TEST(AnimObjectMotion, FacingFollowsTheDirectionOfTravel) {
  struct Case {
    int facing, dir;
    bool dirFlip, flipped;
  };
  const Case cases[] = {{1, 1, true, true},  {1, 2, true, false}, {0, 1, true, false},
                        {0, 2, true, true},  {1, 1, false, false}, {2, 1, true, false}};
  for (const Case& c : cases) {
    TTestObject o;
    o.Load("Motion=3\r\nPosLeft=50\r\nObjFacing=" + std::to_string(c.facing) +
           "\r\nInitialDir=" + std::to_string(c.dir) + "\r\nDirFlip=" + (c.dirFlip ? "1" : "0") + "\r\n");
    o.Start(kT0, false);
    o.CatchUp(kT0 + 50);
    EXPECT_EQ(o.Flipped, c.flipped) << c.facing << " " << c.dir << " " << c.dirFlip;
  }
}

TEST(AnimObjectMotion, AbsurdSettingsStayFinite) {
  TTestObject o(10, 10, 100, 100);
  o.Load("Motion=2\r\nMotionSpeed=2147483647\r\nWidthSize=100000\r\nHeightSize=-500\r\nMotionAreaType=1\r\n"
         "MoveAreaRectleft=2147483647\r\nMoveAreaRectright=-2147483648\r\nDisplaySec=-2147483648\r\n"
         "DisplayDurationType=1\r\nDisplayDurationSec=2147483647\r\nAppearEffect=1\r\nAppearEffectDur=-5\r\n");
  o.Start(kT0, false);
  o.CatchUp(kT0 + 5000);
  const TRect r = o.DrawRect();
  EXPECT_TRUE(std::isfinite(o.PosX));
  EXPECT_LE(std::abs(int64_t(r.Right)), int64_t(1) << 30);
}

}  // namespace
