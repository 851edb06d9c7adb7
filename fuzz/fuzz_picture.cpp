// Fuzzes the still picture decoders (JPEG, PNG, GIF, BMP) through the one
// entry point that tells them apart by their first bytes. A decoded picture
// is never above the pixel budget; a JPEG decoded within the thumbnail budget
// comes out within it too.
#include <cstdlib>

#include "raster/uDecodeError.h"
#include "raster/uJpegCodec.h"
#include "raster/uPictureDecode.h"

namespace {

void CheckWithin(const kx::TBitmap32& b, int64_t maxPixels) {
  if (b.Empty() || int64_t(b.Width()) * b.Height() > maxPixels) std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  try {
    CheckWithin(kx::DecodePicture({data, size}), kx::kMaxDecodedPixels);
  } catch (const kx::TDecodeError&) {
  }
  if (kx::PictureKindOf({data, size}) == kx::TPictureKind::Jpeg) {
    try {
      CheckWithin(kx::DecodeJpeg({data, size}, 2, kx::kMaxThumbnailPixels), kx::kMaxThumbnailPixels);
    } catch (const kx::TDecodeError&) {
    }
  }
  return 0;
}
