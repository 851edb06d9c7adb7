// Row kernels of the water pass for the wave kinds that move every sample on
// its own: slanted waves, whose angle runs along the row, and per-column
// jitter. Each kernel has a baseline (SSE2) build and an AVX2 build; the
// processor's features pick one at run time, and both write exactly the
// pixels the per-pixel formulas give.
#pragma once

#include <cstddef>
#include <cstdint>

#include "raster/uBitmap.h"

namespace kx {

// The bitmaps a row kernel reads and writes: the sample source, the water
// frame and the area map, all Width x Height without gaps between rows.
struct TWaterPlanes {
  const TPixel* In;
  TPixel* Out;
  const int16_t* Areas;
  int32_t Width, Height;
};

// Row Y of a slanted wave over the pixels X0 <= x < X1, all in area Area.
// Column c = Base + Sign * x is at angle a = nearest(c * Step + Phase); its
// sample comes from the row that starts at pixel index
// RowAt[(|a| mod AbsPeriod) mod 360], column clamp(x - Shift), and is written
// to (x, Y) where the source column is in the area both in row Y and in the
// source row. Unchecked rows skip that test: the caller has made sure every
// sample lies in the area (no shift, and the area covers the run in every
// row RowAt names).
struct TSlantRow {
  int32_t Y, Area, X0, X1;
  double Step, Phase;
  int32_t Base, Sign;
  uint32_t AbsPeriod;  // 1 .. 2^31
  int64_t Shift;
  bool Checked;
  const size_t* RowAt;  // 360 row starts
};

// Whether every angle of the row stays within +-2^30, where the kernel's
// arithmetic is exact; other rows take the per-pixel route.
bool SlantRowFits(const TSlantRow& row, int32_t width);
void RippleSlantRow(const TWaterPlanes& planes, const TSlantRow& row);

// Row Y of a straight wave with per-column jitter j = Jitter[x], 0 <= j <
// JitterEnd, over the pixels X0 <= x < X1, all in area Area. The sample of
// column x comes from row clamp(Y + VOff - SrcJitter * j), column
// clamp(x - Shift), and goes to row clamp(Y - DstJitter * j): only when that
// pixel is in the area (or is (x, Y) itself) and the source column is in the
// area both in the destination row and in the source row. The columns whose
// source column lies inside the picture, clamp(Shift, X0, X1) <= x <
// clamp(Width + Shift, that, X1) with Shift clamped to +-Width, are the
// interior the Unchecked bits speak of.
struct TJitterRow {
  int32_t Y, Area, X0, X1;
  int64_t VOff, Shift;
  int32_t SrcJitter, DstJitter;  // 0 or 1
  const int32_t* Jitter;
  int32_t JitterEnd;  // 1 .. kMaxJitterPasses
  // Bit j set: in pass j, between the clamped edges, the area holds every
  // pixel the test looks at (the destination run and the source columns in
  // both rows), so the pass only compares the jitter values.
  uint32_t Unchecked = 0;
};

// The kernel makes one pass over the row for each jitter value, so it pays
// only while the values are few.
inline constexpr int32_t kMaxJitterPasses = 8;
void RippleJitterRow(const TWaterPlanes& planes, const TJitterRow& row);

// The instruction sets the kernels are built for. The best one the processor
// has is used unless a test pins another.
enum class TSimdLevel { Sse2, Avx2 };
TSimdLevel BestSimdLevel();
void SetSimdLevel(TSimdLevel level);
TSimdLevel CurrentSimdLevel();

}  // namespace kx
