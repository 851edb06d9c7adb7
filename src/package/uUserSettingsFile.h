// The user settings file: what the user of an installed screensaver chooses
// over the author's settings (picture size and order, which pictures take
// part, duration, speed, sound, music, transitions, display path, clock). It
// is INI text named after the program ("Lake.scr" keeps "Lake.ini"), beside
// the program where the user may write, else in the user's configuration
// folder. The configuration window and its settings dialog write it; the
// full-screen show reads it before every show.
//
// This unit is the file's one reader and writer: one table of its keys
// (UserSettingKeys), the file read once into a TUserSettings record, and the
// parts a writer owns written back with the rest of the file kept. The show
// and the configuration windows only map the record to their own state.
#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <variant>
#include <vector>

#include "package/uKXProject.h"

namespace kx {

// The file stores a position on the speed scale (SpeedSteps,
// package/uKXProject.h) as "Speed", not the speed.
// A speed position that names no step: the project's Speed is in no step of
// SpeedSteps (or a file said -1).
inline constexpr int32_t kNoSpeedPosition = -1;
// The position whose step is speed; nullopt when no step is.
std::optional<int32_t> SpeedPositionOf(int32_t speed);
// The step at a position; nullopt when the position is off the scale.
std::optional<int32_t> SpeedAt(int32_t position);

// A picture's position in the project's picture list as the file spells it
// ("Index" and the keys of [Files]). The show takes any integer the INI
// reader takes; the configuration window only the plain decimal it writes
// itself, so "03" is picture 3 to the show and no picture to the window.
struct TPicturePosition {
  int32_t Value = 0;
  bool Plain = true;  // the text was Value's own decimal form ("3", not "03" or "+3"), or the key's default
  bool operator==(const TPicturePosition&) const = default;
};

// The file's content: one member per key of [Setting], and the key names of
// [MusicList] and [Files] in file order. Values outside a key's limits are
// kept as the file says; each user decides what they mean.
struct TUserSettings {
  // 0 own size, 1 stretched, 2 stretched keeping proportions (the show's
  // default -1: the project's fitting stays)
  int32_t ImageSize = 0;
  int32_t ImageMode = 0;  // the show order: 0 all random, 1 all in order, 2 ticked random, 3 the picture at Index
  int32_t SpeedPosition = kNoSpeedPosition;  // "Speed": an index into SpeedSteps
  bool Sound = false;
  bool Music = false;
  bool Transition = false;
  int32_t Duration = 0;  // seconds per picture
  bool DirectX = false;
  int32_t DirectXQuality = 0;  // size of the back picture
  bool CustomMusic = false;    // the playlist is MusicList, not the project's
  bool ShuffleMusic = false;
  bool ShowClock = false;
  int32_t ClockPos = 0;                 // 0 top left, 1 top right, 2 bottom left, 3 bottom right
  std::vector<std::string> MusicList;   // full paths, in playlist order
  TPicturePosition Index;               // the picture of show order 3, the configuration window's current one
  std::vector<TPicturePosition> Files;  // the pictures unticked in the configuration window (keys that are no
                                        // integer are left out)
  bool operator==(const TUserSettings&) const = default;
};

// Whose defaults a read takes for keys the file lacks or whose value is no
// number: the full-screen show's, or the settings dialog's (which the
// configuration window shares for "Index").
enum class TUserSettingsReader { Show, Dialog };

// The parts of the file, each with one writer. A write replaces the parts it
// is given and keeps everything else in the file (other keys, other
// sections, their order) as it was.
enum TUserSettingsPart : uint32_t {
  kSettingsDialogPart = 1,    // every key of [Setting] but "Index", and [MusicList]: the settings dialog
  kCurrentPicturePart = 2,    // "Index": the configuration window
  kUntickedPicturesPart = 4,  // [Files]: the configuration window's thumbnail grids
};

// Where a reader's default for a key comes from: the project's value (what
// the record held when the read began, see SetFromProject), or a fixed one.
struct TUserSettingDefault {
  bool FromProject = false;
  int32_t Value = 0;
};

// One row of the table of keys. A row whose Key is empty is a whole section
// whose key names are the values (its limits apply to each of them).
struct TUserSettingKey {
  using Member = std::variant<int32_t TUserSettings::*, bool TUserSettings::*, TPicturePosition TUserSettings::*,
                              std::vector<std::string> TUserSettings::*,
                              std::vector<TPicturePosition> TUserSettings::*>;
  // The key's value as the project's settings have it; nullopt when they
  // have none (a speed in no step).
  using ProjectValue = std::optional<int32_t> (*)(const TKXCSetting& project);

  std::string_view Section;
  std::string_view Key;
  Member Field;
  int32_t Min = 0, Max = 0;  // the values the key means something for; switches 0 and 1
  ProjectValue Project = nullptr;  // null for a key the project has no value of
  TUserSettingDefault ShowDefault;
  TUserSettingDefault DialogDefault;
  TUserSettingsPart Part = kSettingsDialogPart;  // who writes it
};

// Every key and section of the file, in the order the writers write them.
std::span<const TUserSettingKey> UserSettingKeys();

// A persisting run reads and writes the user settings file: the program's
// long path, upper-cased, ends in ".SCR", or the first argument, upper-cased,
// is "/C". (A program started as "Lake.exe" with no argument, or with
// "/c:1234", does not.)
bool IsPersistingRun(const std::string& programPath, const std::vector<std::string>& args);
// The settings file of a program: named after the program's long path with
// the extension of its file name replaced by ".ini" (a name without one gets
// ".ini" added; a final dot is no extension), beside the program or in the
// user's configuration folder (os/uUserFiles.h decides which).
std::string UserSettingsFileName(const std::string& programPath);

// Which file a run uses and whether it uses it at all.
struct TUserSettingsFile {
  bool Persisting = false;
  std::string Path;
};
// The program's own file by the rules above; overridePath, when not empty,
// names the file instead and makes the run a persisting one.
TUserSettingsFile UserSettingsFileOf(const std::string& programPath, const std::vector<std::string>& args,
                                     const std::string& overridePath = "");

// Puts the project's value of every key that has one into values: image size
// from Stretch and Proportional, the speed's position (kept when the speed is
// in no step), show order, sound, music, transitions, duration, DirectX and
// its quality, the clock. The defaults that come from the project are these.
void SetFromProject(TUserSettings& values, const TKXCSetting& project);

// The file read once, starting from values: each key the file has with a
// number (a switch is any integer, true unless 0) replaces its member; a key
// it lacks, or whose value is no number, takes the reader's default, which
// for keys defaulting to the project's value is what values held. The
// sections' key names replace the lists. nullopt when there is no file (a
// folder or anything else that is not a regular file in its place counts as
// none); a damaged or unreadable file reads as far as it makes sense, never
// more than the INI reader's limits.
std::optional<TUserSettings> ReadUserSettingsFile(const std::string& path, TUserSettingsReader reader,
                                                  TUserSettings values = {});

// Writes the parts (TUserSettingsPart values, or-ed) from values, integers in
// decimal and switches as "1" or "0", replacing the sections of those parts;
// the file's other keys and sections stay. Music entries that cannot be a
// key of the file (CanStoreMusicEntry) are left out, and one path twice is
// one key. The file is replaced as a whole (a new file renamed over the
// old); throws std::runtime_error naming it and the reason when it cannot
// be written, and the old file then stays as it was.
void WriteUserSettingsFile(const std::string& path, const TUserSettings& values, uint32_t parts);

// Whether a path can be one key of [MusicList] and one entry of the show's
// ";"-separated playlist: not empty, no CR, LF, "=" or ";" in it, not
// starting with "[" or ";", and no blank or control character at either end
// (the file's reader trims them).
bool CanStoreMusicEntry(std::string_view path);

}  // namespace kx
