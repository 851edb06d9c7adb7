#include "devices/uPlatform.h"

#include <climits>
#include <cstdlib>
#include <ctime>
#include <unistd.h>

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

}  // namespace kx
