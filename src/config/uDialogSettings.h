// The values of the settings dialog and their way between the project's
// defaults, the user settings file and the dialog: read when the dialog opens
// (and when a configuration window is built, which copies part of them into
// the project), written when the dialog is confirmed.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "package/uKXProject.h"

namespace kx {

struct TConfigContext;

// A speed position that names no step: the project's Speed is in no step of
// SpeedSteps (or a file said -1). Copying it into a project keeps its Speed.
inline constexpr int32_t kNoSpeedPosition = -1;

struct TDialogSettings {
  bool Persisting = false;  // the values came from (and may go to) the user settings file
  int32_t ImageSize = 0;    // 0 own size, 1 stretched, 2 stretched keeping proportions
  int32_t ImageMode = 0;    // the show order
  // Index into SpeedSteps; kNoSpeedPosition until a step is found (the
  // dialog's track bar shows that as its first position).
  int32_t SpeedPosition = kNoSpeedPosition;
  bool Sound = false;
  bool Music = false;
  bool Transition = false;
  int32_t Duration = 0;  // seconds
  bool DirectX = false;
  int32_t DirectXQuality = 0;
  bool CustomMusic = false;
  bool ShuffleMusic = false;
  bool ShowClock = false;
  int32_t ClockPos = 0;
  std::vector<std::string> MusicList;  // full paths, in playlist order
};

// Where the dialog's values are kept: the user settings file in a persisting
// run, nowhere otherwise.
struct TDialogSettingsFile {
  bool Persisting = false;
  std::string Path;
};
// The program's own file (see config/uUserSettingsFile.h for the rule);
// overridePath, when not empty, names the file instead and makes the run a
// persisting one.
TDialogSettingsFile DialogSettingsFile(const std::string& programPath, const std::vector<std::string>& args,
                                       const std::string& overridePath = "");
// The file of a configuration window's context (its SettingsFile, when set,
// overrides the program's own).
TDialogSettingsFile DialogSettingsFile(const TConfigContext& context);

// Starting from `start` (usually TDialogSettings{}): the
// project's values, then, in a persisting run whose file exists, the file's
// [Setting] keys with those values as defaults and the keys of [MusicList].
// A value that does not parse keeps its default; a damaged or unreadable file
// reads as far as it makes sense, never more than the INI reader's limits.
TDialogSettings ReadDialogSettings(const TKXCProject& project, const TDialogSettingsFile& file,
                                   TDialogSettings start = {});

// Writes every dialog key of [Setting] (in the dialog's order, switches as
// "1" or "0") and replaces [MusicList] by the playlist, keeping the file's
// other sections and keys. Nothing in a run that does not persist. Entries
// that cannot be a key of the file (see CanStoreMusicEntry) are left out.
// Throws std::runtime_error when the file cannot be written; the old file
// then stays as it was.
void WriteDialogSettings(const TDialogSettings& values, const TDialogSettingsFile& file);

// What a configuration window copies into its project when it is built, in a
// persisting run only: show order, duration, sound, music, transitions,
// fitting, and the speed of the position (a position beyond the scale takes
// its nearest end; kNoSpeedPosition keeps the project's Speed).
void ApplyDialogSettingsToProject(const TDialogSettings& values, TKXCProject& project);

// Whether a path can be one key of [MusicList] and one entry of the show's
// ";"-separated playlist: not empty, no CR, LF, "=" or ";" in it, not
// starting with "[" or ";", and no blank or control character at either end
// (the file's reader trims them).
bool CanStoreMusicEntry(std::string_view path);

}  // namespace kx
