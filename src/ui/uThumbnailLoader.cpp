#include "ui/uThumbnailLoader.h"

#include <FL/Fl.H>

#include <atomic>
#include <condition_variable>
#include <deque>
#include <exception>
#include <mutex>
#include <optional>
#include <span>
#include <utility>

#include "os/uFileAccess.h"
#include "os/uUserFiles.h"
#include "package/uFileIO.h"
#include "raster/uDecodeError.h"
#include "raster/uExifOrientation.h"
#include "raster/uJpegCodec.h"
#include "raster/uOrient.h"
#include "raster/uPictureDecode.h"
#include "raster/uPictureSize.h"
#include "raster/uResample.h"
#include "raster/uStillPicture.h"

namespace kx {

// The worker's share: what it loads, what it has loaded so far, and whether
// the UI thread has a pick-up on its way. Ready is read and cleared on the UI
// thread only.
struct TThumbnailJob {
  std::vector<std::string> Paths;
  int PictureWidth = 0, PictureHeight = 0;
  TThumbnailLoader::TLoad Load;
  std::atomic<bool> Stop{false};
  std::function<void()> Ready;

  std::mutex Lock;
  std::condition_variable Changed;  // a request, a finished picture or the stop
  std::deque<size_t> Queue;         // the pictures asked for and not yet begun, in order
  bool Busy = false;                // the worker is loading picture BusyIndex
  size_t BusyIndex = 0;
  std::vector<std::pair<size_t, TThumbnail>> Results;  // in the order loaded, not yet taken
  size_t Loads = 0;
  bool NotifyPending = false;
};

namespace {

// Stretched over the whole thumbnail, the aspect ratio not kept.
TBitmap32 StretchThumbnail(const TBitmap32& src, int pw, int ph) {
  if (pw < 1 || ph < 1 || src.Empty()) return {};
  TBitmap32 out = ResizeBilinear(src, pw, ph);
  for (int y = 0; y < out.Height(); ++y) {
    TPixel* row = out.Row(y);
    for (int x = 0; x < out.Width(); ++x) row[x] |= 0xFF000000u;
  }
  return out;
}

// The picture a still picture's thumbnail is made from, the way up the show
// shows it: a JPEG decoded at the DCT scale that brings it under
// kMaxThumbnailPixels, another kind decoded
// whole up to kMaxThumbnailSourcePixels; empty for a larger picture (told by
// its header, before anything is decoded).
TBitmap32 ThumbnailSource(const std::string& path) {
  const std::string bytes = ReadPictureBytes(path);
  const std::span data(reinterpret_cast<const uint8_t*>(bytes.data()), bytes.size());
  const std::optional<TPictureSize> size = DeclaredPictureSize(data);
  if (PictureKindOf(data) == TPictureKind::Jpeg) {
    constexpr int64_t kSmallestScale = 8 * 8;  // a DCT scale of 1/8
    if (size && size->Pixels() > kMaxThumbnailPixels * kSmallestScale) return {};
    return Orient(DecodeJpeg(data, 1, kMaxThumbnailPixels), JpegExifOrientation(data));  // turned upright
  }
  if (size && size->Pixels() > kMaxThumbnailSourcePixels) return {};
  TBitmap32 picture = DecodeStillPicture(data);  // a PNG over black, as the show draws it
  if (int64_t(picture.Width()) * picture.Height() > kMaxThumbnailSourcePixels) return {};
  return picture;
}

void AwakePickUp(void* data) {
  std::unique_ptr<std::weak_ptr<TThumbnailJob>> ref(static_cast<std::weak_ptr<TThumbnailJob>*>(data));
  if (auto job = ref->lock()) {
    // A copy: the call may stop the loader, which clears the job's own.
    const std::function<void()> ready = job->Ready;
    if (ready) ready();
  }
}

void RunJob(std::shared_ptr<TThumbnailJob> job) {
  for (;;) {
    size_t index = 0;
    {
      std::unique_lock<std::mutex> lock(job->Lock);
      job->Changed.wait(lock, [&] { return job->Stop || !job->Queue.empty(); });
      if (job->Stop) return;
      index = job->Queue.front();
      job->Queue.pop_front();
      job->Busy = true;
      job->BusyIndex = index;
    }
    TThumbnail r;
    try {
      r = job->Load(job->Paths[index], job->PictureWidth, job->PictureHeight);
    } catch (...) {
      r = {};
    }
    bool notify = false;
    {
      std::lock_guard<std::mutex> lock(job->Lock);
      job->Results.emplace_back(index, std::move(r));
      job->Busy = false;
      ++job->Loads;
      if (!job->NotifyPending) notify = job->NotifyPending = true;
    }
    job->Changed.notify_all();
    if (notify) {
      auto* ref = new std::weak_ptr<TThumbnailJob>(job);
      if (Fl::awake(&AwakePickUp, ref) != 0) {
        delete ref;
        std::lock_guard<std::mutex> lock(job->Lock);
        job->NotifyPending = false;
      }
    }
  }
}

// FLTK runs awake callbacks only once its lock has been taken on the UI
// thread; the first Fl::lock() sets that up. It is taken once and kept, as
// FLTK's threading guide has the main thread do.
void EnableAwake() {
  static bool enabled = false;
  if (enabled) return;
  enabled = true;
  Fl::lock();
}

}  // namespace

TBitmap32 PlaceholderThumbnail(int pw, int ph) {
  if (pw < 1 || ph < 1) return {};
  TBitmap32 cell(pw, ph, kPlaceholderFrame);
  cell.FillRect({1, 1, pw - 1, ph - 1}, kPlaceholderFill);
  return cell;
}

TThumbnail LoadThumbnail(const std::string& path, int pw, int ph) {
  TThumbnail r;
  if (!FileExists(path)) return r;
  if (UpperExtension(path) == ".KXP") {
    TBitmap32 thumbnail;
    std::string title;
    try {
      TFileLoader loader;
      loader.LoadHeader(path);
      loader.GetThumbnail(thumbnail);
      title = loader.Title;
    } catch (const std::exception& e) {
      r.HeaderError = "File: " + path + "\r\n" + e.what();
      return r;
    }
    r.Bitmap = StretchThumbnail(thumbnail, pw, ph);
    r.Title = std::move(title);
  } else if (IsStillPicture(path)) {
    const TBitmap32 source = ThumbnailSource(path);
    r.Bitmap = source.Empty() ? PlaceholderThumbnail(pw, ph) : StretchThumbnail(source, pw, ph);
    r.Title = path.substr(FolderPart(path).size());  // the file name without its folder
  }
  return r;
}

TThumbnail LoadThumbnailOrPlaceholder(const std::string& path, int pw, int ph) {
  try {
    return LoadThumbnail(path, pw, ph);
  } catch (const std::exception& e) {
    TThumbnail r;
    r.Title = path.substr(FolderPart(path).size());
    r.Dropped = "File: " + path + ": " + e.what();
    return r;
  }
}

TThumbnailLoader::~TThumbnailLoader() { Stop(); }

void TThumbnailLoader::Start(const std::vector<std::string>& paths, int width, int height,
                             std::function<void()> ready) {
  Stop();
  EnableAwake();
  m_job = std::make_shared<TThumbnailJob>();
  m_job->Paths = paths;
  m_job->PictureWidth = width;
  m_job->PictureHeight = height;
  m_job->Load = m_load;
  m_job->Ready = std::move(ready);
  m_worker = std::thread(RunJob, m_job);
}

void TThumbnailLoader::Request(std::vector<size_t> order) {
  if (!m_job) return;
  {
    std::lock_guard<std::mutex> lock(m_job->Lock);
    m_job->Queue.clear();
    for (size_t i : order)
      if (i < m_job->Paths.size() && !(m_job->Busy && m_job->BusyIndex == i)) m_job->Queue.push_back(i);
  }
  m_job->Changed.notify_all();
}

void TThumbnailLoader::Stop() {
  if (m_job) {
    {
      std::lock_guard<std::mutex> lock(m_job->Lock);
      m_job->Stop = true;
    }
    m_job->Changed.notify_all();
  }
  if (m_worker.joinable()) m_worker.join();
  if (m_job) m_job->Ready = nullptr;
  m_job.reset();
}

void TThumbnailLoader::Wait() {
  if (!m_job) return;
  std::unique_lock<std::mutex> lock(m_job->Lock);
  m_job->Changed.wait(lock, [&] { return m_job->Queue.empty() && !m_job->Busy; });
}

bool TThumbnailLoader::Loading() const {
  if (!m_job) return false;
  std::lock_guard<std::mutex> lock(m_job->Lock);
  return !m_job->Queue.empty() || m_job->Busy || !m_job->Results.empty();
}

size_t TThumbnailLoader::Loads() const {
  if (!m_job) return 0;
  std::lock_guard<std::mutex> lock(m_job->Lock);
  return m_job->Loads;
}

void TThumbnailLoader::Take(const std::function<void(size_t index, TThumbnail& result)>& take) {
  if (!m_job) return;
  std::vector<std::pair<size_t, TThumbnail>> results;
  {
    std::lock_guard<std::mutex> lock(m_job->Lock);
    m_job->NotifyPending = false;
    results.swap(m_job->Results);
  }
  for (auto& [index, r] : results) take(index, r);
}

}  // namespace kx
