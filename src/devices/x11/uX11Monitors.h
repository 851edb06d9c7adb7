// The monitors of the X display, as desktop environments present them:
// XRandR's monitor list (which `xrandr --setmonitor` also defines), else
// Xinerama's screens. A monitor that merely spans others (the whole screen
// of an output split into monitors) is left out. The primary monitor comes
// first. Empty without a display or without either extension.
#pragma once

#include <vector>

#include "devices/uWindowSystem.h"
#include "raster/uGeometry.h"

namespace kx {

// ListMonitors (devices/uWindowSystem.h) answers with these.

// True when the X display named by DISPLAY can be opened.
bool CanOpenX11Display();

// The monitors in the order the show uses them, from raw lists: rectangles
// that are empty or contain two or more of the others are dropped, repeats
// are dropped, and the primary (index into raw, or -1) moves to the front.
std::vector<TRect> OrderMonitors(const std::vector<TRect>& raw, int primary);

}  // namespace kx
