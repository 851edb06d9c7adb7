// A window of another program on the Windows desktop (the preview pane of
// the screensaver dialog, /P), painted into through its device context.
// Its messages belong to its own thread: size changes and its end are
// learnt by asking, and what another window uncovers is not reported.
#pragma once

#include <cstdint>

#include "devices/uHostWindow.h"

namespace kx {

class TGdiHostWindow final : public IHostWindow {
 public:
  // id is the window's handle as a number; 0 takes the desktop window.
  // Throws TDisplayUnavailable when it names no window.
  explicit TGdiHostWindow(uint64_t id);

  bool Exists() override;
  bool Viewable() override;
  // The client area: what GetDC paints into.
  TPoint Size() override;
  void Paint(const TBitmap32& bitmap, int32_t x, int32_t y, const std::vector<TRect>* only = nullptr) override;
  TWindowEvents ProcessEvents() override;
  void WaitEvents(uint32_t ms) override;

 private:
  void* m_window;  // HWND
  TPoint m_size{};
  bool m_gone = false;
};

}  // namespace kx
