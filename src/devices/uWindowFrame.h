// Asking the window system how to frame a top-level window of ours: which
// decorations and title-bar buttons it gets, whether it opens maximised, and
// how the taskbar lists it. X11 answers with the Motif hints, the EWMH state
// and properties and the class hint (devices/x11), the Windows desktop with
// window styles (devices/gdi).
#pragma once

#include <cstdint>
#include <string>

#include "raster/uBitmap.h"

namespace kx {

struct TWindowFrame {
  bool Border = true;      // false: no border and no title bar
  bool Resizable = false;  // a resizable border, and the resize function
  bool Menu = false;       // the window menu, and with it the close button
  bool Maximize = false;   // the maximise button (needs Menu)
  bool Minimize = false;   // the minimise button (needs Menu)
  // The name the task bar shows for a window without a title bar (the
  // screensaver's name); empty leaves the window's own caption.
  std::string TaskbarTitle{};
};

// A shown top-level window as the toolkit knows it: on X11 the Display* of
// its connection and its Window id; on Windows no connection and its HWND.
struct TNativeWindow {
  void* Connection = nullptr;
  uint64_t Handle = 0;
};

// How the taskbar and the window manager know the window: always listed in
// the taskbar (also without a border), under the program's own name and
// class, with an icon (none when empty; opaque pixels, any size).
struct TWindowIdentity {
  std::string Name;       // the program's name: the instance part of X11's class hint
  std::string ClassName;  // the class part
  TBitmap32 Icon;
};

void SetWindowFrameHints(const TNativeWindow& window, const TWindowFrame& frame);
// Applies the identity to a shown window.
void SetWindowIdentity(const TNativeWindow& window, const TWindowIdentity& identity);
// Asks the window system to maximise the window, mapped or not yet mapped.
void SetWindowMaximized(const TNativeWindow& window);

}  // namespace kx
