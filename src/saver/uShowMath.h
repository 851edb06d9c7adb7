// The arithmetic of the show: fitting a picture to the screen, centring it,
// the back-picture sizes of the exclusive path, transition percentages and
// the list of allowed effects.
#pragma once

#include <cstdint>
#include <string_view>
#include <vector>

#include "raster/uGeometry.h"

namespace kx {

// The size a w x h picture is stretched to on a screen of sw x sh: the whole
// screen, or with proportional on the largest size of the picture's
// proportions that fills one side (the other rounded to the nearest, halves
// to even).
TPoint StretchTarget(int32_t w, int32_t h, int32_t sw, int32_t sh, bool proportional);

// Where a picture of w x h sits centred on a screen of sw x sh (negative when
// it is larger), each half truncated toward zero.
TPoint CentredOrigin(int32_t w, int32_t h, int32_t sw, int32_t sh);

// The back-picture size of the exclusive path for a quality of 0, 1 or 2;
// any other quality leaves size as it is.
void BackPictureSize(int32_t quality, TPoint& size);

// Frame i of n: i * 100 / n rounded to the nearest integer, halves to even.
int32_t TransitionPercent(int32_t i, int32_t n);

// The effect numbers of a "1,2,3" list: items split at ",", blanks and control
// characters around them skipped, items that are not numbers from 1 to 169
// dropped; the single number 1 when nothing remains.
std::vector<int32_t> ParseTransitionList(std::string_view text);

}  // namespace kx
