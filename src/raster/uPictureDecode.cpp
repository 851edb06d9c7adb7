#include "raster/uPictureDecode.h"

#include <cstdio>
#include <cstring>
#include <memory>
#include <optional>
#include <utility>

#include "os/uPackedFiles.h"
#include "raster/uBmpDecode.h"
#include "raster/uDecodeError.h"
#include "raster/uGifDecode.h"
#include "raster/uJpegCodec.h"
#include "raster/uPngIO.h"

namespace kx {
namespace {

bool StartsWith(std::span<const uint8_t> data, std::string_view magic) {
  return data.size() >= magic.size() && std::memcmp(data.data(), magic.data(), magic.size()) == 0;
}

struct TDecoderEntry {
  TPictureKind Kind;
  TBitmap32 (*Decode)(std::span<const uint8_t>);
};

TBitmap32 DecodeJpegDefault(std::span<const uint8_t> data) { return DecodeJpeg(data); }

constexpr TDecoderEntry kDecoders[] = {
    {TPictureKind::Jpeg, DecodeJpegDefault},
    {TPictureKind::Png, DecodePng},
    {TPictureKind::Gif, DecodeGif},
    {TPictureKind::Bmp, DecodeBmp},
};

}  // namespace

TPictureKind PictureKindOf(std::span<const uint8_t> data) {
  if (StartsWith(data, "\xFF\xD8\xFF")) return TPictureKind::Jpeg;
  if (StartsWith(data, "\x89PNG\r\n\x1A\n")) return TPictureKind::Png;
  if (StartsWith(data, "GIF87a") || StartsWith(data, "GIF89a")) return TPictureKind::Gif;
  if (StartsWith(data, "BM")) return TPictureKind::Bmp;
  return TPictureKind::Unknown;
}

TBitmap32 DecodePicture(std::span<const uint8_t> data) {
  const TPictureKind kind = PictureKindOf(data);
  for (const TDecoderEntry& d : kDecoders)
    if (d.Kind == kind) return d.Decode(data);
  throw TDecodeError("unknown picture format");
}

std::string ReadPictureBytes(const std::string& path, size_t maxBytes) {
  bool tooLarge = false;
  std::optional<std::string> bytes = ReadFileWindow(path, maxBytes, &tooLarge);
  if (tooLarge) throw TDecodeError("picture file too large: " + path);
  if (!bytes) throw TDecodeError("cannot read " + path);
  return std::move(*bytes);
}

TBitmap32 DecodePictureFile(const std::string& path) {
  const std::string bytes = ReadPictureBytes(path);
  return DecodePicture({reinterpret_cast<const uint8_t*>(bytes.data()), bytes.size()});
}

}  // namespace kx
