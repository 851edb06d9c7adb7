#include "devices/x11/uGsettingsWallpaper.h"

#include <utility>
#include <vector>

#include "os/uRunProgram.h"

namespace kx {
namespace {

std::string Trimmed(const std::string& s) {
  const size_t first = s.find_first_not_of(" \t\r\n");
  if (first == std::string::npos) return {};
  return s.substr(first, s.find_last_not_of(" \t\r\n") - first + 1);
}

TProgramResult WriteKey(const std::string& schema, const std::string& key, const std::string& value) {
  return RunProgram({"gsettings", "set", schema, key, GVariantString(value)});
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
  // A tool that hangs once (a settings service that does not answer) would
  // hang again: the first time-out ends the attempt, so the window waits
  // for one deadline at most.
  const TProgramResult style = RunProgram({"gsettings", "get", s.Schema, s.OptionsKey}, true);
  if (style.TimedOut) return false;
  if (style.Succeeded() && Trimmed(style.Output) == GVariantString(s.Tiled) &&
      WriteKey(s.Schema, s.OptionsKey, s.Centred).TimedOut)
    return false;

  std::vector<std::pair<std::string, std::string>> values;
  const std::string uri = FileUri(bmpPath);
  for (const std::string& key : s.UriKeys) values.emplace_back(key, uri);
  for (const std::string& key : s.PathKeys) values.emplace_back(key, bmpPath);
  bool written = false;
  for (size_t i = 0; i < values.size(); ++i) {
    const TProgramResult r = WriteKey(s.Schema, values[i].first, values[i].second);
    if (i == 0) written = r.Succeeded();
    if (r.TimedOut) break;
  }
  return written;
}

}  // namespace kx
