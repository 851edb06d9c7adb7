#include "raster/uBitmap.h"

#include <algorithm>
#include <cstring>
#include <stdexcept>

namespace kx {

TBitmap32::TBitmap32(int32_t width, int32_t height, TPixel fill) { SetSize(width, height, fill); }

namespace {

void CheckSize(int32_t width, int32_t height) {
  if (width < 0 || height < 0 || width > TBitmap32::kMaxSide || height > TBitmap32::kMaxSide ||
      int64_t(width) * height > TBitmap32::kMaxPixels)
    throw std::length_error("bitmap size out of range");
}

}  // namespace

// New pixels are cleared here as they always were, whatever the allocator.
void TBitmap32::SetSize(int32_t width, int32_t height) {
  CheckSize(width, height);
  m_width = width;
  m_height = height;
  m_pixels.resize(size_t(width) * size_t(height), TPixel(0));
}

void TBitmap32::SetSizeForOverwrite(int32_t width, int32_t height) {
  CheckSize(width, height);
  m_width = width;
  m_height = height;
  m_pixels.resize(size_t(width) * size_t(height));
}

void TBitmap32::SetSize(int32_t width, int32_t height, TPixel fill) {
  SetSizeForOverwrite(width, height);
  Fill(fill);
}

void TBitmap32::Fill(TPixel p) { std::fill(m_pixels.begin(), m_pixels.end(), p); }

void TBitmap32::FillRect(const TRect& r, TPixel p) {
  const TRect c = r.Intersect(BoundsRect());
  for (int32_t y = c.Top; y < c.Bottom; ++y) std::fill(Row(y) + c.Left, Row(y) + c.Right, p);
}

void TBitmap32::Draw(int32_t x, int32_t y, const TBitmap32& src) {
  const TRect c = src.BoundsRect().Offset(x, y).Intersect(BoundsRect());
  if (c.Empty()) return;
  for (int32_t row = c.Top; row < c.Bottom; ++row)
    std::memmove(Row(row) + c.Left, src.Row(row - y) + (c.Left - x), size_t(c.Width()) * sizeof(TPixel));
}

}  // namespace kx
