// Fuzzes the picture file reader through a whole project load: the loader,
// the region map, the records and the build options. A load either fails
// cleanly or gives a project whose map matches its picture.
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <string>

#include "animation/uCreatorProject.h"

namespace {

const std::string& File() {
  static const std::string path = [] {
    char pattern[] = "/tmp/kxfuzz_picturefile_XXXXXX";
    if (!mkdtemp(pattern)) std::abort();
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
  if (project.Load(File())) {
    if (project.RegionMap.Width() != project.Picture.Width() || project.RegionMap.Height() != project.Picture.Height() ||
        project.UsedSoundCount() > 8)
      std::abort();
  } else if (project.Loaded || !project.Picture.Empty()) {
    std::abort();
  }
  return 0;
}
