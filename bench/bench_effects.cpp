// The cost of one frame of every drawn transition effect at 1920 x 1080, as a
// ratio to one full-frame copy measured in the same run (medians over many
// frames, the copies taken between the frames of each effect). Each frame
// starts, as in the slideshow, from a work bitmap just refilled with the old
// picture; the refill is not timed. Times are the process's processor time,
// so that a frame put aside for other work on a shared machine is not
// counted as the effect's.
//
// usage: bench_effects [frames [first last]]   (default 21 frames per effect
// and percentage, effects 1 to 169)
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <vector>

#include "BenchSupport.h"
#include "raster/uBlit.h"
#include "transitions/PSEffect.h"

using namespace kx;
using kxbench::Median;
using kxbench::CpuTimeOnce;

namespace {



TBitmap32 Picture(int32_t w, int32_t h, uint32_t salt) {
  TBitmap32 b(w, h);
  uint32_t s = salt;
  for (int32_t y = 0; y < h; ++y)
    for (int32_t x = 0; x < w; ++x) {
      s = s * 1664525u + 1013904223u;
      b.SetPixel(x, y, 0xFF000000u | (s >> 8));
    }
  return b;
}


}  // namespace

int main(int argc, char** argv) {
  const int frames = argc > 1 ? std::max(3, std::atoi(argv[1])) : 21;
  const int32_t first = argc > 3 ? std::atoi(argv[2]) : 1, last = argc > 3 ? std::atoi(argv[3]) : kEffectCount;
  const int32_t W = 1920, H = 1080;
  const TBitmap32 oldPicture = Picture(W, H, 1), newPicture = Picture(W, H, 2);
  TBitmap32 dest = oldPicture;
  const size_t bytes = size_t(W) * H * sizeof(TPixel);
  auto refill = [&] { std::memcpy(dest.Bits(), oldPicture.Bits(), bytes); };

  std::vector<double> copies;
  for (int i = 0; i < 4 * frames; ++i) copies.push_back(CpuTimeOnce([&] { Copy(dest, 0, 0, W, H, newPicture, 0, 0); }));
  const double copyUs = Median(copies);
  std::printf("full-frame copy %dx%d: %.0f us of processor time (median of %zu, before the effects)\n\n", W, H, copyUs,
              copies.size());
  std::printf("%4s  %-36s %7s %7s %7s\n", "No.", "Name", "P=5", "P=50", "P=95");

  std::vector<double> all;
  TRandom random;
  double worst = 0;
  int worstEffect = 0, worstPercent = 0;
  for (int32_t n = std::max(first, 1); n <= std::min(last, kEffectCount); ++n) {
    if (n > 1 && Effects[n].Proc == Effects[1].Proc) continue;  // not drawn yet
    std::printf("%4d  %-36.*s", n, int(Effects[n].Name.size()), Effects[n].Name.data());
    for (int32_t p : {5, 50, 95}) {
      const TPoint e = EffectExtents(W, H, p);
      refill();
      Effects[n].Proc(dest, newPicture, W, H, e.X, e.Y, p, random);  // warm-up, builds any per-size pattern
      // Frames alternate with reference copies, so a change in the machine's
      // load during the run touches both sides of the ratio alike.
      std::vector<double> times, refs;
      for (int i = 0; i < frames; ++i) {
        refs.push_back(CpuTimeOnce([&] { Copy(dest, 0, 0, W, H, newPicture, 0, 0); }));
        refill();
        times.push_back(CpuTimeOnce([&] { Effects[n].Proc(dest, newPicture, W, H, e.X, e.Y, p, random); }));
      }
      const double ratio = Median(times) / Median(refs);
      all.push_back(ratio);
      if (ratio > worst) {
        worst = ratio;
        worstEffect = n;
        worstPercent = p;
      }
      std::printf(" %7.2f", ratio);
    }
    std::printf("\n");
  }
  std::printf("\n%zu frames measured: median %.2f copies, worst %.2f copies (effect %d at P=%d)\n", all.size(),
              Median(all), worst, worstEffect, worstPercent);
  return 0;
}
