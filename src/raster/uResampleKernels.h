// The inner loops of the Lanczos-3 resampler, one set per instruction set,
// and the weight layouts they read. Every set does the same integer sums as
// the plain loops in uResample.cpp (Q14 weights times bytes, added in 32 bits,
// rounded and clamped once), so each output byte is the same whichever set
// runs: integer addition does not care about the order of the terms.
#pragma once

#include <algorithm>
#include <cstddef>
#include <cstdint>

#include "raster/uBitmap.h"

namespace kx {

constexpr int kResampleShift = 14;  // weights are Q14: 16384 is 1.0
constexpr int32_t kResampleOne = 1 << kResampleShift;

// A Q14 sum of bytes back to a byte: rounded, then clamped (the filter's
// negative lobes can take it below 0 or above 255).
inline uint8_t ResampleRound(int32_t acc) {
  return uint8_t(std::clamp((acc + kResampleOne / 2) >> kResampleShift, 0, 255));
}

// Two 16-bit weights in one 32-bit word, lo in the low half: the operand
// layout of a multiply-add of 16-bit pairs.
constexpr int32_t PackWeights(int32_t lo, int32_t hi) {
  return int32_t(uint32_t(uint16_t(lo)) | uint32_t(uint16_t(hi)) << 16);
}
constexpr int32_t WeightLo(int32_t pair) { return int16_t(uint16_t(uint32_t(pair))); }
constexpr int32_t WeightHi(int32_t pair) { return int16_t(uint16_t(uint32_t(pair) >> 16)); }

// The horizontal filter in the vector layout. Taps come in groups of four
// neighbouring source pixels; the source row is read through a copy padded
// with its edge pixels, so a group never needs clamping.
struct TRowFilter {
  int32_t Width = 0;              // destination pixels
  int Groups = 0;                 // groups of four taps per destination pixel
  const int32_t* First = nullptr; // per destination pixel: its first source pixel (may be negative)
  // Per destination pixel and group of taps w0..w3: PackWeights(w0, w2), then PackWeights(w1, w3).
  const int32_t* Pairs = nullptr;
  // The same words laid out for two destination pixels at once: per pair of
  // pixels x, x + 1 (x even) and group, the first word of x four times, of
  // x + 1 four times, then the second word likewise. Only for the AVX2 loop.
  const int32_t* Wide = nullptr;
};

// One destination row from a padded source row: line[i] is source pixel i for
// every i a group reaches, negative or past the end included.
using TRowKernel = void (*)(const TPixel* line, TPixel* out, const TRowFilter& filter);

// One destination row of the vertical pass: out[i] for i < bytes is the sum
// over p < pairCount of WeightLo(pairs[p]) * rows[2p][i] + WeightHi(pairs[p]) * rows[2p + 1][i].
using TColumnKernel = void (*)(const uint8_t* const* rows, const int32_t* pairs, int pairCount, uint8_t* out,
                               size_t bytes);

void ResampleRowSse2(const TPixel* line, TPixel* out, const TRowFilter& filter);
void ResampleColumnSse2(const uint8_t* const* rows, const int32_t* pairs, int pairCount, uint8_t* out, size_t bytes);
void ResampleRowAvx2(const TPixel* line, TPixel* out, const TRowFilter& filter);
void ResampleColumnAvx2(const uint8_t* const* rows, const int32_t* pairs, int pairCount, uint8_t* out, size_t bytes);

// Which loops ResampleLanczos3 runs. Scalar is the reference and the fallback.
enum class TResamplePath : uint8_t { Scalar, Sse2, Avx2 };

// Whether this processor (and this build) can run the path's loops.
bool ResamplePathAvailable(TResamplePath path);

// The fastest available path: what ResampleLanczos3 uses.
TResamplePath BestResamplePath();

// ResampleLanczos3 on the given path; an unavailable path runs the scalar
// loops, and so does a pass whose weights do not fit the vector loops' 16 bits.
void ResampleLanczos3On(TResamplePath path, const TBitmap32& src, TBitmap32& dst);

}  // namespace kx
