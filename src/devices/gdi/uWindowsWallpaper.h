// The Windows desktop's background: tiling is switched off in the user's
// "Control Panel\Desktop" settings ("TileWallpaper" = "0"; the wallpaper
// style the user chose is left as it is), then the system is told to show
// the file and to keep it in the user's profile.
#pragma once

#include <string>

#include "devices/uWallpaper.h"

namespace kx {

class TWindowsWallpaper : public IWallpaperSetter {
 public:
  // False when the user has no "Control Panel\Desktop" key (it is never
  // created: the wallpaper then stays as it was) or the system refused the
  // file.
  bool Set(const std::string& bmpPath) override;
};

}  // namespace kx
