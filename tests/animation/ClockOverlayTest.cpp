#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>
#include <vector>

#include "animation/uAnimEngine.h"
#include "animation/uClock.h"
#include "devices/headless/uVirtualClock.h"
#include "raster/uBlit.h"

using namespace kx;

namespace {

constexpr TPixel kBlack = MakePixel(0, 0, 0);

// Ticks of a 100 x 100 clock: centre (50, 50), r = 40, minute ticks in to
// r1 = 38, hour marks to r2 = 34; point = (cx + nearest(sin t x r), cy -
// nearest(cos t x r)).
TEST(TClock, TicksOfAHundredPixelClock) {
  TClock clock;
  EXPECT_EQ(clock.ClockWidth, 100);
  EXPECT_EQ(clock.Bitmap.Width(), 100);
  struct TCase {
    int I;
    TPoint Outer, Inner;
  };
  const TCase cases[] = {
      {60, {50, 10}, {50, 16}}, {15, {90, 50}, {84, 50}}, {30, {50, 90}, {50, 84}}, {45, {10, 50}, {16, 50}},
      {5, {70, 15}, {67, 21}},  {1, {54, 10}, {54, 12}},  {25, {70, 85}, {67, 79}}, {59, {46, 10}, {46, 12}},
  };
  for (const TCase& c : cases) {
    EXPECT_EQ(clock.Outer[size_t(c.I - 1)], c.Outer) << c.I;
    EXPECT_EQ(clock.Inner[size_t(c.I - 1)], c.Inner) << c.I;
  }
  // Hour marks reach further in than minute ticks, all around the ring.
  for (int i = 1; i <= 60; ++i) {
    const TPoint in = clock.Inner[size_t(i - 1)];
    const double d = std::hypot(in.X - 50.0, in.Y - 50.0);
    EXPECT_NEAR(d, i % 5 == 0 ? 34 : 38, 0.8) << i;
  }
  // Another size: 128 wide gives centre (64, 64) and r = 54.
  clock.SetSize(128, 128);
  EXPECT_EQ(clock.Outer[59], (TPoint{64, 10}));
  EXPECT_EQ(clock.Inner[14], (TPoint{64 + 46, 64}));  // nearest(54 x 0.85) = 46
}

TEST(TClock, HandAnglesFromTheTwelveHourClock) {
  struct TCase {
    TLocalTime Time;
    double Hour, Minute, Second;
  };
  const TCase cases[] = {
      {{3, 0, 0}, 90, 0, 0},      {{10, 8, 30}, 304, 48, 180}, {{15, 0, 0}, 90, 0, 0},
      {{0, 0, 0}, 360, 0, 0},     {{12, 0, 0}, 360, 0, 0},     {{3, 30, 0}, 105, 180, 0},
      {{23, 59, 59}, 359.5, 354, 354},
  };
  for (const TCase& c : cases) {
    SCOPED_TRACE(testing::Message() << c.Time.Hour << ":" << c.Time.Minute << ":" << c.Time.Second);
    EXPECT_DOUBLE_EQ(TClock::HourAngle(c.Time), c.Hour);
    EXPECT_DOUBLE_EQ(TClock::MinuteAngle(c.Time), c.Minute);
    EXPECT_DOUBLE_EQ(TClock::SecondAngle(c.Time), c.Second);
  }
}

// A 100 x 100 clock rendered over black in white with alpha 180: the grey
// level of a pixel is what was blended there.
TBitmap32 Rendered(TLocalTime t) {
  TClock clock;
  clock.Colour = MakePixel(255, 255, 255);
  clock.Alpha = 180;
  clock.Bitmap.Fill(kBlack);
  clock.Render(t);
  return clock.Bitmap;
}

int Grey(const TBitmap32& b, int32_t x, int32_t y) { return PixelG(b.Pixel(x, y)); }

// At 10:08:30 the second hand points straight down: a thin line from the
// centre to (50, 90) without its last pixel, alpha 180 exactly, its shadow
// (black) one pixel right and down. The hour hand points to 304 degrees,
// the minute hand to 48.
TEST(TClock, RendersHandsAtTenPastEight) {
  const TBitmap32 b = Rendered({10, 8, 30});
  for (int32_t y = 55; y < 83; ++y) {
    EXPECT_EQ(Grey(b, 50, y), 180) << y;
    EXPECT_EQ(Grey(b, 51, y), 0) << y;
    EXPECT_EQ(Grey(b, 49, y), 0) << y;
  }
  // The hour hand ends at (29, 36), short = 25; the minute hand at
  // (80, 23), long = 40. Along each the middle is lit, the opposite side dark.
  EXPECT_GE(Grey(b, 40, 43), 150);
  EXPECT_GE(Grey(b, 65, 37), 150);
  EXPECT_EQ(Grey(b, 60, 57), 0);
  EXPECT_EQ(Grey(b, 39, 60), 0);
  // Centre disc: Colour inside, the grey outline at its rim, nothing at the
  // corners of its box.
  EXPECT_EQ(b.Pixel(50, 50), MakePixel(255, 255, 255));
  EXPECT_EQ(b.Pixel(49, 49), MakePixel(255, 255, 255));
  EXPECT_EQ(b.Pixel(46, 50), MakePixel(112, 112, 112));
  EXPECT_EQ(b.Pixel(53, 49), MakePixel(112, 112, 112));
  EXPECT_EQ(b.Pixel(50, 46), MakePixel(112, 112, 112));
  EXPECT_NE(b.Pixel(46, 46), MakePixel(112, 112, 112));
}

// At 3:00:00 the hour hand is a horizontal thick line to (75, 50): the
// vertical quadrilateral of width 2 covers row 50 fully and rows 49 and 51
// by half. pixman measures coverage on a grid of 15 sample rows per pixel; the
// edge falls on the middle one, which counts for one side only (8/15 and
// 7/15 where the exact area is 1/2), so the half rows are checked within a
// tolerance and their sum and the full row exactly.
TEST(TClock, ThickLinesAreAntialiasedQuadrilaterals) {
  const TBitmap32 b = Rendered({3, 0, 0});
  for (int32_t x = 56; x <= 72; ++x) {
    SCOPED_TRACE(x);
    EXPECT_EQ(Grey(b, x, 50), 180);
    EXPECT_NEAR(Grey(b, x, 49), 90, 7);
    EXPECT_NEAR(Grey(b, x, 51), 90, 7);  // over its own shadow, black over black
    EXPECT_NEAR(Grey(b, x, 49) + Grey(b, x, 51), 180, 1);
    EXPECT_EQ(Grey(b, x, 48), 0);
    EXPECT_EQ(Grey(b, x, 52), 0);
  }
  // Beyond the tip and on the far side: nothing.
  EXPECT_EQ(Grey(b, 78, 50), 0);
  EXPECT_EQ(Grey(b, 30, 50), 0);
  // The minute and second hands both point up: lit above the centre.
  EXPECT_GE(Grey(b, 50, 25), 180);
  EXPECT_EQ(Grey(b, 50, 75), 0);
  // The hour mark at 3 o'clock: a thick line from (90, 50) to (84, 50).
  EXPECT_EQ(Grey(b, 87, 50), 180);
  // A minute tick is a thin line: tick 1 from (54, 10) to (54, 12), last pixel left out.
  EXPECT_EQ(Grey(b, 54, 10), 180);
  EXPECT_EQ(Grey(b, 54, 11), 180);
  EXPECT_EQ(Grey(b, 54, 12), 0);
}

TEST(TClock, PlaceInTheFourCorners) {
  TClock clock;
  clock.SetSize(128, 128);
  struct TCase {
    int32_t ClockPos;
    TPoint At;
  };
  const TCase cases[] = {{0, {10, 10}},   {1, {886, 10}}, {2, {10, 630}}, {3, {886, 630}},
                         {4, {10, 10}},   {-1, {10, 10}}, {257, {10, 10}}};
  for (const TCase& c : cases) {
    clock.Corner = TClock::CornerOf(c.ClockPos);
    EXPECT_EQ(clock.Place(1024, 768), c.At) << c.ClockPos;
  }
}

// Degenerate and huge sizes render without touching memory outside the bitmap.
TEST(TClock, AnySizeRenders) {
  for (int32_t side : {0, 1, 2, 7, 19, 20, 21, 4096}) {
    TClock clock;
    clock.SetSize(side, side);
    clock.Render({7, 45, 12});
    EXPECT_EQ(clock.Bitmap.Width(), side);
  }
  TClock clock;
  clock.SetSize(-5, 70000);
  EXPECT_EQ(clock.ClockWidth, 0);
  EXPECT_EQ(clock.ClockHeight, TBitmap32::kMaxSide);
}

// The clock in the picture: the water frame's pixels under its square with
// the face and hands rendered over them.
TBitmap32 WithClock(const TBitmap32& frame, TPoint at, int32_t side, TLocalTime t) {
  TClock clock;
  clock.SetSize(side, side);
  clock.Alpha = 180;
  Copy(clock.Bitmap, 0, 0, side, side, frame, at.X, at.Y);
  clock.Render(t);
  TBitmap32 out = frame;
  Copy(out, at.X, at.Y, side, side, clock.Bitmap, 0, 0);
  return out;
}

// The engine sizes the clock to an eighth of the picture width and draws it
// last, over the rain, with the virtual clock's local time; everything
// outside its square is the frame as it would be without the clock.
TEST(TAnimEngine, DrawsTheClockLastInItsCorner) {
  TProject project;
  project.Picture = TBitmap32(400, 120);
  for (int32_t y = 0; y < 120; ++y)
    for (int32_t x = 0; x < 400; ++x) project.Picture.SetPixel(x, y, MakePixel(uint8_t(x), uint8_t(y), 77));
  project.Weather = {2, 300, 10, 90, 20, 10};
  // Each run starts from the same seed and draws its weather from a
  // generator of its own.
  struct TRun {
    TBitmap32 Still, Rainy;
    int32_t ClockWidth, Alpha;
  };
  const auto run = [&](bool showClock) {
    TVirtualClock clock;
    clock.SetLocalTime({10, 8, 30});
    TRandom random;
    TAnimEngine engine(clock, random);
    engine.ShowClock = showClock;
    engine.Clock.Corner = 3;
    engine.SetSeed(4);
    engine.Attach(project);
    engine.SetWeather(false);
    engine.Start();
    clock.Advance(33);
    engine.NextFrame();
    TRun r{engine.GetOutput(), {}, engine.Clock.ClockWidth, engine.Clock.Alpha};
    engine.SetWeather(true);
    clock.Advance(1000);  // 10:08:31
    engine.NextFrame();
    r.Rainy = engine.GetOutput();
    return r;
  };
  const TRun with = run(true), without = run(false);
  EXPECT_EQ(with.ClockWidth, 50);
  EXPECT_EQ(with.Alpha, 180);
  // Without weather the frame is the still picture with the clock at (340, 60).
  EXPECT_EQ(with.Still, WithClock(project.Picture, {340, 60}, 50, {10, 8, 30}));
  // With rain, a second later: the frame without the clock, with the clock over it.
  ASSERT_NE(without.Rainy, project.Picture);
  EXPECT_EQ(with.Rainy, WithClock(without.Rainy, {340, 60}, 50, {10, 8, 31}));
}

}  // namespace
