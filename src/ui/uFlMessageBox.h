// Message boxes of the configuration windows: an FLTK box with the symbol the
// message calls for, the text and an OK button, or a question with Yes and
// No, over the windows of the program.
#pragma once

#include <string>

#include "devices/uMessageBox.h"

namespace kx {

// The caption every box shows (the screensaver's name).
void SetFlMessageBoxTitle(const std::string& title);
// The box for SetMessageBoxHandler: OK, Return, Escape and the close box close it.
void ShowFlMessageBox(const std::string& text, TMessageKind kind);
// The question box for SetYesNoHandler: true when Yes was clicked (Yes is
// also the Return key's button); No, the Escape key and the close box answer No.
bool AskFlYesNo(const std::string& text);

}  // namespace kx
