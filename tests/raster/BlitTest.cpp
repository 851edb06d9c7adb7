#include <gtest/gtest.h>

#include "raster/uBlit.h"
#include "support/BitmapSupport.h"

using namespace kx;
using kxtest::Tagged;

namespace {

// Copy by definition: every destination pixel of the block that lies in both
// bitmaps and in the clip takes the source pixel, read from before the copy.
TBitmap32 ReferenceCopy(const TBitmap32& dst, int32_t dx, int32_t dy, int32_t w, int32_t h, const TBitmap32& src,
                        int32_t sx, int32_t sy, const TRegion* clip = nullptr) {
  TBitmap32 out = dst;
  for (int32_t y = 0; y < h; ++y)
    for (int32_t x = 0; x < w; ++x) {
      const int32_t tx = dx + x, ty = dy + y, fx = sx + x, fy = sy + y;
      if (!dst.BoundsRect().Contains({tx, ty}) || !src.BoundsRect().Contains({fx, fy})) continue;
      if (clip && !clip->Contains(tx, ty)) continue;
      out.SetPixel(tx, ty, src.Pixel(fx, fy));
    }
  return out;
}

TEST(Copy, ClipsToBothBitmaps) {
  const TBitmap32 src = Tagged(5, 4, 1);
  const struct {
    int32_t dx, dy, w, h, sx, sy;
  } cases[] = {
      {0, 0, 5, 4, 0, 0},  {2, 1, 5, 4, 0, 0},   {-2, -1, 5, 4, 0, 0}, {0, 0, 4, 3, 2, 2},
      {1, 1, 3, 3, -1, -2}, {6, 0, 3, 3, 0, 0}, {0, 0, 0, 3, 0, 0},   {0, 0, 3, -1, 0, 0},
  };
  for (const auto& c : cases) {
    TBitmap32 dst = Tagged(6, 5, 2);
    const TBitmap32 want = ReferenceCopy(dst, c.dx, c.dy, c.w, c.h, src, c.sx, c.sy);
    Copy(dst, c.dx, c.dy, c.w, c.h, src, c.sx, c.sy);
    EXPECT_EQ(dst, want) << c.dx << "," << c.dy << " " << c.w << "x" << c.h << " from " << c.sx << "," << c.sy;
  }
}

TEST(Copy, WithinOneBitmapReadsTheBlockBeforeWriting) {
  const TRegion clip = TRegion::FromRects(std::vector<TRect>{{0, 0, 7, 2}, {2, 2, 5, 6}});
  const int32_t moves[][4] = {{1, 1, 0, 0}, {0, 0, 1, 1}, {0, 2, 0, 0}, {0, 0, 0, 2}, {2, 0, 0, 0}, {0, 0, 2, 0}};
  for (const auto& m : moves)
    for (const TRegion* c : {static_cast<const TRegion*>(nullptr), &clip}) {
      TBitmap32 b = Tagged(7, 6, 3);
      const TBitmap32 want = ReferenceCopy(b, m[0], m[1], 6, 5, TBitmap32(b), m[2], m[3], c);
      SetClip(b, c);
      Copy(b, m[0], m[1], 6, 5, b, m[2], m[3]);
      SetClip(b, nullptr);
      EXPECT_EQ(b, want) << m[0] << "," << m[1] << " from " << m[2] << "," << m[3] << (c ? " clipped" : "");
    }
}

TEST(Copy, HonoursTheClipAndItsExclusions) {
  const TBitmap32 src = Tagged(6, 6, 1);
  TBitmap32 dst = Tagged(6, 6, 2);
  ExcludeClip(dst, 4, 4, 1, 1);  // corners put in order; no clip counts as the whole bitmap
  TRegion expected;
  CombineRegions(expected, TRegion(dst.BoundsRect()), TRegion(TRect{1, 1, 4, 4}), TCombineMode::Xor);
  ASSERT_TRUE(dst.ClipRegion());
  EXPECT_EQ(*dst.ClipRegion(), expected);
  const TBitmap32 want = ReferenceCopy(dst, 0, 0, 6, 6, src, 0, 0, &expected);
  Copy(dst, 0, 0, 6, 6, src, 0, 0);
  EXPECT_EQ(dst, want);

  {
    // The bitmap keeps its own copy of the region; the guard removes it.
    const TClipReset reset(dst);
    {
      const TRegion one(TRect{0, 0, 1, 1});
      SetClip(dst, &one);
    }
    Copy(dst, 0, 0, 6, 6, Tagged(6, 6, 9), 0, 0);
    EXPECT_EQ(PixelB(dst.Pixel(0, 0)), 9);
    EXPECT_EQ(PixelB(dst.Pixel(1, 0)), 1);
  }
  EXPECT_FALSE(dst.ClipRegion());
}

TEST(StretchCopy, TakesThePixelUnderEachCentre) {
  TBitmap32 src(2, 2);
  src.SetPixel(0, 0, 1);
  src.SetPixel(1, 0, 2);
  src.SetPixel(0, 1, 3);
  src.SetPixel(1, 1, 4);
  TBitmap32 dst(5, 4, 0);
  StretchCopy(dst, 1, 0, 4, 4, src, 0, 0, 2, 2);
  const TPixel want[4][5] = {{0, 1, 1, 2, 2}, {0, 1, 1, 2, 2}, {0, 3, 3, 4, 4}, {0, 3, 3, 4, 4}};
  for (int32_t y = 0; y < 4; ++y)
    for (int32_t x = 0; x < 5; ++x) EXPECT_EQ(dst.Pixel(x, y), want[y][x]) << x << "," << y;

  // Shrinking 6 columns onto 3 takes every second one, centred: 1, 3, 5.
  const TBitmap32 wide = Tagged(6, 1, 0);
  TBitmap32 narrow(3, 1, 0);
  StretchCopy(narrow, 0, 0, 3, 1, wide, 0, 0, 6, 1);
  EXPECT_EQ(PixelR(narrow.Pixel(0, 0)), 1);
  EXPECT_EQ(PixelR(narrow.Pixel(1, 0)), 3);
  EXPECT_EQ(PixelR(narrow.Pixel(2, 0)), 5);

  // Same size: an exact copy, all four bytes.
  const TBitmap32 pic = Tagged(7, 5, 4);
  TBitmap32 out(7, 5, 0);
  StretchCopy(out, 0, 0, 7, 5, pic, 0, 0, 7, 5);
  EXPECT_EQ(out, pic);
}

TEST(StretchCopy, NegativeSizesMirrorAndZeroDrawsNothing) {
  const TBitmap32 src = Tagged(4, 3, 1);
  TBitmap32 dst(6, 3, 0);
  StretchCopy(dst, 4, 0, -4, 3, src, 0, 0, 4, 3);  // columns 4, 3, 2, 1
  for (int32_t x = 0; x < 4; ++x) EXPECT_EQ(dst.Pixel(4 - x, 1), src.Pixel(x, 1)) << x;
  EXPECT_EQ(dst.Pixel(0, 0), 0u);
  EXPECT_EQ(dst.Pixel(5, 0), 0u);

  TBitmap32 flipped(4, 3, 0);
  StretchCopy(flipped, 0, 2, 4, -3, src, 0, 0, 4, 3);
  for (int32_t y = 0; y < 3; ++y) EXPECT_EQ(flipped.Pixel(1, 2 - y), src.Pixel(1, y)) << y;

  TBitmap32 untouched = Tagged(4, 3, 2);
  const TBitmap32 before = untouched;
  StretchCopy(untouched, 0, 0, 0, 3, src, 0, 0, 4, 3);
  StretchCopy(untouched, 0, 0, 4, 3, src, 0, 0, 4, 0);
  EXPECT_EQ(untouched, before);
}

TEST(StretchCopy, WithinOneBitmapAndThroughAClip) {
  // Squeezing, stretching and mirroring a bitmap onto itself reads the
  // source block as it was before the call.
  const int32_t moves[][8] = {
      {2, 0, 6, 7, 0, 0, 8, 7},   {0, 0, 6, 7, 0, 0, 8, 7},  {0, 3, 8, 4, 0, 0, 8, 7},  {0, 0, 8, 4, 0, 0, 8, 7},
      {0, 0, 8, 7, 0, 2, 8, 3},   {0, 0, 8, 7, 0, 0, 8, 5},  {-3, -2, 14, 11, 1, 1, 5, 4}, {7, 6, -8, -7, 0, 0, 8, 7},
      {0, 2, 8, 5, 0, 0, 8, 7},
  };
  for (const auto& m : moves) {
    TBitmap32 b = Tagged(8, 7, 1);
    const TBitmap32 original = b;
    TBitmap32 want = b;
    StretchCopy(want, m[0], m[1], m[2], m[3], original, m[4], m[5], m[6], m[7]);
    StretchCopy(b, m[0], m[1], m[2], m[3], b, m[4], m[5], m[6], m[7]);
    EXPECT_EQ(b, want) << m[0] << "," << m[1] << " " << m[2] << "x" << m[3] << " from " << m[4] << "," << m[5] << " "
                       << m[6] << "x" << m[7];
  }

  // Through a clip, and with blocks reaching past both bitmaps.
  const TBitmap32 src = Tagged(4, 4, 2);
  TBitmap32 clipped = Tagged(8, 8, 3), full = clipped;
  const TRegion clip = TRegion::FromRects(std::vector<TRect>{{0, 0, 3, 8}, {5, 2, 8, 4}});
  SetClip(clipped, &clip);
  StretchCopy(clipped, -4, -2, 16, 12, src, -1, 0, 5, 6);
  StretchCopy(full, -4, -2, 16, 12, src, -1, 0, 5, 6);
  for (int32_t y = 0; y < 8; ++y)
    for (int32_t x = 0; x < 8; ++x)
      EXPECT_EQ(clipped.Pixel(x, y), clip.Contains(x, y) ? full.Pixel(x, y) : Tagged(8, 8, 3).Pixel(x, y))
          << x << "," << y;
  // Source rows 4 and 5 lie outside src: the rows they scale to are skipped.
  EXPECT_EQ(full.Pixel(0, 6), Tagged(8, 8, 3).Pixel(0, 6));
  EXPECT_EQ(full.Pixel(7, 7), Tagged(8, 8, 3).Pixel(7, 7));
  EXPECT_EQ(PixelB(full.Pixel(0, 5)), 2);
  EXPECT_EQ(PixelB(full.Pixel(4, 1)), 2);
}

}  // namespace
