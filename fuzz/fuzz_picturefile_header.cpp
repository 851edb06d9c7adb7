// Fuzzes the header-only read of picture files (title, description, thumbnail).
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <string>

#include "animation/uCreatorProject.h"
#include "devices/uMessageBox.h"
#include "fuzz/FuzzSupport.h"

namespace {

// Failures are expected; keep the output quiet.
const bool kQuiet = (kx::SetMessageBoxHandler([](const std::string&) {}), true);

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string file = kxfuzz::WriteInput("p.kxp", data, size);
  kx::TProject project;
  if (project.LoadHeader(file) != project.Loaded) std::abort();
  return 0;
}
