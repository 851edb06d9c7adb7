// Opening a file the player reads: every such file comes from someone else,
// so the open never blocks (a named pipe or device in its place cannot stall
// the player) and only a regular file is accepted.
#pragma once

#include <cstdio>
#include <memory>
#include <string>

namespace kx {

using TFilePtr = std::unique_ptr<std::FILE, int (*)(std::FILE*)>;

// The file opened for reading, or a null pointer when it cannot be opened or
// is not a regular file (a directory, a FIFO, a device, a socket).
TFilePtr OpenRegularFile(const std::string& path);

}  // namespace kx
