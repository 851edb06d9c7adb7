#include "ui/uFlOptions.h"

#include <FL/Fl.H>

#include "os/uUserFiles.h"

namespace kx {

void PrepareFltkOptions() {
  // The first question reads every option; FLTK keeps them for the run.
  static const bool read = [] {
    RunWithoutHomeFolder([] { Fl::option(Fl::OPTION_VISIBLE_FOCUS); });
    return true;
  }();
  (void)read;
}

}  // namespace kx
