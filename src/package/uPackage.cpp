#include "package/uPackage.h"

#include <unistd.h>

#include <algorithm>
#include <vector>

#include "package/uContainer.h"
#include "package/uText.h"

namespace kx {
namespace {

std::vector<std::string> PackagedNames(const std::string& folder) {
  const std::string list = ReadFileText(folder + std::string(kPackageEntryNames[1]), kMaxTextBytes);
  std::vector<std::string> names;
  for (const std::string& line : SplitLines(list)) names.push_back(PackagedFileName(line));
  return names;
}

}  // namespace

std::string FileNamePart(std::string_view path) {
  const size_t cut = path.find_last_of("\\:/");
  return std::string(cut == std::string_view::npos ? path : path.substr(cut + 1));
}

std::string PackagedFileName(std::string_view line) {
  std::string name = FileNamePart(line);
  const bool reserved = std::find(kPackageEntryNames.begin(), kPackageEntryNames.end(), name) !=
                        kPackageEntryNames.end();
  if (name.empty() || name == "." || name == ".." || reserved ||
      name.find('\0') != std::string::npos)
    return {};
  return name;
}

void ExtractPackage(const std::string& executable, const std::string& folder) {
  std::vector<std::string> entries;
  for (std::string_view name : kPackageEntryNames) entries.push_back(folder + std::string(name));
  ExtractContainer(executable, entries);

  std::vector<std::string> targets = PackagedNames(folder);
  for (std::string& t : targets)
    if (!t.empty()) t = folder + t;
  ExtractContainer(entries[2], targets);
}

void RemoveExtractedFiles(const std::string& folder) {
  for (const std::string& name : PackagedNames(folder))
    if (!name.empty()) ::unlink((folder + name).c_str());
  for (size_t i : {0, 2, 1, 3}) ::unlink((folder + std::string(kPackageEntryNames[i])).c_str());
  ::rmdir(folder.c_str());
}

}  // namespace kx
