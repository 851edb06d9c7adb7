// Message boxes of the configuration windows: an FLTK box with the text and
// an OK button, over the windows of the program.
#pragma once

#include <string>

namespace kx {

// The caption every box shows (the screensaver's name).
void SetFlMessageBoxTitle(const std::string& title);
void ShowFlMessageBox(const std::string& text);

}  // namespace kx
