// Rounding and trigonometry in whole-degree friendly form for the weather
// effects and the clock.
#pragma once

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <numbers>

namespace kx {

// v rounded to the nearest integer, halves to the even neighbour; values
// beyond +-2^62 (and NaN, as 0) saturate so that outside data never overflows.
inline int64_t RoundEven(double v) {
  if (std::isnan(v)) return 0;
  return int64_t(std::nearbyint(std::clamp(v, -4.6e18, 4.6e18)));
}

// A position rounded to a pixel, kept within +-2^30 so that offsets added
// to it stay in range.
inline int32_t PixelCoordinate(double v) {
  return int32_t(std::clamp<int64_t>(RoundEven(v), -(int64_t(1) << 30), int64_t(1) << 30));
}

// sin and cos of an angle in degrees, exact at the multiples of 30 degrees
// where the result is 0, +-1/2 or +-1, so that a point at such an angle and
// an odd radius rounds as the exact value does.
inline double SinDeg(double degrees) {
  double d = std::fmod(degrees, 360.0);
  if (d < 0) d += 360.0;
  if (d == std::floor(d) && int64_t(d) % 30 == 0) {
    static constexpr double kExact[12] = {0, 0.5, NAN, 1, NAN, 0.5, 0, -0.5, NAN, -1, NAN, -0.5};
    const double e = kExact[int64_t(d) / 30];
    if (!std::isnan(e)) return e;
  }
  return std::sin(d * std::numbers::pi / 180);
}

inline double CosDeg(double degrees) { return SinDeg(std::fmod(degrees, 360.0) + 90.0); }

}  // namespace kx
