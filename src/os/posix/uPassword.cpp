#include "os/uPassword.h"

namespace kx {

// Linux: screen lockers keep their own passwords; there is nothing to change here.
void ChangeScreenSaverPassword(int64_t) {}

}  // namespace kx
