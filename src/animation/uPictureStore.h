// The decoded pictures of the animated objects, shared by every object that
// names the same file: a still picture (with its scaled copies) per file,
// one set of composed GIF frames per file and frame options. An entry lives
// while an object holds it; the next object to name the file after that
// decodes it anew.
//
// All entries alive at a time, across every object of every show, stay
// within kMaxBytes: a picture that would go beyond it is refused before it is
// decoded, and GIF frames stop at what is left.
#pragma once

#include <cstdint>
#include <map>
#include <memory>
#include <mutex>
#include <string>
#include <tuple>

#include "animation/uSharedPicture.h"
#include "raster/uGifFrames.h"

namespace kx {

class TPictureStore {
 public:
  static constexpr int64_t kMaxBytes = int64_t(256) << 20;

  // The store of the process.
  static TPictureStore& Shared();

  // The still picture of a file (JPEG, PNG, BMP, the first frame of a GIF).
  // Throws TDecodeError when the file cannot be read or decoded, or when it
  // would take the pictures beyond kMaxBytes.
  std::shared_ptr<const TSharedPicture> Still(const std::string& path);
  // The composed frames of a GIF file with these options (their MaxBytes
  // lowered to what the budget leaves). Throws TDecodeError as Still does.
  std::shared_ptr<const TGifFrames> Gif(const std::string& path, const TGifFrameOptions& options);

  // What the entries alive now take.
  int64_t BytesInUse();

 private:
  // The frame options that change the composed frames.
  using TGifKey = std::tuple<std::string, bool, int32_t, TPixel, bool>;

  int64_t BytesInUseLocked();

  std::mutex m_mutex;
  std::map<std::string, std::weak_ptr<const TSharedPicture>> m_stills;
  std::map<TGifKey, std::weak_ptr<const TGifFrames>> m_gifs;
};

}  // namespace kx
