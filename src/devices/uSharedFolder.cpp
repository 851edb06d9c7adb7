#include "devices/uSharedFolder.h"

#include <algorithm>
#include <cctype>

#include "devices/uMessageBox.h"
#include "os/uPlatform.h"

namespace kx {

std::string SharedFolderFromProgramFiles(const std::optional<std::string>& programFilesDir,
                                         const std::string& programPath,
                                         const std::function<void(const std::string&)>& showMessage) {
  if (programFilesDir && !programFilesDir->empty()) return SharedFolderUnder(*programFilesDir);
  const size_t cut = programPath.find_last_of('\\');
  std::string base = cut == std::string::npos ? std::string() : programPath.substr(0, cut + 1);
  static const std::string kMaker = "pellwick\\";
  const auto it = std::search(base.begin(), base.end(), kMaker.begin(), kMaker.end(), [](char a, char b) {
    return std::tolower(static_cast<unsigned char>(a)) == b;
  });
  if (it != base.end()) base.erase(it, it + std::ptrdiff_t(kMaker.size()));
  if (showMessage) showMessage(base);
  return base + "Ardmont\\Common\\";
}

// Linux always names a folder; Windows names none only when the registry
// value is missing, and then the program's folder stands in with a message.
std::string GetSharedFolder() {
  if (std::optional<std::string> folder = SystemSharedFolder()) return *std::move(folder);
  return SharedFolderFromProgramFiles(std::nullopt, ExecutablePath(),
                                      [](const std::string& text) { ShowMessageBox(text); });
}

}  // namespace kx
