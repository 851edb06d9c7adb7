// The project package appended to the player: four entries written to the
// work folder under fixed names, the second listing the packaged files that
// the third holds.
#pragma once

#include <array>
#include <string>
#include <string_view>

namespace kx {

inline constexpr std::array<std::string_view, 4> kPackageEntryNames = {
    "KXC.res", "KXFilenames.res", "KXFiles.res", "KXGUI.kxu"};

// The file-name part of a path: what follows its last "\\" or ":" (or "/").
std::string FileNamePart(std::string_view path);

// The name a line of "KXFilenames.res" is extracted under: its file-name part,
// or "" when that is empty, "." or "..", holds a NUL byte, or is one of the
// package's own entry names (which a packaged file must not replace).
std::string PackagedFileName(std::string_view line);

// Extracts the package of an executable into folder (which ends in "/"): the
// four entries, then the packaged files listed in "KXFilenames.res".
void ExtractPackage(const std::string& executable, const std::string& folder);

// Deletes what ExtractPackage wrote into folder, then the folder itself (which
// stays when something else was put into it).
void RemoveExtractedFiles(const std::string& folder);

}  // namespace kx
