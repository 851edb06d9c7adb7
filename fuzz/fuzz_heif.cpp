// Fuzzes the HEIC and AVIF decoder (libheif behind it): a decoded picture is
// never empty nor above the pixel budget, and has the upright size the file
// declares (the size budgets are checked on).
#include <cstdlib>
#include <optional>

#include "raster/uDecodeError.h"
#include "raster/uHeifDecode.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::span<const uint8_t> bytes(data, size);
  const std::optional<kx::TPoint> declared = kx::HeifPictureSize(bytes);
  try {
    const kx::TBitmap32 b = kx::DecodeHeif(bytes);
    if (b.Empty() || int64_t(b.Width()) * b.Height() > kx::kMaxDecodedPixels) std::abort();
    if (!declared || declared->X != b.Width() || declared->Y != b.Height()) std::abort();
  } catch (const kx::TDecodeError&) {
  }
  return 0;
}
