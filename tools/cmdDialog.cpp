// kxtool dialog: the settings dialog of a screensaver filled as the Open
// setting action fills it, and what it draws written as a PNG.
#include <stdexcept>

#include "config/FSettingWindow.h"
#include "config/uDialogSettings.h"
#include "devices/uWindowSystem.h"
#include "os/uFileAccess.h"
#include "raster/uPngIO.h"
#include "startup/uConfigureMode.h"
#include "startup/uStartup.h"
#include "tools/kxtool.h"
#include "ui/uWidgetCapture.h"

namespace kxtool {

int Dialog(const Args& args) {
  const char* usage = "usage: kxtool dialog FILE.scr -o OUT.png [--settings FILE.ini] [--page 1|2]";
  std::string out, settings, page = "1";
  std::vector<std::string> plain;
  for (size_t i = 0; i < args.size(); ++i) {
    const bool more = i + 1 < args.size();
    if (args[i] == "-o" && more) out = args[++i];
    else if (args[i] == "--settings" && more) settings = args[++i];
    else if (args[i] == "--page" && more) page = args[++i];
    else plain.push_back(args[i]);
  }
  if (plain.size() != 1 || out.empty() || (page != "1" && page != "2")) throw std::runtime_error(usage);
  const std::string& file = plain[0];
  if (!kx::CanOpenWindowSystem()) throw std::runtime_error("needs an X display (set DISPLAY; Xvfb will do)");
  if (!kx::OpenRegularFile(file)) throw std::runtime_error("cannot read " + file);
  const TWorkFolderScope work(file);
  kx::TKXCProject project;
  kx::TKXForms forms;
  kx::PreparePackage(project, forms, file);
  // Without --settings the dialog shows the project's values, as in a run
  // that does not persist; with it, that file is read as the user's.
  const kx::TDialogSettingsFile settingsFile =
      settings.empty() ? kx::TDialogSettingsFile{} : kx::DialogSettingsFile(file, {}, settings);
  kx::TfmSettingWindow dialog;
  kx::SetDialogControls(dialog, kx::ReadDialogSettings(project, settingsFile));
  dialog.FormShow();
  if (page == "2") dialog.PageControl1->value(dialog.TabSheet2);
  kx::WritePng(out, kx::CaptureWidget(dialog));
  return 0;
}

const TCommandGroup kDialogCommands{{
    {"dialog", Dialog, "dialog FILE.scr -o OUT.png [--settings FILE.ini] [--page 1|2]   fill the settings dialog as Open setting does and write what it draws"},
}};

}  // namespace kxtool
