#include "os/uUserFiles.h"

#include <windows.h>

#include <algorithm>
#include <cstdint>
#include <stdexcept>

#include "os/uPlatform.h"
#include "os/win32/uWidePath.h"

namespace kx {
namespace {

// The per-user folder: %APPDATA% (roaming) for settings, %LOCALAPPDATA% for
// the wallpaper, each followed by "kxcsaver\".
std::string AppDataFolder(const wchar_t* variable) {
  wchar_t buf[MAX_PATH + 1];
  const DWORD n = ::GetEnvironmentVariableW(variable, buf, MAX_PATH + 1);
  std::string folder = n > 0 && n <= MAX_PATH ? Utf8Path(std::wstring(buf, n)) : TempPath();
  if (folder.back() != '\\' && folder.back() != '/') folder += '\\';
  return folder + "kxcsaver\\";
}

size_t NameStart(const std::string& path) {
  const size_t cut = path.find_last_of(PathSeparators());
  return cut == std::string::npos ? 0 : cut + 1;
}

void MakeFolders(const std::string& folder) {
  for (size_t at = 0; at < folder.size(); ++at) {
    at = folder.find_first_of("\\/", at);
    if (at == std::string::npos) at = folder.size();
    if (at == 0 || folder[at - 1] == ':') continue;
    const std::wstring part = WidePath(folder.substr(0, at));
    if (!part.empty()) ::CreateDirectoryW(part.c_str(), nullptr);
  }
}

// Removes the new files of earlier writes that stopped half-way: our name
// pattern, a plain file (a link or a folder is left alone), untouched for
// longer than a write takes. Another user's file in a shared folder is kept
// by its access rights: the delete fails.
void RemoveStaleWriteFiles(const std::string& folder) {
  const std::wstring pattern = WidePath(folder + ".kxcsaver-*");
  if (pattern.empty()) return;
  WIN32_FIND_DATAW found;
  HANDLE find = ::FindFirstFileW(pattern.c_str(), &found);
  if (find == INVALID_HANDLE_VALUE) return;
  FILETIME now;
  ::GetSystemTimeAsFileTime(&now);
  const auto ticks = [](const FILETIME& t) { return (uint64_t(t.dwHighDateTime) << 32) | t.dwLowDateTime; };
  const uint64_t stale = uint64_t(kStaleWriteFileSeconds) * 10000000u;  // in 100 ns steps
  do {
    const std::string name = Utf8Path(found.cFileName);
    const DWORD skip = FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_REPARSE_POINT | FILE_ATTRIBUTE_DEVICE;
    if (!IsWriteFileName(name) || (found.dwFileAttributes & skip) != 0) continue;
    const uint64_t written = ticks(found.ftLastWriteTime);
    if (ticks(now) > written && ticks(now) - written > stale) ::DeleteFileW(WidePath(folder + name).c_str());
  } while (::FindNextFileW(find, &found));
  ::FindClose(find);
}

std::string SystemMessage(DWORD error) {
  wchar_t* text = nullptr;
  ::FormatMessageW(FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS,
                   nullptr, error, 0, reinterpret_cast<wchar_t*>(&text), 0, nullptr);
  std::string message = text ? Utf8Path(text) : "error " + std::to_string(error);
  if (text) ::LocalFree(text);
  while (!message.empty() && (message.back() == '\n' || message.back() == '\r' || message.back() == '.'))
    message.pop_back();
  return message;
}

}  // namespace

void RunWithoutHomeFolder(const std::function<void()>& use) { use(); }

std::string UserConfigFolder() { return AppDataFolder(L"APPDATA"); }
std::string UserDataFolder() { return AppDataFolder(L"LOCALAPPDATA"); }

const char* PathSeparators() { return "\\/"; }

// Windows says whether a folder may be written only by trying: a file is
// made there and deleted when closed.
bool MayCreateFilesIn(const std::string& folder) {
  const std::wstring probe = WidePath((folder.empty() ? std::string(".\\") : folder) + NewWriteFileName());
  if (probe.empty()) return false;
  HANDLE h = ::CreateFileW(probe.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW,
                           FILE_ATTRIBUTE_TEMPORARY | FILE_FLAG_DELETE_ON_CLOSE, nullptr);
  if (h == INVALID_HANDLE_VALUE) return false;
  ::CloseHandle(h);
  return true;
}

void WriteFileAtomically(const std::string& path, const std::string& bytes) {
  const size_t name = NameStart(path);
  const std::string folder = name == 0 ? std::string(".\\") : path.substr(0, name);
  MakeFolders(folder);
  const auto fail = [&](const char* what, DWORD error) {
    throw std::runtime_error("Cannot " + std::string(what) + " " + path + ": " + SystemMessage(error));
  };
  const std::wstring target = WidePath(path);
  if (target.empty()) fail("write", ERROR_INVALID_NAME);
  RemoveStaleWriteFiles(folder);
  std::wstring temp;
  HANDLE h = INVALID_HANDLE_VALUE;
  for (int attempt = 0; attempt < 100 && h == INVALID_HANDLE_VALUE; ++attempt) {
    temp = WidePath(folder + NewWriteFileName());
    h = ::CreateFileW(temp.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (h == INVALID_HANDLE_VALUE && ::GetLastError() != ERROR_FILE_EXISTS) fail("write", ::GetLastError());
  }
  if (h == INVALID_HANDLE_VALUE) fail("write", ERROR_FILE_EXISTS);
  for (size_t done = 0; done < bytes.size();) {
    DWORD w = 0;
    if (!::WriteFile(h, bytes.data() + done, DWORD(std::min<size_t>(bytes.size() - done, 1u << 30)), &w, nullptr) ||
        w == 0) {
      const DWORD e = ::GetLastError();
      ::CloseHandle(h);
      ::DeleteFileW(temp.c_str());
      fail("write", e);
    }
    done += w;
  }
  if (!::FlushFileBuffers(h) || !::CloseHandle(h)) {
    const DWORD e = ::GetLastError();
    ::DeleteFileW(temp.c_str());
    fail("write", e);
  }
  if (!::MoveFileExW(temp.c_str(), target.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)) {
    const DWORD e = ::GetLastError();
    ::DeleteFileW(temp.c_str());
    fail("replace", e);
  }
}

}  // namespace kx
