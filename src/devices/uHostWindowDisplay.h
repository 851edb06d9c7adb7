// The show inside another program's window (a screensaver daemon's, or the
// root window): the window's size is the screen, the parts of frames that
// changed are painted into it, size changes and exposures are followed, and
// no input is reported: the daemon owns the input and ends the show with a
// signal. When the window is destroyed the show is asked to end.
//
// A window split into monitors (the root window of a screen of several)
// shows the frame as the full-screen show does: the first monitor is the
// show's screen, every other monitor shows the same frame fitted in
// proportion and centred on black. Frames are composed at the working size
// (devices/uWorkingSize.h) and scaled up when the screen is larger.
#pragma once

#include <functional>
#include <memory>
#include <vector>

#include "devices/uDisplay.h"
#include "devices/uFrameStats.h"
#include "devices/uHostWindow.h"

namespace kx {

class THostWindowDisplay final : public ISaverDisplay {
 public:
  // monitors: the monitors' rectangles in the window's coordinates, the
  // first the show's screen, asked for when the display opens and again
  // whenever the window changes its size; none (or an empty list) means the
  // whole window is one screen.
  using TMonitorList = std::function<std::vector<TRect>()>;
  explicit THostWindowDisplay(std::unique_ptr<IHostWindow> window, TMonitorList monitors = {});

  int32_t ScreenWidth() const override { return m_size.X; }
  int32_t ScreenHeight() const override { return m_size.Y; }
  bool StartExclusive() override { return false; }
  void StartPlain() override;
  bool Exclusive() const override { return false; }
  void Draw(const TBitmap32& frame, int32_t x, int32_t y, TFrameChange change) override;
  void Clear() override;
  const TBitmap32& Content() const override { return m_content; }
  void PumpEvents(std::vector<TInputEvent>& input) override;
  void WaitEvents(uint32_t ms) override;
  void SetCursorVisible(bool) override {}
  void Close() override {}

 private:
  // Takes the window's size and monitors anew; the content turns black at
  // the working size.
  void Layout();
  // Paints the whole window: black, and the content on every monitor.
  void PaintAll();
  // Paints the content onto every monitor; with `changed`, only what these
  // rectangles of the content reach.
  void PaintContent(const std::vector<TRect>* changed);
  // The content scaled into `to` (window coordinates), in bands of rows.
  void PaintScaled(const TRect& to, const std::vector<TRect>* changed);

  std::unique_ptr<IHostWindow> m_window;
  TMonitorList m_listMonitors;
  std::vector<TRect> m_targets;  // where the content lands, per monitor, in window coordinates
  TPoint m_size{};               // the working size: the content's
  TBitmap32 m_content;
  bool m_gone = false;
  TFrameStats m_stats;
};

}  // namespace kx
