// The full-screen show: one borderless black window (or the exclusive
// full-screen path) whose idle loop advances the slideshow, plays transitions
// between pictures, presents frames at about 30 per second and ends on the
// input rules.
#pragma once

#include <cstdint>
#include <future>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "animation/uAnimEngine.h"
#include "animation/uCreatorProject.h"
#include "devices/uDisplay.h"
#include "devices/uMusic.h"
#include "devices/uSound.h"
#include "os/uClock.h"
#include "os/uErrorSink.h"
#include "package/uKXProject.h"
#include "raster/uBitmap.h"
#include "raster/uRandom.h"
#include "saver/uInputRules.h"
#include "saver/uSlideshowOrder.h"
#include "sound/uMusicPlaylist.h"
#include "sound/uSoundEffect.h"
#include "sound/uSoundScheduler.h"

namespace kx {

// What a show reports as it goes, for tools and tests.
class TShowEvents {
 public:
  virtual ~TShowEvents() = default;
  virtual void PictureShown(int32_t index, const std::string& path) {}
  virtual void TransitionStarted(int32_t effect, int32_t frames) {}
  // The still picture the show will change to next is being made ready.
  virtual void PictureFetchedAhead(int32_t index, const std::string& path) {}
  virtual void Ended() {}
};

// The devices, options and state one show runs with. Nothing of a show is
// process-wide: its generator, its input state and where its dropped errors
// go all come from here.
struct TSaverContext {
  ISaverDisplay& Display;
  IClock& Clock;
  std::string ProgramPath;        // names the user settings file
  std::optional<uint32_t> Seed;   // seeds Random (and the engine's restarts) instead of the clock
  TShowEvents* Events = nullptr;
  // The input rules' state. A caller that starts several shows one after
  // another hands each the same state, so the ignored moves carry on from
  // one to the next; when null the show has a fresh state of its own.
  TInputState* Input = nullptr;
  ISoundChannels* Sound = nullptr;  // sound effects; silent when null
  IMusicPlayer* Music = nullptr;    // background music; none when null
  std::string WorkFolder{};         // where the package's files were unpacked, ending in "/"
  // Errors the show drops and carries on from (a pass of the idle loop, a
  // picture passed over, a sound or track that fails); the screen shows
  // nothing of them. The null sink when null.
  IErrorSink* Errors = nullptr;
  // The show's generator, seeded when the show starts. The picture order,
  // the transitions and their running-pattern effects, the engine (water,
  // weather, objects) and the sounds draw from it, one after the other on
  // the show's thread.
  TRandom Random{};
};

class TKXfmScrSvr {
 public:
  TKXfmScrSvr(TKXCProject& project, TSaverContext& context);

  // Sets up, runs the idle loop until a close is asked and allowed, cleans up.
  void ShowModal();

 private:
  // Lifecycle and input.
  void FormShow();
  void FormClose();
  bool FormCloseQuery();
  void IdleStep();
  void ProcessMessages();
  void HandleInput(const TInputEvent& event);
  void DrawToScreen(const TBitmap32& bitmap, int32_t x, int32_t y, TFrameChange change = TFrameChange::Changed);
  void PresentBitmap(const TBitmap32& bitmap, TFrameChange change = TFrameChange::Changed);

  // Sequencing and presentation.
  void Advance();
  void LoadTransitionList();
  void LoadCurrentPicture();
  // The order's LoadOrMoveOn on LoadCurrentPicture; when every picture has
  // failed, the first failure is shown and the show ends.
  TSlideshowOrder::TLoad LoadPictureOrMoveOn();
  void RunTransition(int32_t time);
  void TransitionStep(int32_t percent, TFrameChange change = TFrameChange::Changed);
  void PresentFrame();
  void WaitWhileStill();
  void LoadAnimatedPicture();
  // The current picture file loaded and fitted to the screen as it is now,
  // and the size it is centred by.
  TProject LoadFittedProject(const std::string& name, TPoint& size) const;
  // Starts the engine on the animated picture as loaded.
  void StartEngine();
  // When the window's size changed since the current picture was fitted:
  // the window is cleared, the picture (with its water, objects and
  // weather) is fitted anew and the next frame is presented whole.
  void FollowScreenSize();
  TPoint ScreenSize() const { return {m_ctx.Display.ScreenWidth(), m_ctx.Display.ScreenHeight()}; }
  // Draws the next picture of the order ahead and, when it is a still
  // picture, decodes and fits it on a second thread while this one shows.
  void StartPrefetch();
  // The frame of the current picture: the fitted still picture or the engine's output.
  const TBitmap32& CurrentFrame() const;

  // The large buffers of loading a still picture, reused from picture to
  // picture: the decoded picture and the fitted one. The show's thread and
  // the thread fetching ahead each keep their own.
  struct TStillBuffers {
    TBitmap32 Decoded, Fitted;
  };
  // A still picture decoded and fitted for the screen, and what it takes;
  // Spare gives back the buffers that did not become the picture.
  struct TFittedStill {
    TBitmap32 Picture;
    TPoint Size{};
    TStillBuffers Spare;
  };
  struct TFitParams {
    int32_t ScreenWidth = 0, ScreenHeight = 0;
    bool Exclusive = false, Stretch = true, Proportional = true;
    TPoint BackSize{};
  };
  static TFittedStill FitStill(const std::string& path, const TFitParams& params, TStillBuffers buffers);
  // Puts a fitted picture on as the current one; the picture it replaces and
  // the spare buffers go back to pool.
  void TakeFitted(TFittedStill fitted, TStillBuffers& pool);
  TFitParams FitParams() const;
  IErrorSink& Errors() const { return m_ctx.Errors ? *m_ctx.Errors : NullErrorSink(); }

  TKXCProject& m_project;
  TSaverContext& m_ctx;
  TInputState m_ownInput;  // when the context brings none
  TInputRules m_rules;
  bool m_closed = false;
  bool m_idleInstalled = false;

  std::optional<TSlideshowOrder> m_order;  // made when the show starts
  struct TPrefetch {
    std::string Name;
    TPoint Screen;  // the screen size it is fitted to
    std::future<TFittedStill> Result;  // waited for when the show ends
  };
  std::optional<TPrefetch> m_prefetch;
  std::string m_loadedName;
  bool m_exclusive = false;
  bool m_stillPicture = true;
  bool m_stillOnScreen = false;  // the current still picture has been presented
  TBitmap32 m_oldPicture, m_newPicture, m_workPicture, m_fittedPicture;
  TStillBuffers m_stillBuffers, m_prefetchBuffers;
  TPoint m_pictureSize{};
  TPoint m_fittedTo{};  // the screen size the current picture was fitted to
  TPoint m_backSize{1024, 768};
  TProject m_animated;
  std::unique_ptr<TAnimEngine> m_engine;
  std::unique_ptr<TSoundEffect> m_soundEffect;
  std::unique_ptr<TSoundScheduler> m_sounds;
  std::unique_ptr<TMusicPlaylist> m_music;
  std::vector<int32_t> m_transitionList;
  int32_t m_effect = 1;

  // The settings as they were when the show started.
  bool m_stretch = true, m_proportional = true, m_autoAdvance = true, m_transition = true;
  bool m_showClock = false, m_sound = true;
  int32_t m_duration = 30, m_speed = 100, m_transitionTime = 2000, m_clockPos = 1;
  int32_t m_currentDuration = 30;
  uint32_t m_pictureStart = 0, m_lastFrame = 0;
};

// Runs one show of the project; with enableAll every picture takes part
// before the user settings (unless skipped) choose. A project without
// pictures shows "This screensaver does not contain any image." instead.
void RunSlideshow(TKXCProject& project, bool enableAll, bool skipUserSettings, TSaverContext& context);

// A show of one picture with the project's fitting, display, clock and speed,
// sound on and music off.
void ShowPictureFullScreen(const TKXCProject& project, const std::string& path, bool skipUserSettings,
                           TSaverContext& context);

}  // namespace kx
