// "Set as a Wallpaper": the configuration window's current picture becomes
// the desktop background. The picture is written as a 32-bit bitmap file
// (the wallpaper file, beside the program or in the user's data folder) and
// the desktop's setter is pointed at it, with tiling switched off.
#pragma once

#include <string>

#include "devices/uWallpaper.h"
#include "raster/uBitmap.h"

namespace kx {

class TfmKXCOnfigWindow;

inline constexpr const char* kWallpaperQuestion =
    "You are about to set the selected picture as wallpaper.\r\nDo you want to proceed?";

// The picture at path as a bitmap: a picture file (extension ".kxp", any
// case) through TProject::Load, its main picture; any other file through the
// still picture decoders. Throws std::runtime_error with the text to show
// when it cannot be read.
TBitmap32 LoadWallpaperPicture(const std::string& path);

// Writes an opaque copy of bitmap as a 32-bit BMP file at path (whole or
// not at all) and has setter make it the background. Throws
// std::runtime_error when the file cannot be written; the setter is then
// not asked. A setter that fails is not reported.
void SetWallpaper(const TBitmap32& bitmap, const std::string& path, IWallpaperSetter& setter);
// The same with the setter of the desktop that runs (DesktopWallpaperSetter).
void SetWallpaper(const TBitmap32& bitmap, const std::string& path);

// The flow for one picture: ask (Yes and No); on Yes load it, write the
// wallpaper file of programPath and set it. A picture that cannot be read,
// or a file that cannot be written, is reported in a message box; nothing
// is written or set then.
void SetPictureAsWallpaper(const std::string& picturePath, const std::string& programPath, IWallpaperSetter& setter);

// The action on a configuration window, for the picture at index of the
// project's list (nothing at all when there is no such picture); the hook
// Context().SetWallpaper takes it as it is.
void SetWallpaperFlow(TfmKXCOnfigWindow& w, int index);

}  // namespace kx
