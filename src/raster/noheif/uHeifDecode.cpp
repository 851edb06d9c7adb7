// The build without libheif: no HEIC or AVIF picture decodes, and none is
// offered as a still picture (IsStillPicture asks HeicBuiltIn and AvifBuiltIn).
#include "raster/uHeifDecode.h"

#include "raster/uDecodeError.h"

namespace kx {

bool HeicBuiltIn() { return false; }
bool AvifBuiltIn() { return false; }

std::optional<TPoint> HeifPictureSize(std::span<const uint8_t>) { return std::nullopt; }

TBitmap32 DecodeHeif(std::span<const uint8_t>) {
  throw TDecodeError("HEIC and AVIF pictures are not built into this program");
}

}  // namespace kx
