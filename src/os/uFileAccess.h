// Files as the operating system keeps them. Paths are UTF-8; each platform
// turns them into its own form. Every file the player reads comes from
// someone else, so the open never blocks (a named pipe or device in its
// place cannot stall the player) and only a regular file is accepted.
#pragma once

#include <cstdint>
#include <cstdio>
#include <memory>
#include <string>
#include <string_view>

namespace kx {

using TFilePtr = std::unique_ptr<std::FILE, int (*)(std::FILE*)>;

// The file opened for reading, or a null pointer when it cannot be opened or
// is not a regular file (a directory, a FIFO, a device, a socket).
TFilePtr OpenRegularFile(const std::string& path);

// The size of an open file in bytes; -1 when the system cannot tell.
int64_t OpenFileSize(std::FILE* f);

// True when path names a regular file (links followed).
bool IsRegularFile(const std::string& path);
// Whether there is a file to read at path: a packed file (os/uPackedFiles.h)
// or a regular file, as IsRegularFile tells (an empty path, a folder, a
// device or a pipe is none).
bool FileExists(const std::string& path);
// True when path names a folder (links followed).
bool IsFolder(const std::string& path);

// A new or emptied file opened for writing; null when it cannot be.
TFilePtr CreateWritableFile(const std::string& path);
// A new file in path's folder, named after path, opened for writing and made
// by this call alone (never a file or a link that was already there); its
// path goes to tempPath. Null when none can be made. For writing a file
// whole that then takes path's place with MoveFileOver, so that a failure
// half-way leaves path as it was.
TFilePtr CreateFileBeside(const std::string& path, std::string& tempPath);
// The file opened for appending (created when missing); null when it cannot be.
TFilePtr OpenAppendFile(const std::string& path);
// Removes a file; false when it cannot (or there is none).
bool RemoveFile(const std::string& path);
// Moves the file from over to, replacing what is there; false when it cannot.
bool MoveFileOver(const std::string& from, const std::string& to);
// Creates a folder in an existing one; true when a folder is there afterwards.
bool CreateFolder(const std::string& path);
// Creates a folder and every missing folder above it; true when a folder is
// there afterwards.
bool CreateFolders(const std::string& path);
// Lets every user run the file (POSIX: mode 0755). Windows tells programs
// by their name and does nothing here.
void MarkRunnable(const std::string& path);

// True when the system would not keep a file under this plain name as given
// (Windows: WindowsRefusesFileName, os/uWindowsFileNames.h); such a
// name is never created. False everywhere on POSIX systems.
bool SystemRefusesFileName(std::string_view name);

// The form under which the system takes two plain names for the same file:
// the name itself on POSIX systems; on Windows, whose file systems ignore
// case, WindowsFileNameKey (os/uWindowsFileNames.h).
std::string SystemFileNameKey(std::string_view name);

}  // namespace kx
