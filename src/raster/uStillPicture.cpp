#include "raster/uStillPicture.h"

#include "raster/uExifOrientation.h"
#include "raster/uJpegCodec.h"
#include "raster/uOrient.h"
#include "raster/uPictureDecode.h"

namespace kx {
namespace {

bool SwapsSides(int orientation) { return orientation >= 5 && orientation <= 8; }

TPoint Swapped(TPoint p) { return {p.Y, p.X}; }

}  // namespace

std::optional<TPoint> StillJpegSize(std::span<const uint8_t> data) {
  if (PictureKindOf(data) != TPictureKind::Jpeg) return std::nullopt;
  const std::optional<TPoint> stored = JpegPictureSize(data);
  if (!stored) return std::nullopt;
  return SwapsSides(JpegExifOrientation(data)) ? Swapped(*stored) : *stored;
}

TBitmap32 DecodeStillPicture(std::span<const uint8_t> data, std::optional<TPoint> cover) {
  if (PictureKindOf(data) != TPictureKind::Jpeg) return DecodePicture(data);
  const int orientation = JpegExifOrientation(data);
  int scale = 1;
  if (cover)
    if (const std::optional<TPoint> stored = JpegPictureSize(data))
      scale = JpegScaleToCover(*stored, SwapsSides(orientation) ? Swapped(*cover) : *cover);
  return Orient(DecodeJpeg(data, scale), orientation);
}

TBitmap32 DecodeStillPictureFile(const std::string& path) {
  const std::string bytes = ReadPictureBytes(path);
  return DecodeStillPicture({reinterpret_cast<const uint8_t*>(bytes.data()), bytes.size()});
}

}  // namespace kx
