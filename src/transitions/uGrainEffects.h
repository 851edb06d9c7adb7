// Speckled fronts and random squares: regions made of many small squares,
// collected in one rectangle list and turned into a region by one call.
#pragma once

#include <cstdint>
#include <optional>

#include "raster/uRegion.h"
#include "transitions/PSEffect.h"

namespace kx {

// A solid front A pixels in from one vertical edge (rows, HMode) and/or B
// pixels in from one horizontal edge (columns, VMode), each with a fringe of
// specks ahead of it drawn from the show's generator as it runs. HMode 1
// starts at the right edge, 2 at the left, 0 draws no rows; VMode 1 starts at
// the bottom edge, 2 at the top, 0 draws no columns (any other non-zero mode
// counts as 2). None when no rectangle was made at all (an empty picture).
std::optional<TRegion> SpeckleRegion(int32_t A, int32_t B, int32_t W, int32_t H, int32_t HMode, int32_t VMode,
                                     TRandom& Rand);

// The squares of "Random squares appear": cell side 2Q with
// Q = Min(W, H) / 50 + 1, one draw of Random(100) per cell, column by column
// from the left and top to bottom within a column, from a generator of its
// own seeded with (W + H) * Q. A cell shows once P exceeds its draw.
std::optional<TRegion> RandomSquaresRegion(int32_t W, int32_t H, int32_t P);

void SpeckleAppearFromRight(TBitmap32& Dest, const TBitmap32& Src, int32_t W, int32_t H, int32_t X, int32_t Y,
                            int32_t P, TRandom& Rand);
void SpeckleAppearFromLeft(TBitmap32& Dest, const TBitmap32& Src, int32_t W, int32_t H, int32_t X, int32_t Y, int32_t P,
                           TRandom& Rand);
void SpeckleAppearFromBottom(TBitmap32& Dest, const TBitmap32& Src, int32_t W, int32_t H, int32_t X, int32_t Y,
                             int32_t P, TRandom& Rand);
void SpeckleAppearFromTop(TBitmap32& Dest, const TBitmap32& Src, int32_t W, int32_t H, int32_t X, int32_t Y, int32_t P,
                          TRandom& Rand);
void RandomSquaresAppear(TBitmap32& Dest, const TBitmap32& Src, int32_t W, int32_t H, int32_t X, int32_t Y, int32_t P,
                         TRandom& Rand);

}  // namespace kx
