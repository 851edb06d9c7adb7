// A window of another program that the player paints into: the preview pane
// of a screensaver dialog (/P), a screensaver daemon's window, the root
// window. Its input stays with its owner; the player only paints and follows
// its size. The window system's backend opens it (OpenHostWindow).
#pragma once

#include <cstdint>
#include <memory>
#include <vector>

#include "raster/uBitmap.h"
#include "raster/uGeometry.h"

namespace kx {

// What a window's pending events told.
struct TWindowEvents {
  bool Resized = false;    // Size() tells the new size
  bool Destroyed = false;  // the window is gone
  bool Exposed = false;    // some of its content was lost and must be painted again
};

class IHostWindow {
 public:
  virtual ~IHostWindow() = default;

  // Whether the id still names a window.
  virtual bool Exists() = 0;
  // Shown, with every ancestor shown: what the user could see.
  virtual bool Viewable() = 0;
  // The size of the area that is painted into.
  virtual TPoint Size() = 0;

  // Copies the bitmap's pixels into the window at (x, y), clipped to it;
  // with `only`, just those of its pixels inside these window rectangles.
  virtual void Paint(const TBitmap32& bitmap, int32_t x, int32_t y, const std::vector<TRect>* only = nullptr) = 0;

  // Handles the pending events (ours, and what can be learnt of the window's).
  virtual TWindowEvents ProcessEvents() = 0;
  // Waits until an event arrives, at most ms milliseconds.
  virtual void WaitEvents(uint32_t ms) = 0;
};

// The window with that id as the window system numbers windows; 0 is the
// whole desktop (the root window). Throws TDisplayUnavailable without a
// window system or when the id names no window.
std::unique_ptr<IHostWindow> OpenHostWindow(uint64_t id);

}  // namespace kx
