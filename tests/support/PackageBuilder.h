// Builds project packages in memory for tests.
#pragma once

#include <string>
#include <utility>
#include <vector>

#include "package/uContainer.h"

namespace kxtest {

struct TPackagedFile {
  std::string Line;  // the line of "KXFilenames.res" (author's path)
  std::string Bytes;
};

// The three texts of "KXC.res" as one container.
inline std::string MakeDescription(const std::string& fileList, const std::string& settings,
                                   const std::string& ui) {
  return kx::MakeContainer({fileList, settings, ui});
}

// A complete project package: "KXC.res", "KXFilenames.res", "KXFiles.res", "KXGUI.kxu".
inline std::string MakePackage(const std::string& description, const std::vector<TPackagedFile>& files,
                               const std::string& gui = "") {
  std::string list;
  std::vector<std::string> bytes;
  for (const TPackagedFile& f : files) {
    list += f.Line + "\r\n";
    bytes.push_back(f.Bytes);
  }
  return kx::MakeContainer({description, list, kx::MakeContainer(bytes), gui});
}

}  // namespace kxtest
