// Xlib reports errors through one process-wide handler whose default ends
// the process. A window that vanishes under us (the daemon's window, or one
// of ours that another thread still sends a message to while it closes)
// must not end the program: the handler installed here records the error
// instead, and callers that care check it.
#pragma once

namespace kx {

// Installs the recording handler once; every later call does nothing.
void InstallX11ErrorHandler();
// The code of the last error recorded since the last Reset (0 for none).
int LastX11Error();
void ResetX11Error();

}  // namespace kx
