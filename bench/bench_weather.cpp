// The cost of one engine frame (TAnimEngine::NextFrame) at 1920 x 1080 with
// snow or rain and the clock, as a ratio to one full-frame copy (memcpy of
// the whole picture) measured in the same run; medians over many frames,
// frames and copies alternating so that a change of the machine's load
// touches both sides of the ratio alike.
//
// The picture has no water, so a frame is what the overlays cost: the copy
// of the water frame into the composite, the weather and the clock. Scenes:
// the composite copy alone (weather on with no particles), the clock alone,
// 1000 rain drops of the longest kind (speed and length class 4) with
// Length 10 (16-row streaks) and 100 (160 rows) with the clock, and 1000
// snow flakes with the clock. "added" is the scene's cost beyond the
// composite copy, which any overlay needs.
//
// usage: bench_weather [frames]   (default 101)
#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <vector>

#include "BenchSupport.h"
#include "animation/uAnimEngine.h"
#include "devices/headless/uVirtualClock.h"

using namespace kx;
using kxbench::Median;
using kxbench::TimeOnce;

namespace {

constexpr int32_t W = 1920, H = 1080;

struct TScene {
  const char* Name;
  TWeatherParam Weather;
  bool Clock;
  bool LongestDrops;
};

}  // namespace

int main(int argc, char** argv) {
  const int frames = argc > 1 ? std::max(5, std::atoi(argv[1])) : 101;
  const TBitmap32 picture = kxbench::NoisePicture(W, H);
  TBitmap32 copy(W, H);
  const size_t bytes = size_t(W) * H * sizeof(TPixel);

  const TScene scenes[] = {
      {"composite copy only (no particles)", {2, 0, 10, 90, 10, 6}, false, false},
      {"clock", {0, 0, 0, 0, 0, 0}, true, false},
      {"1000 drops, length 10 (16 rows), clock", {2, 1000, 10, 80, 10, 6}, true, true},
      {"1000 drops, length 100 (160 rows), clock", {2, 1000, 10, 80, 100, 6}, true, true},
      {"1000 flakes, clock", {1, 1000, 10, 0, 0, 9}, true, false},
  };
  std::printf("engine frame at %dx%d without water, median of %d frames, as a ratio to one full-frame copy\n", W, H,
              frames);
  double composite = 0;
  for (const TScene& scene : scenes) {
    TProject project;
    project.Picture = picture;
    project.Weather = scene.Weather;
    TVirtualClock clock;
    clock.SetLocalTime({10, 8, 30});
    TRandom random;
    TAnimEngine engine(clock, random);
    engine.ShowClock = scene.Clock;
    engine.Clock.Corner = 1;
    engine.SetSeed(1);
    engine.Attach(project);
    engine.SetWeather(false);
    engine.Start();
    engine.SetWeather(scene.Weather.Kind > 0);
    if (scene.LongestDrops && engine.Rain())
      for (TDrop& d : engine.Rain()->Particles) d.SpeedClass = d.LengthClass = 4;
    for (int i = 0; i < 3; ++i) {  // warm-up
      clock.Advance(33);
      engine.NextFrame();
    }
    std::vector<double> times, refs;
    for (int i = 0; i < frames; ++i) {
      refs.push_back(TimeOnce([&] { std::memcpy(copy.Bits(), picture.Bits(), bytes); }));
      clock.Advance(33);
      times.push_back(TimeOnce([&] { engine.NextFrame(); }));
    }
    const double frame = Median(times), ref = Median(refs), ratio = frame / ref;
    if (&scene == &scenes[0]) composite = ratio;
    std::printf("  %-42s frame %7.0f us  copy %6.0f us  ratio %5.2f  added %5.2f\n", scene.Name, frame, ref, ratio,
                ratio - composite);
  }
  return 0;
}
