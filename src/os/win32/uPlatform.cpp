#include "os/uPlatform.h"

#include <windows.h>

#include <cwchar>
#include <vector>

#include "os/win32/uWidePath.h"

namespace kx {

uint32_t TickCount() { return uint32_t(::GetTickCount64()); }

// The user's temporary folder as Windows names it (TMP, TEMP, then the
// profile's own).
std::string TempPath() {
  wchar_t buf[MAX_PATH + 2];
  const DWORD n = ::GetTempPathW(MAX_PATH + 1, buf);
  std::string path = n > 0 && n <= MAX_PATH + 1 ? Utf8Path(std::wstring(buf, n)) : std::string("C:\\Windows\\Temp\\");
  if (path.back() != '\\' && path.back() != '/') path += '\\';
  return path;
}

std::string ExecutablePath() {
  std::vector<wchar_t> buf(MAX_PATH);
  for (;;) {
    const DWORD n = ::GetModuleFileNameW(nullptr, buf.data(), DWORD(buf.size()));
    if (n == 0) return {};
    if (n < buf.size()) return Utf8Path(std::wstring(buf.data(), n));
    if (buf.size() >= 32768) return {};
    buf.resize(buf.size() * 2);
  }
}

std::string ExpandLongPath(const std::string& path) {
  if (path.empty() || path.find("\\\\") != std::string::npos ||
      path.find_first_of("*?") != std::string::npos)
    return {};
  const std::wstring wide = WidePath(path);
  if (wide.empty()) return {};
  const DWORD full = ::GetFullPathNameW(wide.c_str(), 0, nullptr, nullptr);
  if (full == 0) return {};
  std::wstring absolute(full, L'\0');
  absolute.resize(::GetFullPathNameW(wide.c_str(), full, absolute.data(), nullptr));
  if (::GetFileAttributesW(absolute.c_str()) == INVALID_FILE_ATTRIBUTES) return {};
  const DWORD longSize = ::GetLongPathNameW(absolute.c_str(), nullptr, 0);
  if (longSize == 0) return Utf8Path(absolute);
  std::wstring expanded(longSize, L'\0');
  expanded.resize(::GetLongPathNameW(absolute.c_str(), expanded.data(), longSize));
  return Utf8Path(expanded);
}

// The machine's program files folder as the registry keeps it. The value is
// read whole however long it is, up to the longest path Windows takes; an
// expandable string comes with its variables expanded (RRF_RT_REG_SZ takes
// both kinds of string and expands the second).
std::optional<std::string> SystemSharedFolder() {
  static constexpr wchar_t kKey[] = L"SOFTWARE\\Microsoft\\Windows\\CurrentVersion";
  static constexpr DWORD kMaxBytes = 32768 * sizeof(wchar_t);
  std::vector<wchar_t> buf(MAX_PATH + 1);
  for (;;) {
    DWORD bytes = DWORD(buf.size() * sizeof(wchar_t));
    const LSTATUS status = ::RegGetValueW(HKEY_LOCAL_MACHINE, kKey, L"ProgramFilesDir",
                                          RRF_RT_REG_SZ, nullptr, buf.data(), &bytes);
    if (status == ERROR_SUCCESS) {
      const std::string value = Utf8Path(std::wstring(buf.data(), wcsnlen(buf.data(), bytes / sizeof(wchar_t))));
      if (value.empty()) return std::nullopt;
      return SharedFolderUnder(value);
    }
    if (status != ERROR_MORE_DATA || bytes > kMaxBytes || bytes <= buf.size() * sizeof(wchar_t)) return std::nullopt;
    buf.resize(bytes / sizeof(wchar_t) + 1);
  }
}

}  // namespace kx
