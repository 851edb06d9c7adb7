// The window system the show and the windows run on, as far as the layers
// above need to know it: X11 on Linux (devices/x11), the Windows desktop
// (devices/gdi), with the Wayland session beside X11 (devices/wayland). One
// backend is linked; these calls are the same on both.
#pragma once

#include <vector>

#include "raster/uGeometry.h"

namespace kx {

// Call once before a display or a box opens its connection: the backend's
// process-wide settings (the X error handler; Windows' pixel-exact DPI mode).
void PrepareWindowSystem();

// True when windows can be opened at all (on X11: $DISPLAY opens).
bool CanOpenWindowSystem();

// The monitors in desktop coordinates, primary first, as the show uses them.
// Empty when the backend leaves the list to the display's own enumeration.
std::vector<TRect> ListMonitors();

// The compositor of a Wayland session (named by WAYLAND_DISPLAY, or its
// default socket), as a video driver starting on it would find it:
// Reachable when a connection opens, Seat when it offers an input seat (the
// keyboard and pointer of its user). Off Linux nothing is reachable.
struct TWaylandSession {
  bool Reachable = false;
  bool Seat = false;
};
TWaylandSession ProbeWaylandSession();

}  // namespace kx
