// Rain: drops that fall in streaks along the fall angle, in three speeds and
// four lengths; faster drops are longer, brighter and more opaque. A drop that
// leaves the picture comes back above it or at the other side.
#pragma once

#include <cstdint>
#include <vector>

#include "animation/uWeather.h"
#include "raster/uRandom.h"

namespace kx {

struct TDrop {
  double X = 0, Y = 0;      // pixel position of the streak's upper end
  int32_t SpeedClass = 2;   // 2..4
  int32_t LengthClass = 1;  // 1..4
};

class TRain final : public TWeatherEffect {
 public:
  // Count drops at random places in Target with random speed and length
  // classes, drawn from random.
  void Init(TRandom& random);
  // Moves every drop by the current Dt, speeds and Angle, then draws them
  // all; re-entry places are drawn from random.
  void Update(TRandom& random);
  // Blends the streak of a drop whose upper end is at (X, Y) into Target.
  void DrawDrop(double x, double y, int32_t speedClass, int32_t lengthClass);

  std::vector<TDrop> Particles;
  int32_t Angle = 90;   // direction of fall in degrees; 90 is straight down, below 90 to the right
  int32_t Length = 10;  // streak length in tenths
};

}  // namespace kx
