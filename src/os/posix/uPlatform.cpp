#include "os/uPlatform.h"

#include <climits>
#include <cstdlib>
#include <ctime>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <vector>

namespace kx {

uint32_t TickCount() {
  timespec ts{};
  clock_gettime(CLOCK_MONOTONIC, &ts);
  const uint64_t ms = uint64_t(ts.tv_sec) * 1000u + uint64_t(ts.tv_nsec) / 1000000u;
  return uint32_t(ms);
}

std::string TempPath() {
  const char* env = std::getenv("TMPDIR");
  std::string path = (env && *env) ? env : "/tmp";
  if (path.back() != '/') path += '/';
  return path;
}

std::string ExecutablePath() {
  char buf[PATH_MAX];
  const ssize_t n = readlink("/proc/self/exe", buf, sizeof buf - 1);
  if (n <= 0) return {};
  return std::string(buf, size_t(n));
}

std::string ExpandLongPath(const std::string& path) {
  if (path.empty() || path.find("\\\\") != std::string::npos ||
      path.find_first_of("*?") != std::string::npos)
    return {};
  char* resolved = realpath(path.c_str(), nullptr);
  if (!resolved) return {};
  std::string result(resolved);
  std::free(resolved);
  return result;
}

std::optional<std::string> SystemSharedFolder() {
  auto env = [](const char* name) -> std::string {
    const char* v = std::getenv(name);
    return v ? v : "";
  };
  std::vector<std::string> bases;
  std::string home = env("XDG_DATA_HOME");
  if (home.empty() && !env("HOME").empty()) {
    std::string h = env("HOME");
    while (h.size() > 1 && h.back() == '/') h.pop_back();
    home = h + "/.local/share";
  }
  bases.push_back(home);
  std::string dirs = env("XDG_DATA_DIRS");
  if (dirs.empty()) dirs = "/usr/local/share:/usr/share";
  for (size_t start = 0; start <= dirs.size();) {
    const size_t end = std::min(dirs.find(':', start), dirs.size());
    bases.push_back(dirs.substr(start, end - start));
    start = end + 1;
  }
  std::string first;
  for (std::string base : bases) {
    if (base.empty() || base[0] != '/') continue;
    if (base.back() != '/') base += '/';
    const std::string folder = base + "Ardmont/Common/";
    struct stat st {};
    if (::stat(folder.c_str(), &st) == 0 && S_ISDIR(st.st_mode)) return folder;
    if (first.empty()) first = folder;
  }
  return first;
}

}  // namespace kx
