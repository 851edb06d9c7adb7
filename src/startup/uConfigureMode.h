// The configuration mode's preparation: the package, then the window
// definitions its MainWindow and the other windows are built from.
#pragma once

#include <string>

#include "package/uKXProject.h"
#include "ui/uKXForms.h"

namespace kx {

// PreparePackage (startup/uStartup.h), then the window definitions the
// project's UI settings name; a definitions file that does not load throws
// its loader's message.
bool PreparePackage(TKXCProject& project, TKXForms& forms, const std::string& programPath);

}  // namespace kx
