// Curved and elliptic reveals: the new picture is uncovered in place behind
// a curved front, one rounded-rectangle region per frame. The rounded corner
// ellipse is limited to the rectangle's own size, and that limit is what
// shapes the fronts: a corner ellipse twice the picture wide on a band one
// picture high becomes a half-ellipse closing the band's end.
#pragma once

#include <cstdint>

#include "transitions/PSEffect.h"

namespace kx {

void CurvedRevealFromLeft(TBitmap32& Dest, const TBitmap32& Src, int32_t W, int32_t H, int32_t X, int32_t Y, int32_t P,
                          TRandom& Rand);
void CurvedRevealFromRight(TBitmap32& Dest, const TBitmap32& Src, int32_t W, int32_t H, int32_t X, int32_t Y, int32_t P,
                           TRandom& Rand);
void CurvedRevealFromTop(TBitmap32& Dest, const TBitmap32& Src, int32_t W, int32_t H, int32_t X, int32_t Y, int32_t P,
                         TRandom& Rand);
void CurvedRevealFromBottom(TBitmap32& Dest, const TBitmap32& Src, int32_t W, int32_t H, int32_t X, int32_t Y,
                            int32_t P, TRandom& Rand);
void CurvedRevealFromTopLeft(TBitmap32& Dest, const TBitmap32& Src, int32_t W, int32_t H, int32_t X, int32_t Y,
                             int32_t P, TRandom& Rand);
void CurvedRevealFromTopRight(TBitmap32& Dest, const TBitmap32& Src, int32_t W, int32_t H, int32_t X, int32_t Y,
                              int32_t P, TRandom& Rand);
void CurvedRevealFromBottomLeft(TBitmap32& Dest, const TBitmap32& Src, int32_t W, int32_t H, int32_t X, int32_t Y,
                                int32_t P, TRandom& Rand);
void CurvedRevealFromBottomRight(TBitmap32& Dest, const TBitmap32& Src, int32_t W, int32_t H, int32_t X, int32_t Y,
                                 int32_t P, TRandom& Rand);
void EllipticRevealOutFromCentre(TBitmap32& Dest, const TBitmap32& Src, int32_t W, int32_t H, int32_t X, int32_t Y,
                                 int32_t P, TRandom& Rand);
void EllipticRevealInToCentre(TBitmap32& Dest, const TBitmap32& Src, int32_t W, int32_t H, int32_t X, int32_t Y,
                              int32_t P, TRandom& Rand);

}  // namespace kx
