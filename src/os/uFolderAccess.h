// Folders as the operating system keeps them, for the package's files and the
// run's work folder. A folder is opened once and its files are then created,
// read and removed by name inside it, so that a link planted in the folder's
// place later on is never followed. Paths and names are UTF-8.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace kx {

// An open folder or file is an int; -1 is none. kCurrentFolder stands for
// the current folder, in which names are paths as they are.
inline constexpr int kCurrentFolder = -100;

// The folder opened for the *In calls; -1 when it is missing or a link (or,
// with followLink, when it leads to no folder).
int OpenFolder(const std::string& path, bool followLink = false);
// A folder inside an open folder, never through a link; -1 when it cannot.
int OpenFolderIn(int folder, const std::string& name);
void CloseFolder(int folder);
// The names in an open folder, without "." and "..".
std::vector<std::string> FolderEntries(int folder);

// Creates (or replaces) a file for writing inside the folder, never through a
// link in its place; -1 when it cannot.
int CreateFileIn(int folder, const std::string& name);
// Writes all bytes; a failure loses the rest. False then.
bool WriteAll(int file, const char* data, size_t n);
void CloseFile(int file);
// At most limit bytes of a file of the folder (a link or a FIFO in its place
// gives nothing, and nothing waits); "" when it cannot be read.
std::string ReadFileIn(int folder, const std::string& name, size_t limit);

bool RemoveFileIn(int folder, const std::string& name);
// Removes an empty folder inside the open folder.
bool RemoveFolderIn(int folder, const std::string& name);
// Removes an empty folder.
bool RemoveFolder(const std::string& path);

// Creates a folder that only this user may enter; 0 or the errno-style reason
// (EEXIST when the name is taken).
int MakePrivateFolder(const std::string& path);
// Creates a private folder named pattern with its trailing "XXXXXX" replaced
// by an unpredictable name; its path, or "" (errno set) when none can be made.
std::string MakeUniqueFolder(const std::string& pattern);

// Creates the lock file of a folder and keeps it locked until ReleaseLock;
// another run never sees it there unlocked. -1 (errno set) when it cannot.
int CreateLockFileIn(int folder, const std::string& name);
// The existing lock file of a folder, locked for this run; -1 when it is
// missing, a link, or still held by its run.
int TakeLockFileIn(int folder, const std::string& name);
void ReleaseLock(int lock);

// True when name inside the open folder is a folder (not a link to one) of
// this user.
bool IsOwnFolderIn(int folder, const std::string& name);
// When name inside the open folder last changed (for a folder: an entry was
// added or removed), in seconds since 1970-01-01 UTC, without following a
// link; -1 when it cannot be told.
int64_t ChangedTimeIn(int folder, const std::string& name);

// Replaces path's content with bytes through a new file in the same folder,
// so that a crash or a full disk never leaves half of it. False when it
// cannot; the old file is then as it was.
bool ReplaceFileContents(const std::string& path, const std::string& bytes);

}  // namespace kx
