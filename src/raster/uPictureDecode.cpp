#include "raster/uPictureDecode.h"

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <memory>
#include <optional>
#include <utility>

#include "os/uPackedFiles.h"
#include "raster/uBmpDecode.h"
#include "raster/uDecodeError.h"
#include "raster/uGifDecode.h"
#include "raster/uHeifDecode.h"
#include "raster/uJpegCodec.h"
#include "raster/uPngIO.h"
#include "raster/uWebpDecode.h"

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
    {TPictureKind::Webp, DecodeWebp},
    {TPictureKind::Heic, DecodeHeif},
    {TPictureKind::Avif, DecodeHeif},
};

bool HasBrand(std::span<const char* const> brands, std::span<const uint8_t> brand) {
  for (const char* b : brands)
    if (std::memcmp(b, brand.data(), 4) == 0) return true;
  return false;
}

// The brands of an ISO base media file's leading "ftyp" box: its size,
// "ftyp", the major brand, a minor version, then compatible brands up to its
// end (read no further than the data goes).
TPictureKind HeifKindOf(std::span<const uint8_t> data) {
  if (data.size() < 16 || std::memcmp(data.data() + 4, "ftyp", 4) != 0) return TPictureKind::Unknown;
  const size_t boxSize = size_t(data[0]) << 24 | size_t(data[1]) << 16 | size_t(data[2]) << 8 | data[3];
  if (boxSize < 16) return TPictureKind::Unknown;
  static constexpr const char* kHevc[] = {"heic", "heix", "heim", "heis", "hevc", "hevx", "hevm", "hevs"};
  static constexpr const char* kAv1[] = {"avif", "avis"};
  static constexpr const char* kGeneric[] = {"mif1", "msf1"};
  bool generic = false;
  const size_t end = std::min(boxSize, data.size());
  for (size_t at = 8; at + 4 <= end; at += at == 8 ? 8 : 4) {  // the minor version is no brand
    const std::span<const uint8_t> brand = data.subspan(at, 4);
    if (HasBrand(kHevc, brand)) return TPictureKind::Heic;
    if (HasBrand(kAv1, brand)) return TPictureKind::Avif;
    generic = generic || HasBrand(kGeneric, brand);
  }
  return generic ? TPictureKind::Heic : TPictureKind::Unknown;
}

}  // namespace

TPictureKind PictureKindOf(std::span<const uint8_t> data) {
  if (StartsWith(data, "\xFF\xD8\xFF")) return TPictureKind::Jpeg;
  if (StartsWith(data, "\x89PNG\r\n\x1A\n")) return TPictureKind::Png;
  if (StartsWith(data, "GIF87a") || StartsWith(data, "GIF89a")) return TPictureKind::Gif;
  if (StartsWith(data, "BM")) return TPictureKind::Bmp;
  if (StartsWith(data, "RIFF") && data.size() >= 12 && std::memcmp(data.data() + 8, "WEBP", 4) == 0)
    return TPictureKind::Webp;
  return HeifKindOf(data);
}

bool PictureKindBuiltIn(TPictureKind kind) {
  switch (kind) {
    case TPictureKind::Jpeg:
    case TPictureKind::Png:
    case TPictureKind::Gif:
    case TPictureKind::Bmp: return true;
    case TPictureKind::Webp: return WebpBuiltIn();
    case TPictureKind::Heic: return HeicBuiltIn();
    case TPictureKind::Avif: return AvifBuiltIn();
    default: return false;
  }
}

TBitmap32 DecodePicture(std::span<const uint8_t> data) {
  const TPictureKind kind = PictureKindOf(data);
  // A library may lack one codec (libheif without AV1): said the same way as
  // a library that is missing altogether.
  if (kind != TPictureKind::Unknown && !PictureKindBuiltIn(kind))
    throw TDecodeError(std::string(kind == TPictureKind::Webp ? "WebP" : kind == TPictureKind::Heic ? "HEIC" : "AVIF") +
                       " pictures are not built into this program");
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
