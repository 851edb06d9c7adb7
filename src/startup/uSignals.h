// Ending on a signal: SIGTERM, SIGINT and SIGHUP (on Windows the console's
// stop events) end the program in any phase (unpacking, loading, a
// transition, the idle loop, a message box) within a moment, with its work
// folder removed and no child process left behind. The system's part is
// WatchStopSignals (os/uStopSignals.h); this layer gives it the
// clean-up.
#pragma once

namespace kx {

// Call first thing in main, before any other thread or the work folder exists.
void InstallStopSignals();

}  // namespace kx
