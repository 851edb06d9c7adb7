#include "animation/uSharedPicture.h"

#include <algorithm>
#include <atomic>

#include "raster/uFastScale.h"

namespace kx {
namespace {

// Bytes held by the scaled copies of all pictures.
std::atomic<int64_t> g_scaledBytes{0};

int64_t BytesOf(const TBitmap32& b) { return int64_t(b.StrideBytes()) * b.Height(); }

}  // namespace

TSharedPicture::TSharedPicture(TBitmap32 picture, bool hasAlphaMask)
    : m_picture(std::move(picture)), m_hasAlphaMask(hasAlphaMask) {
  if (!m_hasAlphaMask) return;
  m_alphaMask.reserve(size_t(m_picture.Width()) * size_t(m_picture.Height()));
  for (int32_t y = 0; y < m_picture.Height(); ++y)
    for (int32_t x = 0; x < m_picture.Width(); ++x) m_alphaMask.push_back(PixelA(m_picture.Pixel(x, y)));
}

TSharedPicture::~TSharedPicture() {
  for (TScaled& s : m_scaled) Release(s);
}

int64_t TSharedPicture::Bytes() const { return BytesOf(m_picture) + int64_t(m_alphaMask.size()); }

void TSharedPicture::Release(TScaled& s) const {
  if (s.Bitmap) g_scaledBytes -= BytesOf(*s.Bitmap);
  s = TScaled();
}

std::shared_ptr<const TBitmap32> TSharedPicture::Scaled(int32_t w, int32_t h, bool mirrored, size_t users) const {
  const std::lock_guard lock(m_mutex);
  ++m_uses;
  const size_t slots = kScaledPerUser * std::max<size_t>(users, 1);
  if (m_scaled.size() > slots) {  // fewer users: the most recent copies stay
    std::sort(m_scaled.begin(), m_scaled.end(), [](const TScaled& a, const TScaled& b) { return a.LastUse > b.LastUse; });
    for (size_t i = slots; i < m_scaled.size(); ++i) Release(m_scaled[i]);
  }
  m_scaled.resize(slots);
  TScaled* oldest = &m_scaled[0];
  for (TScaled& s : m_scaled) {
    if (s.Bitmap && s.W == w && s.H == h && s.Mirrored == mirrored) {
      s.LastUse = m_uses;
      return s.Bitmap;
    }
    if (s.LastUse < oldest->LastUse) oldest = &s;
  }
  const int64_t bytes = int64_t(w) * h * int64_t(sizeof(TPixel));
  Release(*oldest);
  if (int64_t(w) * h > kMaxScaledPixels || g_scaledBytes + bytes > kMaxScaledBytes) return nullptr;
  TBitmap32 scaled = ScaleFast(m_picture, w, h);
  if (mirrored)
    for (int32_t y = 0; y < h; ++y) std::reverse(scaled.Row(y), scaled.Row(y) + w);
  g_scaledBytes += bytes;
  oldest->W = w, oldest->H = h, oldest->Mirrored = mirrored, oldest->LastUse = m_uses;
  oldest->Bitmap = std::make_shared<const TBitmap32>(std::move(scaled));
  return oldest->Bitmap;
}

}  // namespace kx
