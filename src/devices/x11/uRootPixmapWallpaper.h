// The background of a plain X session (a window manager without a desktop
// of its own): the root window's background pixmap, announced in the
// _XROOTPMAP_ID and ESETROOT_PMAP_ID properties that terminals and panels
// read for their see-through look. The pixmap must outlive the program, so
// the connection that made it closes with its resources retained; the
// pixmap a previous setter retained is freed then, so they never pile up.
#pragma once

#include <string>

#include "devices/uWallpaper.h"
#include "raster/uBitmap.h"

namespace kx {

class TRootPixmapWallpaper : public IWallpaperSetter {
 public:
  // Decodes the file and shows it with SetPicture.
  bool Set(const std::string& bmpPath) override;
  // On the display named by DISPLAY: the picture centred on black, at its
  // own size (cropped about its centre when larger than the screen), never
  // tiled. False without a display or a true-colour visual.
  static bool SetPicture(const TBitmap32& picture);
};

}  // namespace kx
