// The size the show composes its frames at for a screen (a monitor, a host
// window): the screen's own size up to 7680 x 4320 pixels (8K UHD), a larger
// screen at no more pixels than that with its proportions kept. Every frame
// bitmap of the show has this size, so a huge window costs what an 8K
// monitor costs; the display scales the frames up when it presents them.
#pragma once

#include <cstdint>

#include "raster/uGeometry.h"

namespace kx {

constexpr int64_t kMaxWorkingPixels = int64_t(7680) * 4320;

// Both sides at least 1 for a screen that has any pixels; an empty screen
// stays empty.
TPoint WorkingSize(TPoint screen);

}  // namespace kx
