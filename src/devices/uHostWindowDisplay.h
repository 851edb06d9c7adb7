// The show inside another program's window (a screensaver daemon's, or the
// root window): the window's size is the screen, the parts of frames that
// changed are painted into it, size changes and exposures are followed, and
// no input is reported: the daemon owns the input and ends the show with a
// signal. When the window is destroyed the show is asked to end.
#pragma once

#include <memory>

#include "devices/uDisplay.h"
#include "devices/uFrameStats.h"
#include "devices/uHostWindow.h"

namespace kx {

class THostWindowDisplay final : public ISaverDisplay {
 public:
  explicit THostWindowDisplay(std::unique_ptr<IHostWindow> window);

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
  std::unique_ptr<IHostWindow> m_window;
  TPoint m_size{};
  TBitmap32 m_content;
  bool m_gone = false;
  TFrameStats m_stats;
};

}  // namespace kx
