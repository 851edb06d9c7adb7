// The window definitions ("KXGUI.kxu") that kxtool make gives a screensaver
// made from a folder: the demo's skinned main window and About window made
// generic, carried inside kxtool so that it needs no data file beside it.
// The build compiles them in from tools/windows/KXGUI.kxu, which
// demo/source/make_windows.py makes from the same drawing as the demo's.
#pragma once

#include <string_view>

namespace kxtool {

std::string_view FolderWindows();

}  // namespace kxtool
