#include "os/uFolderAccess.h"

#include <dirent.h>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>

namespace kx {

static_assert(kCurrentFolder == AT_FDCWD);

int OpenFolder(const std::string& path, bool followLink) {
  return ::open(path.c_str(), O_RDONLY | O_DIRECTORY | (followLink ? 0 : O_NOFOLLOW) | O_CLOEXEC);
}

int OpenFolderIn(int folder, const std::string& name) {
  return ::openat(folder, name.c_str(), O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC);
}

void CloseFolder(int folder) {
  if (folder >= 0) ::close(folder);
}

// Read through a duplicate of the folder's descriptor.
std::vector<std::string> FolderEntries(int folder) {
  std::vector<std::string> names;
  const int fd = ::openat(folder, ".", O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (fd < 0) return names;
  DIR* dir = ::fdopendir(fd);
  if (!dir) {
    ::close(fd);
    return names;
  }
  while (const dirent* e = ::readdir(dir)) {
    const std::string name = e->d_name;
    if (name != "." && name != "..") names.push_back(name);
  }
  ::closedir(dir);
  return names;
}

int CreateFileIn(int folder, const std::string& name) {
  return ::openat(folder, name.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_NOFOLLOW | O_CLOEXEC, 0666);
}

bool WriteAll(int file, const char* data, size_t n) {
  while (n > 0) {
    const ssize_t w = ::write(file, data, n);
    if (w < 0 && errno == EINTR) continue;
    if (w <= 0) return false;
    data += w;
    n -= size_t(w);
  }
  return true;
}

void CloseFile(int file) {
  if (file >= 0) ::close(file);
}

std::string ReadFileIn(int folder, const std::string& name, size_t limit) {
  const int fd = ::openat(folder, name.c_str(), O_RDONLY | O_NOFOLLOW | O_CLOEXEC | O_NONBLOCK);
  if (fd < 0) return {};
  std::string bytes;
  char buf[65536];
  for (ssize_t got; bytes.size() < limit && (got = ::read(fd, buf, sizeof buf)) > 0;) bytes.append(buf, size_t(got));
  ::close(fd);
  if (bytes.size() > limit) bytes.resize(limit);
  return bytes;
}

bool RemoveFileIn(int folder, const std::string& name) { return ::unlinkat(folder, name.c_str(), 0) == 0; }

bool RemoveFolderIn(int folder, const std::string& name) {
  return ::unlinkat(folder, name.c_str(), AT_REMOVEDIR) == 0;
}

bool RemoveFolder(const std::string& path) { return ::rmdir(path.c_str()) == 0; }

int MakePrivateFolder(const std::string& path) { return ::mkdir(path.c_str(), 0700) == 0 ? 0 : errno; }

std::string MakeUniqueFolder(const std::string& pattern) {
  std::string made = pattern;
  return ::mkdtemp(made.data()) ? made : std::string();
}

// The lock is taken under a private name and then given its public one.
int CreateLockFileIn(int folder, const std::string& name) {
  const std::string pending = name + ".new";
  const int lock = ::openat(folder, pending.c_str(), O_RDWR | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0600);
  if (lock < 0 || ::flock(lock, LOCK_EX | LOCK_NB) != 0 ||
      ::renameat(folder, pending.c_str(), folder, name.c_str()) != 0) {
    const int error = errno;
    if (lock >= 0) ::close(lock);
    ::unlinkat(folder, pending.c_str(), 0);
    errno = error;
    return -1;
  }
  return lock;
}

int TakeLockFileIn(int folder, const std::string& name) {
  const int lock = ::openat(folder, name.c_str(), O_RDONLY | O_NOFOLLOW | O_CLOEXEC | O_NONBLOCK);
  if (lock >= 0 && ::flock(lock, LOCK_EX | LOCK_NB) == 0) return lock;
  if (lock >= 0) ::close(lock);
  return -1;
}

void ReleaseLock(int lock) {
  if (lock >= 0) ::close(lock);
}

bool IsOwnFolderIn(int folder, const std::string& name) {
  struct stat st {};
  return ::fstatat(folder, name.c_str(), &st, AT_SYMLINK_NOFOLLOW) == 0 && S_ISDIR(st.st_mode) &&
         st.st_uid == ::geteuid();
}

int64_t ChangedTimeIn(int folder, const std::string& name) {
  struct stat st {};
  if (::fstatat(folder, name.c_str(), &st, AT_SYMLINK_NOFOLLOW) != 0) return -1;
  return int64_t(st.st_mtime);
}

bool ReplaceFileContents(const std::string& path, const std::string& bytes) {
  std::string name = path + ".XXXXXX";
  const int fd = ::mkstemp(name.data());
  if (fd < 0) return false;
  bool ok = true;
  for (size_t done = 0; ok && done < bytes.size();) {
    const ssize_t w = ::write(fd, bytes.data() + done, bytes.size() - done);
    ok = w > 0;
    if (ok) done += size_t(w);
  }
  ok = ::fchmod(fd, 0644) == 0 && ::fsync(fd) == 0 && ok;
  ok = ::close(fd) == 0 && ok;
  if (ok) ok = std::rename(name.c_str(), path.c_str()) == 0;
  if (!ok) ::unlink(name.c_str());
  return ok;
}

}  // namespace kx
