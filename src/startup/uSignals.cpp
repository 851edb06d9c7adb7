#include "startup/uSignals.h"

#include "os/uStopSignals.h"
#include "package/uWorkFolder.h"

namespace kx {

void InstallStopSignals() { WatchStopSignals(RemoveWorkFolderAtOnce); }

}  // namespace kx
