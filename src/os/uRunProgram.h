// Running a helper program of the desktop (a settings tool, a message bus
// client) and waiting for it a bounded time. The program gets its arguments
// as a vector, never through a shell, so a path with blanks or quotes is one
// argument whatever it holds.
#pragma once

#include <cstddef>
#include <string>
#include <vector>

namespace kx {

struct TProgramResult {
  bool Started = false;   // false: not found or not executable
  bool TimedOut = false;  // still running at the deadline; it was then killed
  int ExitCode = -1;      // the status it exited with; -1 when it did not exit by itself
  std::string Output;     // what it wrote on stdout, when asked for, at most kMaxProgramOutput bytes

  bool Succeeded() const { return Started && !TimedOut && ExitCode == 0; }
};

inline constexpr int kProgramTimeoutMs = 5000;
inline constexpr size_t kMaxProgramOutput = size_t(1) << 20;

// Runs argv[0] (looked up in PATH) with argv[1..]. Its stdin and stderr are
// /dev/null, and so is stdout unless captureOutput; the default signal mask
// and dispositions are restored in the child. Returns when the program has
// ended, or kills it at timeoutMs.
TProgramResult RunProgram(const std::vector<std::string>& argv, bool captureOutput = false,
                          int timeoutMs = kProgramTimeoutMs);

// Hands a web address or a file to the desktop's opener and returns without
// waiting for it: xdg-open on Linux, the shell's "open" verb on Windows
// (ShellExecuteW). False when the opener could not be started.
bool OpenDocument(const std::string& target);

}  // namespace kx
