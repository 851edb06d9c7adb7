// The cost of one water frame (TAnimEngine::NextFrame) at 1920 x 1080, as a
// ratio to one full-frame copy (memcpy of the whole picture) measured in the
// same run; medians over many frames, frames and copies alternating so that
// a change of the machine's load touches both sides of the ratio alike.
//
// Scenes: water over about 40 % of the picture in three areas (a reflecting
// lake below a wavy shoreline, a perspective pond, a slanted strip), and
// water over the whole picture with the waves a picture file starts with;
// then two dearer wave kinds over the whole picture. Times are the process's
// processor time, so that a frame put aside for other work on a shared
// machine is not counted as the engine's.
//
// usage: bench_water [frames [scene]]   (default 101 frames, every scene;
// scene 1 to 4 measures that one alone)
#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <functional>
#include <vector>

#include "BenchSupport.h"
#include "animation/uAnimEngine.h"
#include "devices/headless/uVirtualClock.h"
#include "package/uFileIO.h"

using namespace kx;
using kxbench::Median;
using kxbench::CpuTimeOnce;

namespace {

constexpr int32_t W = 1920, H = 1080;

// The wave records as a picture file starts them.
TWaveParam DefaultWave() {
  TWaveParam w;
  std::memcpy(&w, kDefaultWaveRecord.data(), sizeof w);
  return w;
}

void ThreeAreas(TProject& p) {
  p.RegionMap = TBitmap32(W, H, kRegionPixels[0]);
  // A lake under a wavy shoreline near row 800, reflecting the land above.
  for (int32_t x = 0; x < W; ++x) {
    const auto shore = int32_t(800 + 20 * std::sin(x / 50.0));
    for (int32_t y = shore; y < H; ++y) p.RegionMap.SetPixel(x, y, kRegionPixels[1]);
  }
  p.Waves[0].Reflect = 1;
  // A pond in perspective (the default wave) and a slanted strip.
  p.RegionMap.FillRect({0, 560, 960, 760}, kRegionPixels[2]);
  p.RegionMap.FillRect({1200, 100, 1920, 240}, kRegionPixels[3]);
  p.Waves[2].Direction = 3;
  p.Waves[2].Perspective = 0;
}

void WholePicture(TProject& p) { p.RegionMap = TBitmap32(W, H, kRegionPixels[1]); }

// The dearer wave kinds over the whole picture, for comparison: slanted waves
// compute an angle per pixel, and per-column jitter with sideways waves moves
// every sample on its own.
void WholeSlanted(TProject& p) {
  WholePicture(p);
  p.Waves[0].Direction = 3;
}

void WholeSidewaysJitter(TProject& p) {
  WholePicture(p);
  p.Waves[0].Horizontal = 1;
  p.Waves[0].Jitter = 3;
}

double WaterShare(const TProject& p) {
  int64_t n = 0;
  for (int32_t y = 0; y < H; ++y)
    for (int32_t x = 0; x < W; ++x) n += p.RegionMap.Pixel(x, y) != kRegionPixels[0];
  return 100.0 * double(n) / (double(W) * H);
}

}  // namespace

int main(int argc, char** argv) {
  const int frames = argc > 1 ? std::max(5, std::atoi(argv[1])) : 101;
  const int only = argc > 2 ? std::atoi(argv[2]) : 0;
  const TBitmap32 picture = kxbench::NoisePicture(W, H);
  TBitmap32 copy(W, H);
  const size_t bytes = size_t(W) * H * sizeof(TPixel);

  struct TScene {
    const char* Name;
    std::function<void(TProject&)> Make;
  };
  const TScene scenes[] = {{"three areas (reflect, perspective, slanted)", ThreeAreas},
                           {"whole picture", WholePicture},
                           {"whole picture, slanted", WholeSlanted},
                           {"whole picture, sideways with jitter", WholeSidewaysJitter}};
  std::printf("water frame at %dx%d, median of %d frames, as a ratio to one full-frame copy (processor time)\n", W, H,
              frames);
  int number = 0;
  for (const TScene& scene : scenes) {
    if (++number != only && only != 0) continue;
    TProject project;
    project.Picture = picture;
    project.Waves.fill(DefaultWave());
    scene.Make(project);
    TVirtualClock clock;
    TRandom random;
    TAnimEngine engine(clock, random);
    engine.SetSeed(1);
    engine.Attach(project);
    engine.Start();
    for (int i = 0; i < 3; ++i) {  // warm-up
      clock.Advance(33);
      engine.NextFrame();
    }
    std::vector<double> times, refs;
    for (int i = 0; i < frames; ++i) {
      refs.push_back(CpuTimeOnce([&] { std::memcpy(copy.Bits(), picture.Bits(), bytes); }));
      clock.Advance(33);
      times.push_back(CpuTimeOnce([&] { engine.NextFrame(); }));
    }
    const double frame = Median(times), ref = Median(refs);
    std::printf("  %-44s water %5.1f %%  frame %7.0f us  copy %6.0f us  ratio %5.2f\n", scene.Name,
                WaterShare(project), frame, ref, frame / ref);
  }
  return 0;
}
