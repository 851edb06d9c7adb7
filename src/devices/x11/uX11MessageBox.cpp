// X11 draws no message boxes of its own: the toolkit's boxes stand in.
#include "devices/uSystemMessageBox.h"

namespace kx {

TSystemMessageBoxes SystemMessageBoxes(const std::string&) { return {}; }

}  // namespace kx
