#include "os/posix/uEditableFile.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <stdexcept>

namespace kx {

std::optional<TEditableFile> ReadEditableFile(const std::string& path, size_t maxBytes) {
  struct stat st {};
  if (::lstat(path.c_str(), &st) != 0) {
    if (errno == ENOENT) return std::nullopt;
    throw std::runtime_error("cannot read " + path + ": " + std::strerror(errno));
  }
  if (S_ISLNK(st.st_mode)) throw std::runtime_error(path + " is a symbolic link; not changed");
  if (!S_ISREG(st.st_mode)) throw std::runtime_error(path + " is not a regular file; not changed");
  if (uint64_t(st.st_size) > maxBytes)
    throw std::runtime_error(path + " is larger than " + std::to_string(maxBytes >> 20) + " MB; not changed");
  const int fd = ::open(path.c_str(), O_RDONLY | O_NOFOLLOW | O_CLOEXEC | O_NONBLOCK);
  if (fd < 0) throw std::runtime_error("cannot read " + path + ": " + std::strerror(errno));
  TEditableFile file;
  file.Mode = uint32_t(st.st_mode & 07777);
  file.Writable = (st.st_mode & S_IWUSR) != 0 && ::access(path.c_str(), W_OK) == 0;
  char buf[65536];
  for (ssize_t got; (got = ::read(fd, buf, sizeof buf)) > 0;) {
    file.Text.append(buf, size_t(got));
    // The file grew since it was measured: still no more than the limit.
    if (file.Text.size() > maxBytes) {
      ::close(fd);
      throw std::runtime_error(path + " is larger than " + std::to_string(maxBytes >> 20) + " MB; not changed");
    }
  }
  ::close(fd);
  return file;
}

void ReplaceEditableFile(const std::string& path, const std::string& text, uint32_t mode) {
  std::string temp = path + ".XXXXXX";
  const int fd = ::mkstemp(temp.data());
  if (fd < 0) throw std::runtime_error("cannot write " + path + ": " + std::strerror(errno));
  bool ok = ::write(fd, text.data(), text.size()) == ssize_t(text.size());
  ok = ::fchmod(fd, mode_t(mode & 07777)) == 0 && ::fsync(fd) == 0 && ok;
  ok = ::close(fd) == 0 && ok;
  if (!ok || std::rename(temp.c_str(), path.c_str()) != 0) {
    ::unlink(temp.c_str());
    throw std::runtime_error("cannot write " + path);
  }
}

void CopyRunnableFile(const std::string& from, const std::string& to) {
  const int in = ::open(from.c_str(), O_RDONLY | O_CLOEXEC);
  struct stat st {};
  if (in < 0 || ::fstat(in, &st) != 0 || !S_ISREG(st.st_mode)) {
    if (in >= 0) ::close(in);
    throw std::runtime_error("cannot read " + from);
  }
  std::string temp = to + ".XXXXXX";
  const int out = ::mkstemp(temp.data());
  if (out < 0) {
    ::close(in);
    throw std::runtime_error("cannot write " + to + ": " + std::strerror(errno));
  }
  char buf[1 << 16];
  bool ok = true;
  for (ssize_t got; ok && (got = ::read(in, buf, sizeof buf)) > 0;) ok = ::write(out, buf, size_t(got)) == got;
  ::close(in);
  ok = ::fchmod(out, 0755) == 0 && ::close(out) == 0 && ok;
  if (!ok || std::rename(temp.c_str(), to.c_str()) != 0) {
    ::unlink(temp.c_str());
    throw std::runtime_error("cannot write " + to);
  }
}

void CreateParentFolders(const std::string& path) {
  for (size_t slash = path.find('/', 1); slash != std::string::npos; slash = path.find('/', slash + 1))
    if (::mkdir(path.substr(0, slash).c_str(), 0755) != 0 && errno != EEXIST)
      throw std::runtime_error("cannot create " + path.substr(0, slash) + ": " + std::strerror(errno));
}

bool RemoveFileIfPresent(const std::string& path) {
  if (::unlink(path.c_str()) == 0) return true;
  if (errno == ENOENT) return false;
  throw std::runtime_error("cannot remove " + path + ": " + std::strerror(errno));
}

}  // namespace kx
