// A still object picture as decoded once for every object that names its
// file: the pixels, the alpha mask of a PNG with alpha, and the scaled (and
// mirrored) copies the objects draw, which are shared the same way.
#pragma once

#include <cstdint>
#include <memory>
#include <mutex>
#include <vector>

#include "raster/uBitmap.h"

namespace kx {

class TSharedPicture {
 public:
  // A scaled copy larger than this is not kept, nor one that would take the
  // copies of all pictures together beyond kMaxScaledBytes: the picture is
  // then drawn by nearest pixel straight from the original.
  static constexpr int64_t kMaxScaledPixels = int64_t(1) << 22;
  static constexpr int64_t kMaxScaledBytes = int64_t(256) << 20;
  // Copies kept per object drawing the picture: a size of exactly .5 pixels
  // alternates with the position's parity, and each facing has its own copy.
  static constexpr size_t kScaledPerUser = 4;

  TSharedPicture(TBitmap32 picture, bool hasAlphaMask);
  ~TSharedPicture();
  TSharedPicture(const TSharedPicture&) = delete;
  TSharedPicture& operator=(const TSharedPicture&) = delete;

  const TBitmap32& Picture() const { return m_picture; }
  bool HasAlphaMask() const { return m_hasAlphaMask; }
  // Width x Height alpha values, top row first; empty without a mask. The
  // same values are the fourth byte of Picture's pixels, which the blend reads.
  const std::vector<uint8_t>& AlphaMask() const { return m_alphaMask; }
  // What the picture and its mask take.
  int64_t Bytes() const;

  // The picture scaled to w x h with the fast filter (mirrored when asked),
  // made on first use and kept for every object while `users` objects share
  // the picture; null when the copy would be too large.
  std::shared_ptr<const TBitmap32> Scaled(int32_t w, int32_t h, bool mirrored, size_t users) const;

 private:
  struct TScaled {
    int32_t W = 0, H = 0;
    bool Mirrored = false;
    uint64_t LastUse = 0;
    std::shared_ptr<const TBitmap32> Bitmap;
  };
  void Release(TScaled& s) const;

  TBitmap32 m_picture;
  bool m_hasAlphaMask = false;
  std::vector<uint8_t> m_alphaMask;
  mutable std::mutex m_mutex;  // the scaled copies: objects of several shows may share them
  mutable std::vector<TScaled> m_scaled;
  mutable uint64_t m_uses = 0;
};

}  // namespace kx
