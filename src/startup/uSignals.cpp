#include "startup/uSignals.h"

#include "devices/uStopSignals.h"
#include "package/uWorkFolder.h"

namespace kx {

void InstallStopSignals() { WatchStopSignals(RemoveWorkFolderAtOnce); }

}  // namespace kx
