#include "os/uUserFiles.h"

#include <random>

#include "os/uPlatform.h"

namespace kx {
namespace {

constexpr char kWriteFilePrefix[] = ".kxcsaver-";
constexpr size_t kWriteFileSuffix = 6;
constexpr char kWriteFileLetters[] = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789";

bool IsWriteFileLetter(char c) {
  return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9');
}

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

std::string NewWriteFileName() {
  std::random_device random;
  std::uniform_int_distribution<size_t> pick(0, sizeof kWriteFileLetters - 2);
  std::string name = kWriteFilePrefix;
  for (size_t i = 0; i < kWriteFileSuffix; ++i) name += kWriteFileLetters[pick(random)];
  return name;
}

bool IsWriteFileName(const std::string& name) {
  const size_t prefix = sizeof kWriteFilePrefix - 1;
  if (name.size() != prefix + kWriteFileSuffix || name.compare(0, prefix, kWriteFilePrefix) != 0) return false;
  for (size_t i = prefix; i < name.size(); ++i)
    if (!IsWriteFileLetter(name[i])) return false;
  return true;
}

std::string ProgramFileName(const std::string& programPath) { return NamePart(LongPath(programPath)); }

std::string UserFilePath(const std::string& programPath, const std::string& fileName, TUserFolder fallback) {
  // A path that does not expand gives no folder to write into: never a file
  // in whatever folder is current.
  const std::string program = ExpandLongPath(programPath);
  if (!program.empty() && MayCreateFilesIn(FolderPart(program))) return FolderPart(program) + fileName;
  const std::string folder = fallback == TUserFolder::Config ? UserConfigFolder() : UserDataFolder();
  return folder.empty() ? std::string() : folder + fileName;
}

std::string WallpaperFilePath(const std::string& programPath) {
  const std::string name = ProgramFileName(programPath);
  return UserFilePath(programPath, (name.empty() ? std::string("kxcsaver") : name) + ".bmp", TUserFolder::Data);
}

}  // namespace kx
