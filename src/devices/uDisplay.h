// What the full-screen show needs of a display: the screen's size, a plain
// borderless window over the whole screen or an exclusive full-screen path
// whose back surface is scaled onto the screen, frames drawn into either,
// the input that arrives meanwhile, and the mouse cursor.
#pragma once

#include <cstdint>
#include <stdexcept>
#include <string>
#include <vector>

#include "raster/uBitmap.h"

namespace kx {

enum class TInputKind { MouseMove, MouseDown, MouseUp, KeyDown, KeyPress };

struct TInputEvent {
  TInputKind Kind = TInputKind::MouseMove;
  int32_t X = 0, Y = 0;  // mouse position for the mouse kinds
  int32_t Key = 0;       // key code (F1 is 112) for KeyDown, the character for KeyPress
  friend bool operator==(const TInputEvent&, const TInputEvent&) = default;
};

// How much of a frame to present. A display normally sends only the parts
// that differ from what it shows, and nothing for a frame that matches it;
// Whole sends every pixel, for a caller that times the frame to plan the
// ones that follow (the first frame of a transition) and needs the cost of
// a frame whose every pixel changed.
enum class TFrameChange { Changed, Whole };

// The display cannot show the show: no window system (or only a stand-in
// such as an off-screen driver), or no window could be opened.
class TDisplayUnavailable : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

class ISaverDisplay {
 public:
  virtual ~ISaverDisplay() = default;

  virtual int32_t ScreenWidth() const = 0;
  virtual int32_t ScreenHeight() const = 0;

  // Opens the exclusive path: a display mode of the screen's size whose back
  // surface is shown scaled over the whole screen. False when that cannot be
  // had; the caller then opens the plain window.
  virtual bool StartExclusive() = 0;
  // Opens a black borderless window covering the screen at (0, 0); throws
  // TDisplayUnavailable when that cannot be done.
  virtual void StartPlain() = 0;
  virtual bool Exclusive() const = 0;

  // Plain path: draws the frame onto the window at (x, y) and shows the
  // window. Exclusive path: the back surface takes the frame's size and
  // content and is shown over the whole screen (x and y unused).
  virtual void Draw(const TBitmap32& frame, int32_t x, int32_t y, TFrameChange change) = 0;
  // Fills the whole window (or back surface) with black and shows it.
  virtual void Clear() = 0;
  // The window's content, or the back surface, as last shown.
  virtual const TBitmap32& Content() const = 0;

  // Processes pending window messages and appends the input they carried.
  virtual void PumpEvents(std::vector<TInputEvent>& input) = 0;
  // Waits until a window message is pending (input, an exposure, the end of
  // a music track) or ms milliseconds have passed: for a caller with nothing
  // to do until then.
  virtual void WaitEvents(uint32_t ms) = 0;
  virtual void SetCursorVisible(bool visible) = 0;
  // The window's title (the task list shows it); a display without one
  // ignores it.
  virtual void SetTitle(const std::string& title) {}
  virtual void Close() = 0;
};

}  // namespace kx
