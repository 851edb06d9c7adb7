// Window-manager hints for a top-level window of ours: which decorations and
// title-bar buttons it gets (the Motif hints most X11 window managers honour)
// and whether it opens maximised (the EWMH state).
#pragma once

#include <cstdint>

namespace kx {

struct TX11Frame {
  bool Border = true;      // false: no border and no title bar
  bool Resizable = false;  // a resizable border, and the resize function
  bool Menu = false;       // the window menu, and with it the close button
  bool Maximize = false;   // the maximise button (needs Menu)
  bool Minimize = false;   // the minimise button (needs Menu)
};

// display is the X Display* the window lives on.
void SetX11FrameHints(void* display, unsigned long window, const TX11Frame& frame);
// Asks the window manager to maximise a mapped or not yet mapped window.
void SetX11Maximized(void* display, unsigned long window);

}  // namespace kx
