#include "animation/uFitResize.h"

#include <vector>

namespace kx {

TBitmap32 ResizeRegionMap(const TBitmap32& map, int32_t width, int32_t height) {
  if (map.Empty() || width <= 0 || height <= 0) return {};
  const int64_t mw = map.Width(), mh = map.Height();
  TBitmap32 dst(width, height, 0);
  // The map column under the centre of each new column.
  std::vector<int32_t> column(static_cast<size_t>(width));
  for (int32_t x = 0; x < width; ++x) column[size_t(x)] = int32_t((2 * int64_t(x) + 1) * mw / (2 * int64_t(width)));
  for (int32_t y = 0; y < height; ++y) {
    const TPixel* in = map.Row(int32_t((2 * int64_t(y) + 1) * mh / (2 * int64_t(height))));
    TPixel* out = dst.Row(y);
    for (int32_t x = 0; x < width; ++x) out[x] = in[column[size_t(x)]];
  }
  return dst;
}

}  // namespace kx
