#include "os/uUserFiles.h"

#include "os/uPlatform.h"

namespace kx {
namespace {

size_t NameStart(const std::string& path) {
  const size_t cut = path.find_last_of(PathSeparators());
  return cut == std::string::npos ? 0 : cut + 1;
}

std::string NamePart(const std::string& path) { return path.substr(NameStart(path)); }

std::string LongPath(const std::string& programPath) {
  const std::string path = ExpandLongPath(programPath);
  return path.empty() ? programPath : path;
}

}  // namespace

std::string FolderPart(const std::string& path) { return path.substr(0, NameStart(path)); }

std::string ProgramFileName(const std::string& programPath) { return NamePart(LongPath(programPath)); }

std::string UserFilePath(const std::string& programPath, const std::string& fileName, TUserFolder fallback) {
  // A path that does not expand gives no folder to write into: never a file
  // in whatever folder is current.
  const std::string program = ExpandLongPath(programPath);
  if (!program.empty() && MayCreateFilesIn(FolderPart(program))) return FolderPart(program) + fileName;
  return (fallback == TUserFolder::Config ? UserConfigFolder() : UserDataFolder()) + fileName;
}

std::string WallpaperFilePath(const std::string& programPath) {
  const std::string name = ProgramFileName(programPath);
  return UserFilePath(programPath, (name.empty() ? std::string("kxcsaver") : name) + ".bmp", TUserFolder::Data);
}

}  // namespace kx
