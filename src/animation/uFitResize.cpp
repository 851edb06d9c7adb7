#include "animation/uFitResize.h"

#include <pixman.h>

#include <memory>
#include <new>
#include <vector>

namespace kx {
namespace {

using TPixmanImage = std::unique_ptr<pixman_image_t, pixman_bool_t (*)(pixman_image_t*)>;

// pixman only reads a source image, but its constructor takes writable bits.
TPixmanImage WrapBits(const TBitmap32& b) {
  return TPixmanImage(pixman_image_create_bits(PIXMAN_a8r8g8b8, b.Width(), b.Height(),
                                               const_cast<TPixel*>(b.Bits()), int(b.StrideBytes())),
                      pixman_image_unref);
}

}  // namespace

TBitmap32 ResizeBilinear(const TBitmap32& src, int32_t width, int32_t height) {
  if (src.Empty() || width <= 0 || height <= 0) return {};
  TBitmap32 dst(width, height);
  if (width == src.Width() && height == src.Height()) {
    dst.Draw(0, 0, src);
    return dst;
  }
  TPixmanImage s = WrapBits(src), d = WrapBits(dst);
  if (!s || !d) throw std::bad_alloc();
  pixman_transform_t t;
  pixman_transform_init_scale(&t, pixman_double_to_fixed(double(src.Width()) / width),
                              pixman_double_to_fixed(double(src.Height()) / height));
  pixman_image_set_transform(s.get(), &t);
  pixman_image_set_filter(s.get(), PIXMAN_FILTER_BILINEAR, nullptr, 0);
  pixman_image_set_repeat(s.get(), PIXMAN_REPEAT_PAD);
  pixman_image_composite32(PIXMAN_OP_SRC, s.get(), nullptr, d.get(), 0, 0, 0, 0, 0, 0, width, height);
  return dst;
}

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
