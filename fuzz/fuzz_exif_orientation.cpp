// Fuzzes the Exif orientation reader over the start of a JPEG stream: any
// input gives a value 1..8, reads nothing outside the input (ASan), and a
// still picture decoded from it comes out turned to match.
#include <cstdlib>
#include <optional>

#include "raster/uDecodeError.h"
#include "raster/uExifOrientation.h"
#include "raster/uStillPicture.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const int orientation = kx::JpegExifOrientation({data, size});
  if (orientation < 1 || orientation > 8) std::abort();
  const int fromTiff = kx::ExifTiffOrientation({data, size});
  if (fromTiff < 1 || fromTiff > 8) std::abort();
  try {
    const kx::TBitmap32 b = kx::DecodeStillPicture({data, size});
    const std::optional<kx::TPoint> upright = kx::StillJpegSize({data, size});
    // Pictures above the budget decode DCT-scaled, smaller than their header says.
    if (upright && int64_t(upright->X) * upright->Y <= kx::kMaxDecodedPixels &&
        (b.Width() != upright->X || b.Height() != upright->Y))
      std::abort();
  } catch (const kx::TDecodeError&) {
  }
  return 0;
}
