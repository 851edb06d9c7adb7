// The saver window's lifecycle: set-up, the idle loop, input and clean-up.
#include "saver/FKXScrSvr.h"

#include <exception>

#include "devices/uMessageBox.h"
#include "devices/uSharedFolder.h"
#include "os/uPlatform.h"
#include "os/uUserFiles.h"
#include "saver/uShowMath.h"
#include "saver/uUserSettings.h"

namespace kx {
namespace {

// The folder of the running program, ending in its separator ("" when unknown).
std::string ProgramFolder(const std::string& programPath) {
  const std::string expanded = ExpandLongPath(programPath);
  const std::string& path = expanded.empty() ? programPath : expanded;
  return FolderPart(path);
}

}  // namespace

TKXfmScrSvr::TKXfmScrSvr(TKXCProject& project, TSaverContext& context)
    : m_project(project), m_ctx(context), m_rules(context.Input ? *context.Input : m_ownInput) {}

void TKXfmScrSvr::ShowModal() {
  FormShow();
  while (!m_closed) {
    ProcessMessages();
    if (m_closed) break;
    if (!m_idleInstalled) {
      m_ctx.Clock.Sleep(10);  // a black window waits for the input that ends it
      continue;
    }
    try {
      IdleStep();
    } catch (const std::exception& e) {
      // An error abandons this pass only; the show goes on.
      Errors().Report("show", e.what());
    }
  }
  FormClose();
}

void TKXfmScrSvr::FormShow() {
  m_soundEffect = std::make_unique<TSoundEffect>(m_ctx.Sound, Errors());
  m_soundEffect->SetVolume(m_project.Settings.SoundVolume);
  m_sounds = std::make_unique<TSoundScheduler>(
      *m_soundEffect, m_ctx.Clock, m_ctx.Random, Errors(),
      TSoundFolders{m_ctx.WorkFolder, GetSharedFolder(), ProgramFolder(m_ctx.ProgramPath)},
      [this](const std::string& path) { m_ctx.Display.SetTitle(path); });
  m_oldPicture.SetSize(800, 600, MakePixel(0, 0, 0));
  m_newPicture.SetSize(800, 600, MakePixel(0, 0, 0));
  m_workPicture.SetSize(800, 600, MakePixel(0, 0, 0));

  m_rules.ShowStarted();
  if (m_ctx.Seed) m_ctx.Random.Seed(*m_ctx.Seed);
  else m_ctx.Random.SeedFromClock();

  const TKXCSetting& s = m_project.Settings;
  m_order.emplace(EnabledPictures(m_project.FileList), s.ShowImageMode, m_ctx.Random);
  m_exclusive = s.DirectX && m_ctx.Display.StartExclusive();
  if (!m_exclusive) {
    try {
      m_ctx.Display.StartPlain();
    } catch (const TDisplayUnavailable&) {
      ShowMessageBox("Unable to run screensaver.", TMessageKind::Error);
      throw;
    }
  }

  if (!m_order->Empty()) {
    m_stretch = s.Stretch;
    m_proportional = s.Proportional;
    m_autoAdvance = s.Random;
    m_duration = s.Duration;
    m_speed = s.Speed;
    m_transition = s.Transition;
    m_transitionTime = s.TransitionTime;
    m_showClock = s.ShowClock;
    m_clockPos = s.ClockPos;
    m_sound = s.Sound;
    BackPictureSize(s.DirectXQuality, m_backSize);
    LoadTransitionList();
    m_order->Begin();
  } else {
    ShowMessageBox("Unable to run screensaver.\r\nPlease configure!", TMessageKind::Error);
  }

  m_music = std::make_unique<TMusicPlaylist>(m_ctx.Music, m_ctx.Random, Errors());
  m_music->Start(s, m_ctx.WorkFolder);

  if (!m_order->Empty()) {
    m_engine = std::make_unique<TAnimEngine>(m_ctx.Clock, m_ctx.Random);
    m_engine->SetSeed(m_ctx.Seed);
    m_engine->ShowClock = m_showClock;
    m_engine->Clock.Corner = TClock::CornerOf(m_clockPos);
    m_currentDuration = m_duration;
    LoadPictureOrMoveOn();
    m_pictureStart = m_ctx.Clock.Tick();
    StartPrefetch();
    m_idleInstalled = true;
    m_ctx.Display.SetCursorVisible(false);
  }
  m_lastFrame = m_ctx.Clock.Tick();
}

void TKXfmScrSvr::IdleStep() {
  if (m_sound) m_sounds->TickSounds();
  if (m_autoAdvance && (m_ctx.Clock.Tick() - m_pictureStart) / 1000 >= uint32_t(std::max(m_currentDuration, 0)))
    Advance();
  if (!m_stillPicture) m_engine->NextFrame();
  PresentFrame();
}

void TKXfmScrSvr::ProcessMessages() {
  std::vector<TInputEvent> input;
  m_ctx.Display.PumpEvents(input);
  for (const TInputEvent& e : input) HandleInput(e);
  if (m_music) m_music->ProcessMessages();  // the end of a track: MediaPlayerNotify
}

void TKXfmScrSvr::HandleInput(const TInputEvent& event) {
  if (m_closed) return;
  TInputAction action = TInputAction::None;
  switch (event.Kind) {
    case TInputKind::MouseMove: action = m_rules.MouseMove(event.X, event.Y); break;
    case TInputKind::MouseDown: action = m_rules.MouseDown(); break;
    case TInputKind::MouseUp: action = m_rules.MouseUp(); break;
    case TInputKind::KeyDown: action = m_rules.KeyDown(event.Key); break;
    case TInputKind::KeyPress: action = m_rules.KeyPress(); break;
  }
  if (action == TInputAction::Close) m_closed = FormCloseQuery();
  if (action == TInputAction::ResetWater && m_engine && !m_stillPicture) m_engine->ResetFrame();
}

bool TKXfmScrSvr::FormCloseQuery() {
  m_rules.CloseRequested();
  return true;  // no password family on this platform: the close is allowed
}

void TKXfmScrSvr::FormClose() {
  m_animated = TProject();
  m_idleInstalled = false;
  m_engine.reset();
  m_music.reset();  // closes the track
  if (m_sounds) m_sounds->StopSounds();
  m_sounds.reset();
  m_soundEffect.reset();
  m_ctx.Display.SetCursorVisible(true);
  m_ctx.Display.Close();
  if (m_ctx.Events) m_ctx.Events->Ended();
}

void TKXfmScrSvr::DrawToScreen(const TBitmap32& bitmap, int32_t x, int32_t y, TFrameChange change) {
  if (!bitmap.Empty()) m_ctx.Display.Draw(bitmap, m_exclusive ? 0 : x, m_exclusive ? 0 : y, change);
}

void TKXfmScrSvr::PresentBitmap(const TBitmap32& bitmap, TFrameChange change) {
  if (!bitmap.Empty()) m_ctx.Display.Draw(bitmap, 0, 0, change);
}

void RunSlideshow(TKXCProject& project, bool enableAll, bool skipUserSettings, TSaverContext& context) {
  if (project.FileList.Names.empty()) {
    ShowMessageBox("This screensaver does not contain any image.");
    return;
  }
  if (enableAll)
    for (std::string& state : project.FileList.States) state = "TRUE";
  if (!skipUserSettings) ApplyUserSettings(project, UserSettingsFileName(context.ProgramPath));
  TKXfmScrSvr window(project, context);
  window.ShowModal();
}

void ShowPictureFullScreen(const TKXCProject& project, const std::string& path, bool skipUserSettings,
                           TSaverContext& context) {
  TKXCProject single;
  single.FileList.Names = {path};
  single.FileList.States = {"TRUE"};
  const TKXCSetting& from = project.Settings;
  TKXCSetting& to = single.Settings;
  to.Stretch = from.Stretch;
  to.Proportional = from.Proportional;
  to.DirectX = from.DirectX;
  to.DirectXQuality = from.DirectXQuality;
  to.ShowClock = from.ShowClock;
  to.ClockPos = from.ClockPos;
  to.Speed = from.Speed;
  to.Sound = true;
  to.Music = false;
  RunSlideshow(single, true, skipUserSettings, context);
}

}  // namespace kx
