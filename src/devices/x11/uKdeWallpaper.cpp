#include "devices/x11/uKdeWallpaper.h"

#include <vector>

#include "os/uRunProgram.h"

namespace kx {
namespace {

constexpr const char* kService = "org.kde.plasmashell";
constexpr const char* kObject = "/PlasmaShell";
constexpr const char* kMethod = "org.kde.PlasmaShell.evaluateScript";

// The picture's fill modes: 3, 4 and 5 tile; 6 centres the picture unscaled.
constexpr const char* kScript =
    "var all = desktops();\n"
    "for (var i = 0; i < all.length; i++) {\n"
    "  var d = all[i];\n"
    "  d.wallpaperPlugin = 'org.kde.image';\n"
    "  d.currentConfigGroup = Array('Wallpaper', 'org.kde.image', 'General');\n"
    "  var mode = d.readConfig('FillMode');\n"
    "  if (mode == 3 || mode == 4 || mode == 5) d.writeConfig('FillMode', 6);\n"
    "  d.writeConfig('Image', ";

// A script string literal; FileUri leaves nothing that needs it, but the
// script stays sound whatever the address holds.
std::string ScriptString(const std::string& text) {
  std::string out = "'";
  for (char c : text) {
    if (c == '\'' || c == '\\') out += '\\';
    if (c == '\n') out += "\\n";
    else out += c;
  }
  return out + "'";
}

}  // namespace

std::string KdeWallpaperScript(const std::string& bmpPath) {
  return std::string(kScript) + ScriptString(FileUri(bmpPath)) + ");\n}\n";
}

bool TKdeWallpaper::Set(const std::string& bmpPath) {
  const std::string script = KdeWallpaperScript(bmpPath);
  const std::vector<std::vector<std::string>> clients = {
      {"qdbus", kService, kObject, kMethod, script},
      {"qdbus6", kService, kObject, kMethod, script},
      {"qdbus-qt5", kService, kObject, kMethod, script},
      {"dbus-send", "--session", "--type=method_call", std::string("--dest=") + kService, kObject, kMethod,
       "string:" + script},
  };
  for (const std::vector<std::string>& client : clients) {
    const TProgramResult result = RunProgram(client);
    if (result.Succeeded()) return true;
    // A shell that does not answer would not answer the next client either.
    if (result.TimedOut) return false;
  }
  return false;
}

}  // namespace kx
