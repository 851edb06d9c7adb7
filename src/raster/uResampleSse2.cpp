// The resampler's loops with SSE2, which every x86-64 processor has: bytes
// widened to 16 bits and multiplied by pairs of Q14 weights with pmaddwd,
// whose 32-bit sums are exact (two products of at most 2^15 * 255).
#include "raster/uResampleKernels.h"

#if defined(__SSE2__)
#include <emmintrin.h>

namespace kx {
namespace {

// Four 32-bit sums to four bytes: rounded, shifted, clamped to 0..255 by the
// two saturating packs.
inline __m128i Narrow(__m128i acc) {
  acc = _mm_srai_epi32(_mm_add_epi32(acc, _mm_set1_epi32(kResampleOne / 2)), kResampleShift);
  acc = _mm_packs_epi32(acc, acc);
  return _mm_packus_epi16(acc, acc);
}

}  // namespace

void ResampleRowSse2(const TPixel* line, TPixel* out, const TRowFilter& f) {
  const __m128i zero = _mm_setzero_si128();
  for (int32_t x = 0; x < f.Width; ++x) {
    const TPixel* p = line + f.First[x];
    const int32_t* w = f.Pairs + size_t(x) * size_t(f.Groups) * 2;
    __m128i acc = zero;
    for (int g = 0; g < f.Groups; ++g, p += 4, w += 2) {
      const __m128i v = _mm_loadu_si128(reinterpret_cast<const __m128i*>(p));
      const __m128i lo = _mm_unpacklo_epi8(v, zero);  // pixels 0 and 1, 16 bits a channel
      const __m128i hi = _mm_unpackhi_epi8(v, zero);  // pixels 2 and 3
      // Channel by channel: pixel 0 beside pixel 2, pixel 1 beside pixel 3.
      acc = _mm_add_epi32(acc, _mm_madd_epi16(_mm_unpacklo_epi16(lo, hi), _mm_set1_epi32(w[0])));
      acc = _mm_add_epi32(acc, _mm_madd_epi16(_mm_unpackhi_epi16(lo, hi), _mm_set1_epi32(w[1])));
    }
    out[x] = TPixel(_mm_cvtsi128_si32(Narrow(acc)));
  }
}

void ResampleColumnSse2(const uint8_t* const* rows, const int32_t* pairs, int pairCount, uint8_t* out, size_t bytes) {
  const __m128i zero = _mm_setzero_si128();
  size_t i = 0;
  for (; i + 16 <= bytes; i += 16) {
    __m128i a0 = zero, a1 = zero, a2 = zero, a3 = zero;
    for (int p = 0; p < pairCount; ++p) {
      const __m128i w = _mm_set1_epi32(pairs[p]);
      const __m128i ra = _mm_loadu_si128(reinterpret_cast<const __m128i*>(rows[2 * p] + i));
      const __m128i rb = _mm_loadu_si128(reinterpret_cast<const __m128i*>(rows[2 * p + 1] + i));
      const __m128i lo = _mm_unpacklo_epi8(ra, rb);  // byte k of both rows side by side
      const __m128i hi = _mm_unpackhi_epi8(ra, rb);
      a0 = _mm_add_epi32(a0, _mm_madd_epi16(_mm_unpacklo_epi8(lo, zero), w));
      a1 = _mm_add_epi32(a1, _mm_madd_epi16(_mm_unpackhi_epi8(lo, zero), w));
      a2 = _mm_add_epi32(a2, _mm_madd_epi16(_mm_unpacklo_epi8(hi, zero), w));
      a3 = _mm_add_epi32(a3, _mm_madd_epi16(_mm_unpackhi_epi8(hi, zero), w));
    }
    const __m128i round = _mm_set1_epi32(kResampleOne / 2);
    a0 = _mm_srai_epi32(_mm_add_epi32(a0, round), kResampleShift);
    a1 = _mm_srai_epi32(_mm_add_epi32(a1, round), kResampleShift);
    a2 = _mm_srai_epi32(_mm_add_epi32(a2, round), kResampleShift);
    a3 = _mm_srai_epi32(_mm_add_epi32(a3, round), kResampleShift);
    const __m128i bytes16 = _mm_packus_epi16(_mm_packs_epi32(a0, a1), _mm_packs_epi32(a2, a3));
    _mm_storeu_si128(reinterpret_cast<__m128i*>(out + i), bytes16);
  }
  for (; i < bytes; ++i) {
    int32_t acc = 0;
    for (int p = 0; p < pairCount; ++p)
      acc += WeightLo(pairs[p]) * rows[2 * p][i] + WeightHi(pairs[p]) * rows[2 * p + 1][i];
    out[i] = ResampleRound(acc);
  }
}

}  // namespace kx

#endif  // __SSE2__
