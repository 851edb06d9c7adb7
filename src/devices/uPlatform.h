// Platform services the core needs from the operating system: the tick count,
// the temporary folder, the program's own path, path expansion and the
// shared folder.
#pragma once

#include <cstdint>
#include <string>

namespace kx {

// Milliseconds since the system started, wrapping at 2^32 like a 32-bit tick counter.
uint32_t TickCount();

// The folder for temporary files with its trailing separator: $TMPDIR, else "/tmp/".
std::string TempPath();

// The path of the running executable as the system reports it ("" when unknown).
std::string ExecutablePath();

// The absolute path of an existing file with every component as stored on disk
// (symbolic links resolved). "" when the path contains two backslashes in a row,
// "*" or "?", or names no existing file.
std::string ExpandLongPath(const std::string& path);

// The shared folder of the authoring tools, ending in the system's separator,
// whose "images" and "sounds" subfolders hold object pictures and sounds that
// a package does not carry: the folder SystemSharedFolder
// (devices/uSharedFolder.h) names; where it names none (Windows without a
// readable "ProgramFilesDir"), the running program's folder as
// SharedFolderFromProgramFiles makes it, shown to the user in a message box.
// Computed anew on every call.
std::string GetSharedFolder();

}  // namespace kx
