#include "devices/uUserFiles.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <stdexcept>

#include "devices/uPlatform.h"

namespace kx {
namespace {

std::string XdgFolder(const char* variable, const char* fallback) {
  const char* value = std::getenv(variable);
  std::string folder;
  if (value && value[0] == '/') {
    folder = value;
  } else {
    const char* home = std::getenv("HOME");
    folder = std::string(home && *home ? home : "/tmp") + fallback;
  }
  if (folder.back() != '/') folder += '/';
  return folder + "kxcsaver/";
}

std::string LongPath(const std::string& programPath) {
  const std::string path = ExpandLongPath(programPath);
  return path.empty() ? programPath : path;
}

bool FolderWritable(const std::string& path) {
  const size_t slash = path.find_last_of('/');
  const std::string folder = slash == std::string::npos ? "." : path.substr(0, slash + 1);
  return ::access(folder.c_str(), W_OK) == 0;
}

std::string NamePart(const std::string& path) { return path.substr(path.find_last_of('/') + 1); }

// The program's path with the name's extension replaced by ".ini"; a final
// dot is never taken as one.
std::string IniBeside(std::string path) {
  const size_t name = path.find_last_of('/') + 1;
  const size_t dot = path.find_last_of('.', path.size() >= 2 ? path.size() - 2 : 0);
  if (dot != std::string::npos && dot >= name && dot + 1 < path.size()) path.resize(dot);
  return path + ".ini";
}

void MakeFolders(const std::string& folder) {
  for (size_t at = 1; at != std::string::npos && at < folder.size(); ++at) {
    at = folder.find('/', at);
    const std::string part = folder.substr(0, at);
    if (::mkdir(part.c_str(), 0700) != 0 && errno != EEXIST) return;
    if (at == std::string::npos) break;
  }
}

}  // namespace

std::string UserConfigFolder() { return XdgFolder("XDG_CONFIG_HOME", "/.config"); }
std::string UserDataFolder() { return XdgFolder("XDG_DATA_HOME", "/.local/share"); }

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

void WriteFileAtomically(const std::string& path, const std::string& bytes) {
  const size_t slash = path.find_last_of('/');
  const std::string folder = slash == std::string::npos ? "./" : path.substr(0, slash + 1);
  MakeFolders(folder);
  std::string temp = folder + ".kxcsaver-XXXXXX";
  const int fd = ::mkstemp(temp.data());
  const auto fail = [&](const char* what) {
    const std::string reason = std::strerror(errno);
    throw std::runtime_error("Cannot " + std::string(what) + " " + path + ": " + reason);
  };
  if (fd < 0) fail("write");
  size_t done = 0;
  while (done < bytes.size()) {
    const ssize_t n = ::write(fd, bytes.data() + done, bytes.size() - done);
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) {
      const int e = errno;
      ::close(fd);
      ::unlink(temp.c_str());
      errno = e;
      fail("write");
    }
    done += size_t(n);
  }
  // Keep the mode an existing file has; a new one is the user's alone to change.
  struct stat st {};
  ::fchmod(fd, ::stat(path.c_str(), &st) == 0 ? (st.st_mode & 07777) : 0644);
  if (::fsync(fd) != 0 || ::close(fd) != 0) {
    const int e = errno;
    ::unlink(temp.c_str());
    errno = e;
    fail("write");
  }
  if (::rename(temp.c_str(), path.c_str()) != 0) {
    const int e = errno;
    ::unlink(temp.c_str());
    errno = e;
    fail("replace");
  }
}

}  // namespace kx
