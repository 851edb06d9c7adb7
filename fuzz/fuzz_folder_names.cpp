// Fuzzes the names kxtool make gives a folder's files, each input line a path
// within the folder. Every name must come back from the package's texts as
// it was given: the player extracts each file under it (none refused, none
// passed over as a clash with another, also as Windows compares names), and
// the project lists each picture, and each music file in the music list, by
// it and in order.
#include <algorithm>
#include <cstdlib>
#include <string>
#include <string_view>
#include <vector>

#include "fuzz/FuzzSupport.h"
#include "os/uWindowsFileNames.h"
#include "package/uKXProject.h"
#include "package/uPackage.h"
#include "package/uPictureFolder.h"

namespace {

constexpr size_t kMaxLines = 500;

std::vector<std::string> Names(const std::vector<kx::TFolderFile>& files) {
  std::vector<std::string> names;
  for (const kx::TFolderFile& f : files) names.push_back(f.Name);
  return names;
}

std::vector<std::string> MusicList(const std::string& text) {
  std::vector<std::string> names;
  for (size_t start = 0; !text.empty() && start <= text.size();) {
    const size_t end = std::min(text.find(';', start), text.size());
    names.push_back(text.substr(start, end - start));
    start = end + 1;
  }
  return names;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string_view text(reinterpret_cast<const char*>(data), size);
  kx::TPictureFolder folder;
  std::vector<std::string> given;
  std::string list;
  for (size_t start = 0, lines = 0; start <= text.size() && lines < kMaxLines; ++lines) {
    const size_t end = std::min(text.find('\n', start), text.size());
    const std::string path(text.substr(start, end - start));
    start = end + 1;
    given.push_back(folder.Names.Take(path));
    (kx::IsFolderMusic(path) ? folder.Music : folder.Pictures).push_back({path, given.back()});
    list += given.back() + "\r\n";
  }
  if (kx::PackagedFileNames(list, kx::WindowsFileNameKey) != given) std::abort();
  if (kx::PackagedFileNames(list) != given) std::abort();

  const std::string package = "MZ" + kx::FolderProjectDescription(folder, kx::TFolderProjectOptions{});
  kx::TKXCProject project;
  project.LoadFromPackage(kxfuzz::WriteInput("player", reinterpret_cast<const uint8_t*>(package.data()),
                                             package.size()));
  if (project.FileList.Names != Names(folder.Pictures)) std::abort();
  if (MusicList(project.Settings.MusicFile) != Names(folder.Music)) std::abort();
  return 0;
}
