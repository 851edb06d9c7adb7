#include "os/uUserFiles.h"

#include "os/uPlatform.h"

namespace kx {
namespace {

size_t NameStart(const std::string& path) {
  const size_t cut = path.find_last_of(PathSeparators());
  return cut == std::string::npos ? 0 : cut + 1;
}

std::string NamePart(const std::string& path) { return path.substr(NameStart(path)); }

bool FolderWritable(const std::string& path) { return MayCreateFilesIn(FolderPart(path)); }

std::string LongPath(const std::string& programPath) {
  const std::string path = ExpandLongPath(programPath);
  return path.empty() ? programPath : path;
}

// The program's path with the name's extension replaced by ".ini"; a final
// dot is never taken as one.
std::string IniBeside(std::string path) {
  const size_t name = NameStart(path);
  const size_t dot = path.find_last_of('.', path.size() >= 2 ? path.size() - 2 : 0);
  if (dot != std::string::npos && dot >= name && dot + 1 < path.size()) path.resize(dot);
  return path + ".ini";
}

}  // namespace

std::string FolderPart(const std::string& path) { return path.substr(0, NameStart(path)); }

std::string UserSettingsFilePath(const std::string& programPath) {
  const std::string beside = IniBeside(LongPath(programPath));
  if (!ExpandLongPath(programPath).empty() && FolderWritable(beside)) return beside;
  return UserConfigFolder() + NamePart(beside);
}

std::string WallpaperFilePath(const std::string& programPath) {
  // A path that does not expand gives no folder to write into: never a file
  // named ".bmp" in whatever folder is current.
  const std::string program = ExpandLongPath(programPath);
  if (!program.empty() && FolderWritable(program)) return program + ".bmp";
  const std::string name = NamePart(program.empty() ? programPath : program);
  return UserDataFolder() + (name.empty() ? std::string("kxcsaver") : name) + ".bmp";
}

}  // namespace kx
