// Fuzzes the package container reader through a whole extraction: the input
// is a program file with whatever package it carries, unpacked into a scratch
// work folder and removed again. Nothing may be written outside that folder.
// The same package read in place must give the same files, byte for byte,
// and write nothing.
#include <dirent.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <optional>
#include <string>
#include <vector>

#include "fuzz/FuzzSupport.h"
#include "os/uFolderAccess.h"
#include "os/uPackedFiles.h"
#include "package/uContainer.h"
#include "package/uKXProject.h"
#include "package/uPackage.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string program = kxfuzz::WriteInput("program", data, size);
  const std::string work = kxfuzz::ScratchFolder() + "work/";
  ::mkdir(work.c_str(), 0700);
  kx::ExtractPackage(program, work);
  kx::TKXCProject project;
  project.LoadFromPackage(work + "KXC.res");
  project.RelocateFiles(work);
  const std::string inPlace = kxfuzz::ScratchFolder() + "inplace/";
  const std::vector<std::string> names = kx::UsePackageInPlace(program, inPlace);
  for (const std::string& name : names) {
    if (name.empty()) continue;
    const std::optional<std::string> packed = kx::ReadFileWindow(inPlace + name, size_t(1) << 30);
    const int fd = kx::OpenFolder(work);
    const std::string extracted = kx::ReadFileIn(fd, name, size_t(1) << 30);
    kx::CloseFolder(fd);
    if (packed.value_or("") != extracted) std::abort();
  }
  kx::ClearPackedFiles();
  kx::RemoveExtractedFiles(work);
  // Everything extracted was removed again, and nothing was written beside the work folder.
  struct stat st {};
  if (::lstat(work.c_str(), &st) == 0) std::abort();
  if (DIR* dir = ::opendir(kxfuzz::ScratchFolder().c_str())) {
    while (const dirent* e = ::readdir(dir)) {
      const std::string name = e->d_name;
      if (name != "." && name != ".." && name != "program") std::abort();
    }
    ::closedir(dir);
  }
  return 0;
}
