// Where the user's own files of a screensaver live: the settings file and
// the wallpaper file. Beside the program when the user may write in the
// program's folder (a screensaver kept in the user's own folders, as on
// Windows); otherwise, for a program installed system-wide, in the user's
// XDG folders, so that every user has files of their own. One decision for
// readers and writers alike.
#pragma once

#include <string>

namespace kx {

// programPath beside the program; or $XDG_CONFIG_HOME (default ~/.config)
// for settings and $XDG_DATA_HOME (default ~/.local/share) for the wallpaper,
// each followed by "kxcsaver/". The file names are those the program's
// folder would hold: "Lake.ini" and "Lake.scr.bmp" for "Lake.scr".
//
// The settings file: the program's long path with the extension of its file
// name replaced by ".ini" (a name without one gets ".ini" added).
std::string UserSettingsFilePath(const std::string& programPath);
// The wallpaper file: the program's long path with ".bmp" appended.
std::string WallpaperFilePath(const std::string& programPath);

// The system's part of the choice, in os/posix and os/win32.
//
// The per-user folders the two fall back to, with a trailing separator
// (created by the writers, not here): on Windows %APPDATA% and
// %LOCALAPPDATA%, each followed by "kxcsaver\".
std::string UserConfigFolder();
std::string UserDataFolder();
// The characters that end a folder's name in a path: "/" ("\" and "/" on Windows).
const char* PathSeparators();
// The folder part of a path: up to and including its last separator ("" when
// it has none).
std::string FolderPart(const std::string& path);
// True when the user may create files in folder (a path ending in a
// separator; "" is the current folder).
bool MayCreateFilesIn(const std::string& folder);

// Writes text to path through a new file in the same folder renamed over
// the old one, so that a crash or a full disk never leaves half a file; the
// folder is created (with its parents) when missing. Throws
// std::runtime_error naming the path and the reason; the old file is then
// as it was.
void WriteFileAtomically(const std::string& path, const std::string& bytes);

}  // namespace kx
