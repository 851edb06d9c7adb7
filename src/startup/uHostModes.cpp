#include "startup/uHostModes.h"

#include <cstdio>
#include <span>

#include "devices/uDisplay.h"
#include "devices/uHostWindow.h"
#include "os/uClock.h"
#include "package/uText.h"
#include "package/uWorkFolder.h"
#include "raster/uPictureDecode.h"
#include "raster/uResample.h"
#include "raster/uStillPicture.h"
#include "startup/uStartup.h"

namespace kx {

std::optional<uint64_t> ParseWindowId(std::string_view text) {
  const bool hex = text.size() > 2 && text[0] == '0' && (text[1] == 'x' || text[1] == 'X');
  if (hex) text.remove_prefix(2);
  if (text.empty() || text.size() > 10) return std::nullopt;
  uint64_t id = 0;
  for (char c : text) {
    int digit;
    if (c >= '0' && c <= '9') digit = c - '0';
    else if (hex && c >= 'a' && c <= 'f') digit = c - 'a' + 10;
    else if (hex && c >= 'A' && c <= 'F') digit = c - 'A' + 10;
    else return std::nullopt;
    id = id * (hex ? 16 : 10) + uint64_t(digit);
  }
  if (id == 0 || id > 0xFFFFFFFFu) return std::nullopt;
  return id;
}

THostRequest ReadHostRequest(const std::vector<std::string>& args, const char* environment) {
  THostRequest request;
  const auto fromEnvironment = [&] {
    if (const std::optional<uint64_t> id = ParseWindowId(environment)) {
      request.Host = true;
      request.Window = *id;
    } else {
      request.Error = "XSCREENSAVER_WINDOW is not a window id: " + std::string(environment);
    }
  };
  if (args.empty()) {
    if (environment) fromEnvironment();
    return request;
  }
  const std::string& word = args[0];
  if (word == "-h" || word == "--help") {
    request.Help = true;
  } else if (word == "-root" || word == "--root") {
    if (environment) fromEnvironment();
    else request.Host = true;  // the root window
  } else if (word == "-window-id" || word == "--window-id") {
    if (args.size() < 2) {
      request.Error = word + " needs a window id";
    } else if (const std::optional<uint64_t> id = ParseWindowId(args[1])) {
      request.Host = true;
      request.Window = *id;
    } else {
      request.Error = "not a window id: " + args[1];
    }
  }
  return request;
}

std::string UsageText() {
  return "usage: PROGRAM [/S | /C | /P <window id> | /A <window id>]\n"
         "       PROGRAM -root | -window-id <window id>\n"
         "  /S         the full-screen show\n"
         "  /C, none   the configuration window\n"
         "  /P <id>    the preview, painted into the window with that id\n"
         "  /A <id>    the screensaver password change, where the system keeps one\n"
         "  -root      the show on the root window, or in the window XSCREENSAVER_WINDOW names\n"
         "  -window-id <id>  the show inside that window\n"
         "Window ids are decimal or hexadecimal after 0x. With XSCREENSAVER_WINDOW set and no\n"
         "argument the show runs inside that window, as screensaver daemons run their hacks.\n";
}

namespace {

// The preview picture at the window's size: a JPEG only, turned upright,
// decoded no larger than the window needs, then resampled to fill it exactly.
TBitmap32 PreviewPicture(const std::string& path, TPoint size) {
  const std::string bytes = ReadPictureBytes(path);
  const std::span data(reinterpret_cast<const uint8_t*>(bytes.data()), bytes.size());
  if (!StillJpegSize(data)) throw std::runtime_error("the preview is not a JPEG picture: " + path);
  const TBitmap32 picture = DecodeStillPicture(data, size);
  TBitmap32 fitted(size.X, size.Y);
  ResampleLanczos3(picture, fitted);
  return fitted;
}

int Fail(const std::string& message) {
  std::fprintf(stderr, "kxcsaver: %s\n", message.c_str());
  RemoveWorkFolder();
  return 1;
}

}  // namespace

int PreviewMode(TKXCProject& project, const std::string& programPath, const std::string& handleText) {
  const std::optional<uint64_t> id = ParseWindowId(handleText);
  if (!id) return Fail("'" + handleText + "' is not a valid window id");
  PreparePackage(project, programPath);
  const std::string preview = project.Settings.PreviewFile;
  if (preview.empty()) {
    RemoveWorkFolder();
    return 0;
  }
  try {
    const std::unique_ptr<IHostWindow> window = OpenHostWindow(*id);
    // The host shows its window when its dialog is ready; a window destroyed
    // before it was ever shown ends the wait.
    TSystemClock clock;
    while (!window->Viewable()) {
      if (!window->Exists()) return Fail("the window " + handleText + " was closed before it was shown");
      window->ProcessEvents();
      clock.Sleep(20);
    }
    const TPoint size = window->Size();
    if (size.X > 0 && size.Y > 0) window->Paint(PreviewPicture(preview, size), 0, 0);
  } catch (const std::exception& e) {
    return Fail(e.what());
  }
  RemoveWorkFolder();
  return 0;
}

}  // namespace kx
