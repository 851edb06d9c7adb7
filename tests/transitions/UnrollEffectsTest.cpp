#include <gtest/gtest.h>

#include <algorithm>
#include <vector>

#include "transitions/EffectFrame.h"
#include "support/BitmapSupport.h"
#include "transitions/PSEffect.h"
#include "transitions/uUnrollEffects.h"

using namespace kx;
using kxtest::Tagged;

namespace {

using TFrame = kxtest::TEffectFrame;

TPixel Shaded(TPixel p, int32_t v) {
  auto c = [v](uint8_t b) { return uint8_t(std::clamp(int32_t(b) + v, 0, 255)); };
  return MakePixel(c(PixelR(p)), c(PixelG(p)), c(PixelB(p)), PixelA(p));
}

TEST(UnrollBand, ATenthNoWiderThanUncoveredNorHalfOfCovered) {
  const struct {
    int32_t L, E, S;
  } cases[] = {{1024, 0, 0},    {1024, 50, 50},  {1024, 102, 102}, {1024, 500, 102},
               {1024, 900, 62}, {1024, 1023, 0}, {1024, 1024, 0},  {9, 4, 0}};
  for (const auto& c : cases) EXPECT_EQ(UnrollBand(c.L, c.E), c.S) << c.L << " " << c.E;
}

TEST(ShadeRamp, EachOperationSteppingByItsOwnRule) {
  std::vector<int32_t> cols100, rows76, cols76;
  for (int32_t i = 1; i <= 100; ++i) cols100.push_back(i <= 50 ? i - 49 : 51 - i);        // -48 .. +1 .. -49
  for (int32_t i = 1; i <= 76; ++i) rows76.push_back(i <= 38 ? i - 49 : -11 - (i - 38));  // -48 .. -11 .. -49
  for (int32_t i = 1; i <= 76; ++i) cols76.push_back(i <= 38 ? i - 49 : -10 - (i - 39));  // -48 .. -11, -10 .. -47
  const std::vector<int32_t> slow = {-3, -3, -3, -2, -2, -2, -1, -1, -1, 0, 0, 0, -1, -1, -1, -2, -2, -2, -3, -3};
  const std::vector<int32_t> none;

  EXPECT_EQ(ColumnShadeRamp(48, 100), cols100);
  EXPECT_EQ(ColumnShadeRamp(48, 76), cols76);
  EXPECT_EQ(RowShadeRamp(48, 76), rows76);
  // Half / Amp columns (rows) per step: both rules agree.
  EXPECT_EQ(ColumnShadeRamp(3, 20), slow);
  EXPECT_EQ(RowShadeRamp(3, 20), slow);
  // Steps of Amp / Half: the columns turn after the Half-th, the rows one earlier.
  EXPECT_EQ(ColumnShadeRamp(48, 10), (std::vector<int32_t>{-48, -39, -30, -21, -12, -3, -12, -21, -30, -39}));
  EXPECT_EQ(RowShadeRamp(48, 10), (std::vector<int32_t>{-48, -39, -30, -21, -12, -21, -30, -39, -48, -57}));
  for (auto [amp, count] : {std::pair{48, 1}, std::pair{48, 0}, std::pair{0, 50}}) {
    EXPECT_EQ(ColumnShadeRamp(uint8_t(amp), count), none);
    EXPECT_EQ(RowShadeRamp(uint8_t(amp), count), none);
  }
}

TEST(ShadeColumns, ClampsEachColourByteAndKeepsTheFourth) {
  const TPixel colour = MakePixel(255, 30, 0, 0x77);
  TBitmap32 b(102, 2, colour);
  ShadeColumns(b, 48, 1, 100);
  const std::vector<int32_t> ramp = ColumnShadeRamp(48, 100);
  for (int32_t y = 0; y < 2; ++y) {
    EXPECT_EQ(b.Pixel(0, y), colour);
    EXPECT_EQ(b.Pixel(101, y), colour);
    for (int32_t x = 1; x <= 100; ++x) ASSERT_EQ(b.Pixel(x, y), Shaded(colour, ramp[size_t(x - 1)])) << x;
  }
  EXPECT_EQ(b.Pixel(50, 0), MakePixel(255, 31, 1, 0x77));  // +1 at the 50th column, red held at 255
  EXPECT_EQ(b.Pixel(1, 0), MakePixel(207, 0, 0, 0x77));    // -48, green and blue held at 0
}

TEST(ShadeRows, BottomRowOfTheBandFirst) {
  const TPixel colour = MakePixel(100, 200, 40, 0x12);
  TBitmap32 b(3, 12, colour);
  ShadeRows(b, 48, 1, 10);
  const std::vector<int32_t> ramp = RowShadeRamp(48, 10);
  EXPECT_EQ(b.Pixel(2, 0), colour);
  EXPECT_EQ(b.Pixel(2, 11), colour);
  for (int32_t i = 1; i <= 10; ++i)
    for (int32_t x = 0; x < 3; ++x) ASSERT_EQ(b.Pixel(x, 1 + 10 - i), Shaded(colour, ramp[size_t(i - 1)])) << i;
}

TEST(Shade, BandsReachingOutsideTheBitmapShadeOnlyTheirPartInside) {
  const TPixel colour = MakePixel(128, 128, 128);
  TBitmap32 cols(4, 2, colour), rows(2, 4, colour);
  ShadeColumns(cols, 48, -2, 5);  // columns 0 .. 2 take the ramp's 3rd to 5th offsets
  ShadeRows(rows, 48, 2, 5);      // rows 2 and 3 take the 4th and 5th offsets (bottom row first)
  const std::vector<int32_t> c = ColumnShadeRamp(48, 5), r = RowShadeRamp(48, 5);
  for (int32_t x = 0; x < 3; ++x) EXPECT_EQ(cols.Pixel(x, 1), Shaded(colour, c[size_t(x + 2)]));
  EXPECT_EQ(cols.Pixel(3, 1), colour);
  EXPECT_EQ(rows.Pixel(0, 3), Shaded(colour, r[3]));
  EXPECT_EQ(rows.Pixel(0, 2), Shaded(colour, r[4]));
  EXPECT_EQ(rows.Pixel(0, 1), colour);
  ShadeColumns(cols, 48, 50, 10);  // wholly outside
  ShadeRows(rows, 48, -30, 10);
  EXPECT_EQ(cols.Pixel(3, 1), colour);
  EXPECT_EQ(rows.Pixel(0, 1), colour);
}

// The unroll frames pixel for pixel along the moving axis: position u (a
// column, or a row for the vertical effects) shows the new picture's
// position Source(u) (or -1 for the old picture), shaded by Shade(u).
struct TUnrollCase {
  int32_t Effect;
  bool Vertical, FromEnd;
};

TEST(Unroll, UncoveredPartThenMirroredShadedBand) {
  const TUnrollCase cases[] = {{17, false, false}, {18, false, true}, {34, true, false}, {35, true, true}};
  for (const TUnrollCase& c : cases)
    for (const auto& [w, h] : {std::pair{40, 30}, std::pair{31, 43}})
      for (int32_t p : {0, 5, 30, 50, 85, 97, 100}) {
        TFrame f(w, h);
        f.Draw(c.Effect, p);
        const int32_t L = c.Vertical ? h : w, E = c.Vertical ? f.E.Y : f.E.X, S = UnrollBand(L, E);
        const std::vector<int32_t> ramp = c.Vertical ? RowShadeRamp(48, S) : ColumnShadeRamp(48, S);
        for (int32_t y = 0; y < h; ++y)
          for (int32_t x = 0; x < w; ++x) {
            const int32_t u = c.Vertical ? y : x;
            // Position along the axis counted from the starting edge.
            const int32_t d = c.FromEnd ? L - 1 - u : u;
            int32_t from = d < E ? u : -1;  // -1: the old picture
            int32_t shade = 0;
            if (d >= E && d < E + S) {
              // Band: d = E shows the far end of the next S, d = E + S - 1 its near end.
              const int32_t far = c.FromEnd ? L - E - 2 * S - 1 + (d - E) : 2 * E + 2 * S - 1 - d;
              from = far;
              const int32_t k = d - E;  // 0 at the uncovered side
              // Columns are shaded left to right, rows bottom row first.
              const int32_t index = c.Vertical ? (c.FromEnd ? k : S - 1 - k) : (c.FromEnd ? S - 1 - k : k);
              shade = ramp.empty() ? 0 : ramp[size_t(index)];
            }
            // A band source one past the edge (-1) leaves the old picture there.
            TPixel want;
            if (from < 0)
              want = f.Old.Pixel(x, y);
            else
              want = c.Vertical ? f.New.Pixel(x, from) : f.New.Pixel(from, y);
            ASSERT_EQ(f.Dest.Pixel(x, y), Shaded(want, shade))
                << c.Effect << " " << w << "x" << h << " P=" << p << " at " << x << "," << y;
          }
      }
}

TEST(Unroll, BandOfTheRightHandEffectReadsOneColumnFurtherOut) {
  // 40 wide at P = 85: X = 34, S = 3; the band (columns 3 to 5) mirrors the
  // new picture's columns -1 to 1, so column 5 keeps the old picture, shaded.
  TFrame f(40, 4);
  f.Draw(18, 85);
  ASSERT_EQ(f.E.X, 34);
  const std::vector<int32_t> ramp = ColumnShadeRamp(48, 3);
  EXPECT_EQ(f.Dest.Pixel(3, 1), Shaded(f.New.Pixel(1, 1), ramp[0]));
  EXPECT_EQ(f.Dest.Pixel(4, 1), Shaded(f.New.Pixel(0, 1), ramp[1]));
  EXPECT_EQ(f.Dest.Pixel(5, 1), Shaded(f.Old.Pixel(5, 1), ramp[2]));
  EXPECT_EQ(f.Dest.Pixel(6, 1), f.New.Pixel(6, 1));
  EXPECT_EQ(f.Dest.Pixel(2, 1), f.Old.Pixel(2, 1));
}

// Build-up: the uncovered part in place; the covered part shows, row by row
// (column by column), the slice of at most a tenth next to it, stretched
// monotonically so that both ends of the slice appear.
TEST(BuildUp, CoveredPartShowsTheNextSliceStretched) {
  const struct {
    int32_t Effect;
    bool Vertical, FromEnd;
  } cases[] = {{19, false, false}, {20, false, true}, {36, true, false}, {37, true, true}};
  for (const auto& c : cases)
    for (const auto& [w, h] : {std::pair{40, 30}, std::pair{31, 43}})
      for (int32_t p : {0, 20, 60, 95}) {
        TFrame f(w, h);
        f.Draw(c.Effect, p);
        const int32_t L = c.Vertical ? h : w, E = c.Vertical ? f.E.Y : f.E.X;
        const int32_t slice = std::min(L - E, L / 10);
        // The slice's positions along the axis: [s0, s0 + slice).
        const int32_t s0 = c.FromEnd ? L - E - slice : E;
        const int32_t across = c.Vertical ? w : h;
        for (int32_t v = 0; v < across; ++v) {
          int32_t prev = s0 - 1;
          std::vector<bool> seen(size_t(std::max(slice, 0)), false);
          for (int32_t u = 0; u < L; ++u) {
            const int32_t x = c.Vertical ? v : u, y = c.Vertical ? u : v;
            const bool uncovered = c.FromEnd ? u >= L - E : u < E;
            const TPixel got = f.Dest.Pixel(x, y);
            if (uncovered) {
              ASSERT_EQ(got, f.New.Pixel(x, y)) << c.Effect << " P=" << p;
              continue;
            }
            // Which new-picture position along the axis this pixel shows.
            const int32_t from = c.Vertical ? PixelG(got) : PixelR(got);
            ASSERT_EQ(PixelB(got), 2) << c.Effect << " P=" << p << " at " << x << "," << y;
            ASSERT_EQ(c.Vertical ? PixelR(got) : PixelG(got), v);
            ASSERT_TRUE(from >= s0 && from < s0 + slice) << c.Effect << " P=" << p << " from " << from;
            ASSERT_GE(from, prev);
            prev = from;
            seen[size_t(from - s0)] = true;
          }
          EXPECT_TRUE(std::all_of(seen.begin(), seen.end(), [](bool b) { return b; })) << c.Effect << " P=" << p;
        }
      }
}

TEST(BuildUp, FirstFrameShowsTheEdgeTenthStretchedOverTheScreen) {
  // 40 x 30: the tenth is 4 columns or 3 rows, each shown 10 times.
  TFrame f(40, 30);
  const struct {
    int32_t Effect;
    TPoint (*At)(int32_t x, int32_t y);
  } cases[] = {{19,
                [](int32_t x, int32_t y) {
                  return TPoint{x / 10, y};
                }},
               {20,
                [](int32_t x, int32_t y) {
                  return TPoint{36 + x / 10, y};
                }},
               {36,
                [](int32_t x, int32_t y) {
                  return TPoint{x, y / 10};
                }},
               {37, [](int32_t x, int32_t y) {
                  return TPoint{x, 27 + y / 10};
                }}};
  for (const auto& c : cases) {
    f.Draw(c.Effect, 0);
    for (int32_t y = 0; y < 30; ++y)
      for (int32_t x = 0; x < 40; ++x) {
        const TPoint at = c.At(x, y);
        ASSERT_EQ(f.Dest.Pixel(x, y), f.New.Pixel(at.X, at.Y)) << c.Effect << " at " << x << "," << y;
      }
  }
}

TEST(UnrollAndBuildUp, LastFrameIsTheNewPicture) {
  for (int32_t n : kxtest::EffectsOfFamily(TEffectFamily::Unroll))
    for (const auto& [w, h] : {std::pair{40, 30}, std::pair{31, 43}, std::pair{1, 1}}) {
      TFrame f(w, h);
      EXPECT_EQ(f.Draw(n, 100), f.New) << n << " " << w << "x" << h;
    }
}

}  // namespace
