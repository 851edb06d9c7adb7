// Fuzzes the still picture decoders (JPEG, PNG, GIF, BMP) through the one
// entry point that tells them apart by their first bytes.
#include <cstdlib>

#include "raster/uDecodeError.h"
#include "raster/uPictureDecode.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  try {
    const kx::TBitmap32 b = kx::DecodePicture({data, size});
    if (b.Empty()) std::abort();
  } catch (const kx::TDecodeError&) {
  }
  return 0;
}
