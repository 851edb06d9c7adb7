#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <functional>
#include <set>
#include <vector>

#include "raster/uRandom.h"
#include "transitions/EffectFrame.h"
#include "support/BitmapSupport.h"
#include "transitions/PSEffect.h"
#include "transitions/uPixelEffects.h"

using namespace kx;
using kxtest::Tagged;

namespace {

// Every effect number, 1 to 169.
const std::vector<int32_t>& AllEffects() {
  static const std::vector<int32_t> numbers = [] {
    std::vector<int32_t> n;
    for (int32_t i = 1; i <= kEffectCount; ++i) n.push_back(i);
    return n;
  }();
  return numbers;
}

using TFrame = kxtest::TEffectFrame;

std::vector<TPixel> ColoursOf(const TBitmap32& b) {
  std::vector<TPixel> c(b.Bits(), b.Bits() + size_t(b.Width()) * size_t(b.Height()));
  for (TPixel& p : c) p &= 0x00FFFFFFu;
  return c;
}

bool SplitsWidth(int32_t n) { return n == 15 || n == 16 || (n >= 57 && n <= 60); }
bool SplitsHeight(int32_t n) { return n == 32 || n == 33 || (n >= 57 && n <= 60); }
bool IsPivot(int32_t n) { return n >= 121 && n <= 124; }
// The build-ups show a stretched slice of the new picture and the uneven
// shreds a ragged fringe of it from the first frame on.
bool ShowsNewAtStart(int32_t n) {
  return n == 19 || n == 20 || n == 36 || n == 37 || (n >= 68 && n <= 71) || (n >= 79 && n <= 82) ||
         (n >= 103 && n <= 112);
}
// Shreds halved about the centre line or between both edges end one line
// short on an odd side.
bool HalvedShredEndsShort(int32_t n, int32_t w, int32_t h) {
  const bool rows = n == 70 || n == 71, cols = n == 81 || n == 82, both = n == 111 || n == 112;
  return (rows && w % 2) || (cols && h % 2) || (both && w % 2 && h % 2);
}
// Shapes placed by halves of the sides leave a seam or a corner pixel on an
// odd side (their own suite bounds it).
bool HalvesOddSide(int32_t n, int32_t w, int32_t h) {
  return (w % 2 || h % 2) && (n == 149 || n == 150 || n == 151 || n == 159 || n == 160 || (n >= 165 && n <= 167));
}
// The curved shapes lie one pixel inside their rectangle's right and bottom
// edges; on pictures with a side under 8 pixels that pixel shows at one end
// of the corner reveal 83, the elliptic reveal 87 and its reverse 88.
bool CurvedCornerShowsOnTinyPicture(int32_t n, int32_t percent, int32_t w, int32_t h) {
  return std::min(w, h) < 8 && ((percent == 100 && (n == 83 || n == 87)) || (percent == 0 && n == 88));
}
// The striped rectangles need a side of 20 pixels and the zigzag bands one
// of 10, more than these pictures have: they never reach the new picture.
bool NeedsLargerPicture(int32_t n) { return (n >= 145 && n <= 148) || n == 162 || n == 163; }

TEST(Effects, StartWithTheOldPictureAndEndWithTheNew) {
  const std::pair<int32_t, int32_t> sizes[] = {{8, 6}, {6, 8}, {7, 5}, {5, 9}, {2, 3}};
  for (const auto& [w, h] : sizes)
    for (int32_t n : AllEffects()) {
      TFrame f(w, h);
      if (!ShowsNewAtStart(n) && !HalvesOddSide(n, w, h) && !CurvedCornerShowsOnTinyPicture(n, 0, w, h)) {
        EXPECT_EQ(f.Draw(n, 0), f.Old) << "effect " << n << " at " << w << "x" << h;
      }
      // Halves meet one pixel apart on an odd side; the pivots land one pixel off.
      const bool exact = !IsPivot(n) && !(w % 2 && SplitsWidth(n)) && !(h % 2 && SplitsHeight(n)) &&
                         !HalvedShredEndsShort(n, w, h) && !HalvesOddSide(n, w, h) && !NeedsLargerPicture(n) &&
                         !CurvedCornerShowsOnTinyPicture(n, 100, w, h);
      if (exact && n == 1) {
        // The fade mixes colours only and leaves the fourth byte alone.
        EXPECT_EQ(ColoursOf(f.Draw(n, 100)), ColoursOf(f.New)) << "at " << w << "x" << h;
      } else if (exact) {
        EXPECT_EQ(f.Draw(n, 100), f.New) << "effect " << n << " at " << w << "x" << h;
      }
    }
}

TEST(Effects, EveryFrameLeavesNoClipAndSrcUntouched) {
  for (int32_t n : AllEffects())
    for (int32_t p = 0; p <= 100; p += 9) {
      TFrame f(9, 7);
      f.Draw(n, p);
      EXPECT_FALSE(f.Dest.ClipRegion()) << n << " at " << p;
      EXPECT_EQ(f.New, Tagged(9, 7, 2)) << n << " at " << p;
    }
}

TEST(Effects, SizesThatDisagreeWithTheBitmapsAreHandledSafely) {
  // Claimed sizes larger and smaller than the bitmaps: nothing is read or
  // written outside them (the sanitizers watch), and no clip is left.
  for (int32_t n : AllEffects())
    for (const auto& [w, h] : {std::pair{12, 9}, std::pair{3, 2}})
      for (int32_t p : {0, 50, 100}) {
        TBitmap32 dest = Tagged(6, 5, 1);
        const TBitmap32 src = Tagged(6, 5, 2);
        const TPoint e = EffectExtents(w, h, p);
        TRandom random;
        Effects[n].Proc(dest, src, w, h, e.X, e.Y, p, random);
        EXPECT_FALSE(dest.ClipRegion()) << n;
      }
}

// Frames that the effects define pixel for pixel: which picture and which of
// its pixels lands at (x, y), given W, H, X, Y. true picks the new picture.
struct TExact {
  int32_t Effect;
  std::function<std::pair<bool, TPoint>(int32_t x, int32_t y, int32_t W, int32_t H, int32_t X, int32_t Y)> At;
};

TEST(Effects, ExactFramesOfRevealsSlidesAndPushes) {
  using R = std::pair<bool, TPoint>;
  const TExact cases[] = {
      {8, [](int x, int y, int W, int H, int X, int Y) { return R{x < X, {x, y}}; }},
      {9, [](int x, int y, int W, int H, int X, int Y) { return R{x >= W - X, {x, y}}; }},
      {7, [](int x, int y, int W, int H, int X, int Y) { return x < X ? R{true, {x + W - X, y}} : R{false, {x, y}}; }},
      {42, [](int x, int y, int W, int H, int X, int Y) {
         return x >= W - X && y >= H - Y ? R{true, {x - (W - X), y - (H - Y)}} : R{false, {x, y}};
       }},
      {56, [](int x, int y, int W, int H, int X, int Y) {
         const int l = (W - X) / 2, t = (H - Y) / 2;
         return R{x >= l && x < l + X && y >= t && y < t + Y, {x, y}};
       }},
      {57, [](int x, int y, int W, int H, int X, int Y) {
         return R{!(x >= X / 2 && x < W - X / 2 && y >= Y / 2 && y < H - Y / 2), {x, y}};
       }},
      {58, [](int x, int y, int W, int H, int X, int Y) {
         const bool col = x < X / 2 || x >= W - X / 2, row = y < Y / 2 || y >= H - Y / 2;
         return R{col && row, {x, y}};
       }},
      {130, [](int x, int y, int W, int H, int X, int Y) {
         return x < X ? R{true, {W - X + x, y}} : R{false, {x - X, y}};
       }},
      {131, [](int x, int y, int W, int H, int X, int Y) {
         return x < W - X ? R{false, {x + X, y}} : R{true, {x - (W - X), y}};
       }},
      {134, [](int x, int y, int W, int H, int X, int Y) {
         return y < Y ? R{true, {x, H - Y + y}} : R{false, {x, y - Y}};
       }},
      {135, [](int x, int y, int W, int H, int X, int Y) {
         return y < H - Y ? R{false, {x, y + Y}} : R{true, {x, y - (H - Y)}};
       }},
  };
  const std::pair<int32_t, int32_t> sizes[] = {{8, 6}, {9, 7}};
  for (const TExact& c : cases)
    for (const auto& [w, h] : sizes)
      for (int32_t p : {1, 13, 50, 77, 100}) {
        TFrame f(w, h);
        f.Draw(c.Effect, p);
        const TPoint e = EffectExtents(w, h, p);
        for (int32_t y = 0; y < h; ++y)
          for (int32_t x = 0; x < w; ++x) {
            const auto [fromNew, at] = c.At(x, y, w, h, e.X, e.Y);
            const TPixel want = (fromNew ? f.New : f.Old).Pixel(at.X, at.Y);
            ASSERT_EQ(f.Dest.Pixel(x, y), want)
                << "effect " << c.Effect << " " << w << "x" << h << " P=" << p << " at " << x << "," << y;
          }
      }
}

TEST(Effects, SlideShowsOnlyTheInBitmapPart) {
  // Effect 7 with X = 1: the right-most column of the new picture at x = 0.
  TFrame f(6, 4);
  Effects[7].Proc(f.Dest, f.New, 6, 4, 1, 1, 17, f.Random);
  for (int32_t y = 0; y < 4; ++y) {
    EXPECT_EQ(f.Dest.Pixel(0, y), f.New.Pixel(5, y));
    EXPECT_EQ(f.Dest.Pixel(1, y), f.Old.Pixel(1, y));
  }
}

TEST(Fade, BlendsColoursAndKeepsTheFourthByte) {
  TBitmap32 dest(2, 1), src(2, 1);
  dest.SetPixel(0, 0, MakePixel(255, 0, 10, 0x11));
  src.SetPixel(0, 0, MakePixel(0, 255, 10, 0x99));
  dest.SetPixel(1, 0, MakePixel(200, 3, 100, 0x22));
  src.SetPixel(1, 0, MakePixel(201, 0, 0, 0x88));
  TRandom random;
  Effects[1].Proc(dest, src, 2, 1, 1, 0, 50, random);
  EXPECT_EQ(dest.Pixel(0, 0), MakePixel(127, 127, 10, 0x11));  // 255 - 128 and 0 + 127
  // floor(1 * 128 / 256) is 0 and floor(-3 * 128 / 256) is -2
  EXPECT_EQ(dest.Pixel(1, 0), MakePixel(200, 1, 50, 0x22));
  Effects[1].Proc(dest, src, 2, 1, 2, 1, 100, random);
  EXPECT_EQ(dest.Pixel(0, 0), MakePixel(0, 255, 10, 0x11));
}

TEST(Fade, EveryByteFollowsTheBlendFormula) {
  // 7 x 3 pixels: whole groups of pixels and a remainder, all byte values.
  TBitmap32 old(7, 3), src(7, 3);
  TRandom r(5);
  for (int32_t y = 0; y < 3; ++y)
    for (int32_t x = 0; x < 7; ++x) {
      old.SetPixel(x, y, r.Random(0xFFFFFFFFu));
      src.SetPixel(x, y, r.Random(0xFFFFFFFFu));
    }
  old.SetPixel(0, 0, 0xFFFFFFFFu);
  src.SetPixel(0, 0, 0);
  for (int32_t p = 0; p <= 100; p += 3) {
    const int32_t a = (256 * p + 50) / 100;  // MulDiv(256, p, 100) for p >= 0
    TBitmap32 dest = old;
    Effects[1].Proc(dest, src, 7, 3, 0, 0, p, r);  // the fade draws nothing from it
    for (int32_t y = 0; y < 3; ++y)
      for (int32_t x = 0; x < 7; ++x) {
        const TPixel d = old.Pixel(x, y), s = src.Pixel(x, y), got = dest.Pixel(x, y);
        EXPECT_EQ(PixelA(got), PixelA(d));
        for (int shift : {0, 8, 16}) {
          const int dv = int(d >> shift & 255), sv = int(s >> shift & 255);
          const int want = dv + int(std::floor((sv - dv) * a / 256.0));
          ASSERT_EQ(int(got >> shift & 255), want) << "P=" << p << " at " << x << "," << y << " byte " << shift / 8;
        }
      }
  }
}

TEST(BlendRect, ClipsTheBlockToBothBitmaps) {
  TBitmap32 dest(4, 3, MakePixel(0, 0, 0, 7)), src(4, 3, MakePixel(200, 100, 40, 9));
  BlendRect(dest, src, 50, 2, 1, 10, 10);
  EXPECT_EQ(dest.Pixel(3, 2), MakePixel(100, 50, 20, 7));
  EXPECT_EQ(dest.Pixel(1, 1), MakePixel(0, 0, 0, 7));
  EXPECT_EQ(dest.Pixel(3, 0), MakePixel(0, 0, 0, 7));
  BlendRect(dest, src, 50, -5, -5, 2, 2);  // wholly outside
}

// The fixed patterns by their definition: one generator seeded with W + H.
std::vector<std::vector<bool>> DissolveShown(int32_t w, int32_t h, int32_t p) {
  std::vector<std::vector<bool>> shown(static_cast<size_t>(h), std::vector<bool>(static_cast<size_t>(w)));
  TRandom r(uint32_t(w + h));
  for (int32_t b = 0; b < h; ++b)
    for (int32_t x = 0; x < w; ++x) shown[size_t(h - 1 - b)][size_t(x)] = r.Random(100) < uint32_t(p);
  return shown;
}

TEST(Dissolve, RevealsTheFixedPatternOfItsSize) {
  const int32_t w = 13, h = 7;
  TFrame f(w, h);
  f.Random.Seed(4242);
  std::vector<std::vector<bool>> before(size_t(h), std::vector<bool>(size_t(w), false));
  for (int32_t p : {0, 10, 37, 64, 99, 100}) {
    f.Draw(3, p);
    const auto shown = DissolveShown(w, h, p);
    for (int32_t y = 0; y < h; ++y)
      for (int32_t x = 0; x < w; ++x) {
        ASSERT_EQ(f.Dest.Pixel(x, y), (shown[size_t(y)][size_t(x)] ? f.New : f.Old).Pixel(x, y)) << p;
        EXPECT_TRUE(!before[size_t(y)][size_t(x)] || shown[size_t(y)][size_t(x)]);  // never taken back
      }
    before = shown;
  }
  EXPECT_EQ(f.Random.State(), 4242u);  // as if the effect had not run
}

TEST(RandomBars, RowsAndColumnsOfTheFixedPattern) {
  const int32_t w = 11, h = 9, p = 45;
  TRandom rows(uint32_t(w + h)), cols(uint32_t(w + h));
  std::vector<bool> rowShown(static_cast<size_t>(h)), colShown(static_cast<size_t>(w));
  for (int32_t b = 0; b < h; ++b) rowShown[size_t(h - 1 - b)] = rows.Random(100) < uint32_t(p);
  for (int32_t x = 0; x < w; ++x) colShown[size_t(x)] = cols.Random(100) < uint32_t(p);

  TFrame f(w, h);
  f.Random.Seed(77);
  f.Draw(168, p);
  for (int32_t y = 0; y < h; ++y)
    for (int32_t x = 0; x < w; ++x) ASSERT_EQ(f.Dest.Pixel(x, y), (rowShown[size_t(y)] ? f.New : f.Old).Pixel(x, y));
  f.Draw(169, p);
  for (int32_t y = 0; y < h; ++y)
    for (int32_t x = 0; x < w; ++x) ASSERT_EQ(f.Dest.Pixel(x, y), (colShown[size_t(x)] ? f.New : f.Old).Pixel(x, y));
  EXPECT_EQ(f.Random.State(), 77u);
}

TEST(Dissolve, WhereverTheShowsGeneratorStandsThePatternStays) {
  TFrame f(17, 11);
  const auto shown = DissolveShown(17, 11, 50);
  for (int i = 0; i < 20; ++i) {
    f.Random.Seed(uint64_t(i) * 2654435761u);
    for (int k = 0; k < i * 37; ++k) f.Random.Random(1000);
    f.Draw(3, 50);
    for (int32_t y = 0; y < 11; ++y)
      for (int32_t x = 0; x < 17; ++x)
        ASSERT_EQ(f.Dest.Pixel(x, y), (shown[size_t(y)][size_t(x)] ? f.New : f.Old).Pixel(x, y));
  }
}

TEST(Pivots, EndOnePixelLeftAndDownAndStartOffScreen) {
  for (int32_t n = 121; n <= 124; ++n)
    for (const auto& [w, h] : {std::pair{8, 6}, std::pair{7, 9}}) {
      TFrame f(w, h);
      EXPECT_EQ(f.Draw(n, 0), f.Old) << n;
      f.Draw(n, 100);
      for (int32_t y = 0; y < h; ++y)
        for (int32_t x = 0; x < w; ++x) {
          const bool moved = x < w - 1 && y > 0;
          ASSERT_EQ(f.Dest.Pixel(x, y), moved ? f.New.Pixel(x + 1, y - 1) : f.Old.Pixel(x, y))
              << n << " " << w << "x" << h << " at " << x << "," << y;
        }
    }
}

// The rotation by its definition, one pixel at a time, rows counted from the bottom.
TBitmap32 ReferenceRotation(const TBitmap32& old, const TBitmap32& src, int32_t PX, int32_t PY, double angle) {
  const int32_t W = src.Width(), H = src.Height();
  const int64_t C = int64_t(std::trunc(65536 * std::cos(-angle))), S = int64_t(std::trunc(65536 * std::sin(-angle)));
  TBitmap32 out = old;
  for (int32_t b = 0; b < H; ++b)
    for (int32_t x = 0; x < W; ++x) {
      const int64_t dx = x + 1 - PX, dy = b + 1 - PY;
      const int64_t u = PX + ((dx * C - dy * S) >> 16), v = PY + ((dx * S + dy * C) >> 16);
      if (u >= 0 && u < W && v >= 0 && v < H) out.SetPixel(x, H - 1 - b, src.Pixel(int32_t(u), int32_t(H - 1 - v)));
    }
  return out;
}

TEST(Pivots, MatchTheFixedPointRotationAtEveryPercentage) {
  const double pi = 3.14159265358979323846;
  for (const auto& [w, h] : {std::pair{8, 6}, std::pair{7, 9}, std::pair{53, 31}})
    for (int32_t p = 0; p <= 100; p += 5) {
      const double turn = (100 - p) * pi / 200;
      const struct {
        int32_t n, px, py;
        double angle;
      } pivots[] = {{121, -1, -1, turn}, {122, -1, h, -turn}, {123, w, -1, -turn}, {124, w, h, turn}};
      for (const auto& pv : pivots) {
        TFrame f(w, h);
        f.Draw(pv.n, p);
        ASSERT_EQ(f.Dest, ReferenceRotation(f.Old, f.New, pv.px, pv.py, pv.angle))
            << pv.n << " at " << w << "x" << h << " P=" << p;
      }
    }
}

TEST(Pivots, TheNamedCornerShowsFirst) {
  const int32_t w = 40, h = 30;
  // Screen corners: top left, bottom left, top right, bottom right.
  const TPoint corner[] = {{0, 0}, {0, h - 1}, {w - 1, 0}, {w - 1, h - 1}};
  for (int32_t n = 121; n <= 124; ++n) {
    TFrame f(w, h);
    f.Draw(n, 25);
    const TPoint named = corner[n - 121], opposite = {w - 1 - named.X, h - 1 - named.Y};
    EXPECT_NE(f.Dest.Pixel(named.X, named.Y), f.Old.Pixel(named.X, named.Y)) << n;
    EXPECT_EQ(f.Dest.Pixel(opposite.X, opposite.Y), f.Old.Pixel(opposite.X, opposite.Y)) << n;
  }
}

TEST(Pixelate, ZoomsIntoBlocksAndBack) {
  TFrame f(40, 30);
  // At the strongest zoom the frame is made of a few large blocks.
  f.Draw(2, 50);
  std::set<TPixel> colours;
  for (int32_t y = 0; y < 30; ++y)
    for (int32_t x = 0; x < 40; ++x) colours.insert(f.Dest.Pixel(x, y));
  EXPECT_LE(colours.size(), 4u);
  EXPECT_EQ(f.Draw(2, 100), f.New);
}

}  // namespace
