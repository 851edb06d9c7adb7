// The screensaver password change a host dialog asks for with /A. Windows
// hands it to "PwdChangePasswordA" of "MPR.DLL" in the system folder, with the
// provider "SCRSAVE" and the host's window (os/win32); a system whose
// library lacks that function does nothing, and so does Linux, where screen
// lockers keep their own passwords (os/posix). Nothing is extracted
// for it either way.
#pragma once

#include <cstdint>

namespace kx {

void ChangeScreenSaverPassword(int64_t hostWindow);

}  // namespace kx
