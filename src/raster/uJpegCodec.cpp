#include "raster/uJpegCodec.h"

#include <algorithm>
#include <csetjmp>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <limits>
#include <string>

#include <jpeglib.h>
#include <jerror.h>

#include "raster/uDecodeError.h"
#include "raster/uPictureDecode.h"

// libjpeg reports errors by calling a routine that must not return. Ours
// longjmps back into the plain functions below, which hold no C++ objects
// between their setjmp and the library calls; the C++ callers turn the failure
// into an exception after the jump has landed.

namespace kx {
namespace {

// Progressive streams may carry any number of scans, each one a pass over the
// whole picture at its full size, whatever the DCT scale; far more than any
// encoder writes is refused: 500 scans, and over large pictures no more passes
// than 64 over a picture of the decoded-pixel budget (a few seconds), but
// always the 3 scans of a sequential picture stored one component at a time.
constexpr int kMaxScans = 500;
constexpr int64_t kMaxScanPixels = 64 * kMaxDecodedPixels;

int ScanLimit(j_decompress_ptr d) {
  const int64_t pixels = std::max<int64_t>(1, int64_t(d->image_width) * d->image_height);
  return int(std::clamp<int64_t>(kMaxScanPixels / pixels, 3, kMaxScans));
}
// Working memory the decoder may take beside the output bitmap: progressive
// streams keep the coefficients of the whole picture, about 3 bytes per pixel
// for colour photos, so this admits progressive pictures of some 85 megapixels.
constexpr long kMaxDecoderMemory = 256L << 20;

struct TJpegError {
  jpeg_error_mgr pub;
  std::jmp_buf jump;
  char message[JMSG_LENGTH_MAX];
};

[[noreturn]] void FailWith(j_common_ptr c) {
  auto* e = reinterpret_cast<TJpegError*>(c->err);
  (*c->err->format_message)(c, e->message);
  std::longjmp(e->jump, 1);
}

void OnError(j_common_ptr c) { FailWith(c); }

// Warnings are ignored, except the one for a stream that ends early: the
// library would fill the rest of the picture with grey, we refuse the stream.
void OnMessage(j_common_ptr c, int level) {
  if (level < 0 && c->err->msg_code == JWRN_JPEG_EOF) FailWith(c);
}

void OnProgress(j_common_ptr c) {
  if (!c->is_decompressor) return;
  const auto d = reinterpret_cast<j_decompress_ptr>(c);
  if (const int limit = ScanLimit(d); d->input_scan_number > limit) {
    auto* e = reinterpret_cast<TJpegError*>(c->err);
    std::snprintf(e->message, sizeof e->message, "JPEG stream of %u x %u pixels has more than %d scans",
                  d->image_width, d->image_height, limit);
    std::longjmp(e->jump, 1);
  }
}

struct TDecoder {
  jpeg_decompress_struct cinfo;
  TJpegError err;
  jpeg_progress_mgr progress;
  bool created;
  bool cmyk;
};

// Reads the header and fixes the output size: the picture scaled down by
// scaleDenom, or by the smallest larger DCT scale (up to 8) that brings it
// within maxPixels. False with err.message set on failure.
bool StartDecoder(TDecoder* d, const uint8_t* data, size_t size, int scaleDenom, int64_t maxPixels) {
  if (setjmp(d->err.jump)) return false;
  jpeg_create_decompress(&d->cinfo);
  d->created = true;
  d->cinfo.mem->max_memory_to_use = kMaxDecoderMemory;
  d->progress.progress_monitor = OnProgress;
  d->cinfo.progress = &d->progress;
  jpeg_mem_src(&d->cinfo, data, static_cast<unsigned long>(size));
  if (jpeg_read_header(&d->cinfo, TRUE) != JPEG_HEADER_OK) {
    std::snprintf(d->err.message, sizeof d->err.message, "JPEG stream holds no picture");
    return false;
  }
  d->cmyk = d->cinfo.jpeg_color_space == JCS_CMYK || d->cinfo.jpeg_color_space == JCS_YCCK;
  d->cinfo.out_color_space = d->cmyk ? JCS_CMYK : JCS_EXT_BGRA;
  const TPoint full{int32_t(d->cinfo.image_width), int32_t(d->cinfo.image_height)};
  // Worked out in the decoder's own fields: a local changed after setjmp
  // would have no defined value after a longjmp.
  d->cinfo.scale_num = 1;
  d->cinfo.scale_denom = static_cast<unsigned>(scaleDenom);
  while (d->cinfo.scale_denom < 8 && JpegScaledPixels(full, int(d->cinfo.scale_denom)) > maxPixels)
    d->cinfo.scale_denom *= 2;
  jpeg_calc_output_dimensions(&d->cinfo);
  return true;
}

// Decodes every row into pixels (four bytes per pixel, stride bytes per row).
bool ReadRows(TDecoder* d, uint8_t* pixels, size_t stride) {
  if (setjmp(d->err.jump)) return false;
  jpeg_start_decompress(&d->cinfo);
  while (d->cinfo.output_scanline < d->cinfo.output_height) {
    JSAMPROW row = pixels + stride * d->cinfo.output_scanline;
    if (jpeg_read_scanlines(&d->cinfo, &row, 1) != 1) {
      std::snprintf(d->err.message, sizeof d->err.message, "JPEG stream ends early");
      return false;
    }
  }
  jpeg_finish_decompress(&d->cinfo);
  return true;
}

// Releases the decoder whatever state it was left in.
class TDecoderHolder {
 public:
  TDecoderHolder() {
    std::memset(&m_d, 0, sizeof m_d);
    m_d.cinfo.err = jpeg_std_error(&m_d.err.pub);
    m_d.err.pub.error_exit = OnError;
    m_d.err.pub.emit_message = OnMessage;
  }
  ~TDecoderHolder() {
    if (m_d.created) jpeg_destroy_decompress(&m_d.cinfo);
  }
  TDecoderHolder(const TDecoderHolder&) = delete;
  TDecoderHolder& operator=(const TDecoderHolder&) = delete;
  TDecoder* operator->() { return &m_d; }
  TDecoder* get() { return &m_d; }

 private:
  TDecoder m_d;
};

// Adobe writes CMYK JPEGs inverted (0 = full ink), which is what almost every
// CMYK JPEG in circulation is.
void CmykToPixels(TBitmap32& bitmap, bool inverted) {
  for (int32_t y = 0; y < bitmap.Height(); ++y) {
    auto* p = reinterpret_cast<uint8_t*>(bitmap.Row(y));
    for (int32_t x = 0; x < bitmap.Width(); ++x, p += 4) {
      int c = p[0], m = p[1], ye = p[2], k = p[3];
      if (!inverted) c = 255 - c, m = 255 - m, ye = 255 - ye, k = 255 - k;
      bitmap.Row(y)[x] = MakePixel(uint8_t(c * k / 255), uint8_t(m * k / 255), uint8_t(ye * k / 255));
    }
  }
}

struct TEncoder {
  jpeg_compress_struct cinfo;
  TJpegError err;
  bool created;
  unsigned char* out;
  unsigned long outSize;
};

bool Encode(TEncoder* e, const uint8_t* pixels, size_t stride, int width, int height, int quality) {
  if (setjmp(e->err.jump)) return false;
  jpeg_create_compress(&e->cinfo);
  e->created = true;
  jpeg_mem_dest(&e->cinfo, &e->out, &e->outSize);
  e->cinfo.image_width = static_cast<JDIMENSION>(width);
  e->cinfo.image_height = static_cast<JDIMENSION>(height);
  e->cinfo.input_components = 4;
  e->cinfo.in_color_space = JCS_EXT_BGRX;
  jpeg_set_defaults(&e->cinfo);
  jpeg_set_quality(&e->cinfo, quality, TRUE);
  jpeg_start_compress(&e->cinfo, TRUE);
  while (e->cinfo.next_scanline < e->cinfo.image_height) {
    JSAMPROW row = const_cast<uint8_t*>(pixels + stride * e->cinfo.next_scanline);
    jpeg_write_scanlines(&e->cinfo, &row, 1);
  }
  jpeg_finish_compress(&e->cinfo);
  return true;
}

}  // namespace

int64_t JpegScaledPixels(TPoint fullSize, int scaleDenom) {
  return ((int64_t(fullSize.X) + scaleDenom - 1) / scaleDenom) * ((int64_t(fullSize.Y) + scaleDenom - 1) / scaleDenom);
}

TBitmap32 DecodeJpeg(std::span<const uint8_t> data, int scaleDenom, int64_t maxPixels) {
  TBitmap32 bitmap;
  DecodeJpegInto(data, scaleDenom, maxPixels, bitmap);
  return bitmap;
}

void DecodeJpegInto(std::span<const uint8_t> data, int scaleDenom, int64_t maxPixels, TBitmap32& bitmap) {
  if (scaleDenom != 1 && scaleDenom != 2 && scaleDenom != 4 && scaleDenom != 8)
    throw std::invalid_argument("JPEG scale must be 1, 2, 4 or 8");
  TDecoderHolder d;
  if (!StartDecoder(d.get(), data.data(), data.size(), scaleDenom, maxPixels)) throw TDecodeError(d->err.message);
  const JDIMENSION w = d->cinfo.output_width, h = d->cinfo.output_height;
  if (w == 0 || h == 0 || w > JDIMENSION(TBitmap32::kMaxSide) || h > JDIMENSION(TBitmap32::kMaxSide))
    throw TDecodeError("JPEG picture size out of range");
  if (int64_t(w) * h > maxPixels)
    throw TDecodeError("JPEG picture of " + std::to_string(d->cinfo.image_width) + " x " +
                       std::to_string(d->cinfo.image_height) + " pixels is too large even at 1/8 scale (limit " +
                       std::to_string(maxPixels) + " pixels)");
  // Every row is written by the decoder (or the decode fails).
  bitmap.SetSizeForOverwrite(int32_t(w), int32_t(h));
  if (!ReadRows(d.get(), reinterpret_cast<uint8_t*>(bitmap.Bits()), bitmap.StrideBytes()))
    throw TDecodeError(d->err.message);
  if (d->cmyk) CmykToPixels(bitmap, d->cinfo.saw_Adobe_marker);
}

std::optional<TPoint> JpegPictureSize(std::span<const uint8_t> data) {
  TDecoderHolder d;
  if (!StartDecoder(d.get(), data.data(), data.size(), 1, std::numeric_limits<int64_t>::max())) return std::nullopt;
  return TPoint{int32_t(d->cinfo.image_width), int32_t(d->cinfo.image_height)};
}

int JpegScaleToCover(TPoint fullSize, TPoint target) {
  for (int denom : {8, 4, 2})
    if ((int64_t(fullSize.X) + denom - 1) / denom >= target.X && (int64_t(fullSize.Y) + denom - 1) / denom >= target.Y)
      return denom;
  return 1;
}

TBitmap32 DecodeJpegFile(const std::string& path, int scaleDenom, int64_t maxPixels) {
  const std::string bytes = ReadPictureBytes(path);
  return DecodeJpeg({reinterpret_cast<const uint8_t*>(bytes.data()), bytes.size()}, scaleDenom, maxPixels);
}

std::string EncodeJpeg(const TBitmap32& bitmap, int quality) {
  if (bitmap.Empty()) throw std::invalid_argument("cannot encode an empty picture as JPEG");
  TEncoder e;
  std::memset(&e, 0, sizeof e);
  e.cinfo.err = jpeg_std_error(&e.err.pub);
  e.err.pub.error_exit = OnError;
  const bool ok = Encode(&e, reinterpret_cast<const uint8_t*>(bitmap.Bits()), bitmap.StrideBytes(),
                         bitmap.Width(), bitmap.Height(), quality);
  if (e.created) jpeg_destroy_compress(&e.cinfo);
  std::string out;
  if (ok) out.assign(reinterpret_cast<const char*>(e.out), e.outSize);
  std::free(e.out);
  if (!ok) throw std::runtime_error(std::string("JPEG encoding failed: ") + e.err.message);
  return out;
}

}  // namespace kx
