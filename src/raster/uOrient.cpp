#include "raster/uOrient.h"

#include <utility>

namespace kx {
namespace {

// Each output pixel (x, y) comes from the source pixel (u, v), where u runs
// along the source's rows: u = x, v = y, or with Swap u = y, v = x; then
// MirrorU counts u from the right, MirrorV counts v from the bottom.
struct TOrientStep {
  bool Swap, MirrorU, MirrorV;
};

constexpr TOrientStep kSteps[9] = {
    {false, false, false},  // unused
    {false, false, false},  // 1 upright
    {false, true, false},   // 2 mirrored left to right
    {false, true, true},    // 3 turned half round
    {false, false, true},   // 4 mirrored top to bottom
    {true, false, false},   // 5 mirrored along the main diagonal
    {true, false, true},    // 6 turned a quarter clockwise
    {true, true, true},     // 7 mirrored along the other diagonal
    {true, true, false},    // 8 turned a quarter anticlockwise
};

}  // namespace

TBitmap32 Orient(TBitmap32 source, int orientation) {
  if (orientation <= 1 || orientation > 8 || source.Empty()) return source;
  const TOrientStep s = kSteps[orientation];
  const int32_t w = source.Width(), h = source.Height();
  TBitmap32 out(s.Swap ? h : w, s.Swap ? w : h);
  for (int32_t y = 0; y < out.Height(); ++y) {
    TPixel* row = out.Row(y);
    for (int32_t x = 0; x < out.Width(); ++x) {
      const int32_t u = s.Swap ? y : x, v = s.Swap ? x : y;
      row[x] = source.Pixel(s.MirrorU ? w - 1 - u : u, s.MirrorV ? h - 1 - v : v);
    }
  }
  return out;
}

}  // namespace kx
