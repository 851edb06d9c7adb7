#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <numbers>
#include <vector>

#include "transitions/EffectFrame.h"
#include "transitions/uShapeEffects.h"

using namespace kx;
using kxtest::TEffectFrame;

namespace {

TEST(RotatePoints, TurnsClockwiseOnTheScreenAndRounds) {
  const long double pi = std::numbers::pi_v<long double>;
  const struct {
    long double angle;
    std::array<TPoint, 3> want;
  } cases[] = {
      {0, {TPoint{13, 7}, {10, 10}, {4, 12}}},
      {100 * pi / 50, {TPoint{13, 7}, {10, 10}, {4, 12}}},  // a full turn: the sine term rounds away
      {pi / 2, {TPoint{13, 13}, {10, 10}, {8, 4}}},         // right of the centre goes below it
      {pi, {TPoint{7, 13}, {10, 10}, {16, 8}}},
      {-pi / 2, {TPoint{7, 7}, {10, 10}, {12, 16}}},
      {pi / 4, {TPoint{14, 10}, {10, 10}, {4, 7}}},  // 10 + 6 sqrt(1/2) = 14.24, 10 - 8 sqrt(1/2) = 4.34
  };
  for (const auto& c : cases) {
    std::array<TPoint, 3> points = {TPoint{13, 7}, {10, 10}, {4, 12}};
    RotatePoints(points, 2, 10, 10, c.angle);
    EXPECT_EQ(points, c.want) << double(c.angle);
  }
}

TEST(RotatePoints, OnlyUpToTheLastIndex) {
  std::array<TPoint, 3> points = {TPoint{5, 0}, {5, 0}, {5, 0}};
  RotatePoints(points, 1, 0, 0, std::numbers::pi_v<long double>);
  EXPECT_EQ(points, (std::array<TPoint, 3>{TPoint{-5, 0}, {-5, 0}, {5, 0}}));
  RotatePoints(points, 7, 0, 0, std::numbers::pi_v<long double>);  // beyond the points: the ones there
  EXPECT_EQ(points, (std::array<TPoint, 3>{TPoint{5, 0}, {5, 0}, {-5, 0}}));
  RotatePoints(points, -1, 0, 0, 1);
  EXPECT_EQ(points[2], (TPoint{-5, 0}));
}

// Shapes placed by halves of the sides: on an odd side they leave a seam one
// pixel wide where they meet, or miss a corner.
bool HalvesTheSides(int32_t n) { return n == 149 || n == 150 || n == 151 || n == 159 || n == 160 || n >= 165; }

int64_t Differences(const TBitmap32& a, const TBitmap32& b) {
  int64_t n = 0;
  for (int32_t y = 0; y < a.Height(); ++y)
    for (int32_t x = 0; x < a.Width(); ++x) n += a.Pixel(x, y) != b.Pixel(x, y);
  return n;
}

TEST(ShapeEffects, StartWithTheOldPictureAndEndWithTheNew) {
  const std::pair<int32_t, int32_t> sizes[] = {{40, 30}, {30, 40}, {100, 20}, {10, 10}, {41, 31}, {31, 41}, {7, 5}};
  for (const auto& [w, h] : sizes)
    for (int32_t n : kxtest::EffectsOfFamily(TEffectFamily::Shapes)) {
      // The zigzag bands span 11 steps of a tenth of the side: too short on the smallest picture.
      if ((n == 162 || n == 163) && std::min(w, h) < 10) continue;
      TEffectFrame f(w, h);
      const int64_t seam = (w % 2 || h % 2) && HalvesTheSides(n) ? w + h : 0;
      EXPECT_LE(Differences(f.Draw(n, 0), f.Old), seam) << "effect " << n << " at " << w << "x" << h;
      EXPECT_LE(Differences(f.Draw(n, 100), f.New), seam) << "effect " << n << " at " << w << "x" << h;
    }
}

// Sample points well inside and well outside the shapes at P = 25 on a
// 200 x 100 picture: X = 50, Y = 25, centre (100, 50).
TEST(ShapeEffects, NewPictureInsideTheShapesOldOutside) {
  const struct {
    int32_t n;
    std::vector<TPoint> in, out;
  } cases[] = {
      {113, {{20, 10}}, {{80, 30}, {20, 60}}},
      {114, {{180, 10}}, {{120, 30}, {20, 10}}},
      {115, {{20, 90}}, {{80, 70}, {20, 10}}},
      {116, {{180, 90}}, {{120, 70}, {180, 10}}},
      {117, {{5, 50}, {195, 50}}, {{100, 50}, {40, 20}, {160, 80}}},
      {118, {{100, 5}, {100, 95}}, {{100, 50}, {20, 20}, {180, 80}}},
      {119, {{30, 5}, {5, 85}, {165, 95}, {195, 15}}, {{100, 10}, {10, 50}, {190, 50}, {100, 90}}},
      {161, {{5, 15}, {30, 95}, {195, 85}, {170, 5}}, {{100, 10}, {10, 50}, {190, 50}, {100, 90}}},
      {150, {{100, 50}, {100, 90}, {100, 10}}, {{180, 50}, {10, 10}, {20, 50}}},
      {151, {{25, 75}}, {{100, 50}, {60, 75}, {25, 30}}},
      {153, {{20, 50}}, {{20, 10}, {120, 50}}},
      {154, {{180, 50}}, {{80, 50}, {180, 10}}},
      {155, {{100, 10}}, {{100, 60}, {20, 10}}},
      {156, {{100, 90}}, {{100, 40}, {20, 90}}},
      {157, {{10, 50}, {190, 50}}, {{100, 50}, {10, 10}}},
      {158, {{100, 10}, {100, 90}}, {{30, 50}, {180, 50}}},
      {159, {{5, 50}, {195, 50}, {100, 3}, {100, 97}}, {{100, 50}, {40, 50}, {5, 5}}},
      {160, {{100, 50}, {5, 5}, {195, 95}}, {{20, 50}, {100, 10}, {180, 50}, {100, 90}}},
      {162, {{20, 40}, {40, 60}}, {{20, 60}, {20, 10}, {40, 35}}},
      {163, {{80, 10}, {130, 20}}, {{130, 10}, {70, 20}}},
      {165, {{100, 50}}, {{60, 30}, {10, 50}}},
      {166, {{5, 5}, {195, 95}}, {{100, 50}, {30, 50}}},
      {167, {{10, 50}, {100, 5}}, {{100, 50}, {2, 2}}},
  };
  for (const auto& c : cases) {
    TEffectFrame f(200, 100);
    f.Draw(c.n, 25);
    for (const TPoint& p : c.in) EXPECT_TRUE(f.ShowsNew(p.X, p.Y)) << c.n << " at " << p.X << "," << p.Y;
    for (const TPoint& p : c.out) EXPECT_TRUE(f.ShowsOld(p.X, p.Y)) << c.n << " at " << p.X << "," << p.Y;
  }
}

// The turning rectangles are upright at quarter turns, so their frames are exact.
TEST(ShapeEffects, TurningRectanglesAtQuarterTurns) {
  const struct {
    int32_t n, p;
    TRect want;  // 200 x 100 picture
  } cases[] = {
      // P = 50: half size (X = 100, Y = 50) turned by pi about the centre, same outline.
      {149, 50, {50, 25, 150, 75}},
      // P = 25: X = 50, Y = 25, the 50 x 24 rectangle stands at 90 degrees in place.
      {149, 25, {88, 25, 112, 75}},
      // P = 75: X = 150, Y = 75, the 150 x 74 rectangle turned by 3 pi / 2.
      {149, 75, {63, -25, 137, 125}},
      // The spiral turns about (X, Y), the centre at P = 50.
      {151, 50, {50, 25, 150, 75}},
      // P = 25: the rectangle (75, 38)-(125, 62) turned by 90 degrees about (50, 25).
      {151, 25, {13, 50, 37, 100}},
  };
  for (const auto& c : cases) {
    TEffectFrame f(200, 100);
    f.Draw(c.n, c.p);
    for (int32_t y = 0; y < 100; ++y)
      for (int32_t x = 0; x < 200; ++x)
        ASSERT_EQ(f.ShowsNew(x, y), c.want.Contains({x, y})) << c.n << " P=" << c.p << " at " << x << "," << y;
  }
}

// The slanted edges sample each pixel at its corner: pixels of 64 x 48 frames
// where the corner and the centre lie on different sides of an edge.
TEST(ShapeEffects, EdgesSampledAtThePixelCorner) {
  const struct {
    int32_t n, p;
    std::vector<TPoint> in, out;
  } cases[] = {
      // The triangle (0, 0), (64, 24), (0, 48): its lower edge passes y = 47 at x = 2 2/3.
      {153, 50, {{1, 47}, {2, 47}, {63, 24}}, {{3, 47}, {0, 0}}},
      // The band's left edge from (28, 40) down to (16, 44) passes y = 43 at x = 19.
      {163, 25, {{19, 43}}, {{17, 43}, {18, 43}}},
  };
  for (const auto& c : cases) {
    TEffectFrame f(64, 48);
    f.Draw(c.n, c.p);
    for (const TPoint& p : c.in) EXPECT_TRUE(f.ShowsNew(p.X, p.Y)) << c.n << " at " << p.X << "," << p.Y;
    for (const TPoint& p : c.out) EXPECT_TRUE(f.ShowsOld(p.X, p.Y)) << c.n << " at " << p.X << "," << p.Y;
  }
}

TEST(ShapeEffects, ZigzagAtFullHeightCoversOddSides) {
  // 41 x 31 at P = 100: the vertical band's right edge has its notch tips at
  // x = 40, the last column's own corners, on the rows 3, 9, ..., 27; the
  // horizontal band's lower edge has them at y = 30. Both bands cover it all.
  for (int32_t n : {162, 163}) {
    TEffectFrame f(41, 31);
    EXPECT_EQ(f.Draw(n, 100), f.New) << n;
  }
  // Less than 10 pixels across there are no zigs: the band's far edge runs
  // straight along the last column's corners and leaves that column out.
  TEffectFrame f(7, 30);
  f.Draw(163, 100);
  for (int32_t y = 0; y < 30; ++y)
    for (int32_t x = 0; x < 7; ++x) EXPECT_EQ(f.ShowsOld(x, y), x == 6) << x << "," << y;
}

TEST(ShapeEffects, ZigzagNeedsTenPixelsAlongTheBand) {
  // A step of W / 10 = 0 puts every point at x = 0: the band is empty.
  for (int32_t p : {0, 50, 100}) {
    TEffectFrame f(9, 30);
    EXPECT_EQ(f.Draw(162, p), f.Old) << p;
    TEffectFrame g(30, 9);
    EXPECT_EQ(g.Draw(163, p), g.Old) << p;
  }
}

}  // namespace
