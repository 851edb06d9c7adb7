// The cost of one engine frame (TAnimEngine::NextFrame) at 1920 x 1080 with
// 50 animated objects of 128 x 128 PNG pictures with soft alpha edges, drawn
// at 150 % (192 x 192), half of them mirrored, as a ratio to one full-frame
// copy (memcpy of the whole picture) measured in the same run; medians over
// many frames, frames and copies alternating. The picture has no water, so a
// frame is the copy of the water frame into the composite, the objects'
// steps and their blends. "added" is the cost beyond the composite copy,
// measured with 50 objects whose pictures are missing. Times are the
// thread's CPU time (see TimeOnce).
//
// usage: bench_objects [frames]   (default 101)
#include <time.h>
#include <unistd.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <string>
#include <vector>

#include "BenchSupport.h"
#include "animation/uAnimEngine.h"
#include "devices/headless/uVirtualClock.h"
#include "raster/uPngIO.h"

using namespace kx;
using kxbench::Median;

namespace {

// The CPU time f takes on this thread, in microseconds: on a machine shared
// with other work a frame of several milliseconds is often preempted, which
// wall time would count against the frame but rarely against a short copy.
template <class F>
double TimeOnce(F&& f) {
  timespec a{}, b{};
  clock_gettime(CLOCK_THREAD_CPUTIME_ID, &a);
  f();
  clock_gettime(CLOCK_THREAD_CPUTIME_ID, &b);
  return double(b.tv_sec - a.tv_sec) * 1e6 + double(b.tv_nsec - a.tv_nsec) / 1e3;
}

constexpr int32_t W = 1920, H = 1080, kSide = 128, kObjects = 50;

// A disc whose alpha falls off towards its rim: every alpha value occurs.
TBitmap32 SoftDisc() {
  TBitmap32 b(kSide, kSide);
  for (int32_t y = 0; y < kSide; ++y)
    for (int32_t x = 0; x < kSide; ++x) {
      const double d = std::hypot(x - 63.5, y - 63.5) / 64;
      const auto a = uint8_t(std::clamp(255 * (1.2 - d) / 0.4, 0.0, 255.0));
      b.SetPixel(x, y, MakePixel(uint8_t(x * 2), uint8_t(y * 2), 180, a));
    }
  return b;
}

// Objects spread over the picture, creeping sideways; even ones move left
// and face right, so they are drawn mirrored.
std::string ObjectsText(const std::string& file) {
  std::string text;
  for (int i = 0; i < kObjects; ++i) {
    text += "[Obj" + std::to_string(i) + "]\r\nObjType=IMG\r\nFilename=" + file + "\r\nMotion=3\r\nMotionSpeed=1\r\n" +
            "DirFlip=1\r\nInitialDir=" + (i % 2 == 0 ? "1" : "2") + "\r\nWidthSize=150\r\nHeightSize=150\r\n" +
            "PosLeft=" + std::to_string(120 + i % 10 * 180) + "\r\nPosTop=" + std::to_string(120 + i / 10 * 200) + "\r\n";
  }
  return text;
}

}  // namespace

int main(int argc, char** argv) {
  const int frames = argc > 1 ? std::max(5, std::atoi(argv[1])) : 101;
  const std::filesystem::path dir = std::filesystem::temp_directory_path() / ("bench_objects_" + std::to_string(getpid()));
  std::filesystem::create_directories(dir);
  const std::string png = (dir / "disc.png").string();
  WritePng(png, SoftDisc());
  const TBitmap32 picture = kxbench::NoisePicture(W, H);
  TBitmap32 copy(W, H);
  const size_t bytes = size_t(W) * H * sizeof(TPixel);

  struct TScene {
    const char* Name;
    std::string File;
  };
  const TScene scenes[] = {
      {"50 objects without pictures (composite copy)", (dir / "missing.png").string()},
      {"50 PNG objects 128x128 at 150 %, half mirrored", png},
  };
  std::printf("engine frame at %dx%d without water, median of %d frames, as a ratio to one full-frame copy\n", W, H,
              frames);
  double composite = 0;
  for (const TScene& scene : scenes) {
    TProject project;
    project.Picture = picture;
    project.DesignWidth = W;
    project.DesignHeight = H;
    project.Objects.LoadFromText(ObjectsText(scene.File));
    TVirtualClock clock;
    TRandom random;
    TAnimEngine engine(clock, random);
    engine.SetSeed(1);
    engine.Attach(project);
    engine.SetWeather(false);
    engine.Start();
    int mirrored = 0;
    for (int i = 0; i < 3; ++i) {  // warm-up: the scaled pictures are made once
      clock.Advance(33);
      engine.NextFrame();
    }
    for (size_t i = 0; i < project.Objects.Count(); ++i) mirrored += project.Objects[i].Flipped;
    std::vector<double> times, refs;
    for (int i = 0; i < frames; ++i) {
      refs.push_back(TimeOnce([&] { std::memcpy(copy.Bits(), picture.Bits(), bytes); }));
      clock.Advance(33);
      times.push_back(TimeOnce([&] { engine.NextFrame(); }));
    }
    const double frame = Median(times), ref = Median(refs), ratio = frame / ref;
    if (&scene == &scenes[0]) composite = ratio;
    std::printf("  %-48s frame %7.0f us  copy %6.0f us  ratio %5.2f  added %5.2f  (%d mirrored)\n", scene.Name, frame,
                ref, ratio, ratio - composite, mirrored);
  }
  std::filesystem::remove_all(dir);
  return 0;
}
