// A message box asked for after a stop signal was taken: it would outlive the
// player (a toolkit may show it in a child process) or keep it waiting for a
// click, so nothing shows and the player ends by the signal.
#include <gtest/gtest.h>
#include <signal.h>
#include <unistd.h>

#include "devices/uMessageBox.h"
#include "support/StopSignalRun.h"

using namespace kx;

namespace {

TEST(MessageBox, NoBoxShowsOnceAStopSignalIsTaken) {
  struct TCase {
    const char* name;
    void (*ask)(int report);
  };
  const TCase cases[] = {
      {"message", [](int report) {
         SetMessageBoxHandler([report](const std::string&) { (void)!::write(report, "shown", 5); });
         ShowMessageBox("This screensaver does not contain any image.");
       }},
      {"question", [](int report) {
         SetYesNoHandler([report](const std::string&) { return ::write(report, "asked", 5) == 5; });
         AskYesNo("Remove?");
       }},
  };
  for (const TCase& c : cases) {
    SCOPED_TRACE(c.name);
    const kxtest::TStoppedRun run = kxtest::RunAfterStopSignal(c.ask);
    EXPECT_EQ(run.Signal, SIGTERM);
    EXPECT_EQ(run.Report, "");
  }
}

}  // namespace
