#include "raster/uFileRead.h"

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

}  // namespace kx
