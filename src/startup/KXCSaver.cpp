// The player: plays the project package appended to its own file.
#include <string>
#include <vector>

#include "os/uPlatform.h"
#include "package/uWorkFolder.h"
#include "startup/uSignals.h"
#include "startup/uStartup.h"

int main(int argc, char** argv) {
  // The work number is fixed first, from the tick count at start.
  const uint32_t startTick = kx::TickCount();
  kx::InstallStopSignals();
  const std::string program = kx::ExecutablePath();
  kx::InitWorkFolder(kx::ExpandLongPath(program), startTick);
  return kx::RunPlayer(std::vector<std::string>(argv + 1, argv + argc), program);
}
