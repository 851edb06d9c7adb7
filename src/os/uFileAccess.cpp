// The parts of file access that are the same on every system, built on the
// system's own calls.
#include "os/uFileAccess.h"

#include "os/uUserFiles.h"

namespace kx {

bool CreateFolders(const std::string& path) {
  const char* separators = PathSeparators();
  for (size_t at = path.find_first_of(separators, 1);; at = path.find_first_of(separators, at + 1)) {
    const std::string part = path.substr(0, at);
    // A drive ("C:") is there already.
    if (!part.empty() && part.back() != ':' && !IsFolder(part)) CreateFolder(part);
    if (at == std::string::npos) break;
  }
  return IsFolder(path);
}

}  // namespace kx
