// Loading the thumbnails of a thumbnail grid: one picture on the calling
// thread, or a whole list on a worker thread whose results the UI thread
// takes as they finish.
#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <thread>
#include <utility>
#include <vector>

#include "raster/uBitmap.h"

namespace kx {

// One picture's thumbnail and title, or the text of the box that reports its
// ".kxp" header as unreadable. All empty for a missing file or one that is
// neither a ".kxp" file nor a still picture.
struct TThumbnail {
  TBitmap32 Bitmap;
  std::string Title;
  std::string HeaderError;  // the message box text of a ".kxp" header failure
  std::string Dropped;      // "File: <path>: <error>" of a still picture that does not decode
};

// A PNG, GIF or BMP picture above this many pixels gets a placeholder for a
// thumbnail instead of being decoded: such pictures cannot decode at a smaller
// scale, and a grid of them would keep the worker busy for minutes. (JPEGs
// decode at the DCT scale that brings them under kMaxThumbnailPixels.)
inline constexpr int64_t kMaxThumbnailSourcePixels = int64_t(1) << 22;
// The placeholder: a grey cell in a darker frame.
inline constexpr TPixel kPlaceholderFill = MakePixel(160, 160, 160), kPlaceholderFrame = MakePixel(96, 96, 96);
TBitmap32 PlaceholderThumbnail(int width, int height);

// A ".kxp" file is read up to its thumbnail only, its title is the picture's;
// a header that cannot be read gives the text of the box TProject::LoadHeader
// shows ("File: <path>" CR LF <error>). A still picture (IsStillPicture, the
// show's rule) is decoded, its title is its file name. Either is stretched
// over width x height, the aspect ratio not kept, and made opaque; a still
// picture too large to decode for a thumbnail gets the placeholder. A still
// picture that does not decode throws.
TThumbnail LoadThumbnail(const std::string& path, int width, int height);
// LoadThumbnail, but a still picture that does not decode gives a
// placeholder instead of throwing: no bitmap, its file name as title, and
// Dropped naming the file and the error.
TThumbnail LoadThumbnailOrPlaceholder(const std::string& path, int width, int height);

struct TThumbnailJob;

// Loads the thumbnails of a list of pictures on a worker thread, those the
// UI thread asks for and in the order it asks (LoadThumbnailOrPlaceholder,
// or the load function given). Whenever results wait and no call is on its
// way, the UI thread is woken through Fl::awake to run the ready callback,
// which takes them.
class TThumbnailLoader {
 public:
  using TLoad = std::function<TThumbnail(const std::string& path, int width, int height)>;

  explicit TThumbnailLoader(TLoad load = LoadThumbnailOrPlaceholder) : m_load(std::move(load)) {}
  TThumbnailLoader(const TThumbnailLoader&) = delete;
  TThumbnailLoader& operator=(const TThumbnailLoader&) = delete;
  ~TThumbnailLoader();

  // Starts a worker on the pictures (a worker still running is stopped
  // first); it loads nothing until asked. ready runs on the UI thread,
  // never after Stop.
  void Start(const std::vector<std::string>& paths, int width, int height, std::function<void()> ready);
  // Replaces what waits to be loaded: the worker loads these pictures next
  // (after the one it is on), in this order. Indexes past the list, and the
  // picture the worker is on, are passed over.
  void Request(std::vector<size_t> order);
  // Has the worker end after the picture it is on and waits for it; what it
  // loaded and nobody took is dropped.
  void Stop();
  // Waits until the worker has loaded every picture asked for.
  void Wait();
  // True while a picture asked for is not loaded or a result is not taken.
  bool Loading() const;
  // Hands each result finished since the last call, with its picture index,
  // in the order they were loaded; take may move from it.
  void Take(const std::function<void(size_t index, TThumbnail& result)>& take);
  // How many pictures the worker has loaded since Start (each load counts).
  size_t Loads() const;

 private:
  TLoad m_load;
  std::shared_ptr<TThumbnailJob> m_job;
  std::thread m_worker;
};

}  // namespace kx
