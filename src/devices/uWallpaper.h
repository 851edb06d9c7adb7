// Making a bitmap file the desktop's background. Each desktop keeps its
// background in its own settings, so there is one setter per kind of
// desktop: on Linux one per desktop environment (devices/x11/), chosen by
// XDG_CURRENT_DESKTOP; on Windows the system's own (devices/gdi/). Every
// setter shows the picture untiled: a tiled style becomes centred, any other
// style the user chose is kept.
#pragma once

#include <memory>
#include <string>

namespace kx {

class IWallpaperSetter {
 public:
  virtual ~IWallpaperSetter() = default;
  // Makes the file at bmpPath (an absolute path) the background. False when
  // the desktop could not be told; nothing is shown to the user either way.
  virtual bool Set(const std::string& bmpPath) = 0;
};

// The setter of the desktop this program runs on.
std::unique_ptr<IWallpaperSetter> DesktopWallpaperSetter();

// "file://" followed by the absolute path with every byte but the unreserved
// ones and "/" percent-encoded: pure ASCII, with no quote or blank left to
// escape where the address is embedded in a settings value or a script.
std::string FileUri(const std::string& absolutePath);

}  // namespace kx
