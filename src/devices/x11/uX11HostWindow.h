// A window of another program (a screensaver daemon's, a settings dialog's
// preview pane, the root window), drawn into over our own X connection.
// Only structure events are selected on it, which any number of clients may
// share: its input stays with its owner.
#pragma once

#include <cstdint>
#include <memory>
#include <vector>

#include "devices/uHostWindow.h"
#include "raster/uBitmap.h"
#include "raster/uGeometry.h"

namespace kx {

class TX11HostWindow final : public IHostWindow {
 public:
  // Opens $DISPLAY and takes the window; id 0 takes the root window. Throws
  // TDisplayUnavailable without a display or when id names no window.
  explicit TX11HostWindow(uint64_t id);
  ~TX11HostWindow();
  TX11HostWindow(const TX11HostWindow&) = delete;
  TX11HostWindow& operator=(const TX11HostWindow&) = delete;

  // Whether the id still names a window.
  bool Exists() override;
  // Mapped, with every ancestor mapped: what the user could see.
  bool Viewable() override;
  TPoint Size() override;

  // Copies the bitmap's pixels into the window at (x, y), clipped to it;
  // with `only`, just those of its pixels inside these window rectangles.
  void Paint(const TBitmap32& bitmap, int32_t x, int32_t y, const std::vector<TRect>* only = nullptr) override;

  // Handles the window's pending events.
  TWindowEvents ProcessEvents() override;
  // Waits until an event of the window arrives, at most ms milliseconds.
  void WaitEvents(uint32_t ms) override;

 private:
  void PaintPart(const TBitmap32& bitmap, int32_t x, int32_t y, const TRect& r);

  struct TState;
  std::unique_ptr<TState> m;
};

}  // namespace kx
