#include "animation/uSnow.h"

#include <algorithm>

#include "animation/uAnimMath.h"
#include "raster/uBlend.h"

namespace kx {
namespace {

constexpr TPixel kWhite = MakePixel(255, 255, 255);

struct TFlakePixel {
  int8_t Dx, Dy;
  uint8_t Base;  // alpha at size 4 and full level
};

// The pixels of each size, in drawing order, after the centre pixel (240).
constexpr TFlakePixel kSize2[] = {{1, 0, 140}, {0, 1, 140}};
constexpr TFlakePixel kSize3[] = {{-1, 0, 200}, {0, -1, 200}, {1, 0, 200},  {0, 1, 200},
                                  {-1, -1, 100}, {1, -1, 100}, {-1, 1, 100}, {1, 1, 100}};
constexpr TFlakePixel kSize4[] = {{-1, 0, 240}, {-1, 1, 240}, {0, -1, 240}, {0, 1, 240}, {0, 2, 240}, {1, -1, 240},
                                  {1, 0, 240},  {1, 1, 240},  {1, 2, 240},  {2, 0, 240}, {2, 1, 240}};

}  // namespace

void TSnow::Init(TRandom& random) {
  const auto w = uint32_t(TargetWidth()), h = uint32_t(TargetHeight());
  Particles.assign(size_t(std::max(Count, 0)), TFlake{});
  for (TFlake& f : Particles) {
    f.X = random.Random(w);
    f.Y = random.Random(h);
    f.DriftX = 1.0 - random.Random(3);
    f.Size = int32_t(random.Random(3)) + 2;
  }
}

void TSnow::Update(TRandom& random) {
  const int32_t w = TargetWidth(), h = TargetHeight();
  const double f = Factor(70);
  for (TFlake& p : Particles) {
    p.Y += f * p.Size;
    p.X += f * p.DriftX;
    if (random.Random(20) == 0) p.Size += int32_t(random.Random(3)) - 1;
    // A flake that leaves at one side comes back at the other; one waiting
    // beyond a side for its drift to bring it in is left alone.
    if (p.X < 0 && p.DriftX < 0)
      p.X = random.Random(50) + double(w);
    else if (p.X > w && p.DriftX > 0)
      p.X = -double(random.Random(50));
    p.Size = std::clamp(p.Size, 2, 4);
    if (p.Y > h - 1) p.Y = -double(random.Random(100));
  }
  for (const TFlake& p : Particles) DrawFlake(PixelCoordinate(p.X), PixelCoordinate(p.Y), p.Size);
}

void TSnow::DrawFlake(int32_t x, int32_t y, int32_t size) {
  if (!Target) return;
  size = std::clamp(size, 2, 4);
  const int32_t level = ClampedLevel();
  // a(b) = nearest((b - 40 (4 - size)) x level x 10 / 100); the bases are
  // multiples of 20 and level x 10 / 100 is level / 10, so this is exact
  // integer arithmetic with halves to even.
  const auto alpha = [&](int32_t base) {
    const int32_t num = (base - 40 * (4 - size)) * level;
    return uint8_t(std::clamp<int64_t>(RoundEven(num / 10.0), 0, 255));
  };
  BlendPixel(*Target, x, y, kWhite, alpha(240));
  const auto draw = [&](const auto& pixels) {
    for (const TFlakePixel& p : pixels) BlendPixel(*Target, x + p.Dx, y + p.Dy, kWhite, alpha(p.Base));
  };
  if (size == 2) draw(kSize2);
  else if (size == 3) draw(kSize3);
  else draw(kSize4);
}

}  // namespace kx
