#include "raster/uPngIO.h"

#include <png.h>

#include <cstdio>
#include <cstring>
#include <memory>
#include <stdexcept>

#include "os/uFileAccess.h"
#include "raster/uDecodeError.h"

namespace kx {
namespace {

// Frees libpng's state whether or not reading finished.
class TPngImage {
 public:
  TPngImage() {
    std::memset(&m_image, 0, sizeof m_image);
    m_image.version = PNG_IMAGE_VERSION;
  }
  ~TPngImage() { png_image_free(&m_image); }
  TPngImage(const TPngImage&) = delete;
  TPngImage& operator=(const TPngImage&) = delete;
  png_image* operator->() { return &m_image; }
  png_image* get() { return &m_image; }

 private:
  png_image m_image;
};

}  // namespace

TBitmap32 DecodePng(std::span<const uint8_t> data) {
  TPngImage image;
  if (!png_image_begin_read_from_memory(image.get(), data.data(), data.size()))
    throw TDecodeError(std::string("PNG: ") + image->message);
  const png_uint_32 w = image->width, h = image->height;
  if (w == 0 || h == 0 || w > png_uint_32(TBitmap32::kMaxSide) || h > png_uint_32(TBitmap32::kMaxSide))
    throw TDecodeError("PNG picture size out of range");
  if (int64_t(w) * h > kMaxDecodedPixels) throw TDecodeError(TooLargeMessage("PNG", w, h));
  image->format = PNG_FORMAT_BGRA;
  TBitmap32 bitmap{int32_t(w), int32_t(h)};
  if (!png_image_finish_read(image.get(), nullptr, bitmap.Bits(), png_int_32(bitmap.StrideBytes()), nullptr))
    throw TDecodeError(std::string("PNG: ") + image->message);
  return bitmap;
}

namespace {

void AppendBytes(png_structp png, png_bytep data, png_size_t n) {
  static_cast<std::string*>(png_get_io_ptr(png))->append(reinterpret_cast<const char*>(data), n);
}

void NoFlush(png_structp) {}

}  // namespace

// One pass at zlib's fastest level with the cheap "sub" filter: frames are
// written for looking at and comparing, where time matters more than bytes.
std::string EncodePng(const TBitmap32& bitmap) {
  if (bitmap.Empty()) throw std::invalid_argument("cannot encode an empty picture as PNG");
  png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
  png_infop info = png ? png_create_info_struct(png) : nullptr;
  if (!png || !info) {
    png_destroy_write_struct(&png, &info);
    throw std::runtime_error("PNG encoding failed: out of memory");
  }
  std::string out;
  out.reserve(size_t(bitmap.Width()) * size_t(bitmap.Height()) / 2);
  if (setjmp(png_jmpbuf(png))) {
    png_destroy_write_struct(&png, &info);
    throw std::runtime_error("PNG encoding failed");
  }
  png_set_write_fn(png, &out, AppendBytes, NoFlush);
  png_set_IHDR(png, info, png_uint_32(bitmap.Width()), png_uint_32(bitmap.Height()), 8, PNG_COLOR_TYPE_RGB_ALPHA,
               PNG_INTERLACE_NONE, PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
  png_set_compression_level(png, 1);
  png_set_filter(png, PNG_FILTER_TYPE_BASE, PNG_FILTER_SUB);
  png_write_info(png, info);
  png_set_bgr(png);  // our pixels are blue, green, red, alpha in memory
  for (int32_t y = 0; y < bitmap.Height(); ++y)
    png_write_row(png, reinterpret_cast<png_const_bytep>(bitmap.Row(y)));
  png_write_end(png, nullptr);
  png_destroy_write_struct(&png, &info);
  return out;
}

void WritePng(const std::string& path, const TBitmap32& bitmap) {
  const std::string bytes = EncodePng(bitmap);
  const TFilePtr f = CreateWritableFile(path);
  if (!f || std::fwrite(bytes.data(), 1, bytes.size(), f.get()) != bytes.size() || std::fflush(f.get()) != 0)
    throw std::runtime_error("cannot write " + path);
}

}  // namespace kx
