#include <gtest/gtest.h>

#include <climits>
#include <cmath>
#include <tuple>
#include <utility>
#include <vector>

#include "animation/uAnimEngine.h"
#include "animation/uRain.h"
#include "animation/uSnow.h"
#include "devices/headless/uVirtualClock.h"
#include "raster/uRandom.h"

using namespace kx;

namespace {

constexpr TPixel kBlack = MakePixel(0, 0, 0);

struct TLit {
  int32_t X, Y;
  int Value;  // the grey level the pixel shows over black
};

// The grey level of every pixel: white or grey blended over black shows the
// blend's alpha (times the grey) in each channel.
std::vector<int> Levels(const TBitmap32& b) {
  std::vector<int> v;
  for (int32_t y = 0; y < b.Height(); ++y)
    for (int32_t x = 0; x < b.Width(); ++x) v.push_back(PixelR(b.Pixel(x, y)));
  return v;
}

std::vector<int> Expected(int32_t w, int32_t h, const std::vector<TLit>& lit) {
  std::vector<int> v(size_t(w * h), 0);
  for (const TLit& p : lit) v[size_t(p.Y * w + p.X)] = p.Value;
  return v;
}

// Exact pixels of a flake at (2, 2): the centre, then each size's own pixels,
// their alpha (b - 40 (4 - size)) x Level / 10.
TEST(TSnow, FlakePixelsAndAlphas) {
  struct TCase {
    int32_t Size, Level;
    std::vector<TLit> Lit;
  };
  const auto size3 = [](int c, int side, int corner) {
    return std::vector<TLit>{{2, 2, c},      {1, 2, side},   {2, 1, side},   {3, 2, side},  {2, 3, side},
                             {1, 1, corner}, {3, 1, corner}, {1, 3, corner}, {3, 3, corner}};
  };
  const auto size4 = [](int a) {
    std::vector<TLit> v;
    for (int32_t y = 1; y <= 4; ++y)
      for (int32_t x = 1; x <= 4; ++x)
        if ((x != 1 && x != 4) || (y != 1 && y != 4)) v.push_back({x, y, a});
    return v;
  };
  const TCase cases[] = {
      {2, 10, {{2, 2, 160}, {3, 2, 60}, {2, 3, 60}}},
      {2, 5, {{2, 2, 80}, {3, 2, 30}, {2, 3, 30}}},
      {3, 10, size3(200, 160, 60)},
      {3, 5, size3(100, 80, 30)},
      {4, 10, size4(240)},
      {4, 5, size4(120)},
      {4, 15, size4(240)},  // a level above 10 counts as 10
      {4, -3, {}},          // below 0 as 0
      {9, 10, size4(240)},  // a size beyond 2..4 is drawn as the nearest size
  };
  for (const TCase& c : cases) {
    SCOPED_TRACE(testing::Message() << "size " << c.Size << " level " << c.Level);
    TBitmap32 target(6, 6, kBlack);
    TSnow snow;
    snow.Target = &target;
    snow.Level = c.Level;
    snow.DrawFlake(2, 2, c.Size);
    EXPECT_EQ(Levels(target), Expected(6, 6, c.Lit));
    EXPECT_EQ(PixelA(target.Pixel(2, 2)), 255);  // the fourth byte is kept
  }
  // Pixels beyond the target are skipped.
  TBitmap32 corner(2, 2, kBlack);
  TSnow snow;
  snow.Target = &corner;
  snow.DrawFlake(-1, -1, 4);
  EXPECT_EQ(Levels(corner), (std::vector<int>{240, 240, 240, 0}));
}

// One flake moved once with f = 1 (Dt 70 at normal speeds); the generator's
// draws are replayed from the same seed: Random(20) for a size change (and
// Random(3) when it hits), then the re-entry draw.
TEST(TSnow, ReentersAtTheOtherSideOrAtTheTop) {
  constexpr int32_t W = 20, H = 10;
  struct TCase {
    const char* Name;
    TFlake Start;
    bool XDraw;  // the re-entry draws X (from 50), else Y (from 100)
    double Base;
    int Sign;
  };
  const TCase cases[] = {
      {"left edge", {0.5, 3, 2, -1}, true, W, +1},
      {"right edge", {19.5, 3, 2, +1}, true, 0, -1},
      {"bottom", {7.25, 8.5, 2, 0}, false, 0, -1},
  };
  for (const TCase& c : cases) {
    SCOPED_TRACE(c.Name);
    for (uint32_t seed : {1u, 77u, 123456u}) {
      TBitmap32 target(W, H, kBlack);
      TSnow snow;
      snow.Target = &target;
      snow.SpeedIndex = 10;
      snow.Dt = 70;
      snow.Particles = {c.Start};
      TRandom random(seed);
      TRandom replay(seed);
      snow.Update(random);
      if (replay.Random(20) == 0) replay.Random(3);
      const TFlake& f = snow.Particles[0];
      if (c.XDraw) {
        EXPECT_EQ(f.X, c.Base + c.Sign * double(replay.Random(50)));
        EXPECT_EQ(f.Y, c.Start.Y + 2);
      } else {
        EXPECT_EQ(f.Y, -double(replay.Random(100)));
        EXPECT_EQ(f.X, c.Start.X);  // the same column
      }
    }
  }
  // A flake that came back beyond a side drifts in from there instead of
  // being sent back again.
  TBitmap32 target(W, H, kBlack);
  TSnow snow;
  snow.Target = &target;
  snow.SpeedIndex = 10;
  snow.Dt = 70;
  snow.Particles = {{W + 30.0, 0, 2, -1}, {-30.0, 0, 2, +1}};
  TRandom random;
  for (int i = 0; i < 3; ++i) snow.Update(random);
  EXPECT_EQ(snow.Particles[0].X, W + 27.0);
  EXPECT_EQ(snow.Particles[1].X, -27.0);
}

// Movement per update of a size-2 flake: f x Size down and f x DriftX sideways, with
// f = Dt / 70 x step / 100 x EngineSpeed / 100; the speed index is clamped.
TEST(TSnow, MovesByTimeAndSpeed) {
  struct TCase {
    int32_t SpeedIndex, EngineSpeed, Dt;
    double Down;
  };
  const TCase cases[] = {{10, 100, 70, 2}, {20, 100, 70, 10}, {99, 100, 70, 10}, {-3, 100, 70, 0.2},
                         {10, 50, 140, 2},  {10, 100, 0, 0},   {10, -100, 70, 0}, {10, 100, -70, 0}};
  for (const TCase& c : cases) {
    SCOPED_TRACE(testing::Message() << c.SpeedIndex << " " << c.EngineSpeed << " " << c.Dt);
    TBitmap32 target(200, 200, kBlack);
    TSnow snow;
    snow.Target = &target;
    snow.SpeedIndex = c.SpeedIndex;
    snow.EngineSpeed = c.EngineSpeed;
    snow.Dt = c.Dt;
    snow.Particles = {{100, 10, 2, +1}};
    TRandom random(5);  // no size change on this seed's first draw from 20
    ASSERT_NE(TRandom(5).Random(20), 0u);
    snow.Update(random);
    EXPECT_DOUBLE_EQ(snow.Particles[0].Y, 10 + c.Down);
    EXPECT_DOUBLE_EQ(snow.Particles[0].X, 100 + c.Down / 2);
  }
}

// A streak over black, from the drop at (20, 5) on a 40 x 40 target.
TBitmap32 Streak(int32_t angle, int32_t length, int32_t speedClass, int32_t lengthClass, int32_t level = 10) {
  TBitmap32 target(40, 40, kBlack);
  TRain rain;
  rain.Target = &target;
  rain.Angle = angle;
  rain.Length = length;
  rain.Level = level;
  rain.DrawDrop(20, 5, speedClass, lengthClass);
  return target;
}

// Speed class 4, length class 4 and Length 10 span 16 rows; the bend at 6/8
// splits them 12 faint (alpha 130) to 4 bright (235), grey 255.
TEST(TRain, StraightDropSpansSixteenRowsWithItsBendAtSixEighths) {
  std::vector<TLit> lit;
  for (int32_t y = 5; y < 21; ++y) lit.push_back({20, y, y < 17 ? 130 : 235});
  EXPECT_EQ(Levels(Streak(90, 10, 4, 4)), Expected(40, 40, lit));

  // Slower drops: grey 55 div (5 - s) + 200, alphas (150 or 255 - 20 (5 - s))
  // x Level / 10; s x LengthClass x Length / 10 rows.
  struct TCase {
    int32_t S, LengthClass, Length, Level, Grey, Faint, Bright, Rows;
  };
  const TCase cases[] = {{2, 1, 10, 10, 218, 90, 195, 2},  {3, 2, 10, 10, 227, 110, 215, 6},
                         {4, 1, 20, 5, 255, 65, 118, 8},   {3, 4, 5, 10, 227, 110, 215, 6},
                         {4, 2, 10, 12, 255, 130, 235, 8}};
  for (const TCase& c : cases) {
    SCOPED_TRACE(testing::Message() << "s " << c.S << " length class " << c.LengthClass << " length " << c.Length);
    const TBitmap32 b = Streak(90, c.Length, c.S, c.LengthClass, c.Level);
    const auto bend = int32_t(std::nearbyint(5 + c.Rows * 6 / 8.0));  // halves to even
    for (int32_t y = 0; y < 40; ++y) {
      const int alpha = y < 5 || y >= 5 + c.Rows ? 0 : y < bend ? c.Faint : c.Bright;
      EXPECT_EQ(PixelR(b.Pixel(20, y)), (c.Grey * alpha + 127) / 255) << y;
    }
  }
}

// The engine hands the rain 180 - the record's Angle: 90 falls straight, 70
// slants down to the left and 110 down to the right, one pixel per row.
TEST(TRain, RecordAngleSetsTheSlant) {
  struct TCase {
    int32_t RecordAngle, LastColumn;
  };
  for (const TCase c : {TCase{90, 20}, TCase{70, 15}, TCase{110, 25}}) {
    SCOPED_TRACE(c.RecordAngle);
    TVirtualClock clock;
    TProject project;
    project.Picture = TBitmap32(40, 40, kBlack);
    project.Weather = {2, 1, 10, c.RecordAngle, 10, 10};
    TRandom random;
    TAnimEngine engine(clock, random);
    engine.Attach(project);
    engine.SetWeather(false);
    engine.Start();
    engine.SetWeather(true);
    ASSERT_NE(engine.Rain(), nullptr);
    engine.Rain()->Particles = {{20, 5, 4, 4}};
    engine.NextFrame();  // Dt 0: drawn where it is
    const TBitmap32& out = engine.GetOutput();
    int32_t previous = 20;
    for (int32_t y = 5; y < 21; ++y) {
      std::vector<int32_t> columns;
      for (int32_t x = 0; x < 40; ++x)
        if (out.Pixel(x, y) != kBlack) columns.push_back(x);
      ASSERT_EQ(columns.size(), 1u) << y;
      const int32_t step = columns[0] - previous;
      EXPECT_TRUE(c.LastColumn < 20 ? step <= 0 : c.LastColumn > 20 ? step >= 0 : step == 0) << y;
      previous = columns[0];
    }
    EXPECT_EQ(previous, c.LastColumn);
    EXPECT_EQ(engine.Rain()->Angle, 180 - c.RecordAngle);
  }
}

// A drop leaving at a side comes back at the other, between 20 and 119
// pixels beyond it as the replayed draw says; below the picture it restarts
// above it.
TEST(TRain, ReentersAtTheOtherSideOrAboveThePicture) {
  constexpr int32_t W = 30, H = 20;
  struct TCase {
    int32_t Angle;
    TDrop Start;
    bool XDraw;
    double Base;
    int Sign;
  };
  // Dt 50 at normal speeds: f = 1, dy = 3 x SpeedClass.
  const TCase cases[] = {{180, {-15, 2, 2, 1}, true, W, +1},
                         {0, {W + 15.0, 2, 2, 1}, true, 0, -1},
                         {90, {4, H - 3.0, 2, 1}, false, 0, -1}};
  for (const TCase& c : cases) {
    SCOPED_TRACE(c.Angle);
    TBitmap32 target(W, H, kBlack);
    TRain rain;
    rain.Target = &target;
    rain.SpeedIndex = 10;
    rain.Dt = 50;
    rain.Angle = c.Angle;
    rain.Particles = {c.Start};
    TRandom random(99);
    TRandom replay(99);
    rain.Update(random);
    const TDrop& d = rain.Particles[0];
    if (c.XDraw) EXPECT_EQ(d.X, c.Base + c.Sign * double(replay.Random(100)));
    else EXPECT_EQ(d.Y, -double(replay.Random(100)));
  }
}

// The count is capped at 1000, a negative one gives none; other kinds of
// weather make no effect.
TEST(TAnimEngine, WeatherCountIsCapped) {
  struct TCase {
    int32_t Kind, Count;
    size_t Flakes, Drops;
  };
  const TCase cases[] = {{1, 5000, 1000, 0}, {1, 0, 0, 0},       {1, -7, 0, 0},  {2, 5000, 0, 1000},
                         {2, 999, 0, 999},   {2, INT_MIN, 0, 0}, {3, 50, 0, 0},  {-1, 50, 0, 0}};
  for (const TCase& c : cases) {
    SCOPED_TRACE(testing::Message() << "kind " << c.Kind << " count " << c.Count);
    TVirtualClock clock;
    TProject project;
    project.Picture = TBitmap32(64, 48, kBlack);
    project.Weather = {c.Kind, c.Count, 10, 90, 10, 10};
    TRandom random;
    TAnimEngine engine(clock, random);
    engine.Attach(project);
    engine.SetWeather(false);
    engine.Start();
    engine.SetWeather(true);
    EXPECT_EQ(engine.Snow() ? engine.Snow()->Particles.size() : 0, c.Flakes);
    EXPECT_EQ(engine.Rain() ? engine.Rain()->Particles.size() : 0, c.Drops);
    for (const TFlake& f : engine.Snow() ? engine.Snow()->Particles : std::vector<TFlake>{}) {
      EXPECT_TRUE(f.X >= 0 && f.X < 64 && f.Y >= 0 && f.Y < 48 && f.Size >= 2 && f.Size <= 4);
      EXPECT_TRUE(f.DriftX == -1 || f.DriftX == 0 || f.DriftX == 1);
    }
    clock.Advance(33);
    engine.NextFrame();
    engine.SetWeather(false);
    EXPECT_EQ(engine.Snow(), nullptr);
    EXPECT_EQ(engine.Rain(), nullptr);
  }
}

// With Dt 0 nothing moves and every particle is drawn again over the fresh
// frame: rain looks the same (flakes may still change size now and then); a
// step of time moves them.
TEST(TAnimEngine, WeatherAtDtZeroRedrawsWithoutMoving) {
  using TPositions = std::vector<std::pair<double, double>>;
  for (int32_t kind : {1, 2}) {
    SCOPED_TRACE(kind);
    TVirtualClock clock;
    TProject project;
    project.Picture = TBitmap32(64, 48, MakePixel(10, 40, 90));
    project.Weather = {kind, 200, 10, 80, 20, 10};
    TRandom random;
    TAnimEngine engine(clock, random);
    engine.SetSeed(3);
    engine.Attach(project);
    engine.SetWeather(false);
    engine.Start();
    engine.SetWeather(true);
    const auto positions = [&] {
      TPositions p;
      if (engine.Snow())
        for (const TFlake& f : engine.Snow()->Particles) p.emplace_back(f.X, f.Y);
      if (engine.Rain())
        for (const TDrop& d : engine.Rain()->Particles) p.emplace_back(d.X, d.Y);
      return p;
    };
    clock.Advance(40);
    engine.NextFrame();
    const TBitmap32 first = engine.GetOutput();
    const TPositions before = positions();
    EXPECT_NE(first, project.Picture);
    engine.NextFrame();
    EXPECT_EQ(positions(), before);
    if (kind == 2) {
      EXPECT_EQ(engine.GetOutput(), first);
    }
    clock.Advance(40);
    engine.NextFrame();
    EXPECT_NE(positions(), before);
  }
}

// Outside data: any weather record, speed and time step draws within the
// picture, never loops without end, and keeps the particle count; a streak
// longer than the picture's diagonal is cut there.
TEST(TAnimEngine, HostileWeatherRecordsStayInBounds) {
  const TWeatherParam records[] = {
      {2, INT_MAX, INT_MIN, INT_MIN, INT_MAX, INT_MAX}, {2, 1000, INT_MAX, INT_MAX, INT_MIN, INT_MIN},
      {1, INT_MAX, -1, 0, 0, 11},                      {2, 300, 21, 45, 2000000000, 10},
      {1, 1000, 99, 0, 0, -5},                         {2, 1000, 5, -270, -500, 3},
  };
  for (const TWeatherParam& w : records) {
    SCOPED_TRACE(testing::Message() << "kind " << w.Kind << " angle " << w.Angle << " length " << w.Length);
    TVirtualClock clock;
    TProject project;
    project.Picture = TBitmap32(24, 16, kBlack);
    project.Weather = w;
    project.SetSpeed(INT_MAX);
    TRandom random;
    TAnimEngine engine(clock, random);
    engine.SetSeed(11);
    engine.Attach(project);
    engine.SetWeather(false);
    engine.Start();
    engine.SetWeather(true);
    for (uint32_t dt : {33u, 0u, 0x7FFFFFFFu, 0xFFFFFFFFu, 1u}) {
      clock.Advance(dt);
      engine.NextFrame();
      EXPECT_EQ(engine.GetOutput().Width(), 24);
    }
  }

  // Length 2e9 tenths: the streak would run far beyond the picture; it is cut
  // at the diagonal and lights only the pixels of the picture it crosses.
  TBitmap32 target(20, 20, kBlack);
  TRain rain;
  rain.Target = &target;
  rain.Angle = 90;
  rain.Length = 2000000000;
  rain.DrawDrop(5, 0, 4, 4);
  std::vector<TLit> lit;
  for (int32_t y = 0; y < 20; ++y) lit.push_back({5, y, y < 22 ? 130 : 235});  // bend at 6/8 of 29 rows
  EXPECT_EQ(Levels(target), Expected(20, 20, lit));
}

}  // namespace
