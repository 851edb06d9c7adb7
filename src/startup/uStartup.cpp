#include "startup/uStartup.h"

#include <cstdio>
#include <cstdlib>
#include <span>
#include <string_view>
#include <vector>

#include "devices/sdl/uSdlAudio.h"
#include "devices/sdl/uSdlDisplay.h"
#include "devices/sdl/uSdlMessageBox.h"
#include "devices/sdl/uSdlMusic.h"
#include "devices/sdl/uSdlSound.h"
#include "devices/uHostWindow.h"
#include "devices/uHostWindowDisplay.h"
#include "devices/uMessageBox.h"
#include "devices/uWindowSystem.h"
#include "os/uClock.h"
#include "os/uPassword.h"
#include "os/uPlatform.h"
#include "package/uIniFile.h"
#include "package/uPackage.h"
#include "package/uText.h"
#include "package/uWorkFolder.h"
#include "saver/FKXScrSvr.h"
#include "startup/uHostModes.h"

namespace kx {
namespace {

constexpr std::string_view kSaverWords[] = {"/S", "-S", "S"};
constexpr std::string_view kConfigureWords[] = {"/C", "-C", "C", ""};
constexpr std::string_view kPreviewWords[] = {"/P", "-P", "P"};
constexpr std::string_view kPasswordWords[] = {"/A", "-A", "A"};

struct TModeWords {
  std::span<const std::string_view> Words;
  TRunMode Mode;
};

// Tested in this order; the groups share no word.
constexpr TModeWords kModeTable[] = {
    {kSaverWords, TRunMode::Saver},
    {kConfigureWords, TRunMode::Configure},
    {kPreviewWords, TRunMode::Preview},
    {kPasswordWords, TRunMode::ChangePassword},
};

}  // namespace

TCommandLine ReadCommandLine(const std::vector<std::string>& args) {
  TCommandLine line;
  if (!args.empty()) line.ModeWord = UpperCase(args[0]).substr(0, 2);
  if (args.size() > 1) line.HandleText = UpperCase(args[1]);
  return line;
}

TRunMode ModeOf(const std::string& modeWord) {
  for (const TModeWords& group : kModeTable)
    for (std::string_view word : group.Words)
      if (word == modeWord) return group.Mode;
  return TRunMode::None;
}

bool PreparePackage(TKXCProject& project, const std::string& programPath) {
  const std::string program = ExpandLongPath(programPath);
  const std::string folder = GetWorkFolder();
  // The package's files are read in place from the program file, as files
  // of the work folder: nothing of it is written there.
  const std::vector<std::string> packaged = program.empty() ? std::vector<std::string>()
                                                            : UsePackageInPlace(program, folder);
  project.LoadFromPackage(folder + std::string(kPackageEntryNames[0]));
  // The thumbnails and the show look pictures up by the names the files
  // would be extracted under, compared as the system compares file names.
  if (!program.empty()) project.FileList.UsePackagedNames(packaged);
  project.RelocateFiles(folder);
  return !program.empty();
}

namespace {

TSaverDevicesFactory& DevicesFactory() {
  static TSaverDevicesFactory factory;
  return factory;
}

TSaverDevices SdlDevices() {
  // Before SDL opens its connections.
  PrepareWindowSystem();
  TSaverDevices devices{std::make_unique<TSdlDisplay>(ListMonitors()), std::make_unique<TSystemClock>()};
  SetMessageBoxHandler(ShowSdlMessageBox);
  // Without an audio device the show runs silent, without a message.
  std::unique_ptr<TSdlAudio> audio = TSdlAudio::Open();
  if (audio) {
    devices.Sound = std::make_unique<TSdlSoundChannels>(*audio);
    devices.Music = std::make_unique<TSdlMusicPlayer>(*audio);
  }
  devices.Audio = std::move(audio);
  return devices;
}

}  // namespace

TSaverDevices MakeSaverDevices() { return DevicesFactory() ? DevicesFactory()() : SdlDevices(); }

void SetSaverDevicesFactory(TSaverDevicesFactory factory) { DevicesFactory() = std::move(factory); }

namespace {

// The show on the devices make gives, its work folder removed at the end.
int RunShow(TKXCProject& project, const std::string& programPath, const std::function<TSaverDevices()>& make) {
  PreparePackage(project, programPath);
  int status = 0;
  const TMessageBoxHandler previous = SetMessageBoxHandler({});
  try {
    TSaverDevices devices = make();
    TSaverContext context{*devices.Display, *devices.Clock, programPath, std::nullopt};
    context.Sound = devices.Sound.get();
    context.Music = devices.Music.get();
    context.WorkFolder = GetWorkFolder();
    RunSlideshow(project, true, false, context);
  } catch (const std::exception& e) {
    std::fprintf(stderr, "kxcsaver: %s\n", e.what());
    status = 1;
  }
  SetMessageBoxHandler(previous);
  RemoveWorkFolder();
  return status;
}

}  // namespace

int SaverMode(TKXCProject& project, const std::string& programPath) {
  return RunShow(project, programPath, MakeSaverDevices);
}

// Inside a daemon's window: its display, SDL's sound and music; messages go
// to stderr, since a box over a locked screen helps no one. On the root
// window the monitors are shown as /S shows them: the primary's show, fitted
// onto each of the others.
int HostMode(TKXCProject& project, const std::string& programPath, uint64_t window) {
  return RunShow(project, programPath, [window] {
    TSaverDevices devices = SdlDevices();
    SetMessageBoxHandler({});
    THostWindowDisplay::TMonitorList monitors;
    if (window == 0) monitors = ListMonitors;
    devices.Display = std::make_unique<THostWindowDisplay>(OpenHostWindow(window), std::move(monitors));
    return devices;
  });
}

namespace {

int RunMode(TRunMode mode, const TCommandLine& line, const std::string& programPath,
            const std::vector<std::string>& args) {
  TKXCProject project;
  switch (mode) {
    case TRunMode::Saver:
      return SaverMode(project, programPath);
    case TRunMode::Configure:
      return ConfigureMode(project, programPath, args);
    case TRunMode::Preview:
    case TRunMode::ChangePassword:
      if (!ParseInteger(line.HandleText, TIntSyntax::DecimalOrHex)) {
        std::fprintf(stderr, "kxcsaver: '%s' is not a valid integer value\n", line.HandleText.c_str());
        return 1;
      }
      if (mode == TRunMode::Preview) return PreviewMode(project, programPath, line.HandleText);
      ChangeScreenSaverPassword(*ParseInteger(line.HandleText, TIntSyntax::DecimalOrHex));
      return 0;
    case TRunMode::None:
      return 0;
  }
  return 0;
}

}  // namespace

// A mode that cannot go on (no work folder can be created, say) says why and
// ends with status 1, its work folder removed.
int RunPlayer(const std::vector<std::string>& args, const std::string& programPath) {
  const TCommandLine line = ReadCommandLine(args);
  try {
    const TRunMode mode = ModeOf(line.ModeWord);
    if (args.empty() || mode == TRunMode::None) {
      const THostRequest host = ReadHostRequest(args, std::getenv("XSCREENSAVER_WINDOW"));
      if (host.Help) {
        std::fputs(UsageText().c_str(), stdout);
        return 0;
      }
      if (!host.Error.empty()) {
        std::fprintf(stderr, "kxcsaver: %s\n", host.Error.c_str());
        return 1;
      }
      if (host.Host) {
        TKXCProject project;
        return HostMode(project, programPath, host.Window);
      }
    }
    return RunMode(mode, line, programPath, args);
  } catch (const std::exception& e) {
    std::fprintf(stderr, "kxcsaver: %s\n", e.what());
    RemoveWorkFolder();
    return 1;
  }
}

}  // namespace kx
