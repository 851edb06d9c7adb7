#include "raster/uStillPicture.h"

#include "raster/uExifOrientation.h"
#include "raster/uJpegCodec.h"
#include "raster/uOrient.h"
#include "raster/uPictureDecode.h"

namespace kx {
namespace {

bool SwapsSides(int orientation) { return orientation >= 5 && orientation <= 8; }

TPoint Swapped(TPoint p) { return {p.Y, p.X}; }

uint8_t OverBlack(uint8_t c, uint8_t a) { return uint8_t((c * a + 127) / 255); }

// The kinds whose decoders give the picture's own alpha.
bool HasAlpha(TPictureKind kind) {
  return kind == TPictureKind::Png || kind == TPictureKind::Webp || kind == TPictureKind::Heic ||
         kind == TPictureKind::Avif;
}

// A still picture is shown opaque: the see-through pixels of a picture with
// alpha show the black behind it, each channel times alpha, rounded to nearest.
TBitmap32 ComposedOverBlack(TBitmap32 b) {
  for (int32_t y = 0; y < b.Height(); ++y)
    for (TPixel* p = b.Row(y); p != b.Row(y) + b.Width(); ++p) {
      const uint8_t a = PixelA(*p);
      *p = MakePixel(OverBlack(PixelR(*p), a), OverBlack(PixelG(*p), a), OverBlack(PixelB(*p), a));
    }
  return b;
}

}  // namespace

std::optional<TPoint> StillJpegSize(std::span<const uint8_t> data) {
  if (PictureKindOf(data) != TPictureKind::Jpeg) return std::nullopt;
  const std::optional<TPoint> stored = JpegPictureSize(data);
  if (!stored) return std::nullopt;
  return SwapsSides(JpegExifOrientation(data)) ? Swapped(*stored) : *stored;
}

TBitmap32 DecodeStillPicture(std::span<const uint8_t> data, std::optional<TPoint> cover) {
  TBitmap32 picture;
  DecodeStillPictureInto(data, cover, picture);
  return picture;
}

void DecodeStillPictureInto(std::span<const uint8_t> data, std::optional<TPoint> cover, TBitmap32& picture) {
  const TPictureKind kind = PictureKindOf(data);
  if (HasAlpha(kind)) {
    picture = ComposedOverBlack(DecodePicture(data));
    return;
  }
  if (kind != TPictureKind::Jpeg) {
    picture = DecodePicture(data);
    return;
  }
  const int orientation = JpegExifOrientation(data);
  int scale = 1;
  if (cover)
    if (const std::optional<TPoint> stored = JpegPictureSize(data))
      scale = JpegScaleToCover(*stored, SwapsSides(orientation) ? Swapped(*cover) : *cover);
  if (orientation <= 1 || orientation > 8) return DecodeJpegInto(data, scale, kMaxDecodedPixels, picture);
  picture = Orient(DecodeJpeg(data, scale), orientation);
}

TBitmap32 DecodeStillPictureFile(const std::string& path) {
  const std::string bytes = ReadPictureBytes(path);
  return DecodeStillPicture({reinterpret_cast<const uint8_t*>(bytes.data()), bytes.size()});
}

}  // namespace kx
