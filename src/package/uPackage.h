// The project package appended to the player: four entries written to the
// work folder under fixed names, the second listing the packaged files that
// the third holds.
#pragma once

#include <array>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "os/uFileAccess.h"

namespace kx {

inline constexpr std::array<std::string_view, 4> kPackageEntryNames = {
    "KXC.res", "KXFilenames.res", "KXFiles.res", "KXGUI.kxu"};

// The file-name part of a path: what follows its last "\\" or ":" (or "/").
std::string FileNamePart(std::string_view path);

// The name a line of "KXFilenames.res" is extracted under: its file-name part,
// or "" when that is empty, "." or "..", holds a NUL byte, is one of the
// package's own entry names (which a packaged file must not replace), or is
// a name the system refuses for a file (on Windows: device names such as
// "CON" or "NUL.txt", names ending in a dot or a blank).
std::string PackagedFileName(std::string_view line);

// The form under which two plain names are the same file (SystemFileNameKey
// by default; tests pass WindowsFileNameKey to check the Windows rule here).
using TFileNameKey = std::string (*)(std::string_view);

// The names the lines of a "KXFilenames.res" text are extracted under, one
// per line: PackagedFileName of each, and "" for a name that the system takes
// for the same file as one of the package's own entries or as an earlier
// line's name (on Windows "kxc.res", or "A.JPG" after "a.jpg"). The first
// keeps its name; nothing packaged is written over another file.
std::vector<std::string> PackagedFileNames(std::string_view list, TFileNameKey key = SystemFileNameKey);

// The packaged file a picture name finds: the first non-empty name of
// packaged that the system takes for the same file, else the name as given.
std::string FindPackagedName(const std::string& name, const std::vector<std::string>& packaged,
                             TFileNameKey key = SystemFileNameKey);

// FindPackagedName for many names: the packaged names are keyed once, so a
// package of thousands of pictures is matched in time that grows with their
// number, not its square.
class TPackagedNameIndex {
 public:
  explicit TPackagedNameIndex(const std::vector<std::string>& packaged, TFileNameKey key = SystemFileNameKey);
  std::string Find(const std::string& name) const;

 private:
  TFileNameKey m_key;
  std::unordered_map<std::string, std::string> m_byKey;  // the first packaged name of each key
};

// What ExtractPackage wrote into the open folder: PackagedFileNames of its
// "KXFilenames.res".
std::vector<std::string> ExtractedFileNames(int folder);

// The name of the lock file each work folder holds while its run lasts; no
// packaged file may take it.
inline constexpr std::string_view kWorkFolderLockName = ".kxlock";

// Extracts the package of an executable into the open folder: the entries
// "KXC.res", "KXFilenames.res" and "KXGUI.kxu", then the packaged files
// listed in "KXFilenames.res", read in place from the entry that holds their
// container ("KXFiles.res" is not written; removing it is harmless). Every
// file is created inside that folder by its plain name, never through a link.
void ExtractPackage(const std::string& executable, int folder);
// The same into a folder given by its path (which ends in "/").
void ExtractPackage(const std::string& executable, const std::string& folder);

// Makes the package of an executable readable in place as files of folder
// (its path, ending in a separator; os/uPackedFiles.h): the entries
// "KXC.res", "KXFilenames.res" and "KXGUI.kxu", and the packaged files under
// the names ExtractPackage would give them, each read from its range of the
// executable. Nothing is written. Returns those names (PackagedFileNames of
// "KXFilenames.res"), or nothing when the executable has no package.
std::vector<std::string> UsePackageInPlace(const std::string& executable, const std::string& folder);

// Deletes what ExtractPackage wrote into the open folder, by name relative to
// it, and nothing else.
void RemoveExtractedFiles(int folder);
// The same for a folder given by its path, then the folder itself (which
// stays when something else was put into it).
void RemoveExtractedFiles(const std::string& folder);

}  // namespace kx
