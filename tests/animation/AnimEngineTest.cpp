#include <gtest/gtest.h>

#include <climits>
#include <cstring>
#include <vector>

#include "animation/uAnimEngine.h"
#include "animation/uCreatorProject.h"
#include "devices/headless/uVirtualClock.h"
#include "package/uFileIO.h"
#include "support/BitmapSupport.h"

using namespace kx;

namespace {

// A wave that moves nothing: amplitude 0, no jitter, no flags but Vertical.
TWaveParam StillWave() {
  TWaveParam w{};
  w.Cycles = 1;
  w.Direction = 1;
  w.Vertical = 1;
  w.Period = 360;
  return w;
}

// Where a pixel of a tagged picture came from.
struct TFrom {
  int X, Y;
  friend bool operator==(TFrom a, TFrom b) { return a.X == b.X && a.Y == b.Y; }
};
TFrom FromOf(TPixel p) { return {PixelR(p), PixelG(p)}; }

// A tagged picture (each pixel names its own position), a region map of the
// same size without areas, still waves, and an engine on a virtual clock.
class Scene {
 public:
  Scene(int32_t w, int32_t h, uint32_t startTick = 1000) : clock(startTick) {
    project.Picture = kxtest::Tagged(w, h, 7);
    project.RegionMap = TBitmap32(w, h, kRegionPixels[0]);
    project.Waves.fill(StillWave());
    project.DesignWidth = w;
    project.DesignHeight = h;
  }
  // Puts the rectangle [x0, x1) x [y0, y1) into area n (1..6).
  void Area(int n, int32_t x0, int32_t y0, int32_t x1, int32_t y1) {
    project.RegionMap.FillRect({x0, y0, x1, y1}, kRegionPixels[n]);
  }
  TWaveParam& Wave(int n) { return project.Waves[size_t(n - 1)]; }
  void Start(uint32_t seed = 1) {
    engine.Attach(project);
    engine.SetSeed(seed);
    engine.SetWeather(false);
    engine.Start();
  }
  const TBitmap32& Frame(uint32_t ms = 33) {
    clock.Advance(ms);
    engine.NextFrame();
    return engine.GetOutput();
  }
  TFrom At(int32_t x, int32_t y) const { return FromOf(engine.GetOutput().Pixel(x, y)); }
  // The source row of every pixel of one column.
  std::vector<int> Column(int32_t x) const {
    std::vector<int> rows;
    for (int32_t y = 0; y < engine.Height(); ++y) rows.push_back(At(x, y).Y);
    return rows;
  }

  TVirtualClock clock;
  TProject project;
  TRandom random;
  TAnimEngine engine{clock, random};
};

TEST(TAnimEngine, CosTableHoldsWholeDegrees) {
  TVirtualClock clock;
  TRandom random;
  const TAnimEngine e(clock, random);
  EXPECT_DOUBLE_EQ(e.CosTable[0], 1.0);
  EXPECT_DOUBLE_EQ(e.CosTable[60], 0.5);
  EXPECT_DOUBLE_EQ(e.CosTable[180], -1.0);
  EXPECT_DOUBLE_EQ(e.CosTable[360], 1.0);
  EXPECT_NEAR(e.CosTable[90], 0.0, 1e-15);
}

TEST(TAnimEngine, WithoutAreasTheOutputIsTheStillPicture) {
  Scene s(6, 4);
  for (int n = 1; n <= 6; ++n) s.Wave(n) = TWaveParam{5, 3, 20, 3, 1, 1, 1, 0, 360, 2, 0, 1, {}};
  s.Start();
  for (int i = 0; i < 5; ++i) {
    const TBitmap32& out = s.Frame();
    EXPECT_EQ(&out, &s.engine.WaterFrame());
    EXPECT_EQ(out, s.project.Picture);
  }
  EXPECT_EQ(s.engine.MinRow(0), TAnimEngine::kNoMinRow);
  EXPECT_EQ(s.engine.MaxRow(0), 0);
}

// Horizontal bands over a 4 x 4 picture, one cycle over the height:
// angle = (4 - y) * 90 + phase, source row = y + nearest(cos(angle)).
TEST(TAnimEngine, BandsFollowTheCosineAndThePhase) {
  Scene s(4, 4);
  s.Area(1, 0, 0, 4, 4);
  s.Wave(1).Amplitude = 1;
  s.Wave(1).WaveSpeed = 90;  // 90 degrees per 50 ms
  s.Start();
  EXPECT_EQ(s.engine.GetOutput(), s.project.Picture);  // Start ends on the still picture
  s.Frame(50);
  EXPECT_EQ(s.engine.Phase[0], 90);
  for (int32_t x = 0; x < 4; ++x) EXPECT_EQ(s.Column(x), (std::vector<int>{1, 1, 1, 3})) << x;
  s.Frame(50);
  EXPECT_EQ(s.engine.Phase[0], 180);
  for (int32_t x = 0; x < 4; ++x) EXPECT_EQ(s.Column(x), (std::vector<int>{0, 2, 2, 2})) << x;
  EXPECT_EQ(s.At(3, 1).X, 3);  // columns stay put without Horizontal
}

// Slanted waves: vOff = nearest(cos(nearest(x * freq / 2 * (H - y / 2) / H)) * amp),
// with 90 cycles over the height of a 4 x 4 picture. Directions 2 and 5 read
// the columns from the right.
TEST(TAnimEngine, SlantedWavesRunAlongTheRow) {
  for (int32_t d : {3, 4, 2, 5}) {
    SCOPED_TRACE(d);
    Scene s(4, 4);
    s.Area(1, 0, 0, 4, 4);
    s.Wave(1).Amplitude = 1;
    s.Wave(1).Cycles = 90;
    s.Wave(1).Direction = d;
    s.Start();
    s.Frame();
    const bool mirrored = d == 2 || d == 5;
    // Row 0: x * 45 degrees; row 2: x * 33.75 degrees.
    const int row0[4] = {1, 1, 0, 0}, row2[4] = {3, 3, 2, 2};
    for (int32_t x = 0; x < 4; ++x) {
      const int32_t col = mirrored ? 3 - x : x;
      EXPECT_EQ(s.At(x, 0), (TFrom{x, row0[col]})) << x;
      EXPECT_EQ(s.At(x, 2), (TFrom{x, row2[col]})) << x;
    }
  }
}

// An area one row high with perspective: the amplitude is the whole
// Amplitude on that row and the frequency 0.2 cycles, so the angle is
// (4 - 2) * 5 * 0.2 * 360 / 4 = 180 degrees and hOff = -Amplitude.
TEST(TAnimEngine, OneRowPerspectiveAreaTakesTheFullAmplitude) {
  Scene s(6, 4);
  s.Area(1, 0, 2, 6, 3);
  TWaveParam& w = s.Wave(1);
  w.Amplitude = 2;
  w.Cycles = 5;
  w.Perspective = 1;
  w.Horizontal = 1;
  w.Vertical = 0;
  s.Start();
  s.Frame();
  EXPECT_EQ(s.engine.MinRow(0), 2);
  EXPECT_EQ(s.engine.MaxRow(0), 2);
  const int expected[6] = {2, 3, 4, 5, 5, 5};
  for (int32_t x = 0; x < 6; ++x) EXPECT_EQ(s.At(x, 2), (TFrom{expected[x], 2})) << x;
  for (int32_t y : {0, 1, 3})
    for (int32_t x = 0; x < 6; ++x) EXPECT_EQ(s.At(x, y), (TFrom{x, y}));
}

// Up-down and sideways together on a 10 x 4 picture, one cycle of amplitude
// 2: row 0 is at 360 degrees (source 2 rows down, 2 columns left), row 2 at
// 180 degrees (2 rows up, 2 columns right). A sample is taken only where its
// source column is in the area both in its own row and in the source row;
// columns beyond the edge repeat the edge column.
TEST(TAnimEngine, SidewaysSamplesNeedTheAreaInBothRows) {
  Scene s(10, 4);
  s.Area(1, 0, 0, 7, 1);
  s.Area(1, 8, 0, 10, 1);
  s.Area(1, 0, 2, 4, 3);
  s.Area(1, 6, 2, 10, 3);
  s.Wave(1).Amplitude = 2;
  s.Wave(1).Horizontal = 1;
  s.Start();
  s.Frame();
  const TFrom row0[10] = {{0, 2}, {0, 2}, {0, 2}, {1, 2}, {2, 2}, {3, 2}, {6, 0}, {7, 0}, {6, 2}, {9, 0}};
  const TFrom row2[10] = {{2, 0}, {3, 0}, {2, 2}, {3, 2}, {4, 2}, {5, 2}, {8, 0}, {9, 0}, {9, 0}, {9, 0}};
  for (int32_t x = 0; x < 10; ++x) {
    EXPECT_EQ(s.At(x, 0), row0[x]) << x;
    EXPECT_EQ(s.At(x, 1), (TFrom{x, 1})) << x;
    EXPECT_EQ(s.At(x, 2), row2[x]) << x;
  }
}

// Area 1 starts at row f = 2: rows 2 and 3 mirror rows 1 and 0; below row 2f
// there is nothing above to mirror and the still picture stays.
TEST(TAnimEngine, ReflectionWithoutAmplitudeShowsTheMirrorFromTheFirstFrame) {
  Scene s(4, 6);
  s.Area(1, 1, 2, 4, 6);
  s.Wave(1).Reflect = 1;
  s.Start();
  EXPECT_TRUE(s.engine.HasReflection());
  s.Frame();
  for (int32_t x = 0; x < 4; ++x) {
    const bool inArea = x >= 1;
    EXPECT_EQ(s.Column(x), inArea ? (std::vector<int>{0, 1, 1, 0, 4, 5}) : (std::vector<int>{0, 1, 2, 3, 4, 5}))
        << x;
  }
  EXPECT_EQ(s.engine.Reflected().Pixel(2, 3), s.project.Picture.Pixel(2, 0));
}

TEST(TAnimEngine, JitterWithoutVerticalShowsEachColumnFromHigherUp) {
  Scene s(8, 8);
  s.Area(2, 0, 0, 8, 8);
  s.Wave(2).Vertical = 0;
  s.Wave(2).Direction = 3;
  s.Wave(2).Jitter = 4;
  s.Start(99);
  s.Frame();
  bool anyShift = false;
  for (int32_t x = 0; x < 8; ++x) {
    const int32_t j = s.engine.Jitter(1, x);
    ASSERT_GE(j, 0);
    ASSERT_LT(j, 4);
    anyShift |= j > 0;
    for (int32_t y = 0; y < 8; ++y) EXPECT_EQ(s.At(x, y), (TFrom{x, std::max(y - j, 0)}));
  }
  EXPECT_TRUE(anyShift);
  // The same seed draws the same pattern.
  Scene again(8, 8);
  again.Area(2, 0, 0, 8, 8);
  again.Wave(2) = s.Wave(2);
  again.Start(99);
  for (int32_t x = 0; x < 8; ++x) EXPECT_EQ(again.engine.Jitter(1, x), s.engine.Jitter(1, x));
}

// Whatever the wave does, a rippled pixel of an area comes from the same
// area, and pixels outside every area keep the still picture.
TEST(TAnimEngine, SamplesNeverCrossTheAreaEdge) {
  struct TCase {
    int32_t Direction;
    uint8_t Horizontal, Vertical;
    int32_t Jitter;
  };
  const TCase cases[] = {{0, 0, 1, 0}, {1, 1, 1, 0}, {1, 1, 1, 3}, {0, 1, 0, 3},
                         {3, 1, 1, 2}, {2, 0, 1, 0}, {5, 1, 1, 3}, {4, 1, 0, 2}};
  for (const TCase& c : cases) {
    SCOPED_TRACE(testing::Message() << "direction " << c.Direction << " h " << int(c.Horizontal) << " v "
                                    << int(c.Vertical) << " jitter " << c.Jitter);
    Scene s(12, 10);
    // An L-shaped area 1 whose narrow top sits beside area 2.
    s.Area(1, 2, 2, 6, 5);
    s.Area(1, 2, 5, 10, 9);
    s.Area(2, 6, 2, 10, 5);
    for (int n : {1, 2}) {
      TWaveParam& w = s.Wave(n);
      w = TWaveParam{3, 4, 37, c.Direction, c.Horizontal, c.Vertical, 1, 0, 360, c.Jitter, 0, 0, {}};
    }
    s.Start(5);
    for (int frame = 0; frame < 12; ++frame) {
      const TBitmap32& out = s.Frame(frame * 7 + 10);
      for (int32_t y = 0; y < 10; ++y)
        for (int32_t x = 0; x < 12; ++x) {
          const int16_t area = s.engine.AreaMap(x, y);
          const TFrom from = FromOf(out.Pixel(x, y));
          if (area < 0) {
            ASSERT_EQ(from, (TFrom{x, y})) << x << "," << y;
          } else {
            ASSERT_EQ(s.engine.AreaMap(from.X, from.Y), area) << x << "," << y;
          }
        }
    }
  }
}

// Phase moves by nearest(WaveSpeed * dt / 50 * Speed / 100): down for
// directions 0, 4 and 5, up otherwise; halves go to the even neighbour.
TEST(TAnimEngine, PhaseAdvancesWithTimeSpeedAndDirection) {
  struct TCase {
    int32_t Direction, WaveSpeed, Speed;
    uint32_t Dt;
    int32_t PerFrame;
  };
  const TCase cases[] = {
      {0, 15, 60, 40, -7},  // 7.2
      {1, 15, 60, 40, 7},   {4, 15, 60, 40, -7}, {5, 15, 100, 40, -12}, {2, 15, 100, 40, 12},
      {1, 1, 100, 25, 0},   // 0.5
      {1, 1, 100, 75, 2},   // 1.5
      {0, 10, 250, 30, -15},
  };
  for (const TCase& c : cases) {
    SCOPED_TRACE(testing::Message() << "direction " << c.Direction << " dt " << c.Dt);
    // The tick wraps past 2^32 between the frames.
    Scene s(2, 2, 0xFFFFFFFFu - 50);
    s.Wave(3).Direction = c.Direction;
    s.Wave(3).WaveSpeed = c.WaveSpeed;
    s.project.SetSpeed(c.Speed);
    s.Start();
    EXPECT_EQ(s.engine.LastTick, 0xFFFFFFFFu - 50);
    s.Frame(c.Dt);
    s.Frame(c.Dt);
    EXPECT_EQ(s.engine.Phase[2], 2 * c.PerFrame);
    EXPECT_EQ(s.engine.Phase[0], 0);  // WaveSpeed 0
  }
}

TEST(TAnimEngine, ResetFrameGoesBackToTheStillPicture) {
  Scene s(6, 8);
  s.Area(1, 0, 1, 6, 8);
  s.Wave(1) = TWaveParam{2, 3, 25, 1, 1, 1, 0, 0, 360, 0, 0, 0, {}};
  s.Start();
  s.Frame();
  s.Frame();
  ASSERT_NE(s.engine.GetOutput(), s.project.Picture);
  s.engine.ResetFrame();
  EXPECT_EQ(s.engine.GetOutput(), s.project.Picture);
  s.Frame();
  EXPECT_NE(s.engine.GetOutput(), s.project.Picture);
}

TEST(TAnimEngine, OverlaysDrawIntoComposite) {
  Scene s(4, 4);
  s.Area(1, 0, 2, 4, 4);
  s.Wave(1).Amplitude = 1;
  s.project.Weather.Kind = 2;
  s.Start();
  EXPECT_EQ(&s.engine.GetOutput(), &s.engine.WaterFrame());
  s.engine.SetWeather(true);
  EXPECT_TRUE(s.engine.WeatherOn());
  s.Frame();
  EXPECT_EQ(&s.engine.GetOutput(), &s.engine.Composite());
  EXPECT_EQ(s.engine.Composite(), s.engine.WaterFrame());

  Scene c(16, 4);
  c.engine.ShowClock = true;
  c.Start();
  EXPECT_EQ(c.engine.Clock.ClockWidth, 2);  // placed at (10, 10), beyond this small picture
  EXPECT_EQ(c.Frame(), c.project.Picture);
  EXPECT_EQ(&c.engine.GetOutput(), &c.engine.Composite());
}

TEST(TAnimEngine, EmptyProjectGivesAnEmptyOutput) {
  TVirtualClock clock;
  TProject empty;
  TRandom random;
  TAnimEngine e(clock, random);
  e.NextFrame();  // nothing attached yet
  e.Attach(empty);
  e.Start();
  clock.Advance(33);
  e.NextFrame();
  e.ResetFrame();
  EXPECT_TRUE(e.GetOutput().Empty());
  EXPECT_EQ(e.Width(), 0);

  // A started engine whose project is emptied by a failed reload draws
  // nothing until it is started again.
  Scene s(4, 4);
  s.Area(1, 0, 0, 4, 4);
  s.Wave(1).Amplitude = 2;
  s.Start();
  s.project.Picture = TBitmap32();
  s.Frame();
  s.engine.ResetFrame();
  s.engine.Start();
  EXPECT_TRUE(s.engine.GetOutput().Empty());
}

// Map pixels that are not exactly an area colour are in no area, and a map of
// another size than the picture counts only where it covers the picture.
TEST(TAnimEngine, HostileRegionMapsAndWavesStayInBounds) {
  const TPixel notAreas[] = {kRegionPixels[1] | 0xFF000000u, 0x000001u, 0xFFFFFFFFu, 0x00FF00FEu};
  struct TSize {
    int32_t W, H;
  };
  const TWaveParam wild[] = {
      {INT_MAX, INT_MAX, INT_MAX, 99, 1, 1, 1, 0, 0, INT_MAX, 0, 1, {}},
      {INT_MIN, INT_MIN, INT_MIN, -4, 1, 1, 1, 0, -1, INT_MIN, 0, 0, {}},
      {-7, 3, -20, 3, 1, 1, 0, 0, INT_MIN, 5, 0, 1, {}},
      {50, 2, 10, 0, 1, 1, 1, 0, 7, -3, 0, 0, {}},
      {INT_MAX, 1, 1, 5, 1, 1, 1, 0, 360, INT_MAX, 0, 0, {}},
  };
  for (const TSize map : {TSize{3, 2}, TSize{9, 9}, TSize{6, 7}, TSize{0, 0}, TSize{20, 1}})
    for (const TWaveParam& wave : wild) {
      SCOPED_TRACE(testing::Message() << "map " << map.W << "x" << map.H << " amplitude " << wave.Amplitude);
      Scene s(6, 5);
      s.project.RegionMap = TBitmap32(map.W, map.H, kRegionPixels[3]);
      for (int32_t i = 0; i < map.W * map.H; i += 3)
        s.project.RegionMap.SetPixel(i % map.W, i / map.W, notAreas[(i / 3) % 4]);
      for (TWaveParam& w : s.project.Waves) w = wave;
      s.project.SetSpeed(INT_MAX);
      s.Start();
      for (int i = 0; i < 4; ++i) s.Frame(i == 2 ? 0x7FFFFFFF : 40);
      s.engine.ResetFrame();
      s.Frame();
      for (int32_t y = 0; y < 5; ++y)
        for (int32_t x = 0; x < 6; ++x) {
          const bool mapped = x < map.W && y < map.H;
          const bool area = mapped && s.project.RegionMap.Pixel(x, y) == kRegionPixels[3];
          EXPECT_EQ(s.engine.AreaMap(x, y), area ? 2 : -1) << x << "," << y;
          if (!area) {
            EXPECT_EQ(s.At(x, y), (TFrom{x, y}));
          }
        }
    }
}

TEST(FitProject, ProportionalSizesAndRescaledWaves) {
  struct TCase {
    int32_t W0, H0;
    bool Keep;
    int32_t W, H;
    int32_t FitW, FitH;
    int32_t Amplitude, Jitter;  // from 5 and 3
  };
  const TCase cases[] = {
      {40, 30, true, 100, 100, 100, 75, 12, 8},  // 12.5 and 7.5: halves to even
      {30, 40, true, 100, 100, 75, 100, 12, 8},  // width 75
      {40, 30, false, 100, 100, 100, 100, 12, 10},
      {40, 30, true, 80, 60, 80, 60, 10, 6},
      {1000, 10, true, 50, 50, 50, 1, 0, 0},  // 0.5 rows round to 0: one row at least
      {16, 9, true, 1024, 768, 1024, 576, 320, 192},
  };
  for (const TCase& c : cases) {
    SCOPED_TRACE(testing::Message() << c.W0 << "x" << c.H0 << " to " << c.W << "x" << c.H);
    TProject p;
    p.Picture = TBitmap32(c.W0, c.H0, MakePixel(10, 20, 30));
    p.RegionMap = TBitmap32(c.W0, c.H0, kRegionPixels[2]);
    p.DesignWidth = c.W0;
    p.DesignHeight = c.H0;
    for (TWaveParam& w : p.Waves) {
      w.Amplitude = 5;
      w.Jitter = 3;
    }
    FitProject(c.Keep, p, c.W, c.H);
    EXPECT_EQ(p.Picture.Width(), c.FitW);
    EXPECT_EQ(p.Picture.Height(), c.FitH);
    EXPECT_EQ(p.RegionMap.Width(), c.FitW);
    EXPECT_EQ(p.RegionMap.Height(), c.FitH);
    EXPECT_EQ(p.Waves[7].Amplitude, c.Amplitude);
    EXPECT_EQ(p.Waves[0].Jitter, c.Jitter);
    EXPECT_EQ(p.DesignWidth, c.W0);
    EXPECT_EQ(p.DesignHeight, c.H0);
    EXPECT_EQ(p.Picture, TBitmap32(c.FitW, c.FitH, MakePixel(10, 20, 30)));
  }
}

TEST(FitProject, RegionMapKeepsExactAreaColours) {
  TProject p;
  p.Picture = kxtest::Tagged(4, 4, 1);
  // Left half area 1, right half area 5, the bottom row no area.
  p.RegionMap = TBitmap32(4, 4, kRegionPixels[1]);
  p.RegionMap.FillRect({2, 0, 4, 3}, kRegionPixels[5]);
  p.RegionMap.FillRect({0, 3, 4, 4}, kRegionPixels[0]);
  FitProject(false, p, 7, 8);
  ASSERT_EQ(p.RegionMap.Width(), 7);
  ASSERT_EQ(p.RegionMap.Height(), 8);
  for (int32_t y = 0; y < 8; ++y)
    for (int32_t x = 0; x < 7; ++x) {
      // Centres map back to column (2x + 1) * 4 / 14 and row (2y + 1) * 4 / 16.
      const TPixel expected = y >= 6 ? kRegionPixels[0] : x * 2 + 1 < 7 ? kRegionPixels[1] : kRegionPixels[5];
      EXPECT_EQ(p.RegionMap.Pixel(x, y), expected) << x << "," << y;
    }
}

TEST(FitProject, PictureIsInterpolatedBilinearly) {
  TProject p;
  p.Picture = TBitmap32(2, 1, MakePixel(0, 0, 0));
  p.Picture.SetPixel(1, 0, MakePixel(200, 100, 40));
  FitProject(false, p, 4, 1);
  // Centres at source x -0.25, 0.25, 0.75 and 1.25; the edges repeat.
  const int red[4] = {0, 50, 150, 200}, blue[4] = {0, 10, 30, 40};
  for (int32_t x = 0; x < 4; ++x) {
    EXPECT_NEAR(PixelR(p.Picture.Pixel(x, 0)), red[x], 1) << x;
    EXPECT_NEAR(PixelB(p.Picture.Pixel(x, 0)), blue[x], 1) << x;
    EXPECT_EQ(PixelA(p.Picture.Pixel(x, 0)), 255);
  }
}

TEST(FitProject, EmptyProjectOrSizeIsLeftAlone) {
  TProject empty;
  empty.Waves[0].Amplitude = 6;
  FitProject(true, empty, 800, 600);
  EXPECT_TRUE(empty.Picture.Empty());
  EXPECT_EQ(empty.Waves[0].Amplitude, 6);

  TProject p;
  p.Picture = TBitmap32(4, 3);
  p.Waves[0].Amplitude = 6;
  for (auto [w, h] : {std::pair{0, 600}, std::pair{800, 0}, std::pair{-5, -5}}) {
    FitProject(false, p, w, h);
    EXPECT_EQ(p.Picture.Width(), 4);
    EXPECT_EQ(p.Waves[0].Amplitude, 6);
  }
}

}  // namespace
