// Writing a screensaver: a copy of the player program with its package
// appended (the four entries of package/uPackage.h). The packaged files are
// copied in chunks straight from their own files, so a package of thousands
// of photos needs no more memory than one chunk, and the output file appears
// whole or not at all: it is written under a new name beside it and takes its
// place only when complete.
#pragma once

#include <optional>
#include <string>
#include <vector>

namespace kx {

struct TPackageFile {
  std::string Name;                  // its line in "KXFilenames.res"
  std::string Path;                  // the file whose bytes it takes, or
  std::optional<std::string> Bytes;  // the bytes themselves (a small file made for the package)
};

struct TPackageContents {
  std::string Description;          // "KXC.res": the container of the three project texts
  std::vector<TPackageFile> Files;  // in package order
  TPackageFile Windows;             // "KXGUI.kxu" (its Name is not used); neither Path nor Bytes: an empty entry
};

// Writes player + package to out, made runnable. Throws std::runtime_error,
// leaving out as it was: "missing file: PATH" for a packaged file that cannot
// be read, and "the files come to N MB, more than a screensaver holds" for
// files of more than 2^31 - 1 bytes together (both found before anything is
// written); "PLAYER already carries a package", "cannot read the player
// PLAYER", "cannot create OUT", "cannot write OUT", and "PATH changed while
// it was packed" for a file whose size changed since it was counted.
void WritePackage(const std::string& player, const TPackageContents& contents, const std::string& out);

}  // namespace kx
