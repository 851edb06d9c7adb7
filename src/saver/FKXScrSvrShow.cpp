// The saver window's slideshow: picture order and timing, loading and
// fitting, transitions through the numbered effects, and frame pacing.
#include <sys/stat.h>

#include <algorithm>
#include <optional>
#include <span>
#include <stdexcept>

#include "animation/uAnimEngine.h"
#include "package/uFileIO.h"
#include "raster/uJpegCodec.h"
#include "raster/uMath.h"
#include "raster/uPictureDecode.h"
#include "raster/uRandom.h"
#include "raster/uResample.h"
#include "saver/FKXScrSvr.h"
#include "saver/uShowMath.h"
#include "transitions/PSEffect.h"

namespace kx {
namespace {

constexpr uint32_t kFrameMs = 33;
const TPixel kBlack = MakePixel(0, 0, 0);

bool FileExists(const std::string& path) {
  struct stat st {};
  return ::stat(path.c_str(), &st) == 0 && S_ISREG(st.st_mode);
}

}  // namespace

void TKXfmScrSvr::Advance() {
  m_currentDuration = m_duration;
  m_currentIndex = NextPictureIndex(m_currentIndex);
  m_currentName = m_showList[size_t(m_currentIndex)];
  if (m_currentName != m_loadedName) {
    LoadCurrentPicture();
    if (m_transition) RunTransition(m_transitionTime);
    else m_ctx.Display.Clear();
  }
  m_pictureStart = m_ctx.Clock.Tick();
}

int32_t TKXfmScrSvr::NextPictureIndex(int32_t index) const {
  const auto count = int32_t(m_showList.size());
  if (m_showImageMode != 0 && m_showImageMode != 2) return index + 1 >= count ? 0 : index + 1;
  if (count < 2) return 0;
  int32_t next;
  do next = int32_t(Random(uint32_t(count)));
  while (next == index);
  return next;
}

void TKXfmScrSvr::LoadTransitionList() {
  m_transitionList = ParseTransitionList(m_project.Settings.TransitionEffects);
}

void TKXfmScrSvr::LoadCurrentPicture() {
  if (!IsStillPicture(m_currentName)) return LoadAnimatedPicture();

  const int32_t sw = m_ctx.Display.ScreenWidth(), sh = m_ctx.Display.ScreenHeight();
  auto targetFor = [&](TPoint full) {
    if (m_exclusive) return m_backSize;
    return m_stretch ? StretchTarget(full.X, full.Y, sw, sh, m_proportional) : full;
  };
  // A large JPEG is decoded straight at the smallest DCT scale that still
  // covers the target, then resampled: most of a photo's pixels never exist.
  const std::string bytes = ReadPictureBytes(m_currentName);
  const std::span data(reinterpret_cast<const uint8_t*>(bytes.data()), bytes.size());
  const std::optional<TPoint> jpegSize =
      PictureKindOf(data) == TPictureKind::Jpeg ? JpegPictureSize(data) : std::nullopt;
  TBitmap32 picture = jpegSize ? DecodeJpeg(data, JpegScaleToCover(*jpegSize, targetFor(*jpegSize)))
                               : DecodePicture(data);
  const TPoint target = targetFor(jpegSize.value_or(TPoint{picture.Width(), picture.Height()}));
  m_stillPicture = true;

  if (m_exclusive || m_stretch) {
    m_fittedPicture.SetSize(target.X, target.Y);
    ResampleLanczos3(picture, m_fittedPicture);
    m_pictureSize = m_exclusive ? TPoint{sw, sh} : target;
  } else {
    m_fittedPicture = std::move(picture);
    m_pictureSize = {m_fittedPicture.Width(), m_fittedPicture.Height()};
  }
  m_animated = TProject();  // a still picture has no animation, objects or sounds
  m_loadedName = m_currentName;
  if (m_ctx.Events) m_ctx.Events->PictureShown(m_currentIndex, m_currentName);
}

// A picture file that fails to load leaves an empty project: the slide shows
// black and the show moves on when its time is up.
void TKXfmScrSvr::LoadAnimatedPicture() {
  if (!FileExists(m_currentName)) return;
  m_stillPicture = false;
  m_animated.Load(m_currentName);
  m_animated.SetSpeed(m_speed);
  m_pictureSize = {m_animated.Picture.Width(), m_animated.Picture.Height()};
  const bool empty = m_animated.Picture.Empty();
  if (m_exclusive) {
    m_pictureSize = {m_ctx.Display.ScreenWidth(), m_ctx.Display.ScreenHeight()};
    if (!empty) FitProject(m_proportional, m_animated, m_backSize.X, m_backSize.Y);
  } else if (m_stretch && !empty) {
    FitProject(m_proportional, m_animated, m_ctx.Display.ScreenWidth(), m_ctx.Display.ScreenHeight());
    m_pictureSize = {m_animated.Picture.Width(), m_animated.Picture.Height()};
  }
  m_engine->Attach(m_animated);
  m_engine->SetWeather(false);
  m_engine->Start();
  m_engine->SetWeather(m_animated.Weather.Kind > 0);
  m_loadedName = m_currentName;
  if (m_ctx.Events) m_ctx.Events->PictureShown(m_currentIndex, m_currentName);
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

  m_effect = m_transitionList[Random(uint32_t(m_transitionList.size()))];
  TransitionStep(0);
  const int32_t n = time / int32_t(m_ctx.Clock.Tick() - t0 + 1);
  if (m_ctx.Events) m_ctx.Events->TransitionStarted(m_effect, n);
  for (int32_t i = 1; i <= n && !m_closed; ++i) {
    if (!m_stillPicture) {
      m_engine->NextFrame();
      m_newPicture.Draw(origin.X, origin.Y, m_engine->GetOutput());
    }
    TransitionStep(TransitionPercent(i, n));
    ProcessMessages();
  }
}

void TKXfmScrSvr::TransitionStep(int32_t percent) {
  m_workPicture.Draw(0, 0, m_oldPicture);
  const TPoint extent = EffectExtents(m_workPicture.Width(), m_workPicture.Height(), percent);
  Effects[m_effect].Proc(m_workPicture, m_newPicture, m_workPicture.Width(), m_workPicture.Height(), extent.X,
                         extent.Y, percent);
  PresentBitmap(m_workPicture);
}

void TKXfmScrSvr::PresentFrame() {
  TPoint origin{0, 0};
  if (!m_stretch || m_proportional)
    origin = CentredOrigin(m_pictureSize.X, m_pictureSize.Y, m_ctx.Display.ScreenWidth(),
                           m_ctx.Display.ScreenHeight());
  DrawToScreen(CurrentFrame(), origin.X, origin.Y);
  const int32_t wait = int32_t(kFrameMs) - int32_t(m_ctx.Clock.Tick() - m_lastFrame);
  if (wait > 0) m_ctx.Clock.Sleep(uint32_t(wait));
  m_lastFrame = m_ctx.Clock.Tick();
}

}  // namespace kx
