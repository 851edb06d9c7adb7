#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <functional>

#include "transitions/EffectFrame.h"
#include "support/BitmapSupport.h"
#include "transitions/PSEffect.h"

using namespace kx;
using kxtest::Tagged;

namespace {

using TFrame = kxtest::TEffectFrame;

// The rounded rectangle as a shape in the plane: the box less its right
// column and bottom row, with each corner cut by a quarter ellipse one pixel
// larger than the ew x eh asked for, limited to that box's own size; a corner
// of 2 or less across or down (once limited) leaves the box square.
struct TRoundRect {
  double L, T, R, B, Ew, Eh;
  bool Contains(double px, double py) const {
    const double l = std::min(L, R), r = std::max(L, R) - 1, t = std::min(T, B), b = std::max(T, B) - 1;
    if (px < l || px > r || py < t || py > b) return false;
    if (std::min(Ew, r - l) <= 2 || std::min(Eh, b - t) <= 2) return true;
    const double a = std::min(Ew + 1, r - l) / 2, e = std::min(Eh + 1, b - t) / 2;
    const double cx = std::clamp(px, l + a, r - a), cy = std::clamp(py, t + e, b - e);
    const double dx = (px - cx) / a, dy = (py - cy) / e;
    return dx * dx + dy * dy <= 1;
  }
};

using TShape = std::function<bool(double px, double py)>;
using TShapeOf = std::function<TShape(double W, double H, int32_t X, int32_t Y)>;

TShape Round(double l, double t, double r, double b, double ew, double eh) {
  return [rr = TRoundRect{l, t, r, b, ew, eh}](double px, double py) { return rr.Contains(px, py); };
}

// Every pixel whose neighbourhood lies wholly inside the shape shows the new
// picture, every one wholly outside it the old; the boundary is left open.
void ExpectShape(const TFrame& f, const TShape& inside, const std::string& what) {
  for (int32_t y = 0; y < f.H; ++y)
    for (int32_t x = 0; x < f.W; ++x) {
      int in = 0;
      for (double dy : {-1.0, 0.5, 2.0})
        for (double dx : {-1.0, 0.5, 2.0}) in += inside(x + dx, y + dy);
      if (in == 9) {
        ASSERT_TRUE(f.ShowsNew(x, y)) << what << " inside at " << x << "," << y;
      }
      if (in == 0) {
        ASSERT_TRUE(f.ShowsOld(x, y)) << what << " outside at " << x << "," << y;
      }
    }
}

TEST(CurvedReveals, ShowTheNewPictureInsideTheirShapes) {
  const struct {
    int32_t Effect;
    TShapeOf Shape;
  } cases[] = {
      {61, [](double W, double H, int X, int Y) { return Round(-2 * W, 0, 2 * X, H + 1, 2 * W, 2 * W); }},
      {62, [](double W, double H, int X, int Y) { return Round(W - 2 * X, 0, 3 * W, H + 1, 2 * W, 2 * W); }},
      {72, [](double W, double H, int X, int Y) { return Round(0, -2 * H, W + 1, 2 * Y, 2 * H, 2 * H); }},
      {73, [](double W, double H, int X, int Y) { return Round(0, H - 2 * Y, W + 1, 3 * H, 2 * H, 2 * H); }},
      {83, [](double W, double H, int X, int Y) { return Round(-W, -H, 3 * X / 2, 3 * Y / 2, 2 * W, 2 * H); }},
      {84, [](double W, double H, int X, int Y) { return Round(W - 3 * X / 2, -H, 2 * W, 3 * Y / 2, 2 * W, 2 * H); }},
      {85, [](double W, double H, int X, int Y) { return Round(-W, H - 3 * Y / 2, 3 * X / 2, 2 * H, 2 * W, 2 * H); }},
      {86,
       [](double W, double H, int X, int Y) {
         return Round(W - 3 * X / 2, H - 3 * Y / 2, 2 * W, 2 * H, 2 * W, 2 * H);
       }},
      {87,
       [](double W, double H, int X, int Y) {
         const int32_t w = int32_t(W), h = int32_t(H);
         return Round(w / 2 - X, h / 2 - Y, w / 2 + X, h / 2 + Y, 9 * X / 5, 9 * Y / 5);
       }},
      {88,
       [](double W, double H, int X, int Y) {
         const int32_t w = int32_t(W), h = int32_t(H);
         if (3 * (w / 2) - X <= X - w / 2 || 3 * (h / 2) - Y <= Y - h / 2)
           return TShape([](double, double) { return true; });
         const TShape inner =
             Round(X - w / 2, Y - h / 2, 3 * (w / 2) - X, 3 * (h / 2) - Y, 9 * (w - X) / 5, 9 * (h - Y) / 5);
         return TShape([inner](double px, double py) { return !inner(px, py); });
       }},
  };
  for (const auto& c : cases)
    for (const auto& [w, h] : {std::pair{60, 40}, std::pair{41, 57}, std::pair{25, 90}})
      for (int32_t p : {0, 10, 25, 40, 50, 63, 80, 95, 100}) {
        TFrame f(w, h);
        f.Draw(c.Effect, p);
        ExpectShape(f, c.Shape(w, h, f.E.X, f.E.Y),
                    "effect " + std::to_string(c.Effect) + " " + std::to_string(w) + "x" + std::to_string(h) +
                        " P=" + std::to_string(p));
      }
}

TEST(CurvedReveals, FirstFrameOldLastFrameNew) {
  for (int32_t n : kxtest::EffectsOfFamily(TEffectFamily::Curved))
    for (const auto& [w, h] : {std::pair{60, 40}, std::pair{41, 57}, std::pair{8, 8}, std::pair{9, 11}}) {
      TFrame f(w, h);
      EXPECT_EQ(f.Draw(n, 0), f.Old) << n << " " << w << "x" << h;
      EXPECT_EQ(f.Draw(n, 100), f.New) << n << " " << w << "x" << h;
    }
  // The shapes lie one pixel inside their rectangle's right and bottom edges.
  // On pictures with a side under 8 pixels that pixel shows: 83 and 87 leave
  // the bottom-right pixel old at the end, 88 shows a corner of the new
  // picture at the start; the other seven stay exact.
  for (int32_t n : {61, 62, 72, 73, 84, 85, 86})
    for (const auto& [w, h] : {std::pair{7, 5}, std::pair{2, 3}, std::pair{3, 7}}) {
      TFrame f(w, h);
      EXPECT_EQ(f.Draw(n, 0), f.Old) << n << " " << w << "x" << h;
      EXPECT_EQ(f.Draw(n, 100), f.New) << n << " " << w << "x" << h;
    }
}

TEST(CurvedReveals, FrontOfTheRevealFromLeft) {
  // 1024 x 768 at P = 25: the tip at x = 2X = 512 at mid-height, the top and
  // bottom rows still wholly old (the front's corners at 2X - W = -512).
  TFrame f(1024, 768);
  f.Draw(61, 25);
  ASSERT_EQ(f.E.X, 256);
  EXPECT_TRUE(f.ShowsNew(509, 384));
  EXPECT_TRUE(f.ShowsOld(515, 384));
  for (int32_t x = 0; x < 1024; ++x) {
    ASSERT_TRUE(f.ShowsOld(x, 0)) << x;
    ASSERT_TRUE(f.ShowsOld(x, 767)) << x;
  }
  // At P = 50 the tip reaches the last column but one (the band ends one
  // pixel short of 2X = W) while the corners of the front are only just
  // leaving the left edge.
  f.Draw(61, 50);
  EXPECT_TRUE(f.ShowsNew(1022, 383));
  EXPECT_TRUE(f.ShowsOld(1023, 383));
  EXPECT_TRUE(f.ShowsOld(200, 0));
  EXPECT_TRUE(f.ShowsNew(200, 384));
}

TEST(CurvedReveals, FrontFromTopOnALandscapeScreen) {
  // The corner ellipse, 2H wide, is cut to the band width W + 1: a half-ellipse
  // of vertical half-axis H whose tip at mid-width is at y = 2Y.
  TFrame f(160, 90);
  f.Draw(72, 30);  // X = 48, Y = 27
  ASSERT_EQ(f.E.Y, 27);
  EXPECT_TRUE(f.ShowsNew(80, 51));
  EXPECT_TRUE(f.ShowsOld(80, 57));
  EXPECT_TRUE(f.ShowsOld(2, 0));  // the sides are still at 2Y - H < 0
  EXPECT_TRUE(f.ShowsOld(157, 0));
}

TEST(CurvedReveals, TallPortraitGetsAStraightFrontWithRoundedCorners) {
  // 2W < H + 1: the front is the vertical x = 2X - 1 (the band less its
  // right column) with corners of radius about W.
  TFrame f(20, 100);
  f.Draw(61, 30);  // Y = 30, X = 6
  ASSERT_EQ(f.E.X, 6);
  for (int32_t y = 22; y < 78; ++y) {
    EXPECT_TRUE(f.ShowsNew(9, y)) << y;
    EXPECT_TRUE(f.ShowsNew(10, y)) << y;
    EXPECT_TRUE(f.ShowsOld(11, y)) << y;
  }
  EXPECT_TRUE(f.ShowsOld(10, 0));  // the rounded corner cuts the top
}

TEST(CurvedReveals, CornerRevealReachesTheFarCornerAtTheEnd) {
  // Effect 83 at P = 100: the screen corner (W, H) lies inside the rounded
  // corner, half-way out from the ellipse's centre.
  TFrame f(80, 60);
  f.Draw(83, 60);
  EXPECT_TRUE(f.ShowsOld(79, 59));
  EXPECT_TRUE(f.ShowsNew(40, 30));
  f.Draw(83, 100);
  EXPECT_TRUE(f.ShowsNew(79, 59));
}

TEST(EllipticRevealInToCentre, TheOddSizedLastFrameHasNoLeftoverBlock) {
  // On odd sides the shrinking rectangle's corners would cross over at the
  // end; the last frame is still the whole new picture, the one before it
  // keeps a small centre of the old one.
  for (const auto& [w, h] : {std::pair{7, 5}, std::pair{9, 9}}) {
    TFrame f(w, h);
    EXPECT_EQ(f.Draw(88, 100), f.New) << w << "x" << h;
  }
  for (const auto& [w, h] : {std::pair{41, 57}, std::pair{61, 45}}) {
    TFrame f(w, h);
    EXPECT_EQ(f.Draw(88, 100), f.New) << w << "x" << h;
    f.Draw(88, 90);
    EXPECT_TRUE(f.ShowsOld(w / 2, h / 2)) << w << "x" << h;
    EXPECT_TRUE(f.ShowsNew(0, 0)) << w << "x" << h;
  }
}

}  // namespace
