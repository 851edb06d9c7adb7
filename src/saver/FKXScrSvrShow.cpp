// The saver window's slideshow: picture order and timing, loading and
// fitting, transitions through the numbered effects, and frame pacing.
#include <algorithm>
#include <optional>
#include <span>
#include <stdexcept>
#include <utility>

#include "animation/uAnimEngine.h"
#include "devices/uMessageBox.h"
#include "package/uFileIO.h"
#include "raster/uMath.h"
#include "raster/uPictureDecode.h"
#include "raster/uResample.h"
#include "raster/uStillPicture.h"
#include "saver/FKXScrSvr.h"
#include "saver/uShowMath.h"
#include "transitions/PSEffect.h"

namespace kx {
namespace {

constexpr uint32_t kFrameMs = 33;
// While a still picture shows, the show wakes at least this often.
constexpr uint32_t kStillWakeMs = 1000;
// Transition frames come at most this often (about 60 a second).
constexpr uint32_t kTransitionFrameMs = 17;
const TPixel kBlack = MakePixel(0, 0, 0);

}  // namespace

void TKXfmScrSvr::Advance() {
  m_currentDuration = m_duration;
  m_order->Advance();
  if (m_order->CurrentName() != m_loadedName) {
    const TSlideshowOrder::TLoad load = LoadPictureOrMoveOn();
    if (load == TSlideshowOrder::TLoad::AllFailed) return;
    if (load == TSlideshowOrder::TLoad::Loaded) {
      if (m_transition) RunTransition(m_transitionTime);
      else m_ctx.Display.Clear();
    }
  }
  m_pictureStart = m_ctx.Clock.Tick();
  StartPrefetch();
}

// The order's next picture is drawn ahead, and a still picture is decoded
// and fitted meanwhile. In a random order the draw comes from the show's
// generator, which a picture file's objects and weather draw from all the
// time it shows: then the draw waits for its time. While a still picture
// shows only a shuffled music list draws (when a track ends), and its draw
// then follows the order's instead of preceding it; either way a seeded
// show repeats exactly. At most one picture is fetched ahead; one that
// fails is reported when it is due, as any other.
void TKXfmScrSvr::StartPrefetch() {
  m_prefetch.reset();
  if (m_closed || !m_autoAdvance || m_order->ShowList().size() < 2) return;
  if (m_order->RandomOrder() && !m_stillPicture) return;
  const int32_t next = m_order->DrawAhead();
  const std::string& name = m_order->ShowList()[size_t(next)];
  if (name == m_loadedName || !IsStillPicture(name) || m_order->Failed(name)) return;
  m_prefetch = TPrefetch{name, ScreenSize(),
                         std::async(std::launch::async, FitStill, name, FitParams(), std::move(m_prefetchBuffers))};
  if (m_ctx.Events) m_ctx.Events->PictureFetchedAhead(next, name);
}

// Every picture passed over goes to the error sink; when all have failed,
// the first failure is shown once and the show ends.
TSlideshowOrder::TLoad TKXfmScrSvr::LoadPictureOrMoveOn() {
  const TSlideshowOrder::TLoad load = m_order->LoadOrMoveOn(m_loadedName, [this](int32_t, const std::string& name) {
    try {
      LoadCurrentPicture();
    } catch (const std::exception& e) {
      Errors().Report("show", "File: " + name + ": " + e.what());
      throw;
    }
  });
  if (load == TSlideshowOrder::TLoad::AllFailed) {
    ShowMessageBox(m_order->FirstFailure(), TMessageKind::Error);
    m_closed = true;
  }
  return load;
}

void TKXfmScrSvr::LoadTransitionList() {
  m_transitionList = ParseTransitionList(m_project.Settings.TransitionEffects);
}

TKXfmScrSvr::TFitParams TKXfmScrSvr::FitParams() const {
  return {m_ctx.Display.ScreenWidth(), m_ctx.Display.ScreenHeight(), m_exclusive, m_stretch, m_proportional,
          m_backSize};
}

TKXfmScrSvr::TFittedStill TKXfmScrSvr::FitStill(const std::string& path, const TFitParams& p, TStillBuffers buffers) {
  auto targetFor = [&](TPoint full) {
    if (p.Exclusive) return p.BackSize;
    return p.Stretch ? StretchTarget(full.X, full.Y, p.ScreenWidth, p.ScreenHeight, p.Proportional) : full;
  };
  // A large JPEG is decoded straight at the smallest DCT scale that still
  // covers the target, then resampled: most of a photo's pixels never exist.
  // Its size and the target are those of the picture turned upright.
  const std::string bytes = ReadPictureBytes(path);
  const std::span data(reinterpret_cast<const uint8_t*>(bytes.data()), bytes.size());
  const std::optional<TPoint> jpegSize = StillJpegSize(data);
  TBitmap32& picture = buffers.Decoded;
  DecodeStillPictureInto(data, jpegSize ? std::optional(targetFor(*jpegSize)) : std::nullopt, picture);
  const TPoint target = targetFor(jpegSize.value_or(TPoint{picture.Width(), picture.Height()}));
  TFittedStill out;
  if (p.Exclusive || p.Stretch) {
    // The resampler writes every pixel of its output.
    out.Picture = std::move(buffers.Fitted);
    out.Picture.SetSizeForOverwrite(target.X, target.Y);
    ResampleLanczos3(picture, out.Picture);
    out.Size = p.Exclusive ? TPoint{p.ScreenWidth, p.ScreenHeight} : target;
    out.Spare.Decoded = std::move(picture);
  } else {
    out.Size = {picture.Width(), picture.Height()};
    out.Picture = std::move(picture);
    out.Spare.Fitted = std::move(buffers.Fitted);
  }
  return out;
}

void TKXfmScrSvr::TakeFitted(TFittedStill fitted, TStillBuffers& pool) {
  std::swap(m_fittedPicture, fitted.Picture);
  m_pictureSize = fitted.Size;
  pool.Decoded = std::move(fitted.Spare.Decoded);
  // The picture that was on screen is the next fit's output.
  pool.Fitted = std::move(fitted.Picture.Empty() ? fitted.Spare.Fitted : fitted.Picture);
}

void TKXfmScrSvr::LoadCurrentPicture() {
  const std::string& name = m_order->CurrentName();
  if (!IsStillPicture(name)) return LoadAnimatedPicture();
  // The picture fetched ahead when it is this one, fitted to the screen as
  // it is now (its failure is thrown here).
  std::optional<TPrefetch> ahead = std::exchange(m_prefetch, std::nullopt);
  if (ahead && ahead->Name == name && ahead->Screen == ScreenSize()) {
    TakeFitted(ahead->Result.get(), m_prefetchBuffers);
  } else {
    TakeFitted(FitStill(name, FitParams(), std::move(m_stillBuffers)), m_stillBuffers);
  }
  m_stillPicture = true;
  m_stillOnScreen = false;
  m_fittedTo = ScreenSize();
  m_animated = TProject();  // a still picture has no animation, objects or sounds
  m_sounds->StopSounds();
  m_loadedName = name;
  if (m_ctx.Events) m_ctx.Events->PictureShown(m_order->CurrentIndex(), name);
}

// A picture file that is missing or fails to load throws, leaving the slide
// on screen and its project untouched: the picture is loaded and fitted
// aside and takes the holder's place only when it is complete.
void TKXfmScrSvr::LoadAnimatedPicture() {
  const std::string& name = m_order->CurrentName();
  TPoint size{};
  TProject loaded = LoadFittedProject(name, size);
  m_animated = std::move(loaded);
  m_stillPicture = false;
  m_pictureSize = size;
  m_fittedTo = ScreenSize();
  StartEngine();
  if (m_sound) {
    m_sounds->StopSounds();
    m_sounds->LoadSounds(m_animated);
    m_sounds->TickSounds();
  }
  m_loadedName = name;
  if (m_ctx.Events) m_ctx.Events->PictureShown(m_order->CurrentIndex(), name);
}

TProject TKXfmScrSvr::LoadFittedProject(const std::string& name, TPoint& size) const {
  TProject loaded;
  loaded.SetSpeed(m_speed);
  if (!loaded.Load(name)) throw std::runtime_error(loaded.LoadError);
  size = {loaded.Picture.Width(), loaded.Picture.Height()};
  if (m_exclusive) {
    size = ScreenSize();
    FitProject(m_proportional, loaded, m_backSize.X, m_backSize.Y);
  } else if (m_stretch) {
    FitProject(m_proportional, loaded, m_ctx.Display.ScreenWidth(), m_ctx.Display.ScreenHeight());
    size = {loaded.Picture.Width(), loaded.Picture.Height()};
  }
  // Object pictures the file names by a path that does not exist here are
  // looked for in the work folder, where the package carries them.
  if (!m_ctx.WorkFolder.empty()) loaded.Objects.LocateFiles(m_ctx.WorkFolder);
  return loaded;
}

void TKXfmScrSvr::StartEngine() {
  m_engine->Attach(m_animated);
  m_engine->SetWeather(false);
  m_engine->Start();
  m_engine->SetWeather(m_animated.Weather.Kind > 0);
}

// The sounds of an animated picture play on; the picture is not shown anew
// to the events, it only takes the new size. A picture that no longer loads
// leaves the old fit in place (centred on the new size) and goes to the
// error sink.
void TKXfmScrSvr::FollowScreenSize() {
  const TPoint screen = ScreenSize();
  if (screen == m_fittedTo || m_loadedName.empty()) return;
  m_fittedTo = screen;
  m_ctx.Display.Clear();
  m_stillOnScreen = false;
  if (m_exclusive) return;  // the back surface keeps its size and is scaled onto the screen
  try {
    if (m_stillPicture) {
      TakeFitted(FitStill(m_loadedName, FitParams(), std::move(m_stillBuffers)), m_stillBuffers);
    } else {
      TPoint size{};
      TProject loaded = LoadFittedProject(m_loadedName, size);
      m_animated = std::move(loaded);
      m_pictureSize = size;
      StartEngine();
    }
  } catch (const std::exception& e) {
    Errors().Report("show", "File: " + m_loadedName + ": " + e.what());
  }
}

const TBitmap32& TKXfmScrSvr::CurrentFrame() const {
  return m_stillPicture ? m_fittedPicture : m_engine->GetOutput();
}

void TKXfmScrSvr::RunTransition(int32_t time) {
  ProcessMessages();
  TPoint origin{0, 0};
  const TBitmap32& screen = m_ctx.Display.Content();
  if (m_exclusive) {
    const TPoint size = screen.Empty() ? m_backSize : TPoint{screen.Width(), screen.Height()};
    m_oldPicture.SetSize(size.X, size.Y, kBlack);
    m_newPicture.SetSize(size.X, size.Y, kBlack);
    m_workPicture.SetSize(size.X, size.Y);
    ProcessMessages();
    m_oldPicture.Draw(0, 0, screen);
  } else {
    const int32_t sw = m_ctx.Display.ScreenWidth(), sh = m_ctx.Display.ScreenHeight();
    m_oldPicture.SetSize(sw, sh, kBlack);
    m_newPicture.SetSize(sw, sh, kBlack);
    m_workPicture.SetSize(sw, sh);
    ProcessMessages();
    if (!m_stretch || m_proportional) {
      const TBitmap32& picture = m_stillPicture ? m_fittedPicture : m_animated.Picture;
      origin = CentredOrigin(picture.Width(), picture.Height(), sw, sh);
    }
    m_oldPicture.Draw(0, 0, screen);
    ProcessMessages();
  }
  uint32_t t0 = m_ctx.Clock.Tick();
  if (m_stillPicture) {
    m_newPicture.Draw(origin.X, origin.Y, m_fittedPicture);
    t0 = m_ctx.Clock.Tick();
  } else {
    m_engine->NextFrame();
    m_newPicture.Draw(origin.X, origin.Y, m_engine->GetOutput());
  }

  m_effect = m_transitionList[m_ctx.Random.Random(uint32_t(m_transitionList.size()))];
  // The first frame shows what the window already shows, but it is presented
  // whole: its cost plans the others, and a later frame may change every
  // pixel. As many frames as that cost allows, but no more than one per
  // kTransitionFrameMs: a cheap effect on a fast screen would otherwise draw
  // hundreds of frames a second and keep a whole core busy for nothing. A
  // later frame that costs less (the display sends only what changed) waits
  // out the rest of the planned cost, so the transition keeps its time.
  TransitionStep(0, TFrameChange::Whole);
  const uint32_t spent = m_ctx.Clock.Tick() - t0;
  const uint32_t frameTime = std::max(spent, kTransitionFrameMs);
  const int32_t n = time / int32_t(std::max(spent + 1, kTransitionFrameMs));
  if (m_ctx.Events) m_ctx.Events->TransitionStarted(m_effect, n);
  uint32_t frameStart = m_ctx.Clock.Tick();
  for (int32_t i = 1; i <= n && !m_closed; ++i) {
    if (!m_stillPicture) {
      m_engine->NextFrame();
      m_newPicture.Draw(origin.X, origin.Y, m_engine->GetOutput());
    }
    TransitionStep(TransitionPercent(i, n));
    ProcessMessages();
    const int32_t wait = int32_t(frameTime) - int32_t(m_ctx.Clock.Tick() - frameStart);
    if (wait > 0 && i < n) m_ctx.Clock.Sleep(uint32_t(wait));
    frameStart = m_ctx.Clock.Tick();
  }
}

void TKXfmScrSvr::TransitionStep(int32_t percent, TFrameChange change) {
  m_workPicture.Draw(0, 0, m_oldPicture);
  const TPoint extent = EffectExtents(m_workPicture.Width(), m_workPicture.Height(), percent);
  Effects[m_effect].Proc(m_workPicture, m_newPicture, m_workPicture.Width(), m_workPicture.Height(), extent.X, extent.Y,
                         percent, m_ctx.Random);
  PresentBitmap(m_workPicture, change);
}

void TKXfmScrSvr::PresentFrame() {
  const bool resized = ScreenSize() != m_fittedTo;
  if (resized) FollowScreenSize();
  TPoint origin{0, 0};
  if (!m_stretch || m_proportional)
    origin = CentredOrigin(m_pictureSize.X, m_pictureSize.Y, m_ctx.Display.ScreenWidth(),
                           m_ctx.Display.ScreenHeight());
  // A still picture already on screen is not presented again: nothing of it
  // changed, and the window repaints itself when it is exposed.
  if (!(m_stillPicture && m_stillOnScreen)) {
    DrawToScreen(CurrentFrame(), origin.X, origin.Y, resized ? TFrameChange::Whole : TFrameChange::Changed);
    m_stillOnScreen = m_stillPicture;
  }
  const int32_t wait = int32_t(kFrameMs) - int32_t(m_ctx.Clock.Tick() - m_lastFrame);
  if (wait > 0) m_ctx.Clock.Sleep(uint32_t(wait));
  if (m_stillPicture && m_stillOnScreen) WaitWhileStill();
  m_lastFrame = m_ctx.Clock.Tick();
}

// Nothing of a still picture changes: the show sleeps until the picture's
// time is up or a window message arrives (input, the end of a music track),
// instead of waking for every frame. Music still trying tracks is polled.
void TKXfmScrSvr::WaitWhileStill() {
  if (m_music && m_music->Seeking()) return;
  uint32_t ms = kStillWakeMs;
  if (m_autoAdvance) {
    const uint32_t shown = m_ctx.Clock.Tick() - m_pictureStart;
    const uint32_t due = uint32_t(std::max(m_currentDuration, 0)) * 1000u;
    if (shown >= due) return;
    ms = std::min(ms, due - shown);
  }
  m_ctx.Display.WaitEvents(ms);
}

}  // namespace kx
