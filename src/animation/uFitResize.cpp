#include "animation/uFitResize.h"

#include <memory>
#include <new>
#include <vector>

namespace kx {

TBitmap32 ResizeRegionMap(const TBitmap32& map, int32_t pictureWidth, int32_t pictureHeight, int32_t width,
                          int32_t height) {
  if (pictureWidth <= 0 || pictureHeight <= 0 || width <= 0 || height <= 0) return {};
  TBitmap32 dst(width, height, 0);
  // Source column of each new column: the picture pixel under its centre,
  // -1 where the map does not reach.
  std::vector<int32_t> column(static_cast<size_t>(width));
  for (int32_t x = 0; x < width; ++x) {
    const auto sx = int32_t((int64_t(2 * int64_t(x) + 1) * pictureWidth) / (2 * int64_t(width)));
    column[size_t(x)] = sx < map.Width() ? sx : -1;
  }
  for (int32_t y = 0; y < height; ++y) {
    const auto sy = int32_t((int64_t(2 * int64_t(y) + 1) * pictureHeight) / (2 * int64_t(height)));
    if (sy >= map.Height()) continue;
    const TPixel* in = map.Row(sy);
    TPixel* out = dst.Row(y);
    for (int32_t x = 0; x < width; ++x)
      if (column[size_t(x)] >= 0) out[x] = in[column[size_t(x)]];
  }
  return dst;
}

}  // namespace kx
