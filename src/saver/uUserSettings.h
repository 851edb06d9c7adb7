// The user's choices for an installed screensaver: an INI file beside the
// program ("Lake.scr" keeps them in "Lake.ini"), written by the configuration
// windows and applied to the project in memory before each full-screen show.
#pragma once

#include <array>
#include <cstdint>
#include <string>

#include "package/uKXProject.h"

namespace kx {

// The speed scale's 21 steps in percent; index 10 is normal speed.
inline constexpr std::array<int32_t, 21> SpeedSteps = {10,  20,  30,  45,  50,  60,  70,  75,  80,  90, 100,
                                                       120, 140, 160, 180, 200, 220, 240, 360, 480, 500};

// The settings file of a program: beside it, its long path with the
// extension of the file name replaced by ".ini" (a name without a dot gets
// ".ini" added), when the user may write there; else the same name in the
// user's configuration folder (see devices/uUserFiles.h).
std::string UserSettingsFileName(const std::string& programPath);

// Applies the settings file at iniPath to the project: show order, picture
// states, duration, speed, sound, music (and a custom playlist), transitions,
// display path and clock. A missing file changes nothing.
void ApplyUserSettings(TKXCProject& project, const std::string& iniPath);

}  // namespace kx
