// Small bitmaps whose pixels tell where they came from.
#pragma once

#include <cstdint>

#include "raster/uBitmap.h"

namespace kxtest {

// Every pixel distinct within one picture and between tags: red = x,
// green = y, blue = tag, and a fourth byte mixing all three.
inline kx::TBitmap32 Tagged(int32_t w, int32_t h, uint8_t tag) {
  kx::TBitmap32 b(w, h);
  for (int32_t y = 0; y < h; ++y)
    for (int32_t x = 0; x < w; ++x)
      b.SetPixel(x, y, kx::MakePixel(uint8_t(x), uint8_t(y), tag, uint8_t(x * 3 + y * 5 + tag)));
  return b;
}

// The colours alone, as a window of 24-bit depth shows them.
inline kx::TBitmap32 NoAlpha(kx::TBitmap32 b) {
  for (int32_t y = 0; y < b.Height(); ++y)
    for (int32_t x = 0; x < b.Width(); ++x) b.SetPixel(x, y, b.Pixel(x, y) & 0xFFFFFFu);
  return b;
}

}  // namespace kxtest
