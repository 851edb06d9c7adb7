#include "support/TestSupport.h"

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <random>
#include <sstream>
#include <stdexcept>
#include <vector>

#ifdef _WIN32
#include <windows.h>
#endif

namespace kxtest {
namespace {

// Our paths are UTF-8 on every system; std::filesystem takes them as such
// only through char8_t.
std::filesystem::path FsPath(const std::string& utf8) {
  return std::filesystem::path(std::u8string(utf8.begin(), utf8.end()));
}

std::string Utf8(const std::filesystem::path& path) {
  const std::u8string s = path.generic_u8string();
  return std::string(s.begin(), s.end());
}

void SetVariable(const char* name, const std::string& value) {
#ifdef _WIN32
  ::_putenv_s(name, value.c_str());  // "" removes it
#else
  value.empty() ? ::unsetenv(name) : ::setenv(name, value.c_str(), 1);
#endif
}

}  // namespace

#ifdef _WIN32
// The machine's keys are seen through a private key of the user's, which
// holds the one value planted.
TSharedFolderBase::TSharedFolderBase(const std::string& base)
    : m_name(L"Software\\kxtest-machine-" + std::to_wstring(::GetCurrentProcessId())) {
  HKEY machine = nullptr, version = nullptr;
  if (::RegCreateKeyExW(HKEY_CURRENT_USER, m_name.c_str(), 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &machine,
                        nullptr) != ERROR_SUCCESS)
    throw std::runtime_error("cannot make a private registry key");
  m_key = machine;
  const std::u8string utf8(base.begin(), base.end());
  const std::wstring value = std::filesystem::path(utf8).wstring();
  ::RegCreateKeyExW(machine, L"SOFTWARE\\Microsoft\\Windows\\CurrentVersion", 0, nullptr, 0, KEY_SET_VALUE, nullptr,
                    &version, nullptr);
  ::RegSetValueExW(version, L"ProgramFilesDir", 0, REG_SZ, reinterpret_cast<const BYTE*>(value.c_str()),
                   DWORD((value.size() + 1) * sizeof(wchar_t)));
  ::RegCloseKey(version);
  if (::RegOverridePredefKey(HKEY_LOCAL_MACHINE, machine) != ERROR_SUCCESS)
    throw std::runtime_error("cannot redirect the machine's registry");
}

TSharedFolderBase::~TSharedFolderBase() {
  ::RegOverridePredefKey(HKEY_LOCAL_MACHINE, nullptr);
  ::RegCloseKey(static_cast<HKEY>(m_key));
  ::RegDeleteTreeW(HKEY_CURRENT_USER, m_name.c_str());
}
#else
TSharedFolderBase::TSharedFolderBase(const std::string& base) : m_env("XDG_DATA_HOME", base) {}
TSharedFolderBase::~TSharedFolderBase() = default;
#endif

// A new folder under an unpredictable name, only this user's.
TScratchDir::TScratchDir() {
  static constexpr char kChars[] = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789";
  const std::filesystem::path temp = std::filesystem::temp_directory_path();
  std::random_device random;
  for (int attempt = 0; attempt < 100 && m_path.empty(); ++attempt) {
    std::string name = "kxtest_";
    for (int i = 0; i < 6; ++i) name += kChars[random() % (sizeof kChars - 1)];
    if (std::filesystem::create_directory(temp / name)) {
      std::filesystem::permissions(temp / name, std::filesystem::perms::owner_all);
      m_path = Utf8(temp / name) + "/";
    }
  }
  if (m_path.empty()) throw std::runtime_error("cannot make a scratch folder");
}

TScratchDir::~TScratchDir() {
  std::error_code ec;
  std::filesystem::remove_all(FsPath(m_path), ec);
}

void MakeDir(const std::string& path) { std::filesystem::create_directory(FsPath(path)); }

TEnv::TEnv(const char* name, const std::string& value) : m_name(name) {
  if (const char* old = std::getenv(name)) m_old = old, m_had = true;
  SetVariable(name, value);
}

TEnv::~TEnv() { SetVariable(m_name, m_had ? m_old : std::string()); }

void WriteFile(const std::string& path, std::string_view bytes) {
  std::ofstream out(FsPath(path), std::ios::binary | std::ios::trunc);
  out.write(bytes.data(), std::streamsize(bytes.size()));
  if (!out) throw std::runtime_error("cannot write " + path);
}

std::string ReadFile(const std::string& path) {
  std::ifstream in(FsPath(path), std::ios::binary);
  std::ostringstream s;
  s << in.rdbuf();
  return s.str();
}

std::vector<std::string> ListDir(const std::string& path) {
  std::vector<std::string> names;
  std::error_code ec;
  for (const auto& e : std::filesystem::directory_iterator(FsPath(path), ec)) names.push_back(Utf8(e.path().filename()));
  std::sort(names.begin(), names.end());
  return names;
}

uint64_t FolderBytes(const std::string& path) {
  uint64_t bytes = 0;
  std::error_code ec;
  for (const auto& e : std::filesystem::recursive_directory_iterator(FsPath(path), ec))
    if (e.is_regular_file(ec) && !e.is_symlink(ec)) bytes += e.file_size(ec);
  return bytes;
}

void WriteBmp(const std::string& path, const kx::TBitmap32& bitmap) {
  const uint32_t stride = (uint32_t(bitmap.Width()) * 3 + 3) & ~3u;
  const uint32_t size = 54 + stride * uint32_t(bitmap.Height());
  std::string bytes(54, '\0');
  auto put = [&](size_t at, uint32_t v, int n) {
    for (int i = 0; i < n; ++i) bytes[at + size_t(i)] = char(v >> (8 * i));
  };
  bytes[0] = 'B';
  bytes[1] = 'M';
  put(2, size, 4);
  put(10, 54, 4);
  put(14, 40, 4);
  put(18, uint32_t(bitmap.Width()), 4);
  put(22, uint32_t(bitmap.Height()), 4);
  put(26, 1, 2);
  put(28, 24, 2);
  for (int32_t y = bitmap.Height() - 1; y >= 0; --y) {
    std::string row(stride, '\0');
    for (int32_t x = 0; x < bitmap.Width(); ++x) {
      const kx::TPixel p = bitmap.Pixel(x, y);
      row[size_t(x) * 3] = char(kx::PixelB(p));
      row[size_t(x) * 3 + 1] = char(kx::PixelG(p));
      row[size_t(x) * 3 + 2] = char(kx::PixelR(p));
    }
    bytes += row;
  }
  WriteFile(path, bytes);
}

// A link counts, wherever it leads.
bool Exists(const std::string& path) {
  std::error_code ec;
  return std::filesystem::symlink_status(FsPath(path), ec).type() != std::filesystem::file_type::not_found && !ec;
}

}  // namespace kxtest
