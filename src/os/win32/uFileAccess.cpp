#include "os/uFileAccess.h"

#include <fcntl.h>
#include <io.h>
#include <windows.h>

#include <random>
#include <string>

#include "os/uWindowsFileNames.h"
#include "os/win32/uWidePath.h"

namespace kx {
namespace {

// Opens path for reading without waiting on anything: a named pipe that is
// busy fails at once, and only a file on a disk is kept.
HANDLE OpenDiskFile(const std::string& path, DWORD access) {
  const std::wstring wide = WidePath(path);
  if (wide.empty()) return INVALID_HANDLE_VALUE;
  HANDLE h = ::CreateFileW(wide.c_str(), access, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                           OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL | FILE_FLAG_BACKUP_SEMANTICS, nullptr);
  if (h == INVALID_HANDLE_VALUE) return h;
  BY_HANDLE_FILE_INFORMATION info{};
  if (::GetFileType(h) != FILE_TYPE_DISK || !::GetFileInformationByHandle(h, &info) ||
      (info.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)) {
    ::CloseHandle(h);
    return INVALID_HANDLE_VALUE;
  }
  return h;
}

}  // namespace

TFilePtr OpenRegularFile(const std::string& path) {
  TFilePtr none(nullptr, std::fclose);
  HANDLE h = OpenDiskFile(path, GENERIC_READ);
  if (h == INVALID_HANDLE_VALUE) return none;
  const int fd = ::_open_osfhandle(reinterpret_cast<intptr_t>(h), _O_RDONLY | _O_BINARY);
  if (fd < 0) {
    ::CloseHandle(h);
    return none;
  }
  std::FILE* f = ::_fdopen(fd, "rb");
  if (!f) {
    ::_close(fd);
    return none;
  }
  return TFilePtr(f, std::fclose);
}

int64_t OpenFileSize(std::FILE* f) {
  if (!f) return -1;
  LARGE_INTEGER size{};
  const auto h = reinterpret_cast<HANDLE>(::_get_osfhandle(::_fileno(f)));
  if (h == INVALID_HANDLE_VALUE || !::GetFileSizeEx(h, &size)) return -1;
  return int64_t(size.QuadPart);
}

bool IsRegularFile(const std::string& path) {
  HANDLE h = OpenDiskFile(path, 0);
  if (h == INVALID_HANDLE_VALUE) return false;
  ::CloseHandle(h);
  return true;
}

bool IsFolder(const std::string& path) {
  const std::wstring wide = WidePath(path);
  if (wide.empty()) return false;
  const DWORD attributes = ::GetFileAttributesW(wide.c_str());
  return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY);
}

bool SystemRefusesFileName(std::string_view name) { return WindowsRefusesFileName(name); }

std::string SystemFileNameKey(std::string_view name) { return WindowsFileNameKey(name); }

TFilePtr CreateWritableFile(const std::string& path) {
  const std::wstring wide = WidePath(path);
  return TFilePtr(wide.empty() ? nullptr : ::_wfopen(wide.c_str(), L"wb"), std::fclose);
}

TFilePtr CreateFileBeside(const std::string& path, std::string& tempPath) {
  TFilePtr none(nullptr, std::fclose);
  const std::wstring target = WidePath(path);
  if (target.empty()) return none;
  std::random_device random;
  for (int attempt = 0; attempt < 100; ++attempt) {
    const std::string suffix = "." + std::to_string(random() % 1000000);
    const std::wstring temp = target + std::wstring(suffix.begin(), suffix.end());
    HANDLE h = ::CreateFileW(temp.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (h == INVALID_HANDLE_VALUE) {
      if (::GetLastError() == ERROR_FILE_EXISTS) continue;
      return none;
    }
    const int fd = ::_open_osfhandle(reinterpret_cast<intptr_t>(h), _O_WRONLY | _O_BINARY);
    if (fd < 0) {
      ::CloseHandle(h);
      ::DeleteFileW(temp.c_str());
      return none;
    }
    std::FILE* f = ::_fdopen(fd, "wb");
    if (!f) {
      ::_close(fd);
      ::DeleteFileW(temp.c_str());
      return none;
    }
    tempPath = path + suffix;
    return TFilePtr(f, std::fclose);
  }
  return none;
}

TFilePtr OpenAppendFile(const std::string& path) {
  const std::wstring wide = WidePath(path);
  return TFilePtr(wide.empty() ? nullptr : ::_wfopen(wide.c_str(), L"a"), std::fclose);
}

bool RemoveFile(const std::string& path) {
  const std::wstring wide = WidePath(path);
  return !wide.empty() && ::DeleteFileW(wide.c_str()) != FALSE;
}

bool MoveFileOver(const std::string& from, const std::string& to) {
  const std::wstring a = WidePath(from), b = WidePath(to);
  return !a.empty() && !b.empty() && ::MoveFileExW(a.c_str(), b.c_str(), MOVEFILE_REPLACE_EXISTING) != FALSE;
}

bool CreateFolder(const std::string& path) {
  const std::wstring wide = WidePath(path);
  return !wide.empty() && (::CreateDirectoryW(wide.c_str(), nullptr) != FALSE || IsFolder(path));
}

void MarkRunnable(const std::string&) {}

}  // namespace kx
