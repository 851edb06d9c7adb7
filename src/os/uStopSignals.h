// Ending when the system or the user asks the program to stop from outside:
// the run's clean-up goes first, at once, whatever the main thread is doing
// (unpacking, decoding, a transition, sitting in a message box's own loop),
// and the process then ends with a failure status.
//
// POSIX (os/posix): SIGTERM, SIGINT and SIGHUP are blocked in every
// thread and taken by one watcher thread, which runs the clean-up, ends the
// child processes the player forked (a toolkit's message box runs in one)
// and ends the process by the same signal, so the parent sees how it ended.
// Threads and child processes started afterwards inherit the blocked mask;
// a program started by the player must get the default mask back (for
// posix_spawn: POSIX_SPAWN_SETSIGMASK with an empty set).
//
// Windows (os/win32): the console's Ctrl+C, Ctrl+Break, close, log-off
// and shut-down events. The system runs the handler on a thread of its own;
// the clean-up runs once (a second event waits for it), then the process
// ends with STATUS_CONTROL_C_EXIT, the status Ctrl+C gives a program that
// has no handler.
#pragma once

#include <functional>

namespace kx {

// Call once, first thing in main, before any other thread or the work
// folder exists. cleanUp runs on another thread than the main one, at most
// once; it must not wait for the main thread.
void WatchStopSignals(std::function<void()> cleanUp);

}  // namespace kx
