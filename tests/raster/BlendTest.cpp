#include <gtest/gtest.h>

#include <cmath>
#include <vector>

#include "raster/uBlend.h"

using namespace kx;

namespace {

constexpr TPixel kBlack = MakePixel(0, 0, 0);

// The pixels a line lit on a black bitmap, in row order.
std::vector<TPoint> Lit(const TBitmap32& b) {
  std::vector<TPoint> v;
  for (int32_t y = 0; y < b.Height(); ++y)
    for (int32_t x = 0; x < b.Width(); ++x)
      if (b.Pixel(x, y) != kBlack) v.push_back({x, y});
  return v;
}

TEST(BlendPixel, MixesColourAndKeepsTheFourthByte) {
  struct TCase {
    TPixel Under, Colour;
    uint8_t Alpha;
    TPixel Want;
  };
  const TCase cases[] = {
      {MakePixel(0, 0, 0, 7), MakePixel(255, 255, 255), 160, MakePixel(160, 160, 160, 7)},
      {MakePixel(100, 50, 200), MakePixel(255, 255, 255), 0, MakePixel(100, 50, 200)},
      {MakePixel(100, 50, 200), MakePixel(10, 20, 30, 0), 255, MakePixel(10, 20, 30)},
      // (218 x 130 + 100 x 125) / 255 = 160.1; (218 x 130 + 0) / 255 = 111.1
      {MakePixel(100, 0, 255), MakePixel(218, 218, 218), 130, MakePixel(160, 111, 236)},
  };
  for (const TCase& c : cases) {
    TBitmap32 b(1, 1, c.Under);
    BlendPixel(b, 0, 0, c.Colour, c.Alpha);
    EXPECT_EQ(b.Pixel(0, 0), c.Want) << std::hex << c.Want;
    BlendPixel(b, 1, 0, c.Colour, c.Alpha);  // outside: skipped
    BlendPixel(b, 0, -1, c.Colour, c.Alpha);
  }
}

// One pixel per step along the longer axis, the other coordinate rounded
// with halves away from the start, the last pixel left out.
TEST(BlendLine, StepsAlongTheLongerAxisWithoutTheLastPixel) {
  struct TCase {
    int64_t X0, Y0, X1, Y1;
    std::vector<TPoint> Want;
  };
  const TCase cases[] = {
      {1, 1, 5, 1, {{1, 1}, {2, 1}, {3, 1}, {4, 1}}},
      {5, 1, 1, 1, {{2, 1}, {3, 1}, {4, 1}, {5, 1}}},
      {2, 0, 2, 3, {{2, 0}, {2, 1}, {2, 2}}},
      {0, 0, 4, 2, {{0, 0}, {1, 1}, {2, 1}, {3, 2}}},  // step 1: 0.5 -> 1
      {4, 2, 0, 0, {{1, 0}, {2, 1}, {3, 1}, {4, 2}}},  // and back: step 1 from 2 by -0.5 -> 1
      {0, 0, 3, 3, {{0, 0}, {1, 1}, {2, 2}}},
      {3, 3, 3, 3, {}},
      // Far ends: only the part inside is visited.
      {-1000000000000, 2, 1000000000000, 2, {{0, 2}, {1, 2}, {2, 2}, {3, 2}, {4, 2}, {5, 2}}},
      {3, -(int64_t(1) << 50), 3, int64_t(1) << 50, {{3, 0}, {3, 1}, {3, 2}, {3, 3}}},
      {-10, -10, -2, 3, {}},
  };
  for (const TCase& c : cases) {
    SCOPED_TRACE(testing::Message() << c.X0 << "," << c.Y0 << " -> " << c.X1 << "," << c.Y1);
    TBitmap32 b(6, 4, kBlack);
    BlendLine(b, c.X0, c.Y0, c.X1, c.Y1, MakePixel(255, 255, 255), 200);
    EXPECT_EQ(Lit(b), c.Want);
    for (const TPoint p : Lit(b)) EXPECT_EQ(b.Pixel(p.X, p.Y), MakePixel(200, 200, 200));
  }
}

// A polygon whose edges lie on pixel boundaries covers whole pixels: exact
// alpha inside, nothing outside. Slanted edges give partial alphas between.
TEST(BlendPolygon, CoversWholePixelsExactlyAndEdgesPartly) {
  TBitmap32 b(6, 6, kBlack);
  const TPointF square[] = {{0.5, 0.5}, {3.5, 0.5}, {3.5, 3.5}, {0.5, 3.5}};
  BlendPolygon(b, square, MakePixel(255, 255, 255), 180);
  for (int32_t y = 0; y < 6; ++y)
    for (int32_t x = 0; x < 6; ++x) {
      const bool in = x >= 1 && x <= 3 && y >= 1 && y <= 3;
      EXPECT_EQ(b.Pixel(x, y), in ? MakePixel(180, 180, 180) : kBlack) << x << "," << y;
    }

  // A triangle cutting pixels along its diagonal: those pixels get about
  // half the alpha; the total equals the area times the alpha.
  TBitmap32 t(4, 4, kBlack);
  const TPointF tri[] = {{-0.5, -0.5}, {3.5, -0.5}, {3.5, 3.5}};
  BlendPolygon(t, tri, MakePixel(255, 255, 255), 255);
  double sum = 0;
  for (int32_t y = 0; y < 4; ++y)
    for (int32_t x = 0; x < 4; ++x) {
      const int v = PixelR(t.Pixel(x, y));
      sum += v;
      if (x > y) {
        EXPECT_EQ(v, 255);
      } else if (x < y) {
        EXPECT_EQ(v, 0);
      } else {
        EXPECT_NEAR(v, 128, 10);
      }
    }
  EXPECT_NEAR(sum, 8 * 255, 4 * 10);
}

TEST(BlendPolygon, DegenerateOrOutsidePolygonsDrawNothing) {
  const std::vector<std::vector<TPointF>> polygons = {
      {{1, 1}, {3, 3}},                                  // too few points
      {{1, 1}, {2, 2}, {3, 3}, {4, 4}},                  // no area
      {{-50, -50}, {-40, -50}, {-40, -40}},              // outside
      {{1, 1}, {NAN, 2}, {3, 3}},                        // not a number
      {{0, 0}, {1e12, 0}, {1e12, 1e12}, {0, 1e12}},      // beyond pixman's range
  };
  for (const auto& p : polygons) {
    TBitmap32 b(5, 5, kBlack);
    BlendPolygon(b, p, MakePixel(255, 255, 255), 255);
    EXPECT_TRUE(Lit(b).empty());
  }
}

}  // namespace
