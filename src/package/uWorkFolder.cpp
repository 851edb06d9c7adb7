#include "package/uWorkFolder.h"

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <mutex>
#include <vector>

#include "os/uClock.h"
#include "os/uFolderAccess.h"
#include "os/uPackedFiles.h"
#include "os/uPlatform.h"
#include "os/uStopSignals.h"
#include "os/uUserFiles.h"
#include "package/uPackage.h"

namespace kx {
namespace {

std::string Reason(int error) { return std::strerror(error); }

// Deletes the files of an open folder (links as links; subfolders stay).
void DeleteFolderFiles(int folder) {
  for (const std::string& name : FolderEntries(folder)) RemoveFileIn(folder, name);
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

// A folder without its lock file that has not changed for a while: its run
// lost the lock file (a clean-up cut short) and nothing works in it. A run
// creating its folder has it without a lock file only for a moment.
constexpr int64_t kOwnerlessAfterSeconds = 60;

bool IsOwnerless(int temp, const std::string& name, int folder, int64_t now) {
  for (const std::string& file : FolderEntries(folder))
    if (file == kWorkFolderLockName) return false;
  const int64_t changed = ChangedTimeIn(temp, name);
  return changed >= 0 && now - changed > kOwnerlessAfterSeconds;
}

// The process's folder and its lock are never destroyed: a stop signal's
// clean-up runs on the watcher thread and may come while exit() is running
// the static destructors.
std::mutex& ProcessLock() {
  static auto* lock = new std::mutex;
  return *lock;
}

std::unique_ptr<TWorkFolder>& ProcessWorkFolder() {
  static auto* folder = new std::unique_ptr<TWorkFolder>;
  return *folder;
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
      m_preferred(m_temp + m_base + std::to_string(number) + PathSeparators()[0]) {}

TWorkFolder::~TWorkFolder() {
  ReleaseLock(m_lock);
  CloseFolder(m_fd);
}

void TWorkFolder::Create() {
  const std::string plain = m_preferred.substr(0, m_preferred.size() - 1);
  std::string made = plain;
  if (const int error = MakePrivateFolder(plain)) {
    if (error != EEXIST) throw TWorkFolderError("Cannot create the work folder " + plain + ": " + Reason(error));
    // Taken: a fresh unpredictable name, never a folder this run did not create.
    const std::string pattern = plain + "_XXXXXX";
    made = MakeUniqueFolder(pattern);
    if (made.empty())
      throw TWorkFolderError("Cannot create the work folder " + pattern + ": " + Reason(errno));
  }
  const int fd = OpenFolder(made);
  if (fd < 0) throw TWorkFolderError("Cannot create the work folder " + made + ": " + Reason(errno));
  // Another run never sees the lock file of this folder unlocked.
  const int lock = CreateLockFileIn(fd, std::string(kWorkFolderLockName));
  if (lock < 0) {
    const int error = errno;
    CloseFolder(fd);
    RemoveFolder(made);
    throw TWorkFolderError("Cannot create the work folder " + made + ": " + Reason(error));
  }
  m_fd = fd;
  m_lock = lock;
  m_path = made + PathSeparators()[0];
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
  RemoveFileIn(m_fd, std::string(kWorkFolderLockName));
  ReleaseLock(m_lock);
  CloseFolder(m_fd);
  m_lock = m_fd = -1;
  RemoveFolder(m_path);
}

void TWorkFolder::RemoveEverything() {
  if (m_fd < 0) return;
  // A file the main thread was creating as the stop came is caught by another
  // pass; it adds no further one (it halts before its next file). The lock
  // goes after the first: Windows keeps a deleted file's name until its last
  // handle is closed, and the folder cannot go while it is there.
  for (int pass = 0; pass < 8; ++pass) {
    DeleteFolderFiles(m_fd);
    ReleaseLock(m_lock);
    m_lock = -1;
    if (RemoveFolder(m_path)) break;
  }
}

int RemoveStaleWorkFolders(const std::string& tempPath, const std::string& base) {
  return RemoveStaleWorkFolders(tempPath, base, SecondsSinceEpoch());
}

int RemoveStaleWorkFolders(const std::string& tempPath, const std::string& base, int64_t now) {
  if (base.empty()) return 0;
  const int temp = OpenFolder(tempPath, true);
  if (temp < 0) return 0;
  int removed = 0;
  for (const std::string& name : FolderEntries(temp)) {
    if (!IsWorkFolderName(name, base)) continue;
    if (!IsOwnFolderIn(temp, name)) continue;
    const int folder = OpenFolderIn(temp, name);
    if (folder < 0) continue;
    const int lock = TakeLockFileIn(folder, std::string(kWorkFolderLockName));
    if (lock < 0 && IsOwnerless(temp, name, folder, now)) {
      for (const std::string& file : FolderEntries(folder)) RemoveFileIn(folder, file);
      if (RemoveFolderIn(temp, name)) ++removed;
    } else if (lock >= 0) {
      // Its run is gone: the lock is held while the files go, the lock file last.
      for (const std::string& file : FolderEntries(folder))
        if (file != kWorkFolderLockName) RemoveFileIn(folder, file);
      RemoveFileIn(folder, std::string(kWorkFolderLockName));
      ReleaseLock(lock);
      if (RemoveFolderIn(temp, name)) ++removed;
    }
    CloseFolder(folder);
  }
  CloseFolder(temp);
  return removed;
}

void InitWorkFolder(const std::string& programPath, uint32_t startTick) {
  const std::string base = WorkFolderBase(programPath);
  RemoveStaleWorkFolders(TempPath(), base);
  std::lock_guard lock(ProcessLock());
  ProcessWorkFolder() = std::make_unique<TWorkFolder>(TempPath(), base, WorkNumber(startTick));
  // Every way out through exit() takes the folder along, the X library's
  // own exit when the display goes away included.
  static const bool removedAtExit = std::atexit(RemoveWorkFolder) == 0;
  (void)removedAtExit;
}

std::string GetWorkFolder() {
  // Not under the lock: the signal's clean-up takes it.
  HaltOnStopSignal();
  std::lock_guard lock(ProcessLock());
  return ProcessFolder().Get();
}

int GetWorkFolderDescriptor() {
  HaltOnStopSignal();
  std::lock_guard lock(ProcessLock());
  return ProcessFolder().Descriptor();
}

void RemoveWorkFolder() {
  ClearPackedFiles();
  std::lock_guard lock(ProcessLock());
  if (ProcessWorkFolder()) ProcessWorkFolder()->Remove();
}

void RemoveWorkFolderAtOnce() {
  ClearPackedFiles();
  std::lock_guard lock(ProcessLock());
  if (ProcessWorkFolder()) ProcessWorkFolder()->RemoveEverything();
}

}  // namespace kx
