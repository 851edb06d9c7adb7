// Modal message boxes with an OK button. The windowing layer installs a
// handler that shows a real box; until then, and wherever there is no
// display, the message goes to stderr.
#pragma once

#include <functional>
#include <string>
#include <string_view>

namespace kx {

using TMessageBoxHandler = std::function<void(const std::string& text)>;

// Shows text and returns when the user has closed the box.
void ShowMessageBox(const std::string& text);

// Installs a handler (an empty one restores the default) and returns the previous one.
TMessageBoxHandler SetMessageBoxHandler(TMessageBoxHandler handler);

// The default: one line "message: <text>" on stderr, CR and LF shown as \r and \n.
void PrintMessageBox(const std::string& text);

}  // namespace kx
