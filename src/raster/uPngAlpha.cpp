#include "raster/uPngAlpha.h"

#include <png.h>

#include <cstring>

namespace kx {

bool PngHasAlpha(std::span<const uint8_t> data) {
  png_image image;
  std::memset(&image, 0, sizeof image);
  image.version = PNG_IMAGE_VERSION;
  if (!png_image_begin_read_from_memory(&image, data.data(), data.size())) return false;
  const bool alpha = (image.format & PNG_FORMAT_FLAG_ALPHA) != 0;
  png_image_free(&image);
  return alpha;
}

}  // namespace kx
