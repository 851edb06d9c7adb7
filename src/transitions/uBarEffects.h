// Bars, criss-cross and uneven shreds: the new picture is uncovered in place
// through strips that grow in from the edges or out from the centre lines.
// Row strips and column strips can be combined in one region.
#pragma once

#include <cstdint>
#include <optional>

#include "raster/uRegion.h"
#include "transitions/PSEffect.h"

namespace kx {

// Bars of thickness Min(W, H) / 50 + 1, numbered from 0 at the top (rows)
// or left (columns). A is how far the row bars reach, B the column bars;
// HMode and VMode say how they grow (the near edge is the left edge for rows
// and the top for columns, the far edge the right edge or the bottom):
//   0 none
//   1 all bars from the far edge
//   2 all bars from the near edge
//   3 even bars from the far edge and odd bars from the near edge together
//   4 even bars from the near edge first, then odd bars from the far edge
//   5 even bars from the far edge first, then odd bars from the near edge
// Modes 1, 2, 4 and 5 take a reach from 0 to twice the picture: up to the
// picture's size the even bars grow, beyond it the even bars are full and the
// odd bars grow. The result is the union of all bars, made in one call.
std::optional<TRegion> BarsRegion(int32_t A, int32_t B, int32_t W, int32_t H, int32_t HMode, int32_t VMode);

// Strips of thickness Min(W, H) / 200 + 1 whose lengths jitter at random by
// up to a tenth of the picture while the reach is short of it, drawn from
// the show's generator as it stands (one draw per row strip from the top,
// then one per column strip from the left), so the ragged edge is new in
// every frame. Each strip reaches the picture's far side with the remainder
// of the division by the thickness added. Modes for rows (columns):
//   0 none, 1 from the far edge, 2 from the near edge,
//   3 from the centre line outward both ways, 4 from both edges inward.
// In modes 3 and 4 each side takes half the length rounded toward zero.
// The row strips make one region from one rectangle list; the column strips,
// tall and overlapping, are first cut into bands of rows and made into a
// second region the same way, which is then added to the first. None when
// there is no strip at all.
std::optional<TRegion> ShredRegion(int32_t A, int32_t B, int32_t W, int32_t H, int32_t HMode, int32_t VMode,
                                   TRandom& Rand);

#define KX_BAR_EFFECT(name)                                                                               \
  void name(TBitmap32& Dest, const TBitmap32& Src, int32_t W, int32_t H, int32_t X, int32_t Y, int32_t P, \
            TRandom& Rand);
KX_BAR_EFFECT(BarsInFromRight)
KX_BAR_EFFECT(BarsInFromLeft)
KX_BAR_EFFECT(BarsLeftThenRight)
KX_BAR_EFFECT(BarsRightThenLeft)
KX_BAR_EFFECT(BarsFromBothSides)
KX_BAR_EFFECT(BarsFromBottom)
KX_BAR_EFFECT(BarsFromTop)
KX_BAR_EFFECT(BarsTopThenBottom)
KX_BAR_EFFECT(BarsBottomThenTop)
KX_BAR_EFFECT(BarsFromTopAndBottom)
KX_BAR_EFFECT(CrissCrossFromBottomRight)
KX_BAR_EFFECT(CrissCrossFromTopRight)
KX_BAR_EFFECT(CrissCrossFromBottomLeft)
KX_BAR_EFFECT(CrissCrossFromTopLeft)
KX_BAR_EFFECT(CrissCrossBounceFromTopLeft)
KX_BAR_EFFECT(CrissCrossBounceFromBottomLeft)
KX_BAR_EFFECT(CrissCrossBounceFromTopRight)
KX_BAR_EFFECT(CrissCrossBounceFromBottomRight)
KX_BAR_EFFECT(CrissCrossFromRightTopAndBottom)
KX_BAR_EFFECT(CrissCrossFromLeftTopAndBottom)
KX_BAR_EFFECT(CrissCrossFromLeftRightAndBottom)
KX_BAR_EFFECT(CrissCrossFromLeftRightAndTop)
KX_BAR_EFFECT(CrissCrossFromTopLeftAndBottom)
KX_BAR_EFFECT(CrissCrossFromBottomLeftTopRight)
KX_BAR_EFFECT(UnevenShredFromRight)
KX_BAR_EFFECT(UnevenShredFromLeft)
KX_BAR_EFFECT(UnevenShredOutFromMiddleHoriz)
KX_BAR_EFFECT(UnevenShredInToMiddleHoriz)
KX_BAR_EFFECT(UnevenShredFromBottom)
KX_BAR_EFFECT(UnevenShredFromTop)
KX_BAR_EFFECT(UnevenShredFromHorizon)
KX_BAR_EFFECT(UnevenShredInToHorizon)
KX_BAR_EFFECT(UnevenShredFromBottomAndRight)
KX_BAR_EFFECT(UnevenShredFromTopAndRight)
KX_BAR_EFFECT(UnevenShredFromBottomAndLeft)
KX_BAR_EFFECT(UnevenShredFromTopAndLeft)
KX_BAR_EFFECT(UnevenShredFromHorizAndRight)
KX_BAR_EFFECT(UnevenShredFromHorizAndLeft)
KX_BAR_EFFECT(UnevenShredFromBottomAndVertMiddle)
KX_BAR_EFFECT(UnevenShredFromTopAndVertMiddle)
KX_BAR_EFFECT(UnevenShredFromCentre)
KX_BAR_EFFECT(UnevenShredToCentre)
#undef KX_BAR_EFFECT

}  // namespace kx
