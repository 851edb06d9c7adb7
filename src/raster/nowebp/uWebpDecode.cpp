// The build without libwebp: no WebP picture decodes, and none is offered as
// a still picture (IsStillPicture asks WebpBuiltIn).
#include "raster/uWebpDecode.h"

#include "raster/uDecodeError.h"

namespace kx {

bool WebpBuiltIn() { return false; }

std::optional<TPoint> WebpPictureSize(std::span<const uint8_t>) { return std::nullopt; }

TBitmap32 DecodeWebp(std::span<const uint8_t>) {
  throw TDecodeError("WebP pictures are not built into this program");
}

}  // namespace kx
