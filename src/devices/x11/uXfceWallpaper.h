// The background of Xfce: the desktop keeps one picture per monitor and
// workspace in the xfconf channel "xfce4-desktop", each under a property
// ending in "/last-image" beside its "/image-style". Every one of them is
// set, through the xfconf-query tool.
#pragma once

#include <string>
#include <vector>

#include "devices/uWallpaper.h"

namespace kx {

// The "/last-image" properties of a listing by `xfconf-query -l`, in its
// order, at most kMaxXfceImageProperties of them.
inline constexpr size_t kMaxXfceImageProperties = 256;
std::vector<std::string> XfceImageProperties(const std::string& listing);

class TXfceWallpaper : public IWallpaperSetter {
 public:
  // For each picture property: a tiled style (2) becomes centred (1), then
  // the picture is set. True when at least one picture was set.
  bool Set(const std::string& bmpPath) override;
};

}  // namespace kx
