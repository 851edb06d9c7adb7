#include "os/uFileAccess.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdlib>
#include <utility>

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

TFilePtr CreateWritableFile(const std::string& path) { return TFilePtr(std::fopen(path.c_str(), "wb"), std::fclose); }

TFilePtr CreateFileBeside(const std::string& path, std::string& tempPath) {
  std::string name = path + ".XXXXXX";
  const int fd = ::mkstemp(name.data());
  if (fd < 0) return TFilePtr(nullptr, std::fclose);
  // mkstemp makes the file for its owner only; a finished file is readable by all.
  ::fchmod(fd, 0644);
  std::FILE* f = ::fdopen(fd, "wb");
  if (!f) {
    ::close(fd);
    ::unlink(name.c_str());
    return TFilePtr(nullptr, std::fclose);
  }
  tempPath = std::move(name);
  return TFilePtr(f, std::fclose);
}

TFilePtr OpenAppendFile(const std::string& path) { return TFilePtr(std::fopen(path.c_str(), "a"), std::fclose); }

bool RemoveFile(const std::string& path) { return ::unlink(path.c_str()) == 0; }

bool MoveFileOver(const std::string& from, const std::string& to) { return std::rename(from.c_str(), to.c_str()) == 0; }

bool CreateFolder(const std::string& path) { return ::mkdir(path.c_str(), 0755) == 0 || IsFolder(path); }

void MarkRunnable(const std::string& path) { ::chmod(path.c_str(), 0755); }

// Every name but "/" and NUL is a file name as it stands.
bool SystemRefusesFileName(std::string_view) { return false; }

std::string SystemFileNameKey(std::string_view name) { return std::string(name); }

}  // namespace kx
