#include "os/uUserFiles.h"

#include <fcntl.h>
#include <pwd.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <stdexcept>
#include <vector>

#include "os/uFolderAccess.h"

namespace kx {
namespace {

// $HOME when it names a folder by its full path, else the home folder the
// password database gives this user; "" when there is none.
std::string HomeFolder() {
  const char* home = std::getenv("HOME");
  if (home && home[0] == '/') return home;
  const long hint = ::sysconf(_SC_GETPW_R_SIZE_MAX);
  std::vector<char> buffer(hint > 0 ? size_t(hint) : 16384);
  passwd entry {};
  passwd* found = nullptr;
  while (::getpwuid_r(::geteuid(), &entry, buffer.data(), buffer.size(), &found) == ERANGE &&
         buffer.size() < (1u << 20))
    buffer.resize(buffer.size() * 2);
  return found && found->pw_dir && found->pw_dir[0] == '/' ? std::string(found->pw_dir) : std::string();
}

// A relative value is ignored, as if the variable were unset.
std::string XdgFolder(const char* variable, const char* fallback) {
  const char* value = std::getenv(variable);
  std::string folder;
  if (value && value[0] == '/') {
    folder = value;
  } else {
    const std::string home = HomeFolder();
    if (home.empty()) return {};
    folder = home + fallback;
  }
  if (folder.back() != '/') folder += '/';
  return folder + "kxcsaver/";
}

class TFolderError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

[[noreturn]] void Refuse(const std::string& folder, const std::string& reason) {
  throw TFolderError("the folder " + folder + " " + reason);
}

std::vector<std::string> FolderNames(const std::string& folder) {
  std::vector<std::string> names;
  for (size_t at = 0; at < folder.size();) {
    const size_t end = std::min(folder.find('/', at), folder.size());
    const std::string name = folder.substr(at, end - at);
    if (!name.empty() && name != ".") names.push_back(name);
    at = end + 1;
  }
  return names;
}

// The folder inside parent, opened without following a link, when it is a
// folder of this user; refused otherwise.
int OpenOwnFolderIn(int parent, const std::string& name, const std::string& shown) {
  struct stat st {};
  if (::fstatat(parent, name.c_str(), &st, AT_SYMLINK_NOFOLLOW) != 0) Refuse(shown, std::strerror(errno));
  if (S_ISLNK(st.st_mode)) Refuse(shown, "is a symbolic link");
  if (!S_ISDIR(st.st_mode)) Refuse(shown, "is not a folder");
  if (st.st_uid != ::geteuid()) Refuse(shown, "belongs to another user");
  const int fd = OpenFolderIn(parent, name);
  struct stat opened {};
  if (fd < 0 || ::fstat(fd, &opened) != 0 || opened.st_dev != st.st_dev || opened.st_ino != st.st_ino) {
    CloseFolder(fd);
    Refuse(shown, "changed while it was opened");
  }
  return fd;
}

// Opens folder for writing into it, making what is missing with mode 0700.
// Folders above that are already there are the user's choice and are used as
// they are, links followed; a folder made here, and the last one when own is
// set, must be a folder of this user and not a link. Each folder is opened
// inside the one above it, so nothing planted on the way is followed later.
int OpenWriteFolder(const std::string& folder, bool own) {
  const std::vector<std::string> names = FolderNames(folder);
  std::string shown = folder.empty() || folder[0] != '/' ? "" : "/";
  struct TOpen {
    int fd;
    ~TOpen() { CloseFolder(fd); }
  } open{::open(shown.empty() ? "." : "/", O_RDONLY | O_DIRECTORY | O_CLOEXEC)};
  if (open.fd < 0) Refuse(shown.empty() ? "." : shown, std::strerror(errno));
  bool made = false;
  for (size_t i = 0; i < names.size(); ++i) {
    const char* name = names[i].c_str();
    shown += names[i] + "/";
    struct stat st {};
    if (!made && ::fstatat(open.fd, name, &st, AT_SYMLINK_NOFOLLOW) != 0 && errno == ENOENT) made = true;
    if (made && ::mkdirat(open.fd, name, 0700) != 0 && errno != EEXIST) Refuse(shown, std::strerror(errno));
    const int next = made || (own && i + 1 == names.size())
                         ? OpenOwnFolderIn(open.fd, name, shown)
                         : ::openat(open.fd, name, O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (next < 0) Refuse(shown, std::strerror(errno));
    CloseFolder(open.fd);
    open.fd = next;
  }
  const int fd = open.fd;
  open.fd = -1;
  return fd;
}

// Removes the new files of earlier writes that stopped half-way: our name
// pattern, a regular file of this user (a link is left alone, never
// followed), untouched for longer than a write takes.
void RemoveStaleWriteFiles(int folder) {
  const time_t now = std::time(nullptr);
  for (const std::string& name : FolderEntries(folder)) {
    if (!IsWriteFileName(name)) continue;
    struct stat st {};
    if (::fstatat(folder, name.c_str(), &st, AT_SYMLINK_NOFOLLOW) == 0 && S_ISREG(st.st_mode) &&
        st.st_uid == ::geteuid() && now - st.st_mtime > kStaleWriteFileSeconds)
      ::unlinkat(folder, name.c_str(), 0);
  }
}

// A new file of a write in folder; -1 (errno set) when none can be made.
int CreateWriteFile(int folder, std::string& name) {
  for (int attempt = 0; attempt < 100; ++attempt) {
    name = NewWriteFileName();
    const int fd = ::openat(folder, name.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0600);
    if (fd >= 0 || errno != EEXIST) return fd;
  }
  return -1;
}

}  // namespace

void RunWithoutHomeFolder(const std::function<void()>& use) {
  const char* old = std::getenv("HOME");
  const std::string saved = old ? old : "";
  // Not a folder: nothing is read below it, and no folder can be made there.
  ::setenv("HOME", "/dev/null", 1);
  struct TRestore {
    bool had;
    const std::string& value;
    ~TRestore() { had ? ::setenv("HOME", value.c_str(), 1) : ::unsetenv("HOME"); }
  } restore{old != nullptr, saved};
  use();
}

std::string UserConfigFolder() { return XdgFolder("XDG_CONFIG_HOME", "/.config"); }
std::string UserDataFolder() { return XdgFolder("XDG_DATA_HOME", "/.local/share"); }

const char* PathSeparators() { return "/"; }

bool MayCreateFilesIn(const std::string& folder) { return ::access(folder.empty() ? "." : folder.c_str(), W_OK) == 0; }

void WriteFileAtomically(const std::string& path, const std::string& bytes) {
  if (path.empty())
    throw std::runtime_error(
        "Cannot write the user's file: there is no home folder to keep it in (HOME is not set and the password "
        "database gives none for this user)");
  const size_t slash = path.find_last_of('/');
  const std::string folderPath = slash == std::string::npos ? "" : path.substr(0, slash + 1);
  const std::string name = path.substr(slash == std::string::npos ? 0 : slash + 1);
  const auto fail = [&](const char* what, const std::string& reason) {
    throw std::runtime_error("Cannot " + std::string(what) + " " + path + ": " + reason);
  };
  // The user's own folder is checked wherever it lies; a folder beside the
  // program is the one the user chose to keep the program in.
  const bool own = !folderPath.empty() && (folderPath == UserConfigFolder() || folderPath == UserDataFolder());
  int folder = -1;
  try {
    folder = OpenWriteFolder(folderPath, own);
  } catch (const TFolderError& e) {
    fail("write", e.what());
  }
  struct TCloser {
    int fd;
    ~TCloser() { CloseFolder(fd); }
  } closer{folder};
  RemoveStaleWriteFiles(folder);
  std::string temp;
  const int fd = CreateWriteFile(folder, temp);
  if (fd < 0) fail("write", std::strerror(errno));
  const auto drop = [&](int error, const char* what) {
    ::unlinkat(folder, temp.c_str(), 0);
    fail(what, std::strerror(error));
  };
  if (!WriteAll(fd, bytes.data(), bytes.size())) {
    const int e = errno;
    ::close(fd);
    drop(e, "write");
  }
  // Keep the mode an existing file has; a new one is the user's alone to change.
  struct stat st {};
  ::fchmod(fd, ::fstatat(folder, name.c_str(), &st, 0) == 0 ? (st.st_mode & 07777) : 0644);
  if (::fsync(fd) != 0) {
    const int e = errno;
    ::close(fd);
    drop(e, "write");
  }
  if (::close(fd) != 0) drop(errno, "write");
  if (::renameat(folder, temp.c_str(), folder, name.c_str()) != 0) drop(errno, "replace");
}

}  // namespace kx
