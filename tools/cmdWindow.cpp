// kxtool window: a configuration window built from a screensaver's window
// definitions, its show handler run, and what it draws written as a PNG.
#include <stdexcept>

#include "config/uDefinedWindow.h"
#include "devices/uPlatform.h"
#include "devices/x11/uX11Monitors.h"
#include "package/uWorkFolder.h"
#include "raster/uFileRead.h"
#include "raster/uPngIO.h"
#include "startup/uStartup.h"
#include "tools/kxtool.h"
#include "ui/uKXThumbnail2.h"
#include "ui/uWidgetCapture.h"

namespace kxtool {

int Window(const Args& args) {
  if (args.size() != 4 || args[2] != "-o") throw std::runtime_error("usage: kxtool window FILE.scr NAME -o OUT.png");
  const std::string& file = args[0];
  if (!kx::CanOpenX11Display()) throw std::runtime_error("needs an X display (set DISPLAY; Xvfb will do)");
  if (!kx::OpenRegularFile(file)) throw std::runtime_error("cannot read " + file);
  kx::InitWorkFolder(kx::ExpandLongPath(file), kx::TickCount());
  try {
    kx::TKXCProject project;
    kx::TKXForms forms;
    kx::PreparePackage(project, forms, file);
    // Not a persisting run: the user's settings file is neither read nor written.
    kx::TConfigContext context{forms, project, file, {}};
    std::unique_ptr<kx::TfmKXCOnfigWindow> window = kx::BuildDefinedWindow(context, args[1]);
    window->FormShow();
    for (kx::TComponent* c : window->Components)
      if (auto* grid = dynamic_cast<kx::TKXThumbnail2*>(c)) grid->WaitForThumbnails();
    kx::WritePng(args[3], kx::CaptureWidget(*window));
  } catch (...) {
    kx::RemoveWorkFolder();
    throw;
  }
  kx::RemoveWorkFolder();
  return 0;
}

}  // namespace kxtool
