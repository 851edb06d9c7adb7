#include <gtest/gtest.h>

#include <functional>
#include <vector>

#include "raster/uMath.h"
#include "transitions/EffectFrame.h"
#include "transitions/uBlindEffects.h"
#include "transitions/uComplexRegion.h"

using namespace kx;
using kxtest::TEffectFrame;

namespace {

// d mod m for d >= 0 or m > 0 with a non-negative result.
int32_t Mod(int32_t d, int32_t m) { return ((d % m) + m) % m; }

// Whether the new picture shows at (x, y), by each effect's own geometry.
using TShows = std::function<bool(int32_t x, int32_t y, int32_t W, int32_t H, int32_t X, int32_t Y, int32_t P)>;

// A blind of half-width a centred in each cell of pitch 2N.
bool InBlind(int32_t v, int32_t N, int32_t P) {
  const int32_t a = MulDiv(N, P, 100), s = v / (2 * N) * (2 * N);
  return s + N - a <= v && v < s + N + a;
}
// A slat of the fraction P / 100 of the pitch E at the start of each pitch,
// counted from 0 (d = x) or from the far edge (d = W - 1 - x).
bool InSlat(int32_t d, int32_t E, int32_t P) { return E > 0 && Mod(d, E) < MulDiv(E, P, 100); }
// Bands of half-height a = M * P / 100 centred at -M, 2M, 5M, ... while the
// centre lies before the end of the side.
bool InBand(int32_t v, int32_t M, int32_t length, int32_t P) {
  const int32_t a = MulDiv(M, P, 100), t = Mod(v + M, 3 * M);
  return t < a || (t >= 3 * M - a && v - t + 3 * M < length);
}

TEST(BlindEffects, ExactFrames) {
  const struct {
    int32_t n;
    TShows shows;
  } cases[] = {
      {138, [](int x, int y, int W, int H, int X, int Y, int P) { return InBlind(x, W / 40 + 1, P); }},
      {139, [](int x, int y, int W, int H, int X, int Y, int P) { return InBlind(y, H / 40 + 1, P); }},
      {140, [](int x, int y, int W, int H, int X, int Y, int P) { return InSlat(x, X, P); }},
      {141, [](int x, int y, int W, int H, int X, int Y, int P) { return InSlat(W - 1 - x, X, P); }},
      {142, [](int x, int y, int W, int H, int X, int Y, int P) { return InSlat(y, Y, P); }},
      {143, [](int x, int y, int W, int H, int X, int Y, int P) { return InSlat(H - 1 - y, Y, P); }},
      {144, [](int x, int y, int W, int H, int X, int Y, int P) {
         const int32_t R = std::min(W, H) / 10 + 1;
         return InBlind(x, R, P) && InBlind(y, R, P);
       }},
      // Bands and strips; nothing at all while the bands have no height or the strips no pitch.
      {145, [](int x, int y, int W, int H, int X, int Y, int P) {
         return H / 20 > 0 && X > 0 && (InBand(y, H / 20, H, P) || InSlat(x, X, P));
       }},
      {146, [](int x, int y, int W, int H, int X, int Y, int P) {
         return H / 20 > 0 && X > 0 && (InBand(y, H / 20, H, P) || InSlat(W - 1 - x, X, P));
       }},
      {147, [](int x, int y, int W, int H, int X, int Y, int P) {
         return W / 20 > 0 && Y > 0 && (InBand(x, W / 20, W, P) || InSlat(y, Y, P));
       }},
      {148, [](int x, int y, int W, int H, int X, int Y, int P) {
         return W / 20 > 0 && Y > 0 && (InBand(x, W / 20, W, P) || InSlat(H - 1 - y, Y, P));
       }},
  };
  const std::pair<int32_t, int32_t> sizes[] = {{8, 6}, {9, 7}, {45, 23}, {23, 45}, {64, 48}, {130, 21}};
  for (const auto& c : cases)
    for (const auto& [w, h] : sizes)
      for (int32_t p : {0, 1, 13, 50, 77, 99, 100}) {
        TEffectFrame f(w, h);
        f.Draw(c.n, p);
        const TPoint e = EffectExtents(w, h, p);
        for (int32_t y = 0; y < h; ++y)
          for (int32_t x = 0; x < w; ++x)
            ASSERT_EQ(f.Dest.Pixel(x, y), (c.shows(x, y, w, h, e.X, e.Y, p) ? f.New : f.Old).Pixel(x, y))
                << "effect " << c.n << " " << w << "x" << h << " P=" << p << " at " << x << "," << y;
      }
}

TEST(BlindEffects, WorkedExamplesAt1024) {
  // "Blind vertically": N = 26, a pitch of 52; at P = 50 each blind is 26 wide.
  TEffectFrame f(1024, 2);
  f.Draw(138, 50);
  for (int32_t x : {0, 12, 39, 64, 1000, 1039 - 52}) EXPECT_TRUE(f.ShowsOld(x, 0)) << x;
  for (int32_t x : {13, 38, 65, 52 * 19 + 13, 1023}) EXPECT_TRUE(f.ShowsNew(x, 1)) << x;
  // The twentieth blind reaches past the edge; at P = 100 all of them cover the picture.
  EXPECT_EQ(f.Draw(138, 100), f.New);

  // "Uneven blind from left" at P = 50: X = 512, a = 256, slats 0-256 and 512-768.
  TEffectFrame g(1024, 4);
  g.Draw(140, 50);
  for (int32_t x = 0; x < 1024; ++x) ASSERT_EQ(g.ShowsNew(x, 3), x < 256 || (x >= 512 && x < 768)) << x;
}

// The grids by their definition: one region per shape, merged one by one in
// visiting order, columns left to right and rows top to bottom.
TRegion MergedOneByOne(int32_t n, int32_t W, int32_t H, int32_t P) {
  std::vector<TRegion> shapes;
  if (n == 120) {
    const int32_t CW = W / 10 + 1, CH = H / 10 + 1, hx = MulDiv(CW, P, 50), hy = MulDiv(CH, P, 50);
    for (int32_t cx = CW; cx - CW < W; cx += 2 * CW)
      for (int32_t cy = CH; cy - CH < H + CH; cy += 2 * CH)
        shapes.push_back(PolygonRegion({cx - hx, cy - hy, cx, cy + hy, cx + hx, cy - hy}));
  } else {
    const int32_t C = std::min(W, H) / 10 + 1;
    const int32_t r = n == 152 ? MulDiv(3 * C, P, 200) : MulDiv(C, P, 50);
    for (int32_t cx = C; cx - C < W; cx += 2 * C)
      for (int32_t cy = C; cy - C < H; cy += 2 * C)
        shapes.push_back(n == 152 ? EllipseRegion(cx - r, cy - r, cx + r, cy + r)
                                  : PolygonRegion({cx - r, cy, cx, cy - r, cx + r, cy, cx, cy + r}));
  }
  TRegion acc = shapes.at(0);
  for (size_t i = 1; i < shapes.size(); ++i) CombineRegions(acc, acc, shapes[i], TCombineMode::Or);
  return acc;
}

TEST(ShapeGrids, SameRegionAsMergingShapeByShape) {
  for (const auto& [w, h] : {std::pair{64, 48}, std::pair{53, 97}, std::pair{200, 31}, std::pair{7, 5}})
    for (int32_t p : {0, 3, 20, 50, 71, 100}) {
      EXPECT_EQ(*CircularShredRegion(w, h, p), MergedOneByOne(152, w, h, p)) << w << "x" << h << " P=" << p;
      EXPECT_EQ(*DiamondShredRegion(w, h, p), MergedOneByOne(164, w, h, p)) << w << "x" << h << " P=" << p;
      EXPECT_EQ(*TriangularShredRegion(w, h, p), MergedOneByOne(120, w, h, p)) << w << "x" << h << " P=" << p;
    }
  EXPECT_FALSE(CircularShredRegion(0, 5, 50).has_value());
}

TEST(ShapeGrids, ShapesGrowFromTheCellCentresUntilTheyCover) {
  // 100 x 80: C = 9, cells 18 wide with centres at 9, 27, 45, ...; the
  // triangles have CW = 11, CH = 9.
  for (int32_t n : {120, 152, 164})
    for (const auto& [w, h] : {std::pair{100, 80}, std::pair{101, 75}, std::pair{7, 5}, std::pair{2, 3}}) {
      TEffectFrame f(w, h);
      EXPECT_EQ(f.Draw(n, 0), f.Old) << n << " at " << w << "x" << h;
      EXPECT_EQ(f.Draw(n, 100), f.New) << n << " at " << w << "x" << h;
    }
  TEffectFrame f(100, 80);
  f.Draw(152, 40);  // r = MulDiv(27, 40, 200) = 5: a circle 9 across in [22, 31) x [22, 31)
  EXPECT_TRUE(f.ShowsNew(27, 27) && f.ShowsNew(30, 26) && f.ShowsNew(26, 22) && f.ShowsNew(22, 26));
  EXPECT_TRUE(f.ShowsOld(31, 27) && f.ShowsOld(26, 31) && f.ShowsOld(30, 30) && f.ShowsOld(22, 22));
  EXPECT_TRUE(f.ShowsOld(34, 27) && f.ShowsOld(32, 32) && f.ShowsOld(18, 18));
  f.Draw(164, 40);  // r = MulDiv(9, 40, 50) = 7
  EXPECT_TRUE(f.ShowsNew(27, 27) && f.ShowsNew(32, 26) && f.ShowsNew(27, 21));
  EXPECT_TRUE(f.ShowsOld(31, 31) && f.ShowsOld(35, 27) && f.ShowsOld(18, 18));
  f.Draw(120, 40);  // hx = MulDiv(11, 40, 50) = 9, hy = 7: a triangle from (2, 2)-(20, 2) down to (11, 16)
  EXPECT_TRUE(f.ShowsNew(11, 3) && f.ShowsNew(4, 3) && f.ShowsNew(11, 14));
  EXPECT_TRUE(f.ShowsOld(4, 12) && f.ShowsOld(11, 17) && f.ShowsOld(11, 1));
}

}  // namespace
