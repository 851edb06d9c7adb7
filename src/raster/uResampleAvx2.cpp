// The resampler's loops with AVX2, compiled for that instruction set alone
// (the rest of the program keeps the baseline) and chosen at run time. Same
// arithmetic as the SSE2 loops, twice as wide: the horizontal pass filters two
// destination pixels at once, one in each 128-bit half; the vertical pass
// takes 32 bytes of a row at once.
#include "raster/uResampleKernels.h"

#if defined(__x86_64__) || defined(__i386__)
#include <immintrin.h>

#define KX_AVX2 __attribute__((target("avx2")))

namespace kx {
namespace {

KX_AVX2 inline __m256i Shift(__m256i acc) {
  return _mm256_srai_epi32(_mm256_add_epi32(acc, _mm256_set1_epi32(kResampleOne / 2)), kResampleShift);
}

KX_AVX2 inline __m128i Shift(__m128i acc) {
  return _mm_srai_epi32(_mm_add_epi32(acc, _mm_set1_epi32(kResampleOne / 2)), kResampleShift);
}

// Four taps of one destination pixel (see ResampleRowSse2).
KX_AVX2 inline __m128i RowGroup(__m128i acc, const TPixel* p, const int32_t* w) {
  const __m128i zero = _mm_setzero_si128();
  const __m128i v = _mm_loadu_si128(reinterpret_cast<const __m128i*>(p));
  const __m128i lo = _mm_unpacklo_epi8(v, zero), hi = _mm_unpackhi_epi8(v, zero);
  acc = _mm_add_epi32(acc, _mm_madd_epi16(_mm_unpacklo_epi16(lo, hi), _mm_set1_epi32(w[0])));
  return _mm_add_epi32(acc, _mm_madd_epi16(_mm_unpackhi_epi16(lo, hi), _mm_set1_epi32(w[1])));
}

}  // namespace

KX_AVX2 void ResampleRowAvx2(const TPixel* line, TPixel* out, const TRowFilter& f) {
  const __m256i zero = _mm256_setzero_si256();
  const size_t stride = size_t(f.Groups) * 2;  // weight words per destination pixel
  int32_t x = 0;
  for (; x + 2 <= f.Width; x += 2) {
    const TPixel* p0 = line + f.First[x];
    const TPixel* p1 = line + f.First[x + 1];
    const auto* w = reinterpret_cast<const __m256i*>(f.Wide + size_t(x) * stride * 4);
    __m256i acc = zero;
    for (int g = 0; g < f.Groups; ++g) {
      const __m256i v = _mm256_inserti128_si256(
          _mm256_castsi128_si256(_mm_loadu_si128(reinterpret_cast<const __m128i*>(p0 + 4 * g))),
          _mm_loadu_si128(reinterpret_cast<const __m128i*>(p1 + 4 * g)), 1);
      const __m256i lo = _mm256_unpacklo_epi8(v, zero), hi = _mm256_unpackhi_epi8(v, zero);
      const __m256i wa = _mm256_loadu_si256(w + 2 * g), wb = _mm256_loadu_si256(w + 2 * g + 1);
      acc = _mm256_add_epi32(acc, _mm256_madd_epi16(_mm256_unpacklo_epi16(lo, hi), wa));
      acc = _mm256_add_epi32(acc, _mm256_madd_epi16(_mm256_unpackhi_epi16(lo, hi), wb));
    }
    // Pixel x in the low half, x + 1 in the high half: pack each half, then
    // gather the two lowest words side by side.
    acc = Shift(acc);
    acc = _mm256_packus_epi16(_mm256_packs_epi32(acc, acc), zero);
    acc = _mm256_permutevar8x32_epi32(acc, _mm256_setr_epi32(0, 4, 0, 0, 0, 0, 0, 0));
    _mm_storel_epi64(reinterpret_cast<__m128i*>(out + x), _mm256_castsi256_si128(acc));
  }
  if (x < f.Width) {
    const TPixel* p = line + f.First[x];
    const int32_t* w = f.Pairs + size_t(x) * stride;
    __m128i acc = _mm_setzero_si128();
    for (int g = 0; g < f.Groups; ++g) acc = RowGroup(acc, p + 4 * g, w + 2 * g);
    acc = Shift(acc);
    acc = _mm_packus_epi16(_mm_packs_epi32(acc, acc), acc);
    out[x] = TPixel(_mm_cvtsi128_si32(acc));
  }
}

KX_AVX2 void ResampleColumnAvx2(const uint8_t* const* rows, const int32_t* pairs, int pairCount, uint8_t* out,
                                size_t bytes) {
  const __m256i zero = _mm256_setzero_si256();
  size_t i = 0;
  // The unpacks and packs work within each 128-bit half, so the bytes come
  // out in the order they went in.
  for (; i + 32 <= bytes; i += 32) {
    __m256i a0 = zero, a1 = zero, a2 = zero, a3 = zero;
    for (int p = 0; p < pairCount; ++p) {
      const __m256i w = _mm256_set1_epi32(pairs[p]);
      const __m256i ra = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(rows[2 * p] + i));
      const __m256i rb = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(rows[2 * p + 1] + i));
      const __m256i lo = _mm256_unpacklo_epi8(ra, rb), hi = _mm256_unpackhi_epi8(ra, rb);
      a0 = _mm256_add_epi32(a0, _mm256_madd_epi16(_mm256_unpacklo_epi8(lo, zero), w));
      a1 = _mm256_add_epi32(a1, _mm256_madd_epi16(_mm256_unpackhi_epi8(lo, zero), w));
      a2 = _mm256_add_epi32(a2, _mm256_madd_epi16(_mm256_unpacklo_epi8(hi, zero), w));
      a3 = _mm256_add_epi32(a3, _mm256_madd_epi16(_mm256_unpackhi_epi8(hi, zero), w));
    }
    const __m256i packed = _mm256_packus_epi16(_mm256_packs_epi32(Shift(a0), Shift(a1)),
                                               _mm256_packs_epi32(Shift(a2), Shift(a3)));
    _mm256_storeu_si256(reinterpret_cast<__m256i*>(out + i), packed);
  }
  for (; i + 16 <= bytes; i += 16) {
    const __m128i z = _mm_setzero_si128();
    __m128i a0 = z, a1 = z, a2 = z, a3 = z;
    for (int p = 0; p < pairCount; ++p) {
      const __m128i w = _mm_set1_epi32(pairs[p]);
      const __m128i ra = _mm_loadu_si128(reinterpret_cast<const __m128i*>(rows[2 * p] + i));
      const __m128i rb = _mm_loadu_si128(reinterpret_cast<const __m128i*>(rows[2 * p + 1] + i));
      const __m128i lo = _mm_unpacklo_epi8(ra, rb), hi = _mm_unpackhi_epi8(ra, rb);
      a0 = _mm_add_epi32(a0, _mm_madd_epi16(_mm_unpacklo_epi8(lo, z), w));
      a1 = _mm_add_epi32(a1, _mm_madd_epi16(_mm_unpackhi_epi8(lo, z), w));
      a2 = _mm_add_epi32(a2, _mm_madd_epi16(_mm_unpacklo_epi8(hi, z), w));
      a3 = _mm_add_epi32(a3, _mm_madd_epi16(_mm_unpackhi_epi8(hi, z), w));
    }
    const __m128i packed =
        _mm_packus_epi16(_mm_packs_epi32(Shift(a0), Shift(a1)), _mm_packs_epi32(Shift(a2), Shift(a3)));
    _mm_storeu_si128(reinterpret_cast<__m128i*>(out + i), packed);
  }
  for (; i < bytes; ++i) {
    int32_t acc = 0;
    for (int p = 0; p < pairCount; ++p)
      acc += WeightLo(pairs[p]) * rows[2 * p][i] + WeightHi(pairs[p]) * rows[2 * p + 1][i];
    out[i] = ResampleRound(acc);
  }
}

}  // namespace kx

#endif
