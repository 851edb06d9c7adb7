// The program's one picture type: 32-bit pixels stored as the bytes blue,
// green, red and a fourth byte (alpha where it is used), rows top-down without
// gaps. As a 32-bit integer a pixel reads 0xAARRGGBB on every little-endian
// machine, which is pixman's a8r8g8b8 (and x8r8g8b8 where alpha is unused).
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <utility>
#include <vector>

#include "raster/uGeometry.h"

namespace kx {

class TRegion;  // raster/uRegion.h

using TPixel = uint32_t;

constexpr TPixel MakePixel(uint8_t r, uint8_t g, uint8_t b, uint8_t a = 255) {
  return TPixel(a) << 24 | TPixel(r) << 16 | TPixel(g) << 8 | TPixel(b);
}
constexpr uint8_t PixelB(TPixel p) { return uint8_t(p); }
constexpr uint8_t PixelG(TPixel p) { return uint8_t(p >> 8); }
constexpr uint8_t PixelR(TPixel p) { return uint8_t(p >> 16); }
constexpr uint8_t PixelA(TPixel p) { return uint8_t(p >> 24); }

// The pixels' allocator: an element made without a value is left as the
// memory was, so a buffer that a writer fills whole is never cleared first.
template <class T>
struct TUninitialisedAllocator : std::allocator<T> {
  template <class U>
  struct rebind {
    using other = TUninitialisedAllocator<U>;
  };
  TUninitialisedAllocator() = default;
  template <class U>
  TUninitialisedAllocator(const TUninitialisedAllocator<U>&) noexcept {}
  template <class U>
  void construct(U* p) noexcept {
    ::new (static_cast<void*>(p)) U;
  }
  template <class U, class... Args>
  void construct(U* p, Args&&... args) {
    ::new (static_cast<void*>(p)) U(std::forward<Args>(args)...);
  }
};

class TBitmap32 {
 public:
  // Largest width or height accepted, and largest pixel count: a picture
  // beyond these is refused before anything is allocated.
  static constexpr int32_t kMaxSide = 32768;
  static constexpr int64_t kMaxPixels = int64_t(1) << 28;

  TBitmap32() = default;
  // Throws std::length_error for a negative or oversized size.
  TBitmap32(int32_t width, int32_t height, TPixel fill = 0);

  int32_t Width() const { return m_width; }
  int32_t Height() const { return m_height; }
  bool Empty() const { return m_width == 0 || m_height == 0; }
  TRect BoundsRect() const { return {0, 0, m_width, m_height}; }

  // Resizes; the content is undefined afterwards unless fill is given.
  void SetSize(int32_t width, int32_t height);
  void SetSize(int32_t width, int32_t height, TPixel fill);
  // Resizes for a writer that sets every pixel next (a decoder, a
  // resampler): nothing is cleared, and the allocation is kept when it is
  // large enough, so a bitmap reused from picture to picture costs no fresh
  // memory. The content is undefined until written.
  void SetSizeForOverwrite(int32_t width, int32_t height);

  TPixel* Row(int32_t y) { return m_pixels.data() + size_t(y) * size_t(m_width); }
  const TPixel* Row(int32_t y) const { return m_pixels.data() + size_t(y) * size_t(m_width); }
  TPixel* Bits() { return m_pixels.data(); }
  const TPixel* Bits() const { return m_pixels.data(); }
  size_t StrideBytes() const { return size_t(m_width) * sizeof(TPixel); }

  TPixel Pixel(int32_t x, int32_t y) const { return Row(y)[x]; }
  void SetPixel(int32_t x, int32_t y, TPixel p) { Row(y)[x] = p; }

  void Fill(TPixel p);
  void FillRect(const TRect& r, TPixel p);  // clipped to the bitmap

  // Copies src with its top-left corner at (x, y), clipped to this bitmap.
  void Draw(int32_t x, int32_t y, const TBitmap32& src);

  // The drawing clip honoured by Copy and StretchCopy (raster/uBlit.h); none
  // means the whole bitmap. Set it through SetClip and ExcludeClip there. The
  // region is shared read-only, so copying a bitmap copies its clip too.
  const std::shared_ptr<const TRegion>& ClipRegion() const { return m_clip; }
  void SetClipRegion(std::shared_ptr<const TRegion> clip) { m_clip = std::move(clip); }

  friend bool operator==(const TBitmap32& a, const TBitmap32& b) {
    return a.m_width == b.m_width && a.m_height == b.m_height && a.m_pixels == b.m_pixels;
  }

 private:
  int32_t m_width = 0, m_height = 0;
  std::vector<TPixel, TUninitialisedAllocator<TPixel>> m_pixels;
  std::shared_ptr<const TRegion> m_clip;
};

}  // namespace kx
