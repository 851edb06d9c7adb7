#include "package/uPackage.h"

#include <cstdint>
#include <cstdio>

#include <algorithm>
#include <unordered_map>
#include <utility>
#include <vector>

#include "os/uFileAccess.h"
#include "os/uFolderAccess.h"
#include "os/uPackedFiles.h"
#include "package/uContainer.h"
#include "package/uText.h"

namespace kx {
namespace {

// The names "KXFilenames.res" of the open folder lists, as they are extracted.
std::vector<std::string> PackagedNames(int folder) {
  return PackagedFileNames(ReadFileIn(folder, std::string(kPackageEntryNames[1]), kMaxTextBytes));
}

}  // namespace

std::vector<std::string> PackagedFileNames(std::string_view list, TFileNameKey key) {
  // Each key with the name that holds it. A name repeated exactly is the same
  // file written again, as everywhere (the later entry's bytes win); only a
  // different spelling of a held name is passed over.
  std::unordered_map<std::string, std::string> taken;
  for (std::string_view own : kPackageEntryNames) taken.emplace(key(own), own);
  taken.emplace(key(kWorkFolderLockName), kWorkFolderLockName);
  std::vector<std::string> names;
  for (const std::string& line : SplitLines(list)) {
    std::string name = PackagedFileName(line);
    if (!name.empty()) {
      const auto [held, added] = taken.emplace(key(name), name);
      if (!added && held->second != name) name.clear();
    }
    names.push_back(std::move(name));
  }
  return names;
}

std::string FindPackagedName(const std::string& name, const std::vector<std::string>& packaged, TFileNameKey key) {
  const std::string k = key(name);
  for (const std::string& p : packaged)
    if (!p.empty() && key(p) == k) return p;
  return name;
}

TPackagedNameIndex::TPackagedNameIndex(const std::vector<std::string>& packaged, TFileNameKey key) : m_key(key) {
  for (const std::string& p : packaged)
    if (!p.empty()) m_byKey.emplace(key(p), p);
}

std::string TPackagedNameIndex::Find(const std::string& name) const {
  const auto found = m_byKey.find(m_key(name));
  return found == m_byKey.end() ? name : found->second;
}

std::vector<std::string> ExtractedFileNames(int folder) { return PackagedNames(folder); }

std::string FileNamePart(std::string_view path) {
  const size_t cut = path.find_last_of("\\:/");
  return std::string(cut == std::string_view::npos ? path : path.substr(cut + 1));
}

std::string PackagedFileName(std::string_view line) {
  std::string name = FileNamePart(line);
  const bool reserved = std::find(kPackageEntryNames.begin(), kPackageEntryNames.end(), name) !=
                            kPackageEntryNames.end() ||
                        name == kWorkFolderLockName;
  if (name.empty() || name == "." || name == ".." || reserved ||
      name.find('\0') != std::string::npos || SystemRefusesFileName(name))
    return {};
  return name;
}

// The packaged files are read from their entry of the program file in place:
// the container of them ("KXFiles.res") is never written out, which would
// take as much room again as the whole package.
void ExtractPackage(const std::string& executable, int folder) {
  const TFilePtr f = OpenRegularFile(executable);
  if (!f) return;
  std::vector<std::string> entries(kPackageEntryNames.begin(), kPackageEntryNames.end());
  entries[2].clear();
  ExtractContainer(f.get(), entries, folder);
  if (const std::optional<TEntryRange> files = FindEntry(f.get(), 2))
    ExtractContainer(f.get(), files->Begin, files->End, PackagedNames(folder), folder);
}

std::vector<std::string> UsePackageInPlace(const std::string& executable, const std::string& folder) {
  std::vector<TPackedFile> files;
  std::vector<std::string> names;
  const TFilePtr f = OpenRegularFile(executable);
  const std::vector<TEntryRange> entries =
      f ? ContainerEntries(f.get(), 0, INT64_MAX, kPackageEntryNames.size()) : std::vector<TEntryRange>();
  for (size_t i = 0; i < entries.size(); ++i)
    if (i != 2) files.push_back({std::string(kPackageEntryNames[i]), entries[i].Begin, entries[i].End - entries[i].Begin});
  if (entries.size() > 1) {
    std::string list(size_t(std::min<int64_t>(entries[1].End - entries[1].Begin, int64_t(kMaxTextBytes))), '\0');
    if (fseeko(f.get(), off_t(entries[1].Begin), SEEK_SET) != 0) list.clear();
    list.resize(std::fread(list.data(), 1, list.size(), f.get()));
    names = PackagedFileNames(list);
  }
  if (entries.size() > 2) {
    const std::vector<TEntryRange> packaged = ContainerEntries(f.get(), entries[2].Begin, entries[2].End, names.size());
    for (size_t i = 0; i < packaged.size(); ++i)
      if (!names[i].empty()) files.push_back({names[i], packaged[i].Begin, packaged[i].End - packaged[i].Begin});
  }
  SetPackedFiles(folder, executable, files);
  return names;
}

void ExtractPackage(const std::string& executable, const std::string& folder) {
  const int fd = OpenFolder(folder);
  if (fd < 0) return;
  ExtractPackage(executable, fd);
  CloseFolder(fd);
}

void RemoveExtractedFiles(int folder) {
  for (const std::string& name : PackagedNames(folder))
    if (!name.empty()) RemoveFileIn(folder, name);
  for (size_t i : {0, 2, 1, 3}) RemoveFileIn(folder, std::string(kPackageEntryNames[i]));
}

void RemoveExtractedFiles(const std::string& folder) {
  const int fd = OpenFolder(folder);
  if (fd < 0) return;
  RemoveExtractedFiles(fd);
  CloseFolder(fd);
  RemoveFolder(folder);
}

}  // namespace kx
