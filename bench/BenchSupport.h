// Timing helpers and test pictures shared by the benchmarks.
#pragma once

#include <algorithm>
#include <chrono>
#include <cstdint>
#include <ctime>
#include <vector>

#include "raster/uBitmap.h"

namespace kxbench {

inline double Median(std::vector<double> v) {
  std::sort(v.begin(), v.end());
  return v[v.size() / 2];
}

// The time f takes, in microseconds.
template <class F>
double TimeOnce(F&& f) {
  const auto t0 = std::chrono::steady_clock::now();
  f();
  return std::chrono::duration<double, std::micro>(std::chrono::steady_clock::now() - t0).count();
}

// The processor time f takes, in microseconds: what the process itself spent,
// not the time it waited for a core. On a machine whose cores are shared with
// other work, a frame of a few milliseconds is often put aside for longer
// than it runs, so its wall-clock time says more about the neighbours than
// about the code. The resolution is a microsecond (clock() counts in
// microseconds here); the benchmarks time nothing shorter than a frame copy.
template <class F>
double CpuTimeOnce(F&& f) {
  const std::clock_t t0 = std::clock();
  f();
  return double(std::clock() - t0) * (1e6 / CLOCKS_PER_SEC);
}

// An opaque picture of pseudo-random pixels: nothing in it repeats, so no
// copy or filter gets an easy case.
inline kx::TBitmap32 NoisePicture(int32_t w, int32_t h) {
  kx::TBitmap32 b(w, h);
  uint32_t s = 1;
  for (int32_t y = 0; y < h; ++y)
    for (int32_t x = 0; x < w; ++x) {
      s = s * 1664525u + 1013904223u;
      b.SetPixel(x, y, 0xFF000000u | (s >> 8));
    }
  return b;
}

}  // namespace kxbench
