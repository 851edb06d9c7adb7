// Colours as settings store them: a 32-bit colour value that is either RGB
// (red in the low byte, then green, then blue) or, with the top byte 0x80, a
// system colour code whose low byte names an entry of the system palette.
// There is no system palette to ask on every platform, so codes resolve to
// the fixed colours of the classic Windows default scheme.
#pragma once

#include <cstdint>

#include "raster/uBitmap.h"

namespace kx {

// The opaque pixel of a colour value; an unknown system colour code gives black.
TPixel ColorValueToPixel(int32_t color);
// The opaque pixel of the system colour with that index (15 is the button
// face); black for an index the scheme does not have.
TPixel SystemColorPixel(int32_t index);

}  // namespace kx
