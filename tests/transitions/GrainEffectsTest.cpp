#include <gtest/gtest.h>

#include <algorithm>
#include <vector>

#include "raster/uRandom.h"
#include "transitions/EffectFrame.h"
#include "transitions/uGrainEffects.h"

using namespace kx;
using kxtest::TEffectFrame;

namespace {

// Distance of (x, y) from the edge the effect starts at, along its axis.
int32_t FromStart(int32_t n, int32_t x, int32_t y, int32_t W, int32_t H) {
  switch (n) {
    case 125: return W - 1 - x;
    case 126: return x;
    case 127: return H - 1 - y;
    default: return y;
  }
}

TEST(SpeckleEffects, SolidFrontWithAFringeAhead) {
  // Rows: L = 300, D = 30, S = 2, N = 15, K = 11. Columns: L = 240, D = 24,
  // S = 2, N = 12, K = 9. The two cells next to the front always show; no
  // speck lies beyond N * S.
  TRandom random(7);
  for (int32_t n = 125; n <= 128; ++n)
    for (int32_t p : {0, 30, 70}) {
      TEffectFrame f(300, 240);
      f.Draw(n, p, random);
      const TPoint e = EffectExtents(300, 240, p);
      const bool rows = n <= 126;
      const int32_t E = rows ? e.X : e.Y, reach = rows ? 30 : 24;
      bool someOld = false;
      for (int32_t y = 0; y < 240; ++y)
        for (int32_t x = 0; x < 300; ++x) {
          const int32_t d = FromStart(n, x, y, 300, 240);
          if (d < E + 4) ASSERT_TRUE(f.ShowsNew(x, y)) << n << " P=" << p << " at " << x << "," << y;
          else if (d >= E + reach) ASSERT_TRUE(f.ShowsOld(x, y)) << n << " P=" << p << " at " << x << "," << y;
          else someOld = someOld || f.ShowsOld(x, y);
        }
      EXPECT_TRUE(someOld) << n << " P=" << p;  // the fringe is scattered, not solid
    }
  // At the end the fringe has no depth and the solid part covers everything.
  for (int32_t n = 125; n <= 128; ++n) {
    TEffectFrame f(300, 240);
    EXPECT_EQ(f.Draw(n, 100), f.New) << n;
  }
}

TEST(SpeckleEffects, AtTheStartABandTwoSpecksWide) {
  // 1024 along the axis: D = 102, S = 5, N = 20, K = 15: a band of 10 pixels,
  // specks up to 100 pixels in.
  for (int32_t n = 125; n <= 128; ++n) {
    const bool rows = n <= 126;
    const int32_t w = rows ? 1024 : 6, h = rows ? 6 : 1024;
    TEffectFrame f(w, h);
    f.Random.Seed(99);
    f.Draw(n, 0);
    int64_t fringe = 0;
    for (int32_t y = 0; y < h; ++y)
      for (int32_t x = 0; x < w; ++x) {
        const int32_t d = FromStart(n, x, y, w, h);
        if (d < 10) ASSERT_TRUE(f.ShowsNew(x, y)) << n << " at " << x << "," << y;
        else if (d >= 100) ASSERT_TRUE(f.ShowsOld(x, y)) << n << " at " << x << "," << y;
        else fringe += f.ShowsNew(x, y);
      }
    EXPECT_GT(fringe, 0) << n;
    EXPECT_LT(fringe, 90 * 6) << n;
  }
}

TEST(SpeckleEffects, SpecksFollowTheRunningGenerator) {
  // 200 long from the left (rows) or from the top (columns): D = 20, S = 2,
  // step 1, N = 10, K = 3. Two lines across: speck line 0 covers pixel lines
  // 0 and 1, line 1 only pixel line 1. Each line draws Random(k) for cells
  // 10 down to 1, line 0 first; the front is at A.
  const uint32_t seed = 123456789;
  for (int32_t n : {126, 128})
    for (int32_t p : {0, 40}) {
      const bool rows = n == 126;
      TEffectFrame f(rows ? 200 : 2, rows ? 2 : 200);
      f.Random.Seed(seed);
      f.Draw(n, p);
      const TPoint e = EffectExtents(f.W, f.H, p);
      const int32_t A = rows ? e.X : e.Y;
      TRandom r(seed);
      bool shows[2][200] = {};
      for (int32_t line = 0; line < 2; ++line) {
        for (int32_t at = 0; at < A; ++at) shows[line][at] = true;
        for (int32_t k = 10; k >= 1; --k) {
          const uint32_t draw = r.Random(uint32_t(k));
          if (k <= 3 ? draw <= 1 : draw == 0)
            for (int32_t covered = line; covered < 2; ++covered)
              for (int32_t at = A + 2 * k - 2; at < A + 2 * k; ++at) shows[covered][at] = true;
        }
      }
      for (int32_t line = 0; line < 2; ++line)
        for (int32_t at = 0; at < 200; ++at)
          ASSERT_EQ(rows ? f.ShowsNew(at, line) : f.ShowsNew(line, at), shows[line][at])
              << n << " P=" << p << " line " << line << " at " << at;
      EXPECT_EQ(f.Random.State(), r.State());  // the show's generator has moved on
    }
}

TEST(SpeckleEffects, EveryFrameDrawsAFreshFringe) {
  // 300 x 40 from the right: step 1, so 40 rows of 15 draws each.
  TEffectFrame f(300, 40);
  f.Random.Seed(5);
  const TBitmap32 first = f.Draw(125, 50);
  TRandom r(5);
  for (int i = 0; i < 40 * 15; ++i) r.Random(1);
  EXPECT_EQ(f.Random.State(), r.State());
  EXPECT_NE(f.Draw(125, 50), first);
}

TEST(SpeckleRegion, RowsAndColumnsTogether) {
  // Both fronts at once, and any non-zero mode other than 1 counts as 2.
  TRandom random(1);
  const std::optional<TRegion> region = SpeckleRegion(50, 30, 100, 80, 7, 9, random);
  ASSERT_TRUE(region.has_value());
  EXPECT_TRUE(region->Contains(49, 79) && region->Contains(99, 29));  // left rows, top columns
  EXPECT_FALSE(region->Contains(99, 79));
  EXPECT_FALSE(SpeckleRegion(0, 0, 10, 0, 1, 0, random).has_value());  // no rows at all
}

// The squares by their definition: a generator seeded with (W + H) * Q, one
// draw per cell, columns left to right, top to bottom within a column.
std::vector<TRect> SquaresShown(int32_t W, int32_t H, int32_t P) {
  const int32_t Q = std::min(W, H) / 50 + 1;
  TRandom r(uint32_t((W + H) * Q));
  std::vector<TRect> shown;
  for (int32_t cx = Q; cx - Q < W; cx += 2 * Q)
    for (int32_t cy = Q; cy - Q < H; cy += 2 * Q)
      if (r.Random(100) < uint32_t(P)) shown.push_back({cx - Q, cy - Q, cx + Q, cy + Q});
  return shown;
}

TEST(RandomSquares, TheFixedPatternOfItsSizeLeavesTheShowsGeneratorAlone) {
  // Q = 1, 1, 3 and 3: squares of 2 and 6 pixels, the last ones overhanging.
  for (const auto& [w, h] : {std::pair{40, 30}, std::pair{9, 7}, std::pair{151, 103}, std::pair{100, 133}})
    for (int32_t p : {0, 1, 37, 64, 99, 100}) {
      TEffectFrame f(w, h);
      f.Random.Seed(4242);
      f.Draw(129, p);
      EXPECT_EQ(f.Random.State(), 4242u);
      const std::vector<TRect> shown = SquaresShown(w, h, p);
      for (int32_t y = 0; y < h; ++y)
        for (int32_t x = 0; x < w; ++x) {
          const bool in = std::any_of(shown.begin(), shown.end(), [&](const TRect& r) { return r.Contains({x, y}); });
          ASSERT_EQ(f.Dest.Pixel(x, y), (in ? f.New : f.Old).Pixel(x, y))
              << w << "x" << h << " P=" << p << " at " << x << "," << y;
        }
    }
}

TEST(RandomSquares, WhereverTheShowsGeneratorStandsThePatternStays) {
  TEffectFrame f(61, 53);
  const TBitmap32 want = f.Draw(129, 50);
  for (int i = 0; i < 20; ++i) {
    f.Random.Seed(uint64_t(i) * 2654435761u);
    for (int k = 0; k < i * 37; ++k) f.Random.Random(1000);
    ASSERT_EQ(f.Draw(129, 50), want) << i;
  }
}

}  // namespace
