#include "os/uUserFiles.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <stdexcept>

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

const char* PathSeparators() { return "/"; }

bool MayCreateFilesIn(const std::string& folder) { return ::access(folder.empty() ? "." : folder.c_str(), W_OK) == 0; }

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
