// The configuration window mode (/C, or no argument): the package's
// MainWindow with its settings dialog, wallpaper and full-screen preview.
#include "startup/uConfigureMode.h"

#include <cstdio>

#include "config/FSettingWindow.h"
#include "config/uDefinedWindow.h"
#include "config/uWallpaperFlow.h"
#include "devices/uMessageBox.h"
#include "devices/uSystemMessageBox.h"
#include "devices/uWindowSystem.h"
#include "os/uRunProgram.h"
#include "package/uWorkFolder.h"
#include "saver/FKXScrSvr.h"
#include "startup/uStartup.h"
#include "ui/uFlMessageBox.h"

namespace kx {

bool PreparePackage(TKXCProject& project, TKXForms& forms, const std::string& programPath) {
  const bool expanded = PreparePackage(project, programPath);
  forms.LoadDefinitions(project.UISettings.UIFile);
  return expanded;
}

int ConfigureMode(TKXCProject& project, const std::string& programPath, const std::vector<std::string>& args) {
  TKXForms forms;
  // A package or definitions file that does not load is told in a box like
  // every other error of this mode: started from a file manager, the user
  // sees no terminal.
  std::string failure;
  try {
    PreparePackage(project, forms, programPath);
  } catch (const std::exception& e) {
    failure = e.what();
  }
  const bool display = CanOpenWindowSystem();
  // Boxes over the windows, unless the caller has its own way to show them:
  // the window system's own where it has them, else the toolkit's.
  const TSystemMessageBoxes system = SystemMessageBoxes(project.Settings.ProductName);
  const TMessageBoxHandler boxes = system.Show ? system.Show : TMessageBoxHandler(ShowFlMessageBox);
  const TMessageBoxHandler previous = SetMessageBoxHandler(display ? boxes : TMessageBoxHandler{});
  if (previous) SetMessageBoxHandler(previous);
  if (!display && (failure.empty() || !previous)) {
    // No box can show: the reason goes to stderr.
    if (failure.empty()) failure = "the configuration window needs a display";
    std::fprintf(stderr, "kxcsaver: %s\n", failure.c_str());
  } else if (!failure.empty()) {
    SetFlMessageBoxTitle(project.Settings.ProductName);
    ShowMessageBox(failure, TMessageKind::Error);
  }
  if (!display || !failure.empty()) {
    SetMessageBoxHandler(previous);
    RemoveWorkFolder();
    return 1;
  }
  SetFlMessageBoxTitle(project.Settings.ProductName);
  int status = 0;
  const TYesNoHandler previousQuestion = SetYesNoHandler(system.Ask ? system.Ask : AskFlYesNo);
  if (previousQuestion) SetYesNoHandler(previousQuestion);
  try {
    // The full-screen previews are shows one after another: the move
    // counter of the input rules carries on from one to the next.
    TInputState input;
    TConfigContext context{forms, project, programPath, args};
    context.OpenUrl = [](const std::string& target) { OpenDocument(target); };
    context.OpenSettings = OpenSettingsDialog;
    context.SetWallpaper = SetWallpaperFlow;
    // The picture full screen on the show's own devices, over the window;
    // the window carries on when the show ends.
    context.PreviewPicture = [&](TfmKXCOnfigWindow&, int index) {
      const TMessageBoxHandler boxes = SetMessageBoxHandler({});
      try {
        TSaverDevices devices = MakeSaverDevices();
        SetMessageBoxHandler(boxes);
        TSaverContext show{*devices.Display, *devices.Clock, programPath, std::nullopt, nullptr, &input};
        show.Sound = devices.Sound.get();
        show.Music = devices.Music.get();
        show.WorkFolder = GetWorkFolder();
        ShowPictureFullScreen(project, project.FileList.Names[size_t(index)], false, show);
      } catch (const std::exception& e) {
        SetMessageBoxHandler(boxes);
        ShowMessageBox(e.what(), TMessageKind::Error);
      }
      SetMessageBoxHandler(boxes);
    };
    ShowDefinedWindow(context, "MainWindow");
  } catch (const std::exception& e) {
    ShowMessageBox(e.what(), TMessageKind::Error);
    status = 1;
  }
  SetMessageBoxHandler(previous);
  SetYesNoHandler(previousQuestion);
  RemoveWorkFolder();
  return status;
}

}  // namespace kx
