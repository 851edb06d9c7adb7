// Fuzzes the header-only read of picture files (title, description, thumbnail).
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <string>

#include "animation/uCreatorProject.h"
#include "devices/uMessageBox.h"

namespace {

const std::string& File() {
  static const std::string path = [] {
    char pattern[] = "/tmp/kxfuzz_pictureheader_XXXXXX";
    if (!mkdtemp(pattern)) std::abort();
    kx::SetMessageBoxHandler([](const std::string&) {});  // failures are expected; keep the output quiet
    return std::string(pattern) + "/p.kxp";
  }();
  return path;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (std::FILE* f = std::fopen(File().c_str(), "wb")) {
    std::fwrite(data, 1, size, f);
    std::fclose(f);
  }
  kx::TProject project;
  if (project.LoadHeader(File()) != project.Loaded) std::abort();
  return 0;
}
