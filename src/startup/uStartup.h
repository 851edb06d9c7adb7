// The player's entry: the command line selects one mode, the package of the
// program's own file is prepared for it, and what was unpacked is removed when
// the mode ends.
#pragma once

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "devices/uDisplay.h"
#include "devices/uMusic.h"
#include "devices/uSound.h"
#include "os/uClock.h"
#include "package/uKXProject.h"

namespace kx {

enum class TRunMode { None, Saver, Configure, Preview, ChangePassword };

struct TCommandLine {
  std::string ModeWord;    // first argument upper-cased, cut to two characters
  std::string HandleText;  // second argument upper-cased
};

// args excludes the program name.
TCommandLine ReadCommandLine(const std::vector<std::string>& args);

// The mode of a mode word: "/S", "-S", "S" show; "/C", "-C", "C" or "" configure;
// "/P", "-P", "P" preview; "/A", "-A", "A" password change; anything else none.
TRunMode ModeOf(const std::string& modeWord);

// Makes the package of programPath readable in place as files of the work
// folder (nothing is written there), loads the project from it and relocates
// its file references there. False when the program's path does not expand
// (no package is used; the project keeps its defaults).
bool PreparePackage(TKXCProject& project, const std::string& programPath);

// The devices the full-screen mode runs on: the SDL display, the system
// clock and SDL2_mixer's sound channels and music unless a factory replaces
// them (tests run the mode headless). Sound and Music may be null: silent.
struct TSaverDevices {
  std::unique_ptr<ISaverDisplay> Display;
  std::unique_ptr<IClock> Clock;
  std::shared_ptr<void> Audio{};  // what Sound and Music play through; released after them
  std::unique_ptr<ISoundChannels> Sound{};
  std::unique_ptr<IMusicPlayer> Music{};
};
using TSaverDevicesFactory = std::function<TSaverDevices()>;
void SetSaverDevicesFactory(TSaverDevicesFactory factory);
// The factory's devices, or the SDL ones when none is set.
TSaverDevices MakeSaverDevices();

int SaverMode(TKXCProject& project, const std::string& programPath);
// The show inside another program's window (0: the root window).
int HostMode(TKXCProject& project, const std::string& programPath, uint64_t window);
// The package's MainWindow, shown modally; args decide whether the user
// settings file is used. Without a display, or when the window cannot be
// built, it says why and ends with status 1. (startup/uConfigureMode.cpp,
// in builds with the configuration window.)
int ConfigureMode(TKXCProject& project, const std::string& programPath, const std::vector<std::string>& args);

// Runs the whole program on its arguments; the process exit status.
int RunPlayer(const std::vector<std::string>& args, const std::string& programPath);

}  // namespace kx
