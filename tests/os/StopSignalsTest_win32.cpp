#include <gtest/gtest.h>

#include <windows.h>

#include <cstdlib>
#include <string>

#include "os/uStopSignals.h"
#include "os/win32/uWidePath.h"
#include "support/TestSupport.h"

using namespace kx;
using kxtest::TScratchDir;

namespace {

constexpr char kChildVariable[] = "KXTEST_STOP_CHILD";
constexpr DWORD kStoppedStatus = 0xC000013A;

// What the test program started again reports when it cannot stop itself
// through a console of its own.
constexpr DWORD kNoConsole = 77;

// The test program started again: it installs the watch with a clean-up
// that records its runs in a file, takes a console of its own (so that the
// break reaches nothing else) and sends itself a break there, twice.
TEST(WatchStopSignals, ConsoleBreakRunsTheCleanUpOnceThenEndsTheProgram) {
  if (const char* marker = std::getenv(kChildVariable)) {
    const std::string path = marker;
    WatchStopSignals([path] { kxtest::WriteFile(path, kxtest::Exists(path) ? "twice" : "cleaned"); });
    ::FreeConsole();
    if (!::AllocConsole() || !::GenerateConsoleCtrlEvent(CTRL_BREAK_EVENT, 0)) ::ExitProcess(kNoConsole);
    ::GenerateConsoleCtrlEvent(CTRL_C_EVENT, 0);
    ::Sleep(INFINITE);
  }

  TScratchDir dir;
  const std::string marker = dir / "cleaned";
  kxtest::TEnv child(kChildVariable, marker);
  wchar_t exe[MAX_PATH + 1];
  ASSERT_GT(::GetModuleFileNameW(nullptr, exe, MAX_PATH + 1), 0u);
  std::wstring command = L"\"" + std::wstring(exe) + L"\" --gtest_filter=WatchStopSignals.*";
  STARTUPINFOW startup{};
  startup.cb = sizeof startup;
  PROCESS_INFORMATION process{};
  ASSERT_TRUE(::CreateProcessW(exe, command.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup,
                               &process));
  const bool ended = ::WaitForSingleObject(process.hProcess, 60000) == WAIT_OBJECT_0;
  DWORD status = 0;
  if (!ended) ::TerminateProcess(process.hProcess, 1);
  ::GetExitCodeProcess(process.hProcess, &status);
  ::CloseHandle(process.hThread);
  ::CloseHandle(process.hProcess);
  ASSERT_TRUE(ended);
  if (status == kNoConsole) GTEST_SKIP() << "no console can be had to send a break through";
  EXPECT_EQ(status, kStoppedStatus);
  EXPECT_EQ(kxtest::ReadFile(marker), "cleaned");
}

}  // namespace
