// Curved and elliptic reveals: the new picture is uncovered in place behind
// a curved front, one rounded-rectangle region per frame. The rounded corner
// ellipse is limited to the rectangle's own size, and that limit is what
// shapes the fronts: a corner ellipse twice the picture wide on a band one
// picture high becomes a half-ellipse closing the band's end.
#pragma once

#include <cstdint>

#include "transitions/PSEffect.h"

namespace kx {

void CurvedRevealFromLeft(TBitmap32& Dest, const TBitmap32& Src, int32_t W, int32_t H, int32_t X, int32_t Y,
                          int32_t P);
void CurvedRevealFromRight(TBitmap32& Dest, const TBitmap32& Src, int32_t W, int32_t H, int32_t X, int32_t Y,
                           int32_t P);
void CurvedRevealFromTop(TBitmap32& Dest, const TBitmap32& Src, int32_t W, int32_t H, int32_t X, int32_t Y, int32_t P);
void CurvedRevealFromBottom(TBitmap32& Dest, const TBitmap32& Src, int32_t W, int32_t H, int32_t X, int32_t Y,
                            int32_t P);
void CurvedRevealFromTopLeft(TBitmap32& Dest, const TBitmap32& Src, int32_t W, int32_t H, int32_t X, int32_t Y,
                             int32_t P);
void CurvedRevealFromTopRight(TBitmap32& Dest, const TBitmap32& Src, int32_t W, int32_t H, int32_t X, int32_t Y,
                              int32_t P);
void CurvedRevealFromBottomLeft(TBitmap32& Dest, const TBitmap32& Src, int32_t W, int32_t H, int32_t X, int32_t Y,
                                int32_t P);
void CurvedRevealFromBottomRight(TBitmap32& Dest, const TBitmap32& Src, int32_t W, int32_t H, int32_t X, int32_t Y,
                                 int32_t P);
void EllipticRevealOutFromCentre(TBitmap32& Dest, const TBitmap32& Src, int32_t W, int32_t H, int32_t X, int32_t Y,
                                 int32_t P);
void EllipticRevealInToCentre(TBitmap32& Dest, const TBitmap32& Src, int32_t W, int32_t H, int32_t X, int32_t Y,
                              int32_t P);

}  // namespace kx
