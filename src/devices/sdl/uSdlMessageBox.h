// Message boxes shown through SDL while a display is available.
#pragma once

#include <string>

#include "devices/uMessageBox.h"

namespace kx {

// Shows text in a modal box with an OK button and the symbol of its kind;
// prints it as the default handler does when no box can be shown.
void ShowSdlMessageBox(const std::string& text, TMessageKind kind);

}  // namespace kx
