#include "devices/x11/uXfceWallpaper.h"

#include <string_view>

#include "os/uRunProgram.h"

namespace kx {
namespace {

constexpr std::string_view kImageKey = "/last-image";
constexpr const char* kTiled = "2";
constexpr const char* kCentred = "1";

TProgramResult Query(std::vector<std::string> args, bool captureOutput = false) {
  args.insert(args.begin(), {"xfconf-query", "-c", "xfce4-desktop"});
  return RunProgram(args, captureOutput);
}

std::string Trimmed(const std::string& s) {
  const size_t first = s.find_first_not_of(" \t\r\n");
  if (first == std::string::npos) return {};
  return s.substr(first, s.find_last_not_of(" \t\r\n") - first + 1);
}

}  // namespace

std::vector<std::string> XfceImageProperties(const std::string& listing) {
  std::vector<std::string> properties;
  size_t at = 0;
  while (at < listing.size() && properties.size() < kMaxXfceImageProperties) {
    size_t end = listing.find('\n', at);
    if (end == std::string::npos) end = listing.size();
    const std::string line = Trimmed(listing.substr(at, end - at));
    at = end + 1;
    if (line.size() > kImageKey.size() && line.front() == '/' && line.ends_with(kImageKey))
      properties.push_back(line);
  }
  return properties;
}

bool TXfceWallpaper::Set(const std::string& bmpPath) {
  const TProgramResult listing = Query({"-l"}, true);
  if (!listing.Succeeded()) return false;
  // The first time-out ends the attempt: the settings service does not
  // answer, and the window should wait for it once at most.
  bool any = false;
  for (const std::string& image : XfceImageProperties(listing.Output)) {
    const std::string style = image.substr(0, image.size() - kImageKey.size()) + "/image-style";
    const TProgramResult current = Query({"-p", style}, true);
    if (current.TimedOut) break;
    if (current.Succeeded() && Trimmed(current.Output) == kTiled && Query({"-p", style, "-s", kCentred}).TimedOut)
      break;
    const TProgramResult set = Query({"-p", image, "-s", bmpPath});
    if (set.Succeeded()) any = true;
    if (set.TimedOut) break;
  }
  return any;
}

}  // namespace kx
