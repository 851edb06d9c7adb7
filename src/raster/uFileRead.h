// Opening a file the player reads: the operating system's side of it lives
// with the devices (devices/uFileAccess.h), the only place that knows how a
// platform opens, sizes and classifies files.
#pragma once

#include "devices/uFileAccess.h"
