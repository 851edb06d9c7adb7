// What snow and rain share: the particle count, the bitmap they fall over,
// and the settings the engine hands over before each Update.
#pragma once

#include <algorithm>
#include <cstdint>

#include "package/uKXProject.h"
#include "raster/uBitmap.h"

namespace kx {

class TWeatherEffect {
 public:
  static constexpr int32_t kMaxCount = 1000;
  // Count := n, at most kMaxCount; a negative count gives no particles.
  void SetCount(int32_t n) { Count = std::clamp(n, 0, kMaxCount); }

  int32_t Count = 0;
  TBitmap32* Target = nullptr;  // particles live in its pixel space
  int32_t SpeedIndex = 2;       // into SpeedSteps; outside 0..20 it is clamped
  int32_t EngineSpeed = 100;    // percent
  int32_t Dt = 0;               // milliseconds since the previous frame
  int32_t Level = 10;           // opacity in tenths; clamped to 0..10

 protected:
  int32_t TargetWidth() const { return Target ? Target->Width() : 0; }
  int32_t TargetHeight() const { return Target ? Target->Height() : 0; }
  // The movement factor: Dt / per x speed step / 100 x EngineSpeed / 100.
  // Particles never move backwards: a negative time or speed moves nothing.
  double Factor(double per) const {
    const double f = Dt / per * SpeedSteps[size_t(std::clamp(SpeedIndex, 0, 20))] / 100 * EngineSpeed / 100;
    return f > 0 ? f : 0;
  }
  int32_t ClampedLevel() const { return std::clamp(Level, 0, 10); }
};

}  // namespace kx
