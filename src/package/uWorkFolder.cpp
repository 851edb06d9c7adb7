#include "package/uWorkFolder.h"

#include <dirent.h>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <memory>
#include <mutex>
#include <vector>

#include "devices/uPlatform.h"
#include "package/uPackage.h"

namespace kx {
namespace {

std::string Reason(int error) { return std::strerror(error); }

// The names in an open folder, read through a duplicate of its descriptor.
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

// Deletes the files of an open folder (links as links; subfolders stay).
void DeleteFolderFiles(int folder) {
  for (const std::string& name : FolderEntries(folder)) ::unlinkat(folder, name.c_str(), 0);
}

// base, then an optional "-" and one to four digits, then optionally "_" and
// six characters of a unique name.
bool IsWorkFolderName(const std::string& name, const std::string& base) {
  if (name.size() <= base.size() || name.compare(0, base.size(), base) != 0) return false;
  size_t i = base.size();
  if (name[i] == '-') ++i;
  const size_t digits = i;
  while (i < name.size() && i - digits < 5 && name[i] >= '0' && name[i] <= '9') ++i;
  if (i == digits || i - digits > 4) return false;
  if (i == name.size()) return true;
  return name[i] == '_' && name.size() - i - 1 == 6;
}

std::mutex& ProcessLock() {
  static std::mutex lock;
  return lock;
}

std::unique_ptr<TWorkFolder>& ProcessWorkFolder() {
  static std::unique_ptr<TWorkFolder> folder;
  return folder;
}

TWorkFolder& ProcessFolder() {
  auto& folder = ProcessWorkFolder();
  if (!folder) {
    const std::string program = ExecutablePath();
    folder = std::make_unique<TWorkFolder>(TempPath(), WorkFolderBase(program), WorkNumber(TickCount()));
  }
  return *folder;
}

}  // namespace

int32_t WorkNumber(uint32_t tick) { return int32_t(tick) % 10000; }

std::string WorkFolderBase(const std::string& programPath) {
  const std::string name = FileNamePart(programPath);
  return name.substr(0, name.find('.'));
}

TWorkFolder::TWorkFolder(std::string tempPath, std::string base, int32_t number)
    : m_temp(std::move(tempPath)), m_base(std::move(base)),
      m_preferred(m_temp + m_base + std::to_string(number) + "/") {}

TWorkFolder::~TWorkFolder() {
  if (m_lock >= 0) ::close(m_lock);
  if (m_fd >= 0) ::close(m_fd);
}

void TWorkFolder::Create() {
  const std::string plain = m_preferred.substr(0, m_preferred.size() - 1);
  std::string made = plain;
  if (::mkdir(plain.c_str(), 0700) != 0) {
    const int error = errno;
    if (error != EEXIST) throw TWorkFolderError("Cannot create the work folder " + plain + ": " + Reason(error));
    // Taken: a fresh unpredictable name, never a folder this run did not create.
    const std::string pattern = plain + "_XXXXXX";
    made = pattern;
    if (!::mkdtemp(made.data()))
      throw TWorkFolderError("Cannot create the work folder " + pattern + ": " + Reason(errno));
  }
  const int fd = ::open(made.c_str(), O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC);
  if (fd < 0) throw TWorkFolderError("Cannot create the work folder " + made + ": " + Reason(errno));
  // The lock is taken under a private name and then given its public one, so
  // another run never sees the lock file of this folder unlocked.
  const std::string pending = std::string(kWorkFolderLockName) + ".new";
  const int lock = ::openat(fd, pending.c_str(), O_RDWR | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0600);
  if (lock < 0 || ::flock(lock, LOCK_EX | LOCK_NB) != 0 ||
      ::renameat(fd, pending.c_str(), fd, std::string(kWorkFolderLockName).c_str()) != 0) {
    const int error = errno;
    if (lock >= 0) ::close(lock);
    ::unlinkat(fd, pending.c_str(), 0);
    ::close(fd);
    ::rmdir(made.c_str());
    throw TWorkFolderError("Cannot create the work folder " + made + ": " + Reason(error));
  }
  m_fd = fd;
  m_lock = lock;
  m_path = made + "/";
}

const std::string& TWorkFolder::Get() {
  if (m_fd < 0) Create();
  return m_path;
}

int TWorkFolder::Descriptor() {
  Get();
  return m_fd;
}

void TWorkFolder::Remove() {
  if (m_fd < 0) return;
  RemoveExtractedFiles(m_fd);
  ::unlinkat(m_fd, std::string(kWorkFolderLockName).c_str(), 0);
  ::close(m_lock);
  ::close(m_fd);
  m_lock = m_fd = -1;
  ::rmdir(m_path.c_str());
}

void TWorkFolder::RemoveEverything() {
  if (m_fd < 0) return;
  // A file the main thread creates meanwhile is caught by another pass.
  for (int pass = 0; pass < 3; ++pass) {
    DeleteFolderFiles(m_fd);
    if (::rmdir(m_path.c_str()) == 0) break;
  }
}

int RemoveStaleWorkFolders(const std::string& tempPath, const std::string& base) {
  if (base.empty()) return 0;
  const int temp = ::open(tempPath.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (temp < 0) return 0;
  int removed = 0;
  for (const std::string& name : FolderEntries(temp)) {
    if (!IsWorkFolderName(name, base)) continue;
    struct stat st {};
    if (::fstatat(temp, name.c_str(), &st, AT_SYMLINK_NOFOLLOW) != 0 || !S_ISDIR(st.st_mode) ||
        st.st_uid != ::geteuid())
      continue;
    const int folder = ::openat(temp, name.c_str(), O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC);
    if (folder < 0) continue;
    const int lock =
        ::openat(folder, std::string(kWorkFolderLockName).c_str(), O_RDONLY | O_NOFOLLOW | O_CLOEXEC | O_NONBLOCK);
    if (lock >= 0 && ::flock(lock, LOCK_EX | LOCK_NB) == 0) {
      // Its run is gone: the lock is held while the files go, the lock file last.
      for (const std::string& file : FolderEntries(folder))
        if (file != kWorkFolderLockName) ::unlinkat(folder, file.c_str(), 0);
      ::unlinkat(folder, std::string(kWorkFolderLockName).c_str(), 0);
      if (::unlinkat(temp, name.c_str(), AT_REMOVEDIR) == 0) ++removed;
    }
    if (lock >= 0) ::close(lock);
    ::close(folder);
  }
  ::close(temp);
  return removed;
}

void InitWorkFolder(const std::string& programPath, uint32_t startTick) {
  const std::string base = WorkFolderBase(programPath);
  RemoveStaleWorkFolders(TempPath(), base);
  std::lock_guard lock(ProcessLock());
  ProcessWorkFolder() = std::make_unique<TWorkFolder>(TempPath(), base, WorkNumber(startTick));
}

std::string GetWorkFolder() {
  std::lock_guard lock(ProcessLock());
  return ProcessFolder().Get();
}

int GetWorkFolderDescriptor() {
  std::lock_guard lock(ProcessLock());
  return ProcessFolder().Descriptor();
}

void RemoveWorkFolder() {
  std::lock_guard lock(ProcessLock());
  if (ProcessWorkFolder()) ProcessWorkFolder()->Remove();
}

void RemoveWorkFolderAtOnce() {
  std::lock_guard lock(ProcessLock());
  if (ProcessWorkFolder()) ProcessWorkFolder()->RemoveEverything();
}

}  // namespace kx
