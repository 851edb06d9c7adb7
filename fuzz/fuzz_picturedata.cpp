// Fuzzes the pictures of window definitions: a picture property's data (the
// kind's name, then its counted or bare data) and a bitmap property's data
// (a count and a BMP file). Any input gives a picture within the decoders'
// pixel budget or a TFormBuildError; nothing else may escape.
#include <cstdlib>
#include <string_view>

#include "raster/uDecodeError.h"
#include "ui/uComponent.h"
#include "ui/uPictureData.h"

namespace {

void CheckWithin(const kx::TBitmap32& b) {
  if (int64_t(b.Width()) * b.Height() > kx::kMaxDecodedPixels) std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string_view bytes(reinterpret_cast<const char*>(data), size);
  try {
    CheckWithin(kx::DecodePictureData(bytes));
  } catch (const kx::TFormBuildError&) {
  }
  try {
    CheckWithin(kx::DecodeBitmapData(bytes));
  } catch (const kx::TFormBuildError&) {
  }
  return 0;
}
