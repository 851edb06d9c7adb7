// Where the user's own files of a screensaver live: the settings file and
// the wallpaper file. Beside the program when the user may write in the
// program's folder (a screensaver kept in the user's own folders, as on
// Windows); otherwise, for a program installed system-wide, in the user's
// XDG folders, so that every user has files of their own. One decision for
// readers and writers alike.
#pragma once

#include <functional>
#include <string>

namespace kx {

// Which of the user's own folders a user file falls back to.
enum class TUserFolder {
  Config,  // $XDG_CONFIG_HOME (default ~/.config): the settings file
  Data,    // $XDG_DATA_HOME (default ~/.local/share): the wallpaper file
};

// The one decision for every user file of a program: fileName beside the
// program, in the folder of its long path, when that path expands and the
// user may create files there; else fileName in the user's folder of that
// kind (UserConfigFolder or UserDataFolder, each ending in "kxcsaver/").
// The caller names the file after the program (ProgramFileName); the
// settings file's name is the rule of the unit that reads and writes it.
std::string UserFilePath(const std::string& programPath, const std::string& fileName, TUserFolder fallback);
// The program's file name as its long path spells it ("Lake.scr"); when the
// path does not expand, the name as the path given spells it.
std::string ProgramFileName(const std::string& programPath);
// The wallpaper file: the program's name with ".bmp" appended
// ("Lake.scr.bmp"; "kxcsaver.bmp" for a path without a name), placed by the
// decision above.
std::string WallpaperFilePath(const std::string& programPath);

// The system's part of the choice, in os/posix and os/win32.
//
// The per-user folders the two fall back to, with a trailing separator
// (created by the writers, not here): on Windows %APPDATA% and
// %LOCALAPPDATA%, each followed by "kxcsaver\". "" when the user has no
// home folder to hold them (never a shared folder in its place); a user file
// there is then "": nothing is read from it and writing it fails.
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
// folder is created (with its parents, each private to the user) when
// missing. A folder the write creates, and the user's own folder
// (UserConfigFolder, UserDataFolder), must be a folder of this user and not
// a link. New files of earlier writes that were stopped half-way
// (IsWriteFileName, older than kStaleWriteFileSeconds) are removed from the
// folder. Throws std::runtime_error naming the path and the reason; the old
// file is then as it was. An empty path (no user folder) is refused with
// the reason.
void WriteFileAtomically(const std::string& path, const std::string& bytes);

// Runs use while the HOME variable names a place where no file can be found
// or made (POSIX: /dev/null), then restores it: for a library that would
// otherwise read and write files of its own in the user's home folder. The
// environment is shared by the whole process: call it while no other thread
// reads it. Windows libraries keep such files elsewhere; there use just runs.
void RunWithoutHomeFolder(const std::function<void()>& use);

// The new file of a write: ".kxcsaver-" and six unpredictable letters or
// digits, in the folder of the file it replaces.
std::string NewWriteFileName();
// True for a name of that pattern, and for no other.
bool IsWriteFileName(const std::string& name);
// A write's new file left alone this long was left by a write that stopped.
inline constexpr int kStaleWriteFileSeconds = 60;

}  // namespace kx
