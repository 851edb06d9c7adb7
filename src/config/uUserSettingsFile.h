// The configuration windows' access to the user settings file: whether this
// run may use it at all, where it is, and reading and writing it whole.
#pragma once

#include <string>
#include <vector>

#include "package/uIniFile.h"

namespace kx {

// A persisting run reads and writes the user settings file: the program's
// long path, upper-cased, ends in ".SCR", or the first argument, upper-cased,
// is "/C". (A program started as "Lake.exe" with no argument, or with
// "/c:1234", does not.)
bool IsPersistingRun(const std::string& programPath, const std::vector<std::string>& args);

// The settings file's content; empty when there is none or it cannot be read
// (a hand-edited or damaged file gives what the reader makes of it).
TIniFile ReadUserSettings(const std::string& path);
// Replaces the file with the content as a whole (a new file renamed over the
// old). Throws std::runtime_error naming the file and the reason when it
// cannot be written; the old file is then unchanged.
void WriteUserSettings(const std::string& path, const TIniFile& ini);

}  // namespace kx
