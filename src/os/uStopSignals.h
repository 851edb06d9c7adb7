// Ending when the system or the user asks the program to stop from outside:
// the run's clean-up goes first, at once, whatever the main thread is doing
// (unpacking, decoding, a transition, sitting in a message box's own loop),
// and the process then ends with a failure status.
//
// POSIX (os/posix): SIGTERM, SIGINT and SIGHUP are blocked in every
// thread and taken by one watcher thread, which runs the clean-up, ends the
// child processes the player forked (a toolkit's message box runs in one)
// and ends the process by the same signal, so the parent sees how it ended.
// Threads started afterwards inherit the blocked mask; a child process gets
// an empty mask back as it starts (forked: a fork handler clears it; for
// posix_spawn: POSIX_SPAWN_SETSIGMASK with an empty set).
//
// Once a stop signal is taken the main thread must not start anything the
// clean-up would miss: a child forked after the watcher looked for children
// would outlive the program, a file written after the clean-up would keep
// the work folder. Such starts (a fork, RunProgram, a message box, a file of
// the work folder) check first and, when the program is stopping, wait for
// the end the watcher brings instead of going on.
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

// True once a stop signal has been taken (its clean-up runs or has run, and
// the process is about to end).
bool StopSignalTaken();

// Returns at once while no stop signal has been taken; afterwards never
// returns: the calling thread waits for the end of the process. For the
// places where the main thread would start something the clean-up has to
// find (a message box, a child process, a file in the work folder). Never
// call it from the clean-up itself, nor while holding a lock the clean-up
// takes.
void HaltOnStopSignal();

// A child process about to start: while a TChildStart lives, the watcher
// does not begin its clean-up, so it either finds the child or the child is
// never started. Constructing one after a stop signal waits for the end of
// the process (HaltOnStopSignal). fork is covered on its own (POSIX); for
// other ways of starting a program.
class TChildStart {
 public:
  TChildStart();
  ~TChildStart();
  TChildStart(const TChildStart&) = delete;
  TChildStart& operator=(const TChildStart&) = delete;
};

}  // namespace kx
