// Timing helpers shared by the benchmarks.
#pragma once

#include <algorithm>
#include <chrono>
#include <vector>

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

}  // namespace kxbench
