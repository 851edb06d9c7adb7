#include "devices/uWorkingSize.h"

#include <algorithm>
#include <cmath>

namespace kx {

TPoint WorkingSize(TPoint screen) {
  const int64_t pixels = int64_t(screen.X) * screen.Y;
  if (screen.X <= 0 || screen.Y <= 0 || pixels <= kMaxWorkingPixels) return screen;
  const double scale = std::sqrt(double(kMaxWorkingPixels) / double(pixels));
  int32_t w = std::max(1, int32_t(screen.X * scale)), h = std::max(1, int32_t(screen.Y * scale));
  // Rounding may leave a pixel row too many.
  while (int64_t(w) * h > kMaxWorkingPixels) (w > h ? w : h) -= 1;
  return {w, h};
}

}  // namespace kx
