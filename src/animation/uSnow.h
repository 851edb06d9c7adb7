// Snow: flakes of three sizes that fall (bigger ones faster), drift sideways
// by a fixed amount each, now and then change size, and come back in at the
// top or at the other side when they leave the picture.
#pragma once

#include <cstdint>
#include <vector>

#include "animation/uWeather.h"
#include "raster/uRandom.h"

namespace kx {

struct TFlake {
  double X = 0, Y = 0;  // pixel position
  int32_t Size = 2;     // 2..4
  double DriftX = 0;    // -1, 0 or +1 per unit of movement
};

class TSnow final : public TWeatherEffect {
 public:
  // Count flakes at random places in Target, each with a random drift and
  // size, drawn from random.
  void Init(TRandom& random);
  // Moves every flake by the current Dt and speeds, then draws them all; the
  // size changes and re-entry places are drawn from random.
  void Update(TRandom& random);
  // Blends one flake of the given size centred at (x, y) into Target.
  void DrawFlake(int32_t x, int32_t y, int32_t size);

  std::vector<TFlake> Particles;
};

}  // namespace kx
