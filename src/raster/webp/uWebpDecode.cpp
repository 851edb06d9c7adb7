#include "raster/uWebpDecode.h"

#include <webp/decode.h>
#include <webp/demux.h>

#include <cstring>
#include <memory>

#include "raster/uDecodeError.h"

namespace kx {
namespace {

struct TAnimDecoderFree {
  void operator()(WebPAnimDecoder* d) const { WebPAnimDecoderDelete(d); }
};

WebPBitstreamFeatures Features(std::span<const uint8_t> data) {
  WebPBitstreamFeatures features;
  const VP8StatusCode status = WebPGetFeatures(data.data(), data.size(), &features);
  if (status == VP8_STATUS_NOT_ENOUGH_DATA) throw TDecodeError("WebP: the file is cut short");
  if (status != VP8_STATUS_OK) throw TDecodeError("WebP: not a picture this decoder reads");
  return features;
}

// The budget of every decoder, checked on the declared size: a few bytes of
// header may claim a canvas of 16384 x 16384.
void CheckSize(int width, int height) {
  if (width < 1 || height < 1 || width > TBitmap32::kMaxSide || height > TBitmap32::kMaxSide)
    throw TDecodeError("WebP picture size out of range");
  if (int64_t(width) * height > kMaxDecodedPixels) throw TDecodeError(TooLargeMessage("WebP", width, height));
}

// The first frame composed on the animation's canvas, which starts out
// transparent (the background colour a file names is only a hint).
TBitmap32 FirstFrame(std::span<const uint8_t> data) {
  WebPAnimDecoderOptions options;
  if (!WebPAnimDecoderOptionsInit(&options)) throw TDecodeError("WebP: decoder version mismatch");
  options.color_mode = MODE_BGRA;
  options.use_threads = 0;
  const WebPData webp{data.data(), data.size()};
  const std::unique_ptr<WebPAnimDecoder, TAnimDecoderFree> decoder(WebPAnimDecoderNew(&webp, &options));
  if (!decoder) throw TDecodeError("WebP: the animation does not read");
  WebPAnimInfo info;
  if (!WebPAnimDecoderGetInfo(decoder.get(), &info)) throw TDecodeError("WebP: the animation does not read");
  CheckSize(int(info.canvas_width), int(info.canvas_height));
  uint8_t* canvas = nullptr;
  int timestamp = 0;
  if (!WebPAnimDecoderGetNext(decoder.get(), &canvas, &timestamp) || !canvas)
    throw TDecodeError("WebP: the first frame does not decode");
  TBitmap32 bitmap{int32_t(info.canvas_width), int32_t(info.canvas_height)};
  std::memcpy(bitmap.Bits(), canvas, bitmap.StrideBytes() * size_t(bitmap.Height()));
  return bitmap;
}

}  // namespace

bool WebpBuiltIn() { return true; }

std::optional<TPoint> WebpPictureSize(std::span<const uint8_t> data) {
  WebPBitstreamFeatures features;
  if (WebPGetFeatures(data.data(), data.size(), &features) != VP8_STATUS_OK) return std::nullopt;
  return TPoint{features.width, features.height};
}

TBitmap32 DecodeWebp(std::span<const uint8_t> data) {
  const WebPBitstreamFeatures features = Features(data);
  CheckSize(features.width, features.height);
  if (features.has_animation) return FirstFrame(data);
  TBitmap32 bitmap{features.width, features.height};
  // Blue, green, red, alpha in memory: the bitmap's own layout.
  if (!WebPDecodeBGRAInto(data.data(), data.size(), reinterpret_cast<uint8_t*>(bitmap.Bits()),
                          bitmap.StrideBytes() * size_t(bitmap.Height()), int(bitmap.StrideBytes())))
    throw TDecodeError("WebP: the picture does not decode (damaged or cut short)");
  return bitmap;
}

}  // namespace kx
