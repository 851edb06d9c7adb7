// Effects that work on pixels rather than regions: the cross-fade, the
// pixelating zoom, the random dissolve and random bars, and the four pivots.
//
// Rows counted from the bottom: where these effects speak of a row b, b = 0 is
// the bottom row and the bitmap row is H - 1 - b.
#pragma once

#include <cstdint>
#include <vector>

#include "transitions/PSEffect.h"

namespace kx {

// Blends the Cols x Rows block at (Left, Top) of Src into the same block of
// Dest with weight a = MulDiv(256, Percent, 100): each colour byte becomes
// d + floor((s - d) * a / 256); the fourth byte is kept. The block is clipped
// to both bitmaps.
void BlendRect(TBitmap32& Dest, const TBitmap32& Src, int32_t Percent, int32_t Left, int32_t Top, int32_t Cols,
               int32_t Rows);

// Draws Src turned by Angle (radians) about the pivot (PX, PY) over Dest,
// with 16.16 fixed-point coefficients: column PX, row PY counted from the
// bottom. Destination pixels whose source falls outside Src keep their colour.
void RotateImage(TBitmap32& Dest, const TBitmap32& Src, int32_t PX, int32_t PY, double Angle);

// The fixed patterns, drawn from a generator of their own seeded with
// width + height, as bitmap-ordered maps of Random(100) draws: per pixel for
// the dissolve (bottom row first, each row left to right), per bitmap row for
// the horizontal bars (bottom row first) and per column for the vertical bars.
std::vector<uint8_t> DissolvePattern(int32_t width, int32_t height);
std::vector<uint8_t> RowBarsPattern(int32_t width, int32_t height);
std::vector<uint8_t> ColumnBarsPattern(int32_t width, int32_t height);

void Fade(TBitmap32& Dest, const TBitmap32& Src, int32_t W, int32_t H, int32_t X, int32_t Y, int32_t P, TRandom& Rand);
void Pixelate(TBitmap32& Dest, const TBitmap32& Src, int32_t W, int32_t H, int32_t X, int32_t Y, int32_t P,
              TRandom& Rand);
void Dissolve(TBitmap32& Dest, const TBitmap32& Src, int32_t W, int32_t H, int32_t X, int32_t Y, int32_t P,
              TRandom& Rand);
void RandomBarsHorizontal(TBitmap32& Dest, const TBitmap32& Src, int32_t W, int32_t H, int32_t X, int32_t Y, int32_t P,
                          TRandom& Rand);
void RandomBarsVertical(TBitmap32& Dest, const TBitmap32& Src, int32_t W, int32_t H, int32_t X, int32_t Y, int32_t P,
                        TRandom& Rand);
void PivotFromTopLeft(TBitmap32& Dest, const TBitmap32& Src, int32_t W, int32_t H, int32_t X, int32_t Y, int32_t P,
                      TRandom& Rand);
void PivotFromBottomLeft(TBitmap32& Dest, const TBitmap32& Src, int32_t W, int32_t H, int32_t X, int32_t Y, int32_t P,
                         TRandom& Rand);
void PivotFromTopRight(TBitmap32& Dest, const TBitmap32& Src, int32_t W, int32_t H, int32_t X, int32_t Y, int32_t P,
                       TRandom& Rand);
void PivotFromBottomRight(TBitmap32& Dest, const TBitmap32& Src, int32_t W, int32_t H, int32_t X, int32_t Y, int32_t P,
                          TRandom& Rand);

}  // namespace kx
