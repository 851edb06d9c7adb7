#include "transitions/uUnrollEffects.h"

#include <algorithm>

#include "raster/uBlit.h"

namespace kx {
namespace {

constexpr uint8_t kUnrollShade = 48;

uint8_t ClampByte(int32_t v) { return uint8_t(std::clamp(v, 0, 255)); }

// The pixel with v added to each colour byte, clamped; the fourth byte kept.
TPixel AddToColours(TPixel p, int32_t v) {
  return (p & 0xFF000000u) | TPixel(ClampByte(int32_t(PixelR(p)) + v)) << 16 |
         TPixel(ClampByte(int32_t(PixelG(p)) + v)) << 8 | TPixel(ClampByte(int32_t(PixelB(p)) + v));
}

}  // namespace

int32_t UnrollBand(int32_t L, int32_t E) {
  int32_t s = L / 10;
  if (E < s)
    s = E;
  else if (L - E < 2 * s)
    s = (L - E) / 2;
  return s;
}

std::vector<int32_t> ColumnShadeRamp(uint8_t Amp, int32_t Count) {
  if (Count < 2 || Amp == 0) return {};
  const int32_t half = Count / 2, amp = Amp;
  std::vector<int32_t> t(static_cast<size_t>(Count));
  int32_t v = -amp;
  if (amp > half) {
    int32_t step = amp / half;
    for (int32_t i = 1; i <= Count; ++i) {
      t[size_t(i - 1)] = v;
      v += step;
      if (i == half) step = -step;
    }
  } else {
    const int32_t k = half / amp;
    int32_t next = k;
    for (int32_t i = 1; i <= Count; ++i) {
      t[size_t(i - 1)] = v;
      if (i == next) {
        next += k;
        v += i < half ? 1 : -1;
      }
    }
  }
  return t;
}

std::vector<int32_t> RowShadeRamp(uint8_t Amp, int32_t Count) {
  if (Count < 2 || Amp == 0) return {};
  const int32_t half = Count / 2, amp = Amp;
  const int32_t k = amp > half ? 1 : half / amp, step = amp > half ? amp / half : 1;
  std::vector<int32_t> t(static_cast<size_t>(Count));
  int32_t v = -amp, next = k;
  for (int32_t i = 1; i <= Count; ++i) {
    t[size_t(i - 1)] = v;
    if (i == next) {
      v += i < half ? step : -step;
      next += k;
    }
  }
  return t;
}

void ShadeColumns(TBitmap32& Bitmap, uint8_t Amp, int32_t Left, int32_t Count) {
  const std::vector<int32_t> ramp = ColumnShadeRamp(Amp, Count);
  if (ramp.empty()) return;
  // Only the columns that lie in the bitmap; each keeps its own offset.
  const int64_t from = std::max<int64_t>(Left, 0), to = std::min<int64_t>(int64_t(Left) + Count, Bitmap.Width());
  if (from >= to) return;
  const int32_t* offset = ramp.data() + (from - Left);
  const int32_t n = int32_t(to - from);
  for (int32_t y = 0; y < Bitmap.Height(); ++y) {
    TPixel* p = Bitmap.Row(y) + from;
    for (int32_t i = 0; i < n; ++i) p[i] = AddToColours(p[i], offset[i]);
  }
}

void ShadeRows(TBitmap32& Bitmap, uint8_t Amp, int32_t Top, int32_t Count) {
  const std::vector<int32_t> ramp = RowShadeRamp(Amp, Count);
  for (size_t i = 0; i < ramp.size(); ++i) {
    const int64_t y = int64_t(Top) + Count - 1 - int64_t(i);  // the band's bottom row first
    if (y < 0 || y >= Bitmap.Height()) continue;
    // One offset for the whole row: a byte table does the clamping.
    uint8_t table[256];
    for (int32_t b = 0; b < 256; ++b) table[b] = ClampByte(b + ramp[i]);
    TPixel* p = Bitmap.Row(int32_t(y));
    for (int32_t x = 0; x < Bitmap.Width(); ++x) {
      const TPixel c = p[x];
      p[x] = (c & 0xFF000000u) | TPixel(table[PixelR(c)]) << 16 | TPixel(table[PixelG(c)]) << 8 |
             TPixel(table[PixelB(c)]);
    }
  }
}

// The band mirrors the next S columns (rows) of the new picture: for the
// left-hand effect the band's leftmost column shows the far end of that
// stretch. The right-hand and bottom effects read their stretch starting one
// column (row) further out; when the band is half of what is still covered,
// that column lies just outside the picture, and the band's column (row)
// beside the uncovered part keeps the old picture, shaded.

void UnrollFromLeft(TBitmap32& Dest, const TBitmap32& Src, int32_t W, int32_t H, int32_t X, int32_t Y, int32_t P,
                    TRandom& Rand) {
  const int32_t S = UnrollBand(W, X);
  StretchCopy(Dest, X + S - 1, 0, -S, H, Src, X + S, 0, S, H);
  Copy(Dest, 0, 0, X, H, Src, 0, 0);
  ShadeColumns(Dest, kUnrollShade, X, S);
}

void UnrollFromRight(TBitmap32& Dest, const TBitmap32& Src, int32_t W, int32_t H, int32_t X, int32_t Y, int32_t P,
                     TRandom& Rand) {
  const int32_t S = UnrollBand(W, X);
  StretchCopy(Dest, W - X - 1, 0, -S, H, Src, W - X - 2 * S - 1, 0, S, H);
  Copy(Dest, W - X, 0, X, H, Src, W - X, 0);
  ShadeColumns(Dest, kUnrollShade, W - X - S, S);
}

void UnrollFromTop(TBitmap32& Dest, const TBitmap32& Src, int32_t W, int32_t H, int32_t X, int32_t Y, int32_t P,
                   TRandom& Rand) {
  const int32_t S = UnrollBand(H, Y);
  StretchCopy(Dest, 0, Y + S - 1, W, -S, Src, 0, Y + S, W, S);
  Copy(Dest, 0, 0, W, Y, Src, 0, 0);
  ShadeRows(Dest, kUnrollShade, Y, S);
}

void UnrollFromBottom(TBitmap32& Dest, const TBitmap32& Src, int32_t W, int32_t H, int32_t X, int32_t Y, int32_t P,
                      TRandom& Rand) {
  const int32_t S = UnrollBand(H, Y);
  StretchCopy(Dest, 0, H - Y - 1, W, -S, Src, 0, H - Y - 2 * S - 1, W, S);
  Copy(Dest, 0, H - Y, W, Y, Src, 0, H - Y);
  ShadeRows(Dest, kUnrollShade, H - Y - S, S);
}

// The covered part shows at most a tenth of the new picture, the slice next
// to the uncovered part, stretched over the whole covered part.

void BuildUpFromRight(TBitmap32& Dest, const TBitmap32& Src, int32_t W, int32_t H, int32_t X, int32_t Y, int32_t P,
                      TRandom& Rand) {
  const int32_t t10 = W / 10;
  Copy(Dest, 0, 0, X, H, Src, 0, 0);
  StretchCopy(Dest, X, 0, W - X, H, Src, X, 0, std::min(W - X, t10), H);
}

void BuildUpFromLeft(TBitmap32& Dest, const TBitmap32& Src, int32_t W, int32_t H, int32_t X, int32_t Y, int32_t P,
                     TRandom& Rand) {
  const int32_t t10 = W / 10;
  Copy(Dest, W - X, 0, X, H, Src, W - X, 0);
  const int32_t s0 = std::max(W - X - t10, 0);
  StretchCopy(Dest, 0, 0, W - X, H, Src, s0, 0, W - X - s0, H);
}

void ExpandGraduallyFromBottom(TBitmap32& Dest, const TBitmap32& Src, int32_t W, int32_t H, int32_t X, int32_t Y,
                               int32_t P, TRandom& Rand) {
  const int32_t t10 = H / 10;
  Copy(Dest, 0, 0, W, Y, Src, 0, 0);
  StretchCopy(Dest, 0, Y, W, H - Y, Src, 0, Y, W, std::min(H - Y, t10));
}

void ExpandInGraduallyFromTop(TBitmap32& Dest, const TBitmap32& Src, int32_t W, int32_t H, int32_t X, int32_t Y,
                              int32_t P, TRandom& Rand) {
  const int32_t t10 = H / 10;
  Copy(Dest, 0, H - Y, W, Y, Src, 0, H - Y);
  const int32_t s0 = std::max(H - Y - t10, 0);
  StretchCopy(Dest, 0, 0, W, H - Y, Src, 0, s0, W, H - Y - s0);
}

}  // namespace kx
