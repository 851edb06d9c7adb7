// Frames of effects drawn as the slideshow draws them, which picture each
// pixel of a frame came from, and the effects of one family.
#pragma once

#include <cstdint>
#include <vector>

#include "support/BitmapSupport.h"
#include "transitions/PSEffect.h"

namespace kxtest {

// The numbers of the effects of a family, in order, as the registry has them.
inline std::vector<int32_t> EffectsOfFamily(kx::TEffectFamily family) {
  std::vector<int32_t> numbers;
  for (int32_t n = 1; n <= kx::kEffectCount; ++n)
    if (kx::Effects[n].Family == family) numbers.push_back(n);
  return numbers;
}

struct TEffectFrame {
  kx::TBitmap32 Old, New, Dest;
  int32_t W, H;
  kx::TPoint E;  // the extents of the last Draw
  kx::TRandom Random;  // the show's generator, for effects that draw from it
  TEffectFrame(int32_t w, int32_t h) : Old(Tagged(w, h, 1)), New(Tagged(w, h, 2)), Dest(Old), W(w), H(h) {}

  // One call with Dest refilled with the old picture first.
  const kx::TBitmap32& Draw(int32_t effect, int32_t percent) { return Draw(effect, percent, Random); }
  // The same, drawing from a generator the caller keeps.
  const kx::TBitmap32& Draw(int32_t effect, int32_t percent, kx::TRandom& random) {
    Dest = Old;
    E = kx::EffectExtents(W, H, percent);
    kx::Effects[effect].Proc(Dest, New, W, H, E.X, E.Y, percent, random);
    return Dest;
  }
  // The pixel shows the new picture's pixel of the same place.
  bool ShowsNew(int32_t x, int32_t y) const { return Dest.Pixel(x, y) == New.Pixel(x, y); }
  bool ShowsOld(int32_t x, int32_t y) const { return Dest.Pixel(x, y) == Old.Pixel(x, y); }
  int64_t NewCount() const {
    int64_t n = 0;
    for (int32_t y = 0; y < H; ++y)
      for (int32_t x = 0; x < W; ++x) n += ShowsNew(x, y);
    return n;
  }
};

}  // namespace kxtest
