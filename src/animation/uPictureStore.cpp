#include "animation/uPictureStore.h"

#include <algorithm>
#include <span>

#include "raster/uDecodeError.h"
#include "raster/uPictureDecode.h"
#include "raster/uPictureSize.h"
#include "raster/uPngAlpha.h"

namespace kx {
namespace {

std::span<const uint8_t> Bytes(const std::string& s) {
  return {reinterpret_cast<const uint8_t*>(s.data()), s.size()};
}

int64_t BytesOf(const TGifFrames& gif) {
  int64_t n = 0;
  for (const TBitmap32& f : gif.Frames) n += int64_t(f.StrideBytes()) * f.Height();
  return n;
}

// Drops the entries nobody holds and adds up what the others take.
template <class TMap, class TSize>
int64_t Live(TMap& map, TSize size) {
  int64_t n = 0;
  for (auto it = map.begin(); it != map.end();) {
    if (auto held = it->second.lock()) {
      n += size(*held);
      ++it;
    } else {
      it = map.erase(it);
    }
  }
  return n;
}

[[noreturn]] void OverBudget(const std::string& path) {
  throw TDecodeError("the pictures of the animated objects would take more than " +
                     std::to_string(TPictureStore::kMaxBytes >> 20) + " MB: " + path);
}

}  // namespace

TPictureStore& TPictureStore::Shared() {
  static TPictureStore store;
  return store;
}

int64_t TPictureStore::BytesInUseLocked() {
  return Live(m_stills, [](const TSharedPicture& p) { return p.Bytes(); }) +
         Live(m_gifs, [](const TGifFrames& g) { return BytesOf(g); });
}

int64_t TPictureStore::BytesInUse() {
  const std::lock_guard lock(m_mutex);
  return BytesInUseLocked();
}

std::shared_ptr<const TSharedPicture> TPictureStore::Still(const std::string& path) {
  const std::lock_guard lock(m_mutex);
  if (auto held = m_stills[path].lock()) return held;
  const std::string bytes = ReadPictureBytes(path);
  const bool png = PictureKindOf(Bytes(bytes)) == TPictureKind::Png;
  const bool alpha = png && PngHasAlpha(Bytes(bytes));
  // Checked against the declared size first, so that a picture beyond the
  // budget costs no decoding; decoders never go beyond kMaxDecodedPixels.
  const int64_t free = kMaxBytes - BytesInUseLocked();
  if (const auto size = DeclaredPictureSize(Bytes(bytes)))
    if (std::min(size->Pixels(), kMaxDecodedPixels) * (alpha ? 5 : 4) > free) OverBudget(path);
  auto picture = std::make_shared<const TSharedPicture>(DecodePicture(Bytes(bytes)), alpha);
  if (picture->Bytes() > free) OverBudget(path);
  m_stills[path] = picture;
  return picture;
}

std::shared_ptr<const TGifFrames> TPictureStore::Gif(const std::string& path, const TGifFrameOptions& options) {
  const std::lock_guard lock(m_mutex);
  const TGifKey key{path, options.Transparent, options.TransparentType, options.KeyColor, options.RefreshFrame};
  if (auto held = m_gifs[key].lock()) return held;
  const std::string bytes = ReadPictureBytes(path);
  TGifFrameOptions budgeted = options;
  budgeted.MaxBytes = size_t(std::clamp<int64_t>(kMaxBytes - BytesInUseLocked(), 0, int64_t(options.MaxBytes)));
  auto frames = std::make_shared<const TGifFrames>(DecodeGifFrames(Bytes(bytes), budgeted));
  m_gifs[key] = frames;
  return frames;
}

}  // namespace kx
