#include "raster/uHeifDecode.h"

#include <libheif/heif.h>

#include <algorithm>
#include <memory>
#include <string>

#include "raster/uDecodeError.h"

namespace kx {
namespace {

struct THeifFree {
  void operator()(heif_context* c) const { heif_context_free(c); }
  void operator()(const heif_image_handle* h) const { heif_image_handle_release(h); }
  void operator()(const heif_image* i) const { heif_image_release(i); }
  void operator()(heif_decoding_options* o) const { heif_decoding_options_free(o); }
};
using TContext = std::unique_ptr<heif_context, THeifFree>;
using THandle = std::unique_ptr<const heif_image_handle, THeifFree>;
using TImage = std::unique_ptr<const heif_image, THeifFree>;
using TOptions = std::unique_ptr<heif_decoding_options, THeifFree>;

// The library's codecs are registered once for the program's life.
void InitOnce() {
  static const bool done = [] {
    heif_init(nullptr);
    return true;
  }();
  (void)done;
}

void Check(heif_error e) {
  if (e.code != heif_error_Ok) throw TDecodeError(std::string("HEIF: ") + (e.message ? e.message : "error"));
}

// The file's boxes read (nothing decoded yet) and its primary picture. The
// library refuses a picture wider or taller than the bitmap's own limit
// itself; the data must outlive both.
struct TPrimary {
  TContext Context;
  THandle Handle;
};

TPrimary PrimaryPicture(std::span<const uint8_t> data) {
  InitOnce();
  TPrimary p{TContext(heif_context_alloc()), nullptr};
  if (!p.Context) throw TDecodeError("HEIF: out of memory");
  heif_context_set_maximum_image_size_limit(p.Context.get(), TBitmap32::kMaxSide);
  // Tiles are decoded on the caller's thread: the show and the thumbnails
  // already decode off the window's thread, one picture each.
  heif_context_set_max_decoding_threads(p.Context.get(), 0);
  Check(heif_context_read_from_memory_without_copy(p.Context.get(), data.data(), data.size(), nullptr));
  heif_image_handle* handle = nullptr;
  Check(heif_context_get_primary_image_handle(p.Context.get(), &handle));
  p.Handle.reset(handle);
  return p;
}

// A picture made of tiles or overlaid pictures has a size of its own that
// the library checks only against its per-side limit, not against the size
// the file declares: a grid of a few bytes may claim 30000 x 30000 and take
// gigabytes. Before decoding, that limit is brought down to the declared
// longer side (4096 at least), and a longer side than this is refused:
// whatever a file's grid claims then stays within 8192 x 8192 (about 200 MB
// for 8-bit tiles).
constexpr int kMaxHeifSide = 8192;

void CheckSize(int width, int height) {
  if (width < 1 || height < 1 || width > TBitmap32::kMaxSide || height > TBitmap32::kMaxSide)
    throw TDecodeError("HEIF picture size out of range");
  if (int64_t(width) * height > kMaxDecodedPixels) throw TDecodeError(TooLargeMessage("HEIF", width, height));
  if (std::max(width, height) > kMaxHeifSide)
    throw TDecodeError("HEIF picture of " + std::to_string(width) + " x " + std::to_string(height) +
                       " pixels has a side longer than " + std::to_string(kMaxHeifSide) + " pixels");
}

uint8_t Unpremultiplied(uint8_t c, uint8_t a) { return a == 0 ? 0 : uint8_t(std::min(255, (c * 255 + a / 2) / a)); }

}  // namespace

bool HeicBuiltIn() {
  InitOnce();
  return heif_have_decoder_for_format(heif_compression_HEVC) != 0;
}

bool AvifBuiltIn() {
  InitOnce();
  return heif_have_decoder_for_format(heif_compression_AV1) != 0;
}

std::optional<TPoint> HeifPictureSize(std::span<const uint8_t> data) {
  try {
    const TPrimary p = PrimaryPicture(data);
    return TPoint{heif_image_handle_get_width(p.Handle.get()), heif_image_handle_get_height(p.Handle.get())};
  } catch (const TDecodeError&) {
    return std::nullopt;
  }
}

TBitmap32 DecodeHeif(std::span<const uint8_t> data) {
  const TPrimary p = PrimaryPicture(data);
  const heif_image_handle* handle = p.Handle.get();
  // The size after the file's rotation and crop, as the picture decodes.
  const int declaredW = heif_image_handle_get_width(handle), declaredH = heif_image_handle_get_height(handle);
  CheckSize(declaredW, declaredH);
  // Not below 4096 either: a small picture may be cropped from a large tile.
  heif_context_set_maximum_image_size_limit(p.Context.get(), std::max({declaredW, declaredH, 4096}) + 1);
  const bool premultiplied = heif_image_handle_is_premultiplied_alpha(handle) != 0;
  const TOptions options(heif_decoding_options_alloc());
  if (!options) throw TDecodeError("HEIF: out of memory");
  options->convert_hdr_to_8bit = 1;  // 10- and 12-bit pictures too, as 8 bits a channel
  heif_image* decoded = nullptr;
  Check(heif_decode_image(handle, &decoded, heif_colorspace_RGB, heif_chroma_interleaved_RGBA, options.get()));
  const TImage image(decoded);
  const int w = heif_image_get_width(image.get(), heif_channel_interleaved);
  const int h = heif_image_get_height(image.get(), heif_channel_interleaved);
  // Budgets are kept on the declared size (DeclaredPictureSize): a picture
  // that decodes to another (a grid larger than its own "ispe") is refused.
  if (w != declaredW || h != declaredH)
    throw TDecodeError("HEIF: the picture decodes to another size than it declares");
  int stride = 0;
  const uint8_t* plane = heif_image_get_plane_readonly(image.get(), heif_channel_interleaved, &stride);
  if (!plane || stride < w * 4) throw TDecodeError("HEIF: the picture does not decode");
  TBitmap32 bitmap{w, h};
  for (int y = 0; y < h; ++y) {
    const uint8_t* s = plane + size_t(y) * size_t(stride);
    TPixel* d = bitmap.Row(y);
    for (int x = 0; x < w; ++x, s += 4) {
      const uint8_t a = s[3];
      d[x] = premultiplied ? MakePixel(Unpremultiplied(s[0], a), Unpremultiplied(s[1], a), Unpremultiplied(s[2], a), a)
                           : MakePixel(s[0], s[1], s[2], a);
    }
  }
  return bitmap;
}

}  // namespace kx
