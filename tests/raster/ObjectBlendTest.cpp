#include <gtest/gtest.h>

#include <vector>

#include "raster/uFastScale.h"
#include "raster/uObjectBlend.h"
#include "raster/uSystemColor.h"

using namespace kx;

namespace {

const TPixel kGround = MakePixel(10, 20, 30, 77);

TBitmap32 Row(std::vector<TPixel> pixels) {
  TBitmap32 b(int32_t(pixels.size()), 1);
  for (size_t i = 0; i < pixels.size(); ++i) b.SetPixel(int32_t(i), 0, pixels[i]);
  return b;
}

// (f x m + b x (255 - m)) div 255 per channel, alpha m.
TPixel Expected(TPixel f, TPixel b, uint32_t m) {
  const auto ch = [&](uint8_t fc, uint8_t bc) { return uint8_t((fc * m + bc * (255 - m)) / 255); };
  return MakePixel(ch(PixelR(f), PixelR(b)), ch(PixelG(f), PixelG(b)), ch(PixelB(f), PixelB(b)), uint8_t(m));
}

TEST(ObjectBlend, Div255FloorIsExactOverItsRange) {
  for (uint32_t t = 0; t <= 255 * 255; ++t) ASSERT_EQ(Div255Floor(t), t / 255) << t;
}

TEST(ObjectBlend, PictureRuleOnExactPixels) {
  const TPixel a = MakePixel(200, 100, 50, 128), b = MakePixel(1, 2, 3, 255), key = MakePixel(9, 9, 9, 255);
  struct Case {
    const char* name;
    TObjectBlend blend;
    std::vector<TPixel> want;
  };
  const Case cases[] = {
      // Master alpha only: every pixel, fourth byte ignored.
      {"master", {TBlendRule::Picture, 200, false, false, 0}, {Expected(a, kGround, 200), Expected(b, kGround, 200), Expected(key, kGround, 200)}},
      // Alpha channel x master alpha div 255.
      {"alpha", {TBlendRule::Picture, 200, true, false, 0}, {Expected(a, kGround, 128 * 200 / 255), Expected(b, kGround, 200), Expected(key, kGround, 200)}},
      // The key pixel keeps the ground; the others take the master alpha.
      {"key", {TBlendRule::Picture, 255, false, true, key}, {Expected(a, kGround, 255), Expected(b, kGround, 255), kGround}},
      // A key equal in colour but not in its fourth byte is drawn.
      {"key 32 bits", {TBlendRule::Picture, 255, false, true, MakePixel(9, 9, 9, 0)}, {Expected(a, kGround, 255), b, key}},
  };
  for (const Case& c : cases) {
    TBitmap32 dst(3, 1, kGround);
    StretchBlend(dst, {0, 0, 3, 1}, Row({a, b, key}), false, c.blend);
    for (int x = 0; x < 3; ++x) EXPECT_EQ(dst.Pixel(x, 0), c.want[size_t(x)]) << c.name << " x=" << x;
  }
}

TEST(ObjectBlend, GifRuleSkipsYellowWhateverItsAlpha) {
  const TPixel red = MakePixel(255, 0, 0, 255);
  TBitmap32 dst(3, 1, kGround);
  StretchBlend(dst, {0, 0, 3, 1}, Row({kGifKeyFill, MakePixel(255, 255, 0, 255), red}), false,
               {TBlendRule::Gif, 100, false, false, 0});
  EXPECT_EQ(dst.Pixel(0, 0), kGround);
  EXPECT_EQ(dst.Pixel(1, 0), kGround);
  EXPECT_EQ(dst.Pixel(2, 0), Expected(red, kGround, 100));
}

TEST(ObjectBlend, MirroredReadsColumnsAndTheirAlphaRightToLeft) {
  const TPixel p0 = MakePixel(100, 0, 0, 0), p1 = MakePixel(0, 100, 0, 255), p2 = MakePixel(0, 0, 100, 51);
  for (const int32_t width : {3, 6}) {  // unscaled and doubled
    TBitmap32 dst(width, 1, kGround);
    StretchBlend(dst, {0, 0, width, 1}, Row({p0, p1, p2}), true, {TBlendRule::Picture, 255, true, false, 0});
    const int32_t k = width / 3;
    EXPECT_EQ(dst.Pixel(0, 0), Expected(p2, kGround, 51)) << width;
    EXPECT_EQ(dst.Pixel(k, 0), p1) << width;
    EXPECT_EQ(dst.Pixel(2 * k, 0), Expected(p0, kGround, 0)) << width;
  }
}

TEST(ObjectBlend, StretchesByNearestAndClipsAnyRectangle) {
  TBitmap32 src(2, 2);
  src.SetPixel(0, 0, MakePixel(1, 0, 0));
  src.SetPixel(1, 0, MakePixel(2, 0, 0));
  src.SetPixel(0, 1, MakePixel(3, 0, 0));
  src.SetPixel(1, 1, MakePixel(4, 0, 0));
  const TObjectBlend opaque{TBlendRule::Picture, 255, false, false, 0};
  TBitmap32 dst(4, 4, kGround);
  StretchBlend(dst, {0, 0, 4, 4}, src, false, opaque);
  for (int y = 0; y < 4; ++y)
    for (int x = 0; x < 4; ++x) EXPECT_EQ(PixelR(dst.Pixel(x, y)), 1 + x / 2 + 2 * (y / 2)) << x << "," << y;

  // Partly outside: only the inside part, sampled as the whole rectangle says.
  TBitmap32 part(4, 4, kGround);
  StretchBlend(part, {-2, -2, 2, 2}, src, false, opaque);
  EXPECT_EQ(PixelR(part.Pixel(0, 0)), 4);
  EXPECT_EQ(PixelR(part.Pixel(1, 1)), 4);
  EXPECT_EQ(part.Pixel(2, 2), kGround);

  // Absurd rectangles draw nothing or clip, and never write outside.
  const TRect absurd[] = {{0, 0, 0, 4}, {3, 0, 1, 4}, {-(1 << 30), -(1 << 30), 1 << 30, 1 << 30}, {5, 5, 9, 9}};
  for (const TRect& r : absurd) {
    TBitmap32 d(4, 4, kGround);
    StretchBlend(d, r, src, true, opaque);
    if (int64_t(r.Right) - r.Left > 1000) EXPECT_NE(d.Pixel(0, 0), kGround);
    else EXPECT_EQ(d, TBitmap32(4, 4, kGround)) << r.Left << "," << r.Right;
  }
}

TEST(FastScale, AveragesBlocksWhenShrinkingAndInterpolatesWhenEnlarging) {
  const TBitmap32 src = Row({MakePixel(0, 0, 0, 0), MakePixel(100, 0, 0, 200), MakePixel(40, 0, 0, 40),
                             MakePixel(40, 0, 0, 40)});
  const TBitmap32 half = ScaleFast(src, 2, 1);
  EXPECT_EQ(half.Pixel(0, 0), MakePixel(50, 0, 0, 100));
  EXPECT_EQ(half.Pixel(1, 0), MakePixel(40, 0, 0, 40));

  const TBitmap32 two = Row({MakePixel(0, 0, 0, 0), MakePixel(200, 0, 0, 200)});
  const TBitmap32 wide = ScaleFast(two, 4, 1);
  // Centres at -0.25, 0.25, 0.75, 1.25 source pixels: ends repeat the edge.
  EXPECT_EQ(PixelR(wide.Pixel(0, 0)), 0);
  EXPECT_EQ(PixelR(wide.Pixel(1, 0)), 50);
  EXPECT_EQ(PixelR(wide.Pixel(2, 0)), 150);
  EXPECT_EQ(PixelR(wide.Pixel(3, 0)), 200);

  // Equal pixels stay exactly equal at any size (a colour key survives).
  const TBitmap32 flat(7, 5, MakePixel(9, 8, 7, 6));
  for (const auto [w, h] : {std::pair{3, 2}, std::pair{11, 13}, std::pair{7, 1}, std::pair{1, 9}})
    EXPECT_EQ(ScaleFast(flat, w, h), TBitmap32(w, h, MakePixel(9, 8, 7, 6))) << w << "x" << h;
  EXPECT_TRUE(ScaleFast(flat, 0, 3).Empty());
}

TEST(SystemColor, RgbValuesAndClassicSystemCodes) {
  const std::pair<int32_t, TPixel> cases[] = {
      {0x0000FF, MakePixel(255, 0, 0)},
      {0x123456, MakePixel(0x56, 0x34, 0x12)},
      {int32_t(0x8000000F), MakePixel(192, 192, 192)},  // button face
      {int32_t(0x80000005), MakePixel(255, 255, 255)},  // window
      {int32_t(0x80000001), MakePixel(0, 128, 128)},    // desktop
      {int32_t(0x800000FF), MakePixel(0, 0, 0)},        // no such code
  };
  for (const auto& [value, want] : cases) EXPECT_EQ(ColorValueToPixel(value), want) << std::hex << value;
}

}  // namespace
