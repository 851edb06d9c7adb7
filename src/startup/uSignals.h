// Ending on a signal: SIGTERM, SIGINT and SIGHUP end the program in any phase
// (unpacking, loading, a transition, the idle loop, a message box) within a
// moment, with its work folder removed and no child process left behind.
//
// The three signals are blocked in every thread and taken by one watcher
// thread, which does the clean-up itself instead of waiting for the main
// thread to notice a flag: a main thread busy decoding or sitting in a
// message box's own loop would answer too late. The watcher then ends the
// process by the same signal, so the parent sees how it ended.
//
// Threads and child processes started afterwards inherit the blocked mask;
// a program started by the player must get the default mask back (for
// posix_spawn: POSIX_SPAWN_SETSIGMASK with an empty set).
#pragma once

namespace kx {

// Call first thing in main, before any other thread or the work folder exists.
void InstallStopSignals();

}  // namespace kx
