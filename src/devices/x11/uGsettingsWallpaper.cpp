#include "devices/x11/uGsettingsWallpaper.h"

#include "devices/uRunProgram.h"

namespace kx {
namespace {

std::string Trimmed(const std::string& s) {
  const size_t first = s.find_first_not_of(" \t\r\n");
  if (first == std::string::npos) return {};
  return s.substr(first, s.find_last_not_of(" \t\r\n") - first + 1);
}

bool WriteKey(const std::string& schema, const std::string& key, const std::string& value) {
  return RunProgram({"gsettings", "set", schema, key, GVariantString(value)}).Succeeded();
}

}  // namespace

const TGsettingsSchema& GnomeBackgroundSchema() {
  static const TGsettingsSchema schema{
      "org.gnome.desktop.background", {"picture-uri", "picture-uri-dark"}, {}, "picture-options", "wallpaper",
      "centered"};
  return schema;
}

const TGsettingsSchema& CinnamonBackgroundSchema() {
  static const TGsettingsSchema schema{
      "org.cinnamon.desktop.background", {"picture-uri"}, {}, "picture-options", "wallpaper", "centered"};
  return schema;
}

const TGsettingsSchema& MateBackgroundSchema() {
  static const TGsettingsSchema schema{
      "org.mate.background", {}, {"picture-filename"}, "picture-options", "wallpaper", "centered"};
  return schema;
}

std::string GVariantString(const std::string& text) {
  std::string out = "'";
  for (char c : text) {
    if (c == '\'' || c == '\\') out += '\\';
    out += c;
  }
  return out + "'";
}

bool TGsettingsWallpaper::Set(const std::string& bmpPath) {
  const TGsettingsSchema& s = m_schema;
  const TProgramResult style = RunProgram({"gsettings", "get", s.Schema, s.OptionsKey}, true);
  if (style.Succeeded() && Trimmed(style.Output) == GVariantString(s.Tiled))
    WriteKey(s.Schema, s.OptionsKey, s.Centred);

  bool first = true, written = false;
  auto write = [&](const std::string& key, const std::string& value) {
    const bool ok = WriteKey(s.Schema, key, value);
    if (first) written = ok;
    first = false;
  };
  const std::string uri = FileUri(bmpPath);
  for (const std::string& key : s.UriKeys) write(key, uri);
  for (const std::string& key : s.PathKeys) write(key, bmpPath);
  return written;
}

}  // namespace kx
