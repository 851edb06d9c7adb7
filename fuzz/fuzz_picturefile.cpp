// Fuzzes the picture file reader through a whole project load: the loader,
// the region map, the records and the build options. A load either fails
// cleanly or gives a project whose map matches its picture.
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <string>

#include "animation/uCreatorProject.h"
#include "fuzz/FuzzSupport.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string file = kxfuzz::WriteInput("p.kxp", data, size);
  kx::TProject project;
  if (project.Load(file)) {
    if (project.RegionMap.Width() != project.Picture.Width() || project.RegionMap.Height() != project.Picture.Height() ||
        project.UsedSoundCount() > 8)
      std::abort();
  } else if (project.Loaded || !project.Picture.Empty()) {
    std::abort();
  }
  return 0;
}
