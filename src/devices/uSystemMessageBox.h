// The window system's own message boxes, where it has them. The Windows
// desktop has them (MessageBoxW, devices/gdi); X11 has none, so there the
// boxes are left to the window toolkit.
#pragma once

#include <string>

#include "devices/uMessageBox.h"

namespace kx {

struct TSystemMessageBoxes {
  TMessageBoxHandler Show;  // the text with an OK button
  TYesNoHandler Ask;        // the text with Yes and No; true for Yes
};

// Boxes captioned title, or empty handlers where the system has no boxes.
TSystemMessageBoxes SystemMessageBoxes(const std::string& title);

}  // namespace kx
