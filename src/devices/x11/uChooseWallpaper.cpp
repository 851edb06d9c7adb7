#include "devices/x11/uChooseWallpaper.h"

#include <strings.h>

#include <cstdlib>

#include "devices/x11/uGsettingsWallpaper.h"
#include "devices/x11/uKdeWallpaper.h"
#include "devices/x11/uRootPixmapWallpaper.h"
#include "devices/x11/uXfceWallpaper.h"

namespace kx {
namespace {

using TMakeSetter = std::unique_ptr<IWallpaperSetter> (*)();

std::unique_ptr<IWallpaperSetter> Gnome() { return std::make_unique<TGsettingsWallpaper>(GnomeBackgroundSchema()); }
std::unique_ptr<IWallpaperSetter> Cinnamon() {
  return std::make_unique<TGsettingsWallpaper>(CinnamonBackgroundSchema());
}
std::unique_ptr<IWallpaperSetter> Mate() { return std::make_unique<TGsettingsWallpaper>(MateBackgroundSchema()); }
std::unique_ptr<IWallpaperSetter> Xfce() { return std::make_unique<TXfceWallpaper>(); }
std::unique_ptr<IWallpaperSetter> Kde() { return std::make_unique<TKdeWallpaper>(); }

struct TDesktopSetter {
  const char* Name;
  TMakeSetter Make;
};

constexpr TDesktopSetter kDesktops[] = {
    {"GNOME", Gnome},       {"Unity", Gnome}, {"Budgie", Gnome}, {"Cinnamon", Cinnamon}, {"X-Cinnamon", Cinnamon},
    {"MATE", Mate},         {"XFCE", Xfce},   {"KDE", Kde},
};

}  // namespace

std::unique_ptr<IWallpaperSetter> ChooseWallpaperSetter(const std::string& xdgCurrentDesktop) {
  size_t at = 0;
  while (at <= xdgCurrentDesktop.size()) {
    size_t end = xdgCurrentDesktop.find(':', at);
    if (end == std::string::npos) end = xdgCurrentDesktop.size();
    const std::string name = xdgCurrentDesktop.substr(at, end - at);
    for (const TDesktopSetter& desktop : kDesktops)
      if (strcasecmp(name.c_str(), desktop.Name) == 0) return desktop.Make();
    at = end + 1;
  }
  return std::make_unique<TRootPixmapWallpaper>();
}

// The desktop that runs is the one the session names.
std::unique_ptr<IWallpaperSetter> DesktopWallpaperSetter() {
  const char* desktop = std::getenv("XDG_CURRENT_DESKTOP");
  return ChooseWallpaperSetter(desktop ? desktop : "");
}

}  // namespace kx
