// Message boxes of the configuration windows: an FLTK box with the text and
// an OK button, or a question with Yes and No, over the windows of the program.
#pragma once

#include <string>

namespace kx {

// The caption every box shows (the screensaver's name).
void SetFlMessageBoxTitle(const std::string& title);
void ShowFlMessageBox(const std::string& text);
// The question box for SetYesNoHandler: true when Yes was clicked; No, the
// Escape key and the close box answer No.
bool AskFlYesNo(const std::string& text);

}  // namespace kx
