// The background of the desktops that keep it in GSettings: GNOME, Unity and
// Budgie under org.gnome.desktop.background, Cinnamon and MATE under their
// own schemas. Set through the gsettings tool, which writes to whichever
// backend the session uses (dconf, or a key file in tests).
#pragma once

#include <string>
#include <vector>

#include "devices/uWallpaper.h"

namespace kx {

struct TGsettingsSchema {
  std::string Schema;
  std::vector<std::string> UriKeys;   // keys that take a file:// address
  std::vector<std::string> PathKeys;  // keys that take a plain path
  std::string OptionsKey;             // the style; its tiled value becomes centred
  std::string Tiled, Centred;
};

// The schemas of the desktops above.
const TGsettingsSchema& GnomeBackgroundSchema();
const TGsettingsSchema& CinnamonBackgroundSchema();
const TGsettingsSchema& MateBackgroundSchema();

// A string as a GVariant text literal, so that gsettings never reads a
// value holding quotes or brackets as anything but that string.
std::string GVariantString(const std::string& text);

class TGsettingsWallpaper : public IWallpaperSetter {
 public:
  explicit TGsettingsWallpaper(TGsettingsSchema schema) : m_schema(std::move(schema)) {}
  // The style first (a tiled one turned centred), then every picture key. True
  // when the first picture key was written; later ones (the dark variant)
  // are missing from older schemas.
  bool Set(const std::string& bmpPath) override;
  const TGsettingsSchema& Schema() const { return m_schema; }

 private:
  TGsettingsSchema m_schema;
};

}  // namespace kx
