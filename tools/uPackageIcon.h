// What the applications menu shows of a packaged screensaver: its product
// name and an icon made from its preview picture (the first picture of the
// show when it has none). Only the project's texts and that one picture are
// read out of the package, never its whole collection.
#pragma once

#include <string>

#include "raster/uBitmap.h"

namespace kxtool {

struct TPackageIcon {
  std::string ProductName;
  // size x size, the picture fitted inside with its proportions kept and
  // transparent margins; empty when the package has no picture that decodes.
  kx::TBitmap32 Icon;
};

TPackageIcon ReadPackageIcon(const std::string& file, int size);

// The picture resampled to fit a size x size square, centred on transparent
// pixels; empty for an empty picture.
kx::TBitmap32 FitIcon(const kx::TBitmap32& picture, int size);

}  // namespace kxtool
