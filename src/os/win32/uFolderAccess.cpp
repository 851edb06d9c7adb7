#include "os/uFolderAccess.h"

#include <fcntl.h>
#include <io.h>
#include <windows.h>

#include <algorithm>
#include <cerrno>
#include <map>
#include <mutex>
#include <random>

#include "os/win32/uWidePath.h"

namespace kx {
namespace {

// Windows has no folder descriptors: an open folder is a number standing for
// its wide path (with a trailing backslash), checked to be a folder and not
// a link when it was opened. Names inside it are plain names, never paths.

std::mutex& TableLock() {
  static std::mutex lock;
  return lock;
}

std::map<int, std::wstring>& Table() {
  static std::map<int, std::wstring> table;
  return table;
}

// The wide path of name inside an open folder; "" when the folder is not
// open or the name is not a plain name.
std::wstring PathIn(int folder, const std::string& name) {
  const std::wstring wide = WidePath(name);
  if (wide.empty()) return {};
  if (folder == kCurrentFolder) return wide;
  if (wide.find_first_of(L"\\/:") != std::wstring::npos) return {};
  std::lock_guard lock(TableLock());
  const auto it = Table().find(folder);
  return it == Table().end() ? std::wstring() : it->second + wide;
}

bool IsLink(DWORD attributes) { return attributes & FILE_ATTRIBUTE_REPARSE_POINT; }

int OpenFolderWide(std::wstring path, bool followLink) {
  if (path.empty()) return -1;
  const DWORD attributes = ::GetFileAttributesW(path.c_str());
  if (attributes == INVALID_FILE_ATTRIBUTES || !(attributes & FILE_ATTRIBUTE_DIRECTORY)) return -1;
  if (!followLink && IsLink(attributes)) return -1;
  if (path.back() != L'\\' && path.back() != L'/') path += L'\\';
  std::lock_guard lock(TableLock());
  static int next = 1;
  const int id = next++;
  Table()[id] = std::move(path);
  return id;
}

void SetErrno(DWORD error) {
  switch (error) {
    case ERROR_ALREADY_EXISTS:
    case ERROR_FILE_EXISTS: errno = EEXIST; break;
    case ERROR_FILE_NOT_FOUND:
    case ERROR_PATH_NOT_FOUND: errno = ENOENT; break;
    case ERROR_ACCESS_DENIED:
    case ERROR_SHARING_VIOLATION: errno = EACCES; break;
    case ERROR_DISK_FULL: errno = ENOSPC; break;
    default: errno = EIO; break;
  }
}

int FileNumber(HANDLE h, int flags) {
  if (h == INVALID_HANDLE_VALUE) return -1;
  const int fd = ::_open_osfhandle(reinterpret_cast<intptr_t>(h), flags | _O_BINARY);
  if (fd < 0) ::CloseHandle(h);
  return fd;
}

}  // namespace

int OpenFolder(const std::string& path, bool followLink) { return OpenFolderWide(WidePath(path), followLink); }

int OpenFolderIn(int folder, const std::string& name) { return OpenFolderWide(PathIn(folder, name), false); }

void CloseFolder(int folder) {
  std::lock_guard lock(TableLock());
  const auto it = Table().find(folder);
  if (it != Table().end()) Table().erase(it);
}

std::vector<std::string> FolderEntries(int folder) {
  std::vector<std::string> names;
  const std::wstring pattern = PathIn(folder, "*");
  if (pattern.empty()) return names;
  WIN32_FIND_DATAW found{};
  HANDLE find = ::FindFirstFileW(pattern.c_str(), &found);
  if (find == INVALID_HANDLE_VALUE) return names;
  do {
    const std::wstring name = found.cFileName;
    if (name != L"." && name != L"..") names.push_back(Utf8Path(name));
  } while (::FindNextFileW(find, &found));
  ::FindClose(find);
  return names;
}

int CreateFileIn(int folder, const std::string& name) {
  const std::wstring path = PathIn(folder, name);
  if (path.empty()) return -1;
  const DWORD attributes = ::GetFileAttributesW(path.c_str());
  if (attributes != INVALID_FILE_ATTRIBUTES && (IsLink(attributes) || (attributes & FILE_ATTRIBUTE_DIRECTORY)))
    return -1;
  HANDLE h = ::CreateFileW(path.c_str(), GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_DELETE, nullptr, CREATE_ALWAYS,
                           FILE_ATTRIBUTE_NORMAL | FILE_FLAG_OPEN_REPARSE_POINT, nullptr);
  return FileNumber(h, _O_WRONLY);
}

bool WriteAll(int file, const char* data, size_t n) {
  while (n > 0) {
    const int w = ::_write(file, data, unsigned(std::min<size_t>(n, 1u << 30)));
    if (w <= 0) return false;
    data += w;
    n -= size_t(w);
  }
  return true;
}

void CloseFile(int file) {
  if (file >= 0) ::_close(file);
}

std::string ReadFileIn(int folder, const std::string& name, size_t limit) {
  const std::wstring path = PathIn(folder, name);
  if (path.empty()) return {};
  HANDLE h = ::CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                           nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL | FILE_FLAG_OPEN_REPARSE_POINT, nullptr);
  if (h == INVALID_HANDLE_VALUE) return {};
  BY_HANDLE_FILE_INFORMATION info{};
  std::string bytes;
  if (::GetFileType(h) == FILE_TYPE_DISK && ::GetFileInformationByHandle(h, &info) &&
      !(info.dwFileAttributes & (FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_REPARSE_POINT))) {
    char buf[65536];
    DWORD got = 0;
    while (bytes.size() < limit && ::ReadFile(h, buf, sizeof buf, &got, nullptr) && got > 0) bytes.append(buf, got);
  }
  ::CloseHandle(h);
  if (bytes.size() > limit) bytes.resize(limit);
  return bytes;
}

bool RemoveFileIn(int folder, const std::string& name) {
  const std::wstring path = PathIn(folder, name);
  return !path.empty() && ::DeleteFileW(path.c_str());
}

bool RemoveFolderIn(int folder, const std::string& name) {
  const std::wstring path = PathIn(folder, name);
  if (path.empty()) return false;
  const DWORD attributes = ::GetFileAttributesW(path.c_str());
  return attributes != INVALID_FILE_ATTRIBUTES && !IsLink(attributes) && ::RemoveDirectoryW(path.c_str());
}

bool RemoveFolder(const std::string& path) {
  const std::wstring wide = WidePath(path);
  return !wide.empty() && ::RemoveDirectoryW(wide.c_str());
}

// The folder inherits the access rules of the folder it is made in; the
// user's temporary folder is the user's own.
int MakePrivateFolder(const std::string& path) {
  const std::wstring wide = WidePath(path);
  if (wide.empty()) return ENOENT;
  if (::CreateDirectoryW(wide.c_str(), nullptr)) return 0;
  SetErrno(::GetLastError());
  return errno;
}

std::string MakeUniqueFolder(const std::string& pattern) {
  static constexpr char kChars[] = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789";
  if (pattern.size() < 6 || pattern.compare(pattern.size() - 6, 6, "XXXXXX") != 0) {
    errno = EINVAL;
    return {};
  }
  std::random_device random;
  for (int attempt = 0; attempt < 100; ++attempt) {
    std::string made = pattern;
    for (size_t i = made.size() - 6; i < made.size(); ++i) made[i] = kChars[random() % (sizeof kChars - 1)];
    const int error = MakePrivateFolder(made);
    if (error == 0) return made;
    if (error != EEXIST) return {};
  }
  errno = EEXIST;
  return {};
}

// Windows keeps a file locked by opening it without sharing reads or writes:
// created new under its public name, it is never there unlocked. Deletion
// stays shared so that the run can remove it while it holds it.
int CreateLockFileIn(int folder, const std::string& name) {
  const std::wstring path = PathIn(folder, name);
  if (path.empty()) {
    errno = EINVAL;
    return -1;
  }
  HANDLE h = ::CreateFileW(path.c_str(), GENERIC_READ | GENERIC_WRITE, FILE_SHARE_DELETE, nullptr, CREATE_NEW,
                           FILE_ATTRIBUTE_NORMAL, nullptr);
  if (h == INVALID_HANDLE_VALUE) SetErrno(::GetLastError());
  return FileNumber(h, _O_RDWR);
}

int TakeLockFileIn(int folder, const std::string& name) {
  const std::wstring path = PathIn(folder, name);
  if (path.empty()) return -1;
  const DWORD attributes = ::GetFileAttributesW(path.c_str());
  if (attributes == INVALID_FILE_ATTRIBUTES || IsLink(attributes) || (attributes & FILE_ATTRIBUTE_DIRECTORY))
    return -1;
  HANDLE h = ::CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_DELETE, nullptr, OPEN_EXISTING,
                           FILE_ATTRIBUTE_NORMAL | FILE_FLAG_OPEN_REPARSE_POINT, nullptr);
  return FileNumber(h, _O_RDONLY);
}

void ReleaseLock(int lock) {
  if (lock >= 0) ::_close(lock);
}

// Each user has a temporary folder of their own, so a folder in it is the
// user's; links (junctions, symbolic links) are never taken for one.
bool IsOwnFolderIn(int folder, const std::string& name) {
  const std::wstring path = PathIn(folder, name);
  if (path.empty()) return false;
  const DWORD attributes = ::GetFileAttributesW(path.c_str());
  return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) && !IsLink(attributes);
}

int64_t ChangedTimeIn(int folder, const std::string& name) {
  const std::wstring path = PathIn(folder, name);
  WIN32_FILE_ATTRIBUTE_DATA data{};
  if (path.empty() || !::GetFileAttributesExW(path.c_str(), GetFileExInfoStandard, &data)) return -1;
  // 100-nanosecond steps since 1601-01-01; 11644473600 seconds lie between the two starts.
  const uint64_t steps = (uint64_t(data.ftLastWriteTime.dwHighDateTime) << 32) | data.ftLastWriteTime.dwLowDateTime;
  return int64_t(steps / 10000000) - 11644473600LL;
}

bool ReplaceFileContents(const std::string& path, const std::string& bytes) {
  const std::wstring target = WidePath(path);
  if (target.empty()) return false;
  std::random_device random;
  std::wstring temp;
  HANDLE h = INVALID_HANDLE_VALUE;
  for (int attempt = 0; attempt < 100 && h == INVALID_HANDLE_VALUE; ++attempt) {
    temp = target + L"." + std::to_wstring(random() % 1000000);
    h = ::CreateFileW(temp.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (h == INVALID_HANDLE_VALUE && ::GetLastError() != ERROR_FILE_EXISTS) return false;
  }
  if (h == INVALID_HANDLE_VALUE) return false;
  bool ok = true;
  for (size_t done = 0; ok && done < bytes.size();) {
    DWORD w = 0;
    ok = ::WriteFile(h, bytes.data() + done, DWORD(std::min<size_t>(bytes.size() - done, 1u << 30)), &w, nullptr) &&
         w > 0;
    done += w;
  }
  ok = ::FlushFileBuffers(h) && ok;
  ok = ::CloseHandle(h) && ok;
  if (ok) ok = ::MoveFileExW(temp.c_str(), target.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH);
  if (!ok) ::DeleteFileW(temp.c_str());
  return ok;
}

}  // namespace kx
