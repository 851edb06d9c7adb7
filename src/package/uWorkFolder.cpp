#include "package/uWorkFolder.h"

#include <sys/stat.h>
#include <unistd.h>

#include <cstdlib>
#include <memory>
#include <vector>

#include "devices/uPlatform.h"
#include "package/uPackage.h"

namespace kx {
namespace {

// True for a real directory (not a link) owned by this user.
bool IsOwnDirectory(const std::string& path) {
  struct stat st {};
  return ::lstat(path.c_str(), &st) == 0 && S_ISDIR(st.st_mode) && st.st_uid == ::geteuid();
}

std::unique_ptr<TWorkFolder>& ProcessWorkFolder() {
  static std::unique_ptr<TWorkFolder> folder;
  return folder;
}

}  // namespace

int32_t WorkNumber(uint32_t tick) { return int32_t(tick) % 10000; }

std::string WorkFolderBase(const std::string& programPath) {
  const std::string name = FileNamePart(programPath);
  return name.substr(0, name.find('.'));
}

TWorkFolder::TWorkFolder(std::string tempPath, std::string base, int32_t number)
    : m_preferred(std::move(tempPath) + std::move(base) + std::to_string(number) + "/") {}

const std::string& TWorkFolder::Get() {
  if (!m_path.empty() && IsOwnDirectory(m_path)) return m_path;
  const std::string plain = m_preferred.substr(0, m_preferred.size() - 1);
  if (::mkdir(plain.c_str(), 0700) == 0) {
    m_path = m_preferred;
    return m_path;
  }
  // Taken: never write into a folder this run did not create.
  std::string pattern = plain + "_XXXXXX";
  std::vector<char> buf(pattern.begin(), pattern.end());
  buf.push_back('\0');
  m_path = (::mkdtemp(buf.data()) ? std::string(buf.data()) : pattern) + "/";
  return m_path;
}

void InitWorkFolder(const std::string& programPath, uint32_t startTick) {
  ProcessWorkFolder() = std::make_unique<TWorkFolder>(TempPath(), WorkFolderBase(programPath),
                                                      WorkNumber(startTick));
}

std::string GetWorkFolder() {
  auto& folder = ProcessWorkFolder();
  if (!folder) InitWorkFolder(ExecutablePath(), TickCount());
  return folder->Get();
}

}  // namespace kx
