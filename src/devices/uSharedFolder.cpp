#include "devices/uSharedFolder.h"

#include <algorithm>
#include <cctype>

namespace kx {

std::string SharedFolderFromProgramFiles(const std::optional<std::string>& programFilesDir,
                                         const std::string& programPath,
                                         const std::function<void(const std::string&)>& showMessage) {
  std::string base;
  if (programFilesDir && !programFilesDir->empty()) {
    base = *programFilesDir;
    if (base.back() != '\\') base += '\\';
  } else {
    const size_t cut = programPath.find_last_of('\\');
    base = cut == std::string::npos ? std::string() : programPath.substr(0, cut + 1);
    static const std::string kMaker = "pellwick\\";
    const auto it = std::search(base.begin(), base.end(), kMaker.begin(), kMaker.end(), [](char a, char b) {
      return std::tolower(static_cast<unsigned char>(a)) == b;
    });
    if (it != base.end()) base.erase(it, it + std::ptrdiff_t(kMaker.size()));
    if (showMessage) showMessage(base);
  }
  return base + "Ardmont\\Common\\";
}

}  // namespace kx
