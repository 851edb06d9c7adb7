// The background of KDE Plasma: a script handed to the Plasma shell over the
// session bus sets the picture of every desktop (one per monitor and
// activity). The bus is reached with whichever client is installed.
#pragma once

#include <string>

#include "devices/uWallpaper.h"

namespace kx {

// The shell script for the picture at bmpPath: every desktop gets the
// picture plugin and the picture; a tiled fill (tiled, or tiled along one
// side) becomes centred, any other fill stays.
std::string KdeWallpaperScript(const std::string& bmpPath);

class TKdeWallpaper : public IWallpaperSetter {
 public:
  // True when a bus client delivered the script.
  bool Set(const std::string& bmpPath) override;
};

}  // namespace kx
