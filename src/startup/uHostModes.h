// The modes that draw into a window of another program: the preview of a
// screensaver dialog (/P <id>), and the show inside an X11 screensaver
// daemon's window (XScreenSaver's XSCREENSAVER_WINDOW, -root, -window-id,
// as xsecurelock's saver modules run hacks too).
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "package/uKXProject.h"

namespace kx {

// A window id as X tools print it: decimal, or hexadecimal after "0x" (any
// case). nullopt for anything else, for 0 and for ids beyond 32 bits.
std::optional<uint64_t> ParseWindowId(std::string_view text);

// The daemon conventions. Host when the arguments or the environment name a
// window to show in: the root window has id 0.
struct THostRequest {
  bool Host = false;       // the show runs inside Window
  bool Help = false;       // -h or --help
  uint64_t Window = 0;     // 0: the root window
  std::string Error;       // a bad id or a missing value: the message, and Host is false
};
// args excludes the program name; environment is XSCREENSAVER_WINDOW's value
// (null when unset). Only arguments that are no mode word are looked at:
// -root / --root (the daemon's window when XSCREENSAVER_WINDOW names one,
// else the root window), -window-id ID / --window-id ID, -h / --help, and no
// argument at all with XSCREENSAVER_WINDOW set.
THostRequest ReadHostRequest(const std::vector<std::string>& args, const char* environment);

// The usage text -h prints.
std::string UsageText();

// Paints the project's preview picture stretched over the host window and
// ends, its work folder removed. A handle that is not a window id, a window
// that is gone, or a preview that is no JPEG: a message on stderr, status 1.
int PreviewMode(TKXCProject& project, const std::string& programPath, const std::string& handleText);

}  // namespace kx
