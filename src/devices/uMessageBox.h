// Modal message boxes with an OK button, and questions with Yes and No. The
// windowing layer installs handlers that show real boxes; until then, and
// wherever there is no display, the message goes to stderr (and a question
// is answered No, so nothing happens that nobody agreed to). Once a stop
// signal is taken no box shows: the caller waits for the program's end.
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

// Answers a question box: true for Yes.
using TYesNoHandler = std::function<bool(const std::string& text)>;

// Shows text with a question symbol and the buttons Yes and No; true when
// the user chose Yes (closing the box otherwise is No).
bool AskYesNo(const std::string& text);

// Installs a handler (an empty one restores the default) and returns the previous one.
TYesNoHandler SetYesNoHandler(TYesNoHandler handler);

// The default: one line "question: <text>" on stderr, as PrintMessageBox
// writes it; the answer is No.
bool PrintYesNo(const std::string& text);

}  // namespace kx
