// The show's side of the user settings file (package/uUserSettingsFile.h):
// the user's choices applied to the project in memory before each
// full-screen show.
#pragma once

#include <string>

#include "package/uKXProject.h"
#include "package/uUserSettingsFile.h"

namespace kx {

// Applies the settings file at iniPath, read with the show's defaults, to the
// project: show order, picture states, duration, speed, sound, music (and a
// custom playlist), transitions, display path and clock. A missing file
// changes nothing.
void ApplyUserSettings(TKXCProject& project, const std::string& iniPath);

}  // namespace kx
