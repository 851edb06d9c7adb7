// Fuzzes the still picture decoders (JPEG, PNG, GIF, BMP, and WebP, HEIC and
// AVIF where the build has them) through the one entry point that tells them
// apart by their first bytes. A decoded picture is never above the pixel
// budget; a JPEG decoded within the thumbnail budget comes out within it too.
// The size a PNG, GIF, WebP, HEIC or AVIF header declares is the size its
// picture decodes to.
#include <cstdlib>
#include <optional>

#include "raster/uDecodeError.h"
#include "raster/uJpegCodec.h"
#include "raster/uPictureDecode.h"
#include "raster/uPictureSize.h"

namespace {

void CheckWithin(const kx::TBitmap32& b, int64_t maxPixels) {
  if (b.Empty() || int64_t(b.Width()) * b.Height() > maxPixels) std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::optional<kx::TPictureSize> declared = kx::DeclaredPictureSize({data, size});
  const kx::TPictureKind kind = kx::PictureKindOf({data, size});
  try {
    const kx::TBitmap32 b = kx::DecodePicture({data, size});
    CheckWithin(b, kx::kMaxDecodedPixels);
    if (kind != kx::TPictureKind::Jpeg && kind != kx::TPictureKind::Bmp)
      if (!declared || declared->Width != b.Width() || declared->Height != b.Height()) std::abort();
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
