#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "raster/uRandom.h"
#include "transitions/EffectFrame.h"
#include "support/BitmapSupport.h"
#include "transitions/PSEffect.h"
#include "transitions/uBarEffects.h"

using namespace kx;
using kxtest::Tagged;

namespace {

using TFrame = kxtest::TEffectFrame;

// Which of the two pictures every pixel must show.
template <class F>
void ExpectFrame(const TFrame& f, F&& showsNew, const std::string& what) {
  for (int32_t y = 0; y < f.H; ++y)
    for (int32_t x = 0; x < f.W; ++x)
      ASSERT_EQ(f.Dest.Pixel(x, y), (showsNew(x, y) ? f.New : f.Old).Pixel(x, y)) << what << " at " << x << "," << y;
}

std::string Case(int32_t n, int32_t w, int32_t h, int32_t p) {
  return "effect " + std::to_string(n) + " " + std::to_string(w) + "x" + std::to_string(h) + " P=" + std::to_string(p);
}

// Bars by bar: u runs along the bars (from the near edge), v across them;
// L is the length of a bar, reach how far the bars have grown.
bool BarCovers(int32_t mode, int32_t reach, int32_t L, int32_t T, int32_t u, int32_t v) {
  const bool even = (v / T) % 2 == 0;
  if (reach <= L) {  // even bars grow
    switch (mode) {
      case 1:
      case 5:
        return even && u >= L - reach;
      case 2:
      case 4:
        return even && u < reach;
      case 3:
        return even ? u >= L - reach : u < reach;
      default:
        return false;
    }
  }
  if (mode == 0) return false;
  if (even) return true;  // full once the odd bars grow
  switch (mode) {
    case 1:
    case 4:
      return u >= 2 * L - reach;
    case 2:
    case 5:
      return u < reach - L;
    default:
      return false;
  }
}

struct TBarsCase {
  int32_t Effect;
  int32_t AFactor, BFactor;  // A = AFactor * X, B = BFactor * Y
  int32_t HMode, VMode;
};

TEST(Bars, ExactFramesFromTheExtents) {
  const TBarsCase cases[] = {
      {63, 2, 0, 1, 0}, {64, 2, 0, 2, 0}, {65, 2, 0, 4, 0}, {66, 2, 0, 5, 0},  {67, 1, 0, 3, 0},  {74, 0, 2, 0, 1},
      {75, 0, 2, 0, 2}, {76, 0, 2, 0, 4}, {77, 0, 2, 0, 5}, {78, 0, 1, 0, 3},  {89, 2, 2, 1, 1},  {90, 2, 2, 1, 2},
      {91, 2, 2, 2, 1}, {92, 2, 2, 2, 2}, {93, 2, 2, 4, 4}, {94, 2, 2, 4, 5},  {95, 2, 2, 5, 4},  {96, 2, 2, 5, 5},
      {97, 1, 1, 1, 3}, {98, 1, 1, 2, 3}, {99, 1, 1, 3, 1}, {100, 1, 1, 3, 2}, {101, 1, 1, 3, 3},
  };
  for (const auto& [w, h] : {std::pair{130, 110}, std::pair{111, 157}, std::pair{20, 13}})
    for (int32_t p : {0, 13, 37, 50, 62, 75, 88, 100}) {
      TFrame f(w, h);
      const int32_t T = std::min(w, h) / 50 + 1;
      for (const TBarsCase& c : cases) {
        f.Draw(c.Effect, p);
        const int32_t A = c.AFactor * f.E.X, B = c.BFactor * f.E.Y;
        ExpectFrame(
            f,
            [&](int32_t x, int32_t y) {
              return BarCovers(c.HMode, A, w, T, x, y) || BarCovers(c.VMode, B, h, T, y, x);
            },
            Case(c.Effect, w, h, p));
      }
      // 102: where the bars from right and bottom meet those from left and top.
      f.Draw(102, p);
      const int32_t A = 2 * f.E.X, B = 2 * f.E.Y;
      ExpectFrame(
          f,
          [&](int32_t x, int32_t y) {
            const bool far = BarCovers(1, A, w, T, x, y) || BarCovers(1, B, h, T, y, x);
            const bool near = BarCovers(2, A, w, T, x, y) || BarCovers(2, B, h, T, y, x);
            return far && near;
          },
          Case(102, w, h, p));
    }
}

TEST(Bars, EvenBarsFirstThenOddBarsOnAThousandByThreeQuarters) {
  // W = 1000, H = 750: bars 16 thick. Effect 65 at P = 50 (A = W): every
  // even bar full, no odd bar started. At P = 75 (A = 1.5 W) the odd bars
  // have grown from the right edge to half the width.
  const std::optional<TRegion> half = BarsRegion(1000, 0, 1000, 750, 4, 0);
  ASSERT_TRUE(half);
  EXPECT_EQ(half->Area(), 24 * 16 * 1000);
  EXPECT_TRUE(half->Contains(0, 0) && half->Contains(999, 15) && half->Contains(0, 32) && half->Contains(999, 749));
  EXPECT_FALSE(half->Contains(999, 16) || half->Contains(0, 31));

  const std::optional<TRegion> threeQuarters = BarsRegion(1500, 0, 1000, 750, 4, 0);
  ASSERT_TRUE(threeQuarters);
  EXPECT_EQ(threeQuarters->Area(), 24 * 16 * 1000 + 24 * 16 * 500);
  EXPECT_TRUE(threeQuarters->Contains(500, 16) && threeQuarters->Contains(999, 31));
  EXPECT_FALSE(threeQuarters->Contains(499, 16) || threeQuarters->Contains(0, 63));
  EXPECT_TRUE(threeQuarters->Contains(0, 15) && threeQuarters->Contains(0, 32));
}

TEST(Bars, CrissCrossIntersectionShowsNothingBeforeTheBarsMeet) {
  // Effect 102 before the reaches pass the middle: bars from right and from
  // left do not overlap yet, and neither do those from top and bottom; only
  // where a horizontal bar crosses a vertical one does the new picture show.
  TFrame f(130, 110);
  f.Draw(102, 20);
  const int32_t T = 3;
  for (int32_t y = 0; y < 110; ++y)
    for (int32_t x = 0; x < 130; ++x) {
      const bool evenRow = (y / T) % 2 == 0, evenCol = (x / T) % 2 == 0;
      if (!(evenRow && evenCol)) {
        ASSERT_EQ(f.Dest.Pixel(x, y), f.Old.Pixel(x, y)) << x << "," << y;
      }
    }
  EXPECT_EQ(f.Dest.Pixel(0, 0), f.Old.Pixel(0, 0));      // a bar from the left alone
  EXPECT_EQ(f.Dest.Pixel(128, 0), f.New.Pixel(128, 0));  // from the right across one from the top
  EXPECT_EQ(f.Dest.Pixel(0, 108), f.New.Pixel(0, 108));  // from the left across one from the bottom
}

// The shreds by their definition, from the draws of a generator seeded as
// the show's one was: one per row strip from the top, then one per column
// strip from the left.
struct TShredModel {
  int32_t W, H, HMode, VMode, T, RW, RH;
  std::vector<int32_t> Rows, Cols;
  uint32_t StateAfter;

  TShredModel(int32_t A, int32_t B, int32_t w, int32_t h, int32_t hMode, int32_t vMode, uint32_t seed)
      : W(w), H(h), HMode(hMode), VMode(vMode), T(std::min(w, h) / 200 + 1), RW(w % T), RH(h % T) {
    TRandom r(seed);
    if (HMode != 0) {
      const int32_t J = A < W ? W / 10 : 0;
      for (int32_t y = 0; y < H; y += T) Rows.push_back(int32_t(r.Random(uint32_t(2 * J))) - J + A);
    }
    if (VMode != 0) {
      const int32_t J = B < H ? H / 10 : 0;
      for (int32_t x = 0; x < W; x += T) Cols.push_back(int32_t(r.Random(uint32_t(2 * J))) + B - J);
    }
    StateAfter = r.State();
  }

  // A strip of length len in the mode covers position u of a side L.
  static bool Strip(int32_t mode, int32_t len, int32_t L, int32_t u) {
    const int32_t h = len / 2;
    switch (mode) {
      case 1:
        return u >= L - len;
      case 2:
        return u < len;
      case 3:
        return u >= L / 2 - h && u < L / 2 + h;
      default:
        return u >= L - h || u < h;
    }
  }

  // Strip k spans [kT, kT + T + remainder): position v lies in strip v / T
  // and, within the remainder, in the one before.
  static bool Covers(const std::vector<int32_t>& lens, int32_t mode, int32_t T, int32_t rem, int32_t L, int32_t u,
                     int32_t v) {
    for (int32_t k = v / T; k >= 0 && k >= v / T - 1; --k)
      if (size_t(k) < lens.size() && v < k * T + T + rem && Strip(mode, lens[size_t(k)], L, u)) return true;
    return false;
  }

  bool Shows(int32_t x, int32_t y) const {
    return (HMode != 0 && Covers(Rows, HMode, T, RH, W, x, y)) || (VMode != 0 && Covers(Cols, VMode, T, RW, H, y, x));
  }
};

struct TShredCase {
  int32_t Effect;
  bool Rows, Cols;
  int32_t HMode, VMode;
};

const TShredCase kShreds[] = {
    {68, true, false, 1, 0}, {69, true, false, 2, 0}, {70, true, false, 3, 0}, {71, true, false, 4, 0},
    {79, false, true, 0, 1}, {80, false, true, 0, 2}, {81, false, true, 0, 3}, {82, false, true, 0, 4},
    {103, true, true, 1, 1}, {104, true, true, 1, 2}, {105, true, true, 2, 1}, {106, true, true, 2, 2},
    {107, true, true, 1, 3}, {108, true, true, 2, 3}, {109, true, true, 3, 1}, {110, true, true, 3, 2},
    {111, true, true, 3, 3}, {112, true, true, 4, 4},
};

TEST(UnevenShreds, FramesFollowTheDrawsOfTheShowsGenerator) {
  // Strips 2 pixels thick with a remainder of 1 on the odd side, 1 pixel
  // thick, and 3 thick with remainders of 2 and 1.
  const struct {
    int32_t W, H;
    std::vector<int32_t> Percents;
  } sizes[] = {
      {253, 211, {0, 23, 61, 100}}, {211, 253, {0, 23, 61, 100}}, {23, 17, {0, 23, 61, 100}}, {404, 400, {47}}};
  for (const auto& [w, h, percents] : sizes)
    for (int32_t p : percents)
      for (const TShredCase& c : kShreds) {
        TFrame f(w, h);
        const uint32_t seed = 0x9E3779B9u + uint32_t(c.Effect * 1000 + p);
        f.Random.Seed(seed);
        f.Draw(c.Effect, p);
        const TShredModel model(c.Rows ? f.E.X : 0, c.Cols ? f.E.Y : 0, w, h, c.HMode, c.VMode, seed);
        ExpectFrame(
            f, [&](int32_t x, int32_t y) { return model.Shows(x, y); }, Case(c.Effect, w, h, p));
        EXPECT_EQ(f.Random.State(), model.StateAfter) << Case(c.Effect, w, h, p);  // one draw per strip, no more
      }
}

TEST(UnevenShreds, RowStripsOfAThousandByThreeQuartersOverlapByTwo) {
  // T = 4 and 750 mod 4 = 2: 188 row strips, each 6 rows high, so every row
  // in a strip's last two is also covered by the next strip.
  TRandom random(12345);
  const std::optional<TRegion> region = ShredRegion(300, 0, 1000, 750, 2, 0, random);
  ASSERT_TRUE(region);
  TRandom r(12345);
  std::vector<int32_t> len;
  for (int32_t k = 0; k < 188; ++k) len.push_back(int32_t(r.Random(200)) - 100 + 300);
  EXPECT_EQ(random.State(), r.State());
  for (int32_t y = 0; y < 750; ++y) {
    const int32_t k = y / 4;
    const int32_t reach = y % 4 < 2 && k > 0 ? std::max(len[size_t(k)], len[size_t(k - 1)]) : len[size_t(k)];
    ASSERT_TRUE(region->Contains(reach - 1, y)) << y;
    ASSERT_FALSE(region->Contains(reach, y)) << y;
  }
  EXPECT_EQ(region->Bounds().Bottom, 754);  // the last strip, from row 748, is 6 high as well
}

TEST(UnevenShreds, RaggedEdgeChangesEveryFrame) {
  TFrame f(120, 90);
  f.Random.Seed(99);
  const TBitmap32 first = f.Draw(69, 40);
  const uint32_t after = f.Random.State();
  EXPECT_NE(after, 99u);
  EXPECT_NE(f.Draw(69, 40), first);
}

TEST(UnevenShreds, FirstFrameShowsAFringeOfLessThanAJitter) {
  // P = 0: a strip reaches at most J - 1 = 11 pixels in from its start.
  TFrame f(120, 90);
  f.Random.Seed(7);
  f.Draw(68, 0);
  bool any = false;
  for (int32_t y = 0; y < 90; ++y)
    for (int32_t x = 0; x < 120; ++x) {
      const bool isNew = f.Dest.Pixel(x, y) == f.New.Pixel(x, y);
      if (x < 120 - 11) {
        ASSERT_FALSE(isNew) << x << "," << y;
      }
      any = any || isNew;
    }
  EXPECT_TRUE(any);
}

TEST(UnevenShreds, LastFrameOnOddSidesLeavesTheHalvedStripsOneShort) {
  // In modes 3 and 4 each side of a strip takes half its length rounded
  // toward zero: an odd side keeps one line of the old picture, the last
  // one (from the centre line) or the middle one (from both edges).
  const struct {
    int32_t Effect, W, H;
    bool (*Old)(int32_t x, int32_t y);
  } cases[] = {
      {70, 21, 10, [](int32_t x, int32_t y) { return x == 20; }},
      {71, 21, 10, [](int32_t x, int32_t y) { return x == 10; }},
      {81, 10, 21, [](int32_t x, int32_t y) { return y == 20; }},
      {82, 10, 21, [](int32_t x, int32_t y) { return y == 10; }},
      {111, 21, 21, [](int32_t x, int32_t y) { return x == 20 && y == 20; }},
      {112, 21, 21, [](int32_t x, int32_t y) { return x == 10 && y == 10; }},
      {109, 21, 21, [](int32_t x, int32_t y) { return false; }},
      {70, 20, 10, [](int32_t x, int32_t y) { return false; }},
      {112, 20, 22, [](int32_t x, int32_t y) { return false; }},
  };
  for (const auto& c : cases) {
    TFrame f(c.W, c.H);
    f.Draw(c.Effect, 100);
    ExpectFrame(
        f, [&](int32_t x, int32_t y) { return !c.Old(x, y); }, Case(c.Effect, c.W, c.H, 100));
  }
}

TEST(BarsAndShreds, FirstAndLastFrames) {
  for (const auto& [w, h] : {std::pair{130, 110}, std::pair{111, 157}})
    for (int32_t n : kxtest::EffectsOfFamily(TEffectFamily::Bars)) {
      if (std::any_of(std::begin(kShreds), std::end(kShreds), [n](const TShredCase& c) { return c.Effect == n; }))
        continue;  // a shred shows its ragged fringe from the first frame: its last frame below
      TFrame f(w, h);
      EXPECT_EQ(f.Draw(n, 0), f.Old) << n;
      EXPECT_EQ(f.Draw(n, 100), f.New) << n;
    }
  for (const TShredCase& c : kShreds) {
    TFrame f(130, 110);  // even sides: straight, complete edges at the end
    EXPECT_EQ(f.Draw(c.Effect, 100), f.New) << c.Effect;
  }
}

}  // namespace
