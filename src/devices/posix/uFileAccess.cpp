#include "devices/uFileAccess.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace kx {

TFilePtr OpenRegularFile(const std::string& path) {
  TFilePtr none(nullptr, std::fclose);
  const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK | O_NOCTTY);
  if (fd < 0) return none;
  struct stat st {};
  if (::fstat(fd, &st) != 0 || !S_ISREG(st.st_mode)) {
    ::close(fd);
    return none;
  }
  // Reads of a regular file never block; the flag only mattered for the open.
  ::fcntl(fd, F_SETFL, ::fcntl(fd, F_GETFL) & ~O_NONBLOCK);
  std::FILE* f = ::fdopen(fd, "rb");
  if (!f) {
    ::close(fd);
    return none;
  }
  return TFilePtr(f, std::fclose);
}

int64_t OpenFileSize(std::FILE* f) {
  struct stat st {};
  if (!f || ::fstat(fileno(f), &st) != 0) return -1;
  return int64_t(st.st_size);
}

bool IsRegularFile(const std::string& path) {
  struct stat st {};
  return ::stat(path.c_str(), &st) == 0 && S_ISREG(st.st_mode);
}

bool IsFolder(const std::string& path) {
  struct stat st {};
  return ::stat(path.c_str(), &st) == 0 && S_ISDIR(st.st_mode);
}

// Every name but "/" and NUL is a file name as it stands.
bool SystemRefusesFileName(std::string_view) { return false; }

}  // namespace kx
