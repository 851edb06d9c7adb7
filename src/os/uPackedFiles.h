// Files kept inside another file. The player's package holds its pictures,
// picture files, sounds, music and window definitions as ranges of the
// program's own file; the show knows each by the path it would have in the
// work folder and reads it from there in place, so nothing is written out.
//
// Readers open any file they read through OpenFileWindow: a packed file
// gives its range of the program file, every other path the regular file
// whole. FileExists (os/uFileAccess.h) tells both kinds.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "os/uFileAccess.h"

namespace kx {

// One packed file: its plain name and where its bytes lie in the source file.
struct TPackedFile {
  std::string Name;
  int64_t Offset = 0;
  int64_t Length = 0;
};

// Makes folder + name read as [Offset, Offset + Length) of source, for each
// file (folder ends in a separator). A name the system takes for the same
// file as another (SystemFileNameKey) finds the same entry, so a path is
// looked up by the rule the file system would use; of two entries with the
// same key the later wins, as a file written again would. Replaces what an
// earlier call made readable.
void SetPackedFiles(const std::string& folder, const std::string& source, const std::vector<TPackedFile>& files);
// Forgets every packed file: their paths no longer read.
void ClearPackedFiles();

struct TFileRange {
  std::string Source;
  int64_t Offset = 0;
  int64_t Length = 0;
};
// The range path reads from, when it names a packed file.
std::optional<TFileRange> FindPackedFile(const std::string& path);

// A file opened for reading as a window: File is positioned at Start, and
// the window's bytes are [Start, Start + Size) of it. A packed file's window
// is its range of the source file (cut where that file ends); any other path
// is the regular file whole (Start 0). File is null (and Size -1) when the
// path cannot be opened.
struct TFileWindow {
  TFilePtr File{nullptr, std::fclose};
  int64_t Start = 0;
  int64_t Size = -1;
};
TFileWindow OpenFileWindow(const std::string& path);

// The whole window read into memory, or nullopt when it cannot be opened,
// cannot be read whole, or holds more than maxBytes (tooLarge is set then).
std::optional<std::string> ReadFileWindow(const std::string& path, size_t maxBytes, bool* tooLarge = nullptr);

}  // namespace kx
