// kxtool objects: the animated objects of a picture file as the player reads
// them, each as the settings text it would save (before it starts).
#include <cstdio>
#include <stdexcept>

#include "animation/uCreatorProject.h"
#include "animation/uObjectPicture.h"
#include "tools/kxtool.h"

namespace kxtool {

int Objects(const Args& args) {
  if (args.size() != 1) throw std::runtime_error("usage: kxtool objects FILE.kxp");
  kx::TProject project;
  if (!project.Load(args[0])) {
    std::fprintf(stderr, "%s\n", project.LoadError.c_str());
    return 1;
  }
  for (size_t i = 0; i < project.Objects.Count(); ++i) {
    const kx::TAnimObject& o = project.Objects[i];
    const bool gif = dynamic_cast<const kx::TGifObject*>(&o) != nullptr;
    std::printf("# object %d %s\n%s", o.Index, gif ? "GIF" : "IMG", o.SaveToText().c_str());
  }
  return 0;
}

}  // namespace kxtool
