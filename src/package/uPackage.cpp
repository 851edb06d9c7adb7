#include "package/uPackage.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdio>

#include <algorithm>
#include <vector>

#include "package/uContainer.h"
#include "package/uText.h"
#include "raster/uFileRead.h"

namespace kx {
namespace {

// The folder opened for *at calls; -1 when it is missing or a link.
int OpenFolder(const std::string& path) {
  return ::open(path.c_str(), O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC);
}

// The names "KXFilenames.res" of the open folder lists, as they are extracted.
std::vector<std::string> PackagedNames(int folder) {
  std::vector<std::string> names;
  const int fd = ::openat(folder, std::string(kPackageEntryNames[1]).c_str(), O_RDONLY | O_NOFOLLOW | O_CLOEXEC | O_NONBLOCK);
  if (fd < 0) return names;
  std::string list;
  char buf[65536];
  for (ssize_t got; list.size() < kMaxTextBytes && (got = ::read(fd, buf, sizeof buf)) > 0;) list.append(buf, size_t(got));
  ::close(fd);
  if (list.size() > kMaxTextBytes) list.resize(kMaxTextBytes);
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
                            kPackageEntryNames.end() ||
                        name == kWorkFolderLockName;
  if (name.empty() || name == "." || name == ".." || reserved ||
      name.find('\0') != std::string::npos)
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

void ExtractPackage(const std::string& executable, const std::string& folder) {
  const int fd = OpenFolder(folder);
  if (fd < 0) return;
  ExtractPackage(executable, fd);
  ::close(fd);
}

void RemoveExtractedFiles(int folder) {
  for (const std::string& name : PackagedNames(folder))
    if (!name.empty()) ::unlinkat(folder, name.c_str(), 0);
  for (size_t i : {0, 2, 1, 3}) ::unlinkat(folder, std::string(kPackageEntryNames[i]).c_str(), 0);
}

void RemoveExtractedFiles(const std::string& folder) {
  const int fd = OpenFolder(folder);
  if (fd < 0) return;
  RemoveExtractedFiles(fd);
  ::close(fd);
  ::rmdir(folder.c_str());
}

}  // namespace kx
