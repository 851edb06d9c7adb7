#include "os/uRunProgram.h"

namespace kx {

// The Windows backend sets the wallpaper and talks to the system through its
// own calls; it runs no helper programs of a desktop, so none is ever started.
TProgramResult RunProgram(const std::vector<std::string>&, bool, int) { return {}; }

}  // namespace kx
