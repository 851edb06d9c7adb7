#include "animation/uRain.h"

#include <algorithm>
#include <cmath>

#include "animation/uAnimMath.h"
#include "raster/uBlend.h"

namespace kx {

void TRain::Init(TRandom& random) {
  const auto w = uint32_t(TargetWidth()), h = uint32_t(TargetHeight());
  Particles.assign(size_t(std::max(Count, 0)), TDrop{});
  for (TDrop& d : Particles) {
    d.X = random.Random(w);
    d.Y = random.Random(h);
    d.SpeedClass = int32_t(random.Random(3)) + 2;
    d.LengthClass = int32_t(random.Random(4)) + 1;
  }
}

void TRain::Update(TRandom& random) {
  const int32_t w = TargetWidth(), h = TargetHeight();
  const double f = Factor(50);
  const double slant = CosDeg(Angle);
  for (TDrop& d : Particles) {
    const double dy = d.SpeedClass * f * 3;
    d.Y += dy;
    d.X += slant * dy;
    // A drop that leaves at one side comes back at the other; one waiting
    // beyond a side for the slant to bring it in is left alone.
    if (d.X < -20 && slant < 0)
      d.X = random.Random(100) + double(w);
    else if (d.X > w + 20 && slant > 0)
      d.X = -double(random.Random(100));
    d.SpeedClass = std::clamp(d.SpeedClass, 2, 4);
    if (d.Y > h) d.Y = -double(random.Random(100));
  }
  for (const TDrop& d : Particles) DrawDrop(d.X, d.Y, d.SpeedClass, d.LengthClass);
}

void TRain::DrawDrop(double x, double y, int32_t speedClass, int32_t lengthClass) {
  if (!Target || Target->Empty()) return;
  const int32_t s = std::clamp(speedClass, 2, 4);
  const int32_t level = ClampedLevel();
  const auto grey = uint8_t(55 / (5 - s) + 200);
  const TPixel colour = MakePixel(grey, grey, grey);
  const int64_t x0 = PixelCoordinate(x), y0 = PixelCoordinate(y);
  // The streak runs s x LengthClass x Length / 10 rows, but never further
  // than the picture's diagonal: a longer one is cut there.
  const double diagonal = std::ceil(std::hypot(double(Target->Width()), double(Target->Height())));
  const double rows = std::clamp(s * double(lengthClass) * (Length / 10.0), -diagonal, diagonal);
  const int64_t y1 = RoundEven(rows + double(y0));
  const int64_t x1 = RoundEven(double(x0) + CosDeg(Angle) * double(y1 - y0));
  // Faint along the first three quarters, bright over the last.
  const int64_t xm = RoundEven(double(x0) + double(x1 - x0) * 6 / 8);
  const int64_t ym = RoundEven(double(y0) + double(y1 - y0) * 6 / 8);
  const auto alpha = [&](int32_t base) {
    return uint8_t(std::clamp<int64_t>(RoundEven((base - 20 * (5 - s)) * level / 10.0), 0, 255));
  };
  BlendLine(*Target, x0, y0, xm, ym, colour, alpha(150));
  BlendLine(*Target, xm, ym, x1, y1, colour, alpha(255));
}

}  // namespace kx
