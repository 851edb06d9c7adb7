#include "raster/uScaleDraw.h"

#include <pixman.h>

namespace kx {

void DrawScaled(const TBitmap32& src, TPixel* dst, int32_t width, int32_t height, size_t strideBytes, const TRect& to,
                const std::vector<TRect>* only) {
  if (src.Empty() || width <= 0 || height <= 0 || to.Width() <= 0 || to.Height() <= 0) return;
  if (only && only->empty()) return;
  pixman_image_t* from = pixman_image_create_bits(PIXMAN_x8r8g8b8, src.Width(), src.Height(),
                                                  const_cast<uint32_t*>(src.Bits()), int(src.StrideBytes()));
  pixman_image_t* into = pixman_image_create_bits(PIXMAN_x8r8g8b8, width, height, dst, int(strideBytes));
  if (from && into) {
    const bool sameX = to.Width() % src.Width() == 0, sameY = to.Height() % src.Height() == 0;
    if (to.Width() != src.Width() || to.Height() != src.Height()) {
      pixman_transform_t t;
      pixman_transform_init_scale(&t, pixman_double_to_fixed(double(src.Width()) / to.Width()),
                                  pixman_double_to_fixed(double(src.Height()) / to.Height()));
      pixman_image_set_transform(from, &t);
      pixman_image_set_filter(from, sameX && sameY ? PIXMAN_FILTER_NEAREST : PIXMAN_FILTER_BILINEAR, nullptr, 0);
      pixman_image_set_repeat(from, PIXMAN_REPEAT_PAD);
    }
    if (only) {
      // The destination's clip keeps the sampling of the whole drawing.
      std::vector<pixman_box32_t> boxes;
      for (const TRect& r : *only)
        if (!r.Empty()) boxes.push_back({r.Left, r.Top, r.Right, r.Bottom});
      pixman_region32_t clip;
      pixman_region32_init_rects(&clip, boxes.data(), int(boxes.size()));
      pixman_image_set_clip_region32(into, &clip);
      pixman_region32_fini(&clip);
    }
    pixman_image_composite32(PIXMAN_OP_SRC, from, nullptr, into, 0, 0, 0, 0, to.Left, to.Top, to.Width(),
                             to.Height());
  }
  if (from) pixman_image_unref(from);
  if (into) pixman_image_unref(into);
}

}  // namespace kx
