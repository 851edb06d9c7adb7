// The wallpaper setter for the desktop that runs, told by XDG_CURRENT_DESKTOP.
#pragma once

#include <memory>
#include <string>

#include "devices/uWallpaper.h"

namespace kx {

// xdgCurrentDesktop is a colon-separated list of names, most specific first
// ("ubuntu:GNOME", "Budgie:GNOME", "X-Cinnamon"); the first name the table
// knows decides, compared without regard to case. GNOME, Unity and Budgie
// share GNOME's settings; Cinnamon and MATE have their own; XFCE and KDE
// have setters of their own. Any other desktop, or none, gets the root
// window's pixmap.
std::unique_ptr<IWallpaperSetter> ChooseWallpaperSetter(const std::string& xdgCurrentDesktop);

}  // namespace kx
