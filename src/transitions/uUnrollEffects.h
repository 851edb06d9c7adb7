// Unroll and gradual build-up: the new picture is uncovered in place from one
// edge while a band beside the uncovered part shows something else. In the
// unroll effects the band is the next stretch of the new picture mirrored and
// shaded darker toward both its edges, like the back of a sheet being rolled
// out; in the build-up effects the still covered part shows the thin slice of
// the new picture next to the uncovered part, stretched over it.
#pragma once

#include <cstdint>
#include <vector>

#include "transitions/PSEffect.h"

namespace kx {

// Width of the unroll band for a picture side of length L with extent E
// uncovered: a tenth of the side, but no wider than what is uncovered and no
// more than half of what is still covered.
int32_t UnrollBand(int32_t L, int32_t E);

// The offsets that ShadeColumns and ShadeRows add across a band of Count
// columns (left to right) or rows (bottom row first); empty when Count < 2 or
// Amp = 0. Each operation has its own stepping rule.
std::vector<int32_t> ColumnShadeRamp(uint8_t Amp, int32_t Count);
std::vector<int32_t> RowShadeRamp(uint8_t Amp, int32_t Count);

// Add the ramp to the blue, green and red bytes of the Count columns from
// Left (or the Count rows from Top) in every row (column), each byte clamped
// to 0 .. 255; the fourth byte is kept. Columns and rows outside the bitmap
// are skipped.
void ShadeColumns(TBitmap32& Bitmap, uint8_t Amp, int32_t Left, int32_t Count);
void ShadeRows(TBitmap32& Bitmap, uint8_t Amp, int32_t Top, int32_t Count);

void UnrollFromLeft(TBitmap32& Dest, const TBitmap32& Src, int32_t W, int32_t H, int32_t X, int32_t Y, int32_t P,
                    TRandom& Rand);
void UnrollFromRight(TBitmap32& Dest, const TBitmap32& Src, int32_t W, int32_t H, int32_t X, int32_t Y, int32_t P,
                     TRandom& Rand);
void UnrollFromTop(TBitmap32& Dest, const TBitmap32& Src, int32_t W, int32_t H, int32_t X, int32_t Y, int32_t P,
                   TRandom& Rand);
void UnrollFromBottom(TBitmap32& Dest, const TBitmap32& Src, int32_t W, int32_t H, int32_t X, int32_t Y, int32_t P,
                      TRandom& Rand);
void BuildUpFromRight(TBitmap32& Dest, const TBitmap32& Src, int32_t W, int32_t H, int32_t X, int32_t Y, int32_t P,
                      TRandom& Rand);
void BuildUpFromLeft(TBitmap32& Dest, const TBitmap32& Src, int32_t W, int32_t H, int32_t X, int32_t Y, int32_t P,
                     TRandom& Rand);
void ExpandGraduallyFromBottom(TBitmap32& Dest, const TBitmap32& Src, int32_t W, int32_t H, int32_t X, int32_t Y,
                               int32_t P, TRandom& Rand);
void ExpandInGraduallyFromTop(TBitmap32& Dest, const TBitmap32& Src, int32_t W, int32_t H, int32_t X, int32_t Y,
                              int32_t P, TRandom& Rand);

}  // namespace kx
