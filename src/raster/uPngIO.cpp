#include "raster/uPngIO.h"

#include <png.h>

#include <cstdio>
#include <cstring>
#include <memory>
#include <stdexcept>

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

std::string EncodePng(const TBitmap32& bitmap) {
  if (bitmap.Empty()) throw std::invalid_argument("cannot encode an empty picture as PNG");
  TPngImage image;
  image->width = png_uint_32(bitmap.Width());
  image->height = png_uint_32(bitmap.Height());
  image->format = PNG_FORMAT_BGRA;
  png_alloc_size_t size = 0;  // the first call measures, the second writes
  if (!png_image_write_to_memory(image.get(), nullptr, &size, 0, bitmap.Bits(), png_int_32(bitmap.StrideBytes()),
                                 nullptr))
    throw std::runtime_error(std::string("PNG encoding failed: ") + image->message);
  std::string out(size, '\0');
  if (!png_image_write_to_memory(image.get(), out.data(), &size, 0, bitmap.Bits(), png_int_32(bitmap.StrideBytes()),
                                 nullptr))
    throw std::runtime_error(std::string("PNG encoding failed: ") + image->message);
  out.resize(size);
  return out;
}

void WritePng(const std::string& path, const TBitmap32& bitmap) {
  const std::string bytes = EncodePng(bitmap);
  std::unique_ptr<std::FILE, int (*)(std::FILE*)> f(std::fopen(path.c_str(), "wb"), std::fclose);
  if (!f || std::fwrite(bytes.data(), 1, bytes.size(), f.get()) != bytes.size() || std::fflush(f.get()) != 0)
    throw std::runtime_error("cannot write " + path);
}

}  // namespace kx
