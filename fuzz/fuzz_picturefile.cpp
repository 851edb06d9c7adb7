// Fuzzes the picture file reader through a whole project load: the loader,
// the region map, the records and the build options. A load either fails
// cleanly or gives a project whose map matches its picture (or is empty: the
// 0 x 0 map of a picture without water), with the picture and the thumbnail
// within their pixel budgets.
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <string>

#include "animation/uCreatorProject.h"
#include "fuzz/FuzzSupport.h"
#include "raster/uDecodeError.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string file = kxfuzz::WriteInput("p.kxp", data, size);
  kx::TProject project;
  if (project.Load(file)) {
    const bool mapFits = project.RegionMap.Empty() || (project.RegionMap.Width() == project.Picture.Width() &&
                                                       project.RegionMap.Height() == project.Picture.Height());
    if (!mapFits ||
        project.UsedSoundCount() > 8 ||
        int64_t(project.Picture.Width()) * project.Picture.Height() > kx::kMaxDecodedPixels ||
        int64_t(project.Thumbnail.Width()) * project.Thumbnail.Height() > kx::kMaxThumbnailPixels)
      std::abort();
  } else if (project.Loaded || !project.Picture.Empty()) {
    std::abort();
  }
  return 0;
}
