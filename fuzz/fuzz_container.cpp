// Fuzzes the package container reader through a whole extraction: the input
// is a program file with whatever package it carries, unpacked into a scratch
// work folder and removed again. Nothing may be written outside that folder.
#include <sys/stat.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <string>

#include "package/uContainer.h"
#include "package/uKXProject.h"
#include "package/uPackage.h"

namespace {

const std::string& Scratch() {
  static const std::string dir = [] {
    char pattern[] = "/tmp/kxfuzz_container_XXXXXX";
    if (!mkdtemp(pattern)) std::abort();
    return std::string(pattern) + "/";
  }();
  return dir;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string program = Scratch() + "program";
  const std::string work = Scratch() + "work/";
  if (std::FILE* f = std::fopen(program.c_str(), "wb")) {
    std::fwrite(data, 1, size, f);
    std::fclose(f);
  }
  ::mkdir(work.c_str(), 0700);
  kx::ExtractPackage(program, work);
  kx::TKXCProject project;
  project.LoadFromPackage(work + "KXC.res");
  project.RelocateFiles(work);
  kx::RemoveExtractedFiles(work);
  ::rmdir(work.c_str());
  return 0;
}
