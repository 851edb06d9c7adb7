// The screensaver password change a host dialog asks for with /A. Windows of
// the 9x family hand it to "PwdChangePasswordA" of "MPR.DLL" with the provider
// "SCRSAVE" and the host's window; other systems have no such service and do
// nothing. Nothing is extracted for it either way.
#pragma once

#include <cstdint>

namespace kx {

void ChangeScreenSaverPassword(int64_t hostWindow);

}  // namespace kx
