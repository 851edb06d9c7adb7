// Platform services the core needs from the operating system: the tick count,
// the temporary folder, the program's own path, path expansion and the
// shared folder as the system names it.
#pragma once

#include <cstdint>
#include <optional>
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

// The shared folder as the system names it, ending in its separator; nullopt
// when it names none. Linux: the first existing of $XDG_DATA_HOME (default
// ~/.local/share) and each folder of $XDG_DATA_DIRS (default
// /usr/local/share:/usr/share), each followed by "Ardmont/Common/", else
// the first of them (relative entries are ignored, as the XDG rules ask).
// Windows: the machine's "ProgramFilesDir" value of
// "SOFTWARE\Microsoft\Windows\CurrentVersion" through
// SharedFolderUnder; nullopt when the value cannot be read or is empty.
// GetSharedFolder (devices/uSharedFolder.h) is what callers use.
std::optional<std::string> SystemSharedFolder();

// base with "\" added when it does not end in one, followed by "Ardmont\Common\".
inline std::string SharedFolderUnder(std::string base) {
  if (base.empty() || base.back() != '\\') base += '\\';
  return base + "Ardmont\\Common\\";
}

}  // namespace kx
