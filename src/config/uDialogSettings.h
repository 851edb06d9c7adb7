// The values of the settings dialog and their way between the project's
// defaults, the user settings file and the dialog: read when the dialog opens
// (and when a configuration window is built, which copies part of them into
// the project), written when the dialog is confirmed. The file itself is
// package/uUserSettingsFile.h's; this side maps its record to the dialog.
#pragma once

#include <string>
#include <vector>

#include "package/uKXProject.h"
#include "package/uUserSettingsFile.h"

namespace kx {

struct TConfigContext;

// The dialog's values are the file's record (SpeedPosition is
// kNoSpeedPosition until a step is found; the dialog's track bar shows that
// as its first position), and whether they came from (and may go to) the
// user settings file. Index and Files ride along unused: the configuration
// window owns them.
struct TDialogSettings : TUserSettings {
  bool Persisting = false;
};

// Where the dialog's values are kept: the user settings file in a persisting
// run, nowhere otherwise.
using TDialogSettingsFile = TUserSettingsFile;
// The program's own file (UserSettingsFileOf); overridePath, when not empty,
// names the file instead and makes the run a persisting one.
TDialogSettingsFile DialogSettingsFile(const std::string& programPath, const std::vector<std::string>& args,
                                       const std::string& overridePath = "");
// The file of a configuration window's context (its SettingsFile, when set,
// overrides the program's own).
TDialogSettingsFile DialogSettingsFile(const TConfigContext& context);

// Starting from `start` (usually TDialogSettings{}): the project's values
// (SetFromProject), then, in a persisting run whose file exists, the file
// read with the dialog's defaults. A value that does not parse keeps its
// default; a damaged or unreadable file reads as far as it makes sense.
TDialogSettings ReadDialogSettings(const TKXCProject& project, const TDialogSettingsFile& file,
                                   TDialogSettings start = {});

// Writes the dialog's part of the file: every dialog key of [Setting] (in
// the dialog's order, switches as "1" or "0") and [MusicList], keeping the
// file's other sections and keys. Nothing in a run that does not persist.
// Entries that cannot be a key of the file (see CanStoreMusicEntry) are left
// out. Throws std::runtime_error when the file cannot be written; the old
// file then stays as it was.
void WriteDialogSettings(const TDialogSettings& values, const TDialogSettingsFile& file);

// What a configuration window copies into its project when it is built, in a
// persisting run only: show order, duration, sound, music, transitions,
// fitting, and the speed of the position (a position beyond the scale takes
// its nearest end; kNoSpeedPosition keeps the project's Speed).
void ApplyDialogSettingsToProject(const TDialogSettings& values, TKXCProject& project);

}  // namespace kx
