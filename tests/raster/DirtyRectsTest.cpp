#include <gtest/gtest.h>

#include <random>

#include "raster/uDirtyRects.h"
#include "raster/uScaleDraw.h"
#include "support/BitmapSupport.h"

using namespace kx;
using kxtest::Tagged;

namespace {

bool Covered(const std::vector<TRect>& rects, int32_t x, int32_t y) {
  for (const TRect& r : rects)
    if (r.Contains({x, y})) return true;
  return false;
}

// Changes n random pixels of b (and sometimes a block) with the generator g.
void Scribble(TBitmap32& b, std::mt19937& g, int n) {
  for (int i = 0; i < n; ++i) {
    const int32_t x = int32_t(g() % uint32_t(b.Width())), y = int32_t(g() % uint32_t(b.Height()));
    b.SetPixel(x, y, MakePixel(uint8_t(g()), uint8_t(g()), uint8_t(g())));
  }
  if (g() % 2) {
    const int32_t x = int32_t(g() % uint32_t(b.Width())), y = int32_t(g() % uint32_t(b.Height()));
    for (int32_t yy = y; yy < std::min(b.Height(), y + 3); ++yy)
      for (int32_t xx = x; xx < std::min(b.Width(), x + 4); ++xx) b.SetPixel(xx, yy, MakePixel(9, 9, 9));
  }
}

}  // namespace

TEST(ChangedRects, FindsExactlyTheChangedRuns) {
  const TBitmap32 shown = Tagged(70, 9, 1);  // wider than one compared block
  struct Case {
    const char* name;
    std::vector<TRect> changes;  // filled with another colour
    std::vector<TRect> want;
  };
  const Case cases[] = {
      {"nothing", {}, {}},
      {"one pixel", {{5, 4, 6, 5}}, {{5, 4, 6, 5}}},
      {"last pixel", {{69, 8, 70, 9}}, {{69, 8, 70, 9}}},
      {"a block across the block boundary", {{30, 2, 40, 6}}, {{30, 2, 40, 6}}},
      {"two runs of rows", {{1, 0, 3, 2}, {60, 5, 62, 7}}, {{1, 0, 3, 2}, {60, 5, 62, 7}}},
      {"rows that touch join", {{1, 0, 3, 2}, {60, 2, 62, 3}}, {{1, 0, 62, 3}}},
      {"everything", {{0, 0, 70, 9}}, {{0, 0, 70, 9}}},
  };
  for (const Case& c : cases) {
    TBitmap32 frame = shown;
    for (const TRect& r : c.changes) frame.FillRect(r, MakePixel(200, 0, 0));
    EXPECT_EQ(ChangedRects(shown, frame, 0, 0), c.want) << c.name;
  }
}

TEST(ChangedRects, FrameAtAnOffsetIsClippedToTheScreen) {
  const TBitmap32 shown(10, 8, MakePixel(0, 0, 0));
  const TBitmap32 frame(6, 6, MakePixel(1, 2, 3));
  EXPECT_EQ(ChangedRects(shown, frame, 2, 1), (std::vector<TRect>{{2, 1, 8, 7}}));
  EXPECT_EQ(ChangedRects(shown, frame, 7, -3), (std::vector<TRect>{{7, 0, 10, 3}}));
  EXPECT_TRUE(ChangedRects(shown, frame, 10, 0).empty());
  EXPECT_TRUE(ChangedRects(shown, frame, -6, 0).empty());
}

TEST(ChangedRects, ManyRunsAreJoinedCheaplyAndStillCoverEverything) {
  const TBitmap32 shown(40, 30, MakePixel(0, 0, 0));
  TBitmap32 frame = shown;
  for (int32_t y = 0; y < 30; y += 2) frame.SetPixel(y, y, MakePixel(255, 255, 255));  // 15 separate runs
  frame.SetPixel(39, 29, MakePixel(1, 1, 1));
  const std::vector<TRect> rects = ChangedRects(shown, frame, 0, 0, 4);
  ASSERT_EQ(rects.size(), 4u);
  for (int32_t y = 0; y < 30; ++y)
    for (int32_t x = 0; x < 40; ++x) {
      if (shown.Pixel(x, y) != frame.Pixel(x, y)) {
        EXPECT_TRUE(Covered(rects, x, y)) << x << "," << y;
      }
    }
  int64_t area = 0;
  for (const TRect& r : rects) area += r.Area();
  EXPECT_LT(area, 40 * 30 / 2);  // joined along the diagonal, not into one box
}

// What a display does with them: copying only the changed rectangles gives
// the screen the whole frame would give, for random changes at random offsets.
TEST(ChangedRects, CopyingTheRectanglesEqualsDrawingTheFrame) {
  std::mt19937 g(7);
  for (int round = 0; round < 200; ++round) {
    TBitmap32 shown = Tagged(37, 23, 1);
    TBitmap32 frame = Tagged(int32_t(1 + g() % 45), int32_t(1 + g() % 30), 1);
    const int32_t x = int32_t(g() % 20) - 10, y = int32_t(g() % 16) - 8;
    // Mostly what is shown already, with a few changes.
    for (int32_t yy = 0; yy < frame.Height(); ++yy)
      for (int32_t xx = 0; xx < frame.Width(); ++xx)
        if (shown.BoundsRect().Contains({xx + x, yy + y})) frame.SetPixel(xx, yy, shown.Pixel(xx + x, yy + y));
    Scribble(frame, g, int(g() % 6));
    TBitmap32 want = shown;
    want.Draw(x, y, frame);
    const std::vector<TRect> rects = ChangedRects(shown, frame, x, y, 1 + g() % 5);
    CopyRects(shown, frame, x, y, rects);
    ASSERT_EQ(shown, want) << "round " << round;
  }
}

// Stretched onto a window (the exclusive back surface, a second monitor):
// redrawing the covers of the changed rectangles into the last picture gives
// exactly the whole stretched drawing of the new frame.
TEST(ScaledCover, RedrawingTheCoversEqualsTheWholeDrawing) {
  struct Case {
    int32_t srcW, srcH, dstW, dstH;
    TRect to;
  };
  const Case cases[] = {
      {12, 9, 12, 9, {0, 0, 12, 9}},    // one to one
      {12, 9, 24, 27, {0, 0, 24, 27}},  // whole multiples: nearest
      {12, 9, 17, 13, {0, 0, 17, 13}},  // bilinear up
      {20, 16, 9, 7, {0, 0, 9, 7}},     // bilinear down
      {16, 9, 20, 20, {0, 4, 20, 15}},  // fitted and centred on another monitor
  };
  std::mt19937 g(11);
  for (const Case& c : cases) {
    for (int round = 0; round < 60; ++round) {
      const TBitmap32 before = Tagged(c.srcW, c.srcH, 3);
      TBitmap32 after = before;
      Scribble(after, g, int(g() % 4));
      TBitmap32 screen(c.dstW, c.dstH, MakePixel(0, 0, 0));
      DrawScaled(before, screen.Bits(), c.dstW, c.dstH, screen.StrideBytes(), c.to);
      TBitmap32 want(c.dstW, c.dstH, MakePixel(0, 0, 0));
      DrawScaled(after, want.Bits(), c.dstW, c.dstH, want.StrideBytes(), c.to);

      std::vector<TRect> covers;
      for (const TRect& r : ChangedRects(before, after, 0, 0, 3))
        covers.push_back(ScaledCover(r, c.srcW, c.srcH, c.to));
      DrawScaled(after, screen.Bits(), c.dstW, c.dstH, screen.StrideBytes(), c.to, &covers);
      ASSERT_EQ(screen, want) << c.srcW << "x" << c.srcH << " onto " << c.dstW << "x" << c.dstH << " round "
                              << round;
      for (const TRect& r : covers) {
        EXPECT_GE(r.Left, c.to.Left);
        EXPECT_LE(r.Bottom, c.to.Bottom);
      }
    }
  }
}
