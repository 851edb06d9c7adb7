// Blinds, striped rectangles and shape grids: many equal shapes that grow at
// once. The rectangle effects collect their rectangles in one list made into
// a region by one call; the grids of circles, diamonds and triangles tile
// one shape row by row into one span list, made into a region by one call.
#pragma once

#include <cstdint>
#include <optional>

#include "raster/uRegion.h"
#include "transitions/PSEffect.h"

namespace kx {

// The union of the shapes of the three grids; none when the grid has no cell
// (an empty picture).
std::optional<TRegion> CircularShredRegion(int32_t W, int32_t H, int32_t P);
std::optional<TRegion> DiamondShredRegion(int32_t W, int32_t H, int32_t P);
std::optional<TRegion> TriangularShredRegion(int32_t W, int32_t H, int32_t P);

#define KX_BLIND_EFFECT(name)                                                                             \
  void name(TBitmap32& Dest, const TBitmap32& Src, int32_t W, int32_t H, int32_t X, int32_t Y, int32_t P, \
            TRandom& Rand);
KX_BLIND_EFFECT(BlindVertically)
KX_BLIND_EFFECT(BlindHorizontally)
KX_BLIND_EFFECT(UnevenBlindFromLeft)
KX_BLIND_EFFECT(UnevenBlindFromRight)
KX_BLIND_EFFECT(UnevenBlindFromTop)
KX_BLIND_EFFECT(UnevenBlindFromBottom)
KX_BLIND_EFFECT(RectangularShred)
KX_BLIND_EFFECT(RectanglesFromLeftToRight)
KX_BLIND_EFFECT(RectanglesFromRightToLeft)
KX_BLIND_EFFECT(RectanglesFromUpToBottom)
KX_BLIND_EFFECT(RectanglesFromBottomToUp)
KX_BLIND_EFFECT(CircularShred)
KX_BLIND_EFFECT(DiamondShred)
KX_BLIND_EFFECT(TriangularShred)
#undef KX_BLIND_EFFECT

}  // namespace kx
