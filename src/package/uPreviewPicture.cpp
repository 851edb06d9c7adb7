#include "package/uPreviewPicture.h"

#include <algorithm>
#include <cstdint>
#include <span>

#include "package/uFileIO.h"
#include "raster/uBitmap.h"
#include "raster/uJpegCodec.h"
#include "raster/uPictureDecode.h"
#include "raster/uResample.h"
#include "raster/uStillPicture.h"

namespace kx {
namespace {

TBitmap32 DecodeForPreview(const std::string& path) {
  if (!IsStillPicture(path)) {
    TFileLoader loader;
    loader.LoadFromFile(path);
    TBitmap32 picture;
    loader.GetPicture(picture);
    return picture;
  }
  const std::string bytes = ReadPictureBytes(path);
  // A large photo decodes at the DCT scale that still covers the preview.
  return DecodeStillPicture(std::span(reinterpret_cast<const uint8_t*>(bytes.data()), bytes.size()),
                            kPreviewPictureSize);
}

// The largest 4:3 part of the picture's middle.
TBitmap32 MiddleFourByThree(const TBitmap32& picture) {
  const int64_t w = picture.Width(), h = picture.Height();
  const int64_t width = std::min(w, h * kPreviewPictureSize.X / kPreviewPictureSize.Y);
  const int64_t height = std::min(h, w * kPreviewPictureSize.Y / kPreviewPictureSize.X);
  TBitmap32 part(int32_t(std::max<int64_t>(width, 1)), int32_t(std::max<int64_t>(height, 1)));
  part.Draw(-int32_t((w - width) / 2), -int32_t((h - height) / 2), picture);
  return part;
}

}  // namespace

std::string MakePreviewPicture(const std::string& path) {
  const TBitmap32 picture = DecodeForPreview(path);
  TBitmap32 preview(kPreviewPictureSize.X, kPreviewPictureSize.Y);
  if (!picture.Empty()) ResampleLanczos3(MiddleFourByThree(picture), preview);
  return EncodeJpeg(preview, 85);
}

}  // namespace kx
