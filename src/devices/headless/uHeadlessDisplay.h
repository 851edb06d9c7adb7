// A display without a screen: frames land in memory, each presented frame
// costs a fixed time on the virtual clock, input comes from a script of
// events due at given ticks, and every presented frame can be captured.
#pragma once

#include <cstdint>
#include <deque>
#include <functional>

#include "devices/headless/uHeadlessSound.h"
#include "devices/headless/uVirtualClock.h"
#include "devices/uDisplay.h"

namespace kx {

struct TScriptedInput {
  uint32_t Tick = 0;  // delivered by the first PumpEvents at or after this tick
  TInputEvent Event;
};

class THeadlessDisplay final : public ISaverDisplay {
 public:
  THeadlessDisplay(TVirtualClock& clock, int32_t width, int32_t height, uint32_t frameCostMs = 30);

  // Whether StartExclusive succeeds (it does by default).
  void SetExclusiveAvailable(bool available) { m_exclusiveAvailable = available; }
  // Events are kept in tick order; events of the same tick in the order given.
  void Script(TScriptedInput input);
  // The window takes a new size at that tick (as a host window resized by
  // its owner): the first PumpEvents at or after it changes the screen's
  // size and leaves the window black, and a wait ends there.
  void ScriptResize(uint32_t tick, int32_t width, int32_t height);
  // Called with the screen as it looks after each presented frame: the window,
  // or the back surface scaled onto the screen.
  void OnPresent(std::function<void(const TBitmap32& screen)> handler) { m_onPresent = std::move(handler); }

  int32_t ScreenWidth() const override { return m_width; }
  int32_t ScreenHeight() const override { return m_height; }
  bool StartExclusive() override;
  void StartPlain() override;
  bool Exclusive() const override { return m_exclusive; }
  void Draw(const TBitmap32& frame, int32_t x, int32_t y, TFrameChange change) override;
  void Clear() override;
  const TBitmap32& Content() const override { return m_content; }
  void PumpEvents(std::vector<TInputEvent>& input) override;
  // The virtual clock moves on by ms, or to the next scripted input or the
  // end of the music's track, as that end's message wakes a real display.
  void WaitEvents(uint32_t ms) override;
  void WakeFor(const THeadlessMusicPlayer* music) { m_music = music; }
  void SetCursorVisible(bool visible) override { m_cursorVisible = visible; }
  void SetTitle(const std::string& title) override { m_title = title; }
  void Close() override { m_open = false; }

  bool CursorVisible() const { return m_cursorVisible; }
  const std::string& Title() const { return m_title; }
  bool Open() const { return m_open; }
  uint32_t PresentedFrames() const { return m_presented; }
  // How often the show looked for input: how often it woke.
  uint32_t Pumps() const { return m_pumps; }
  // The screen as last presented.
  TBitmap32 Screen() const;

 private:
  void Present();

  TVirtualClock& m_clock;
  int32_t m_width, m_height;
  uint32_t m_frameCost;
  bool m_exclusiveAvailable = true, m_exclusive = false, m_open = false, m_cursorVisible = true;
  TBitmap32 m_content;
  std::string m_title;
  std::deque<TScriptedInput> m_script;
  struct TResize {
    uint32_t Tick;
    int32_t Width, Height;
  };
  std::deque<TResize> m_resizes;  // in tick order
  std::function<void(const TBitmap32&)> m_onPresent;
  uint32_t m_presented = 0, m_pumps = 0;
  const THeadlessMusicPlayer* m_music = nullptr;
};

}  // namespace kx
