// The user's own settings files of other programs (a screensaver daemon's,
// an idle daemon's), edited in place as the user would: never through a
// link, never a file that is not a regular one, never half-written, the
// file's mode kept. POSIX only: the daemons whose files these are run there.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>

namespace kx {

struct TEditableFile {
  std::string Text;
  uint32_t Mode = 0644;  // the permission bits the rewrite keeps
  // The user may write the file: it has its owner's write permission and the
  // system grants writing (a rewrite through a new file would otherwise
  // replace a file its owner made read-only).
  bool Writable = true;
};

// The whole file, when it is a regular file of at most maxBytes; nullopt
// when it does not exist. Throws std::runtime_error naming the path and the
// reason (a symbolic link, not a regular file, too large, unreadable); the
// message ends in "; not changed" where the file is refused.
std::optional<TEditableFile> ReadEditableFile(const std::string& path, size_t maxBytes);

// Replaces the file as a whole with text and the given permission bits: a
// new file in the same folder, synced and renamed over it. Throws
// std::runtime_error naming the path when it cannot; the old file is then
// as it was.
void ReplaceEditableFile(const std::string& path, const std::string& text, uint32_t mode);

// Copies a regular file to `to` (replacing it through a new file renamed
// over it) and lets every user run the copy. Throws std::runtime_error.
void CopyRunnableFile(const std::string& from, const std::string& to);

// Creates every missing folder above path's last "/" (mode 0755). Throws
// std::runtime_error naming the folder that cannot be made.
void CreateParentFolders(const std::string& path);

// Removes the file; false when there was none. Throws std::runtime_error
// naming the path and the reason when it is there and cannot be removed.
bool RemoveFileIfPresent(const std::string& path);

}  // namespace kx
