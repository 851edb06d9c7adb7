// The transition engine: the registry of the 169 numbered effects and the
// drawing contract they share.
//
// An effect procedure draws one complete frame for one progress value. On
// entry Dest holds the whole old picture, Src the new one (both Width x
// Height); on return Dest holds the frame. A procedure changes Dest's pixels
// only, leaves Dest without a clip, releases everything it made (also when an
// error passes) and keeps nothing between calls.
#pragma once

#include <cstdint>
#include <string_view>

#include "raster/uBitmap.h"
#include "raster/uGeometry.h"
#include "raster/uRandom.h"

namespace kx {

// Rand is the show's generator: effects with a running random pattern draw
// from it as it stands; the others leave it alone.
using TEffectProc = void (*)(TBitmap32& Dest, const TBitmap32& Src, int32_t Width, int32_t Height, int32_t ExtentX,
                             int32_t ExtentY, int32_t Percent, TRandom& Rand);

// The families of effects, each drawn by one unit of transitions/: rectangle
// reveals, slides and pushes (uRectEffects); unroll and build-up
// (uUnrollEffects); curved and elliptic reveals (uCurvedEffects); bars,
// criss-cross and uneven shreds (uBarEffects); speckle and random squares
// (uGrainEffects); blinds, striped rectangles and shape grids
// (uBlindEffects); triangles, diamonds and rotating shapes (uShapeEffects);
// fade, pixelate, dissolve, pivots and random bars (uPixelEffects).
enum class TEffectFamily { Rect, Unroll, Curved, Bars, Grain, Blinds, Shapes, Pixel };

struct TEffect {
  std::string_view Name;
  TEffectProc Proc;
  TEffectFamily Family;
};

constexpr int32_t kEffectCount = 169;

constexpr bool IsEffectNumber(int32_t n) { return n >= 1 && n <= kEffectCount; }

// The constant table of effects, indexed by effect number 1 to 169.
class TEffectRegistry {
 public:
  // Throws std::out_of_range for a number outside 1 to 169.
  const TEffect& operator[](int32_t number) const;
};

extern const TEffectRegistry Effects;

// The extents reached at a progress of percent, the larger side first so
// that X / Y keeps the picture's aspect ratio.
TPoint EffectExtents(int32_t width, int32_t height, int32_t percent);

}  // namespace kx
