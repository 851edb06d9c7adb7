// What the windows of the configuration mode work on: the process's window
// definitions and project, the program's path and arguments (which decide
// whether the user settings file is read and written), and the ways out of
// a window that other parts carry out.
#pragma once

#include <functional>
#include <string>
#include <vector>

#include "os/uErrorSink.h"
#include "package/uKXProject.h"
#include "ui/uKXForms.h"

namespace kx {

class TfmKXCOnfigWindow;

struct TConfigContext {
  const TKXForms& Forms;
  TKXCProject& Project;
  std::string ProgramPath;
  std::vector<std::string> Args;  // the command line without the program
  // The user settings file to use instead of the program's own; setting it
  // makes the run a persisting one (kxtool's --settings).
  std::string SettingsFile{};

  // Whether this run reads and writes the user settings file, and which file.
  bool Persisting() const;
  std::string SettingsPath() const;

  // Hands a target (a web address, a file) to the desktop's opener (the
  // configuration mode sets os/'s OpenDocument). Unset, nothing opens.
  std::function<void(const std::string& target)> OpenUrl{};
  // "Preview selected file", "Open setting" and "Set as a Wallpaper": the
  // full-screen picture, the settings dialog and the wallpaper. Unset, the
  // action does nothing.
  std::function<void(TfmKXCOnfigWindow& window, int index)> PreviewPicture{};
  std::function<void(TfmKXCOnfigWindow& window)> OpenSettings{};
  std::function<void(TfmKXCOnfigWindow& window, int index)> SetWallpaper{};
  // Errors the windows drop and carry on from (a thumbnail that does not
  // decode); nowhere when null.
  IErrorSink* Errors = nullptr;
};

}  // namespace kx
