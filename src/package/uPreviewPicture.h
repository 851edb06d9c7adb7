// The preview picture of a screensaver made from a folder ("PreviewFile"):
// the picture the system's screensaver dialog shows in its small screen. The
// player stretches it over that screen, which is 4:3 or near it, so the
// preview is cut to 4:3 from the middle of the picture (a portrait photo is
// not squeezed) and kept small, as a JPEG.
#pragma once

#include <string>

#include "raster/uGeometry.h"

namespace kx {

inline constexpr TPoint kPreviewPictureSize = {320, 240};

// The picture at path - a still picture (IsStillPicture) turned upright, or
// a picture file's main picture - cut to 4:3 and resampled to
// kPreviewPictureSize, as baseline JPEG bytes. Throws what the decoders throw
// for a picture that cannot be read or does not decode.
std::string MakePreviewPicture(const std::string& path);

}  // namespace kx
