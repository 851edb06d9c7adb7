// The water pass against a reference that applies the ripple formulas one
// pixel at a time, with no shortcut: slanted and jittered waves, with and
// without sideways shifts, periods other than 360, reflections and
// perspective, on odd sizes, with the baseline and the AVX2 row kernels.
#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdlib>
#include <numbers>

#include "animation/uAnimEngine.h"
#include "animation/uWaterRows.h"
#include "devices/headless/uVirtualClock.h"
#include "package/uFileIO.h"
#include "support/BitmapSupport.h"

using namespace kx;

namespace {

int64_t Nearest(double v) { return std::llrint(std::clamp(v, -4.0e18, 4.0e18)); }
int64_t Clamp(int64_t v, int64_t hi) { return std::clamp<int64_t>(v, 0, hi); }

// The index of cos((a mod period) degrees) in the 361-entry table; a period
// of 0 counts as 360.
size_t CosIndex(int64_t a, int32_t period) {
  const int64_t p = period == 0 ? 360 : period;
  return size_t(std::llabs(a % p) % 360);
}

// One frame of ripples over `before`, with the phases the frame starts from.
TBitmap32 ReferenceFrame(const TAnimEngine& e, const TProject& p, const TBitmap32& before,
                         const std::array<int32_t, TAnimEngine::kAreaCount>& phase) {
  const int32_t w = e.Width(), h = e.Height();
  const TBitmap32& sample = e.HasReflection() ? e.Reflected() : p.Picture;
  TBitmap32 out = before;
  std::array<double, 8> amp{}, freq{}, dAmp{}, dFreq{};
  std::array<int64_t, 8> vOff{}, hOff{};
  for (int k = 0; k < 8; ++k) {
    const TWaveParam& wave = p.Waves[size_t(k)];
    amp[size_t(k)] = wave.Amplitude;
    freq[size_t(k)] = double(wave.Cycles) * wave.Period / 360;
    if (wave.Perspective) {
      amp[size_t(k)] = 0;
      const int32_t span = e.MaxRow(k) - e.MinRow(k);
      dAmp[size_t(k)] = span == 0 ? double(wave.Amplitude) : double(wave.Amplitude) / span;
      dFreq[size_t(k)] = span == 0 ? freq[size_t(k)] : double(wave.Cycles) * wave.Period / 360 / span;
    }
  }
  for (int32_t y = 0; y < h; ++y) {
    for (int k = 0; k < 8; ++k) {
      if (y < e.MinRow(k) || y > e.MaxRow(k)) continue;
      if (p.Waves[size_t(k)].Perspective) {
        amp[size_t(k)] += dAmp[size_t(k)];
        freq[size_t(k)] -= 0.8 * dFreq[size_t(k)];
      }
      const int64_t a = Nearest((double(h) - y) * freq[size_t(k)] * 360 / h + phase[size_t(k)]);
      vOff[size_t(k)] = Nearest(e.CosTable[CosIndex(a, p.Waves[size_t(k)].Period)] * amp[size_t(k)]);
      hOff[size_t(k)] = Nearest(std::cos(double(a % 360) * (std::numbers::pi / 180)) * amp[size_t(k)]);
    }
    for (int32_t x = 0; x < w; ++x) {
      const int k = e.AreaMap(x, y);
      if (k < 0) continue;
      const TWaveParam& wave = p.Waves[size_t(k)];
      const int64_t j = e.Jitter(k, x), d = wave.Direction;
      int64_t srcY;
      if (wave.Vertical) {
        int64_t v = vOff[size_t(k)];
        if (d >= 2 && d <= 5) {
          // The row's degrees per column, then times the column: at an exact
          // half degree this rounds as the engine always has.
          const double step = freq[size_t(k)] / 2 * (h - y / 2.0) / h;
          const double col = d == 2 || d == 5 ? double(w - 1 - x) : double(x);
          const int64_t slant = Nearest(col * step + phase[size_t(k)]);
          v = Nearest(e.CosTable[CosIndex(slant, wave.Period)] * amp[size_t(k)]);
        }
        srcY = y + v - (d < 2 ? j : 0);
      } else {
        srcY = y - j;
      }
      const int64_t dstY = Clamp(d < 2 ? y - j : y, h - 1);
      const int64_t srcX = Clamp(wave.Horizontal ? x - hOff[size_t(k)] : x, w - 1);
      srcY = Clamp(srcY, h - 1);
      if (e.AreaMap(int32_t(srcX), int32_t(dstY)) == k && e.AreaMap(int32_t(srcX), int32_t(srcY)) == k &&
          (dstY == y || e.AreaMap(x, int32_t(dstY)) == k))
        out.SetPixel(x, int32_t(dstY), sample.Pixel(int32_t(srcX), int32_t(srcY)));
    }
  }
  return out;
}

// A small deterministic generator for the scenes' parameters.
struct TDraw {
  uint32_t State;
  int32_t operator()(int32_t lo, int32_t hi) {
    State = State * 1664525u + 1013904223u;
    return lo + int32_t((uint64_t(State >> 8) * uint64_t(hi - lo + 1)) >> 24);
  }
};

struct TLayout {
  const char* Name;
  int32_t W, H;
  void (*Paint)(TBitmap32& map);
};

const TLayout kLayouts[] = {
    {"whole picture", 37, 23,
     [](TBitmap32& m) {
       m.FillRect({0, 0, m.Width(), m.Height()}, kRegionPixels[1]);
     }},
    {"two areas with a gap", 61, 29,
     [](TBitmap32& m) {
       m.FillRect({3, 2, 40, 20}, kRegionPixels[1]);
       m.FillRect({40, 9, 61, 29}, kRegionPixels[4]);
       m.FillRect({10, 8, 14, 13}, kRegionPixels[0]);  // a hole
     }},
    {"wavy shore", 45, 31,
     [](TBitmap32& m) {
       for (int32_t x = 0; x < m.Width(); ++x)
         for (int32_t y = 12 + (x * 7) % 5; y < m.Height(); ++y) m.SetPixel(x, y, kRegionPixels[2]);
       m.FillRect({5, 0, 25, 6}, kRegionPixels[6]);
     }},
    {"wider than a kernel chunk", 301, 11,
     [](TBitmap32& m) {
       m.FillRect({0, 0, 301, 11}, kRegionPixels[3]);
       m.FillRect({250, 3, 270, 6}, kRegionPixels[5]);
     }},
    {"one column and one row", 1, 9,
     [](TBitmap32& m) {
       m.FillRect({0, 0, 1, 9}, kRegionPixels[1]);
       m.SetPixel(0, 4, kRegionPixels[2]);
     }},
};

// Directions, flags and periods the row kernels treat differently.
struct TWaveCase {
  int32_t Direction;
  uint8_t Horizontal, Vertical;
  int32_t Period, Jitter;
};
const TWaveCase kWaveCases[] = {
    {3, 0, 1, 360, 0}, {2, 0, 1, 360, 4}, {4, 1, 1, 360, 0}, {5, 1, 1, 100, 2}, {3, 0, 1, -250, 0},
    {2, 0, 1, 7, 0},   {1, 1, 1, 360, 3}, {0, 1, 1, 360, 8}, {1, 0, 1, 720, 5}, {0, 1, 0, 360, 2},
    {4, 0, 0, 360, 6}, {1, 1, 1, 360, 9}, {0, 0, 1, 90, 20}, {5, 1, 0, 360, 3}, {3, 1, 1, 0, 1},
};

class WaterRows : public testing::TestWithParam<TSimdLevel> {
 protected:
  void SetUp() override { SetSimdLevel(GetParam()); }
  void TearDown() override { SetSimdLevel(BestSimdLevel()); }
};

TEST_P(WaterRows, EveryPixelMatchesTheFormulas) {
  TDraw draw{12345};
  for (const TLayout& layout : kLayouts)
    for (const TWaveCase& c : kWaveCases) {
      SCOPED_TRACE(testing::Message() << layout.Name << ": direction " << c.Direction << " h " << int(c.Horizontal)
                                      << " v " << int(c.Vertical) << " period " << c.Period << " jitter " << c.Jitter);
      TVirtualClock clock(500);
      TProject p;
      p.Picture = kxtest::Tagged(layout.W, layout.H, 3);
      p.RegionMap = TBitmap32(layout.W, layout.H, kRegionPixels[0]);
      layout.Paint(p.RegionMap);
      for (TWaveParam& w : p.Waves) {
        w = TWaveParam{draw(-3, 9),
                       draw(1, 40),
                       draw(0, 60),
                       c.Direction,
                       c.Horizontal,
                       c.Vertical,
                       uint8_t(draw(0, 1)),
                       0,
                       c.Period,
                       c.Jitter,
                       0,
                       uint8_t(draw(0, 3) == 0),
                       {}};
      }
      TRandom random;
      TAnimEngine e(clock, random);
      e.Attach(p);
      e.SetSeed(uint32_t(draw(1, 1000)));
      e.Start();
      // Phases far from 0, and one beyond the row kernels' reach.
      const int32_t starts[] = {0, draw(-100000, 100000), 1 << 30};
      for (int32_t start : starts) {
        e.Phase.fill(start);
        for (int frame = 0; frame < 3; ++frame) {
          const TBitmap32 before = e.WaterFrame();
          const auto phase = e.Phase;
          clock.Advance(uint32_t(draw(10, 60)));
          e.NextFrame();
          ASSERT_EQ(e.WaterFrame(), ReferenceFrame(e, p, before, phase)) << "start " << start << " frame " << frame;
        }
      }
    }
}

INSTANTIATE_TEST_SUITE_P(Kernels, WaterRows, testing::Values(TSimdLevel::Sse2, TSimdLevel::Avx2),
                         [](const testing::TestParamInfo<TSimdLevel>& info) {
                           return info.param == TSimdLevel::Avx2 ? "Avx2" : "Sse2";
                         });

}  // namespace
