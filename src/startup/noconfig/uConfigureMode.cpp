// The configuration mode of a build made without the window toolkit (the
// configuration window and the settings dialog are built with it): it says
// so in a box and ends. The show, the preview and the password change do
// not need the toolkit and work as in every build.
#include "devices/sdl/uSdlMessageBox.h"
#include "devices/uMessageBox.h"
#include "package/uWorkFolder.h"
#include "startup/uStartup.h"

namespace kx {

int ConfigureMode(TKXCProject&, const std::string&, const std::vector<std::string>&) {
  const TMessageBoxHandler previous = SetMessageBoxHandler(ShowSdlMessageBox);
  ShowMessageBox("This build of the screensaver has no configuration window.");
  SetMessageBoxHandler(previous);
  RemoveWorkFolder();
  return 1;
}

}  // namespace kx
