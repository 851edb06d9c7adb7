// kxtool window: a configuration window built from a screensaver's window
// definitions, its show handler run, and what it draws written as a PNG.
#include <optional>
#include <stdexcept>

#include "config/uDefinedWindow.h"
#include "devices/uWindowSystem.h"
#include "os/uFileAccess.h"
#include "os/uPlatform.h"
#include "package/uIniFile.h"
#include "package/uWorkFolder.h"
#include "raster/uPngIO.h"
#include "startup/uConfigureMode.h"
#include "startup/uStartup.h"
#include "tools/kxtool.h"
#include "ui/uKXThumbnail2.h"
#include "ui/uWidgetCapture.h"

namespace kxtool {

int Window(const Args& args) {
  const char* usage = "usage: kxtool window FILE.scr NAME -o OUT.png [--settings FILE.ini] [--select N]";
  std::string out, settings;
  std::optional<int32_t> select;
  std::vector<std::string> plain;
  for (size_t i = 0; i < args.size(); ++i) {
    const bool more = i + 1 < args.size();
    if (args[i] == "-o" && more) out = args[++i];
    else if (args[i] == "--settings" && more) settings = args[++i];
    else if (args[i] == "--select" && more) {
      select = kx::ParseInteger(args[++i]);
      if (!select) throw std::runtime_error(usage);
    } else plain.push_back(args[i]);
  }
  if (plain.size() != 2 || out.empty()) throw std::runtime_error(usage);
  const std::string& file = plain[0];
  if (!kx::CanOpenWindowSystem()) throw std::runtime_error("needs an X display (set DISPLAY; Xvfb will do)");
  if (!kx::OpenRegularFile(file)) throw std::runtime_error("cannot read " + file);
  const TWorkFolderScope work(file);
  kx::TKXCProject project;
  kx::TKXForms forms;
  kx::PreparePackage(project, forms, file);
  // Without --settings no settings file is read or written.
  kx::TConfigContext context{forms, project, file, {"/p"}};
  context.SettingsFile = settings;
  std::unique_ptr<kx::TfmKXCOnfigWindow> window = kx::BuildDefinedWindow(context, plain[1]);
  window->FormShow();
  if (select) window->SelectPicture(*select);
  for (kx::TComponent* c : window->Components)
    if (auto* grid = dynamic_cast<kx::TKXThumbnail2*>(c)) {
      grid->WaitForThumbnails();
      if (select) grid->SelectItem(window->CurrentIndex);
    }
  kx::WritePng(out, kx::CaptureWidget(*window));
  return 0;
}

const TCommandGroup kWindowCommands{{
    {"window", Window, "window FILE.scr NAME -o OUT.png [--settings FILE.ini] [--select N]   build a configuration window off screen and write what it draws"},
}};

}  // namespace kxtool
