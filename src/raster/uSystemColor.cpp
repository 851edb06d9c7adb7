#include "raster/uSystemColor.h"

#include <array>

namespace kx {
namespace {

// Indexed by system colour code 0..30 (scroll bar, desktop, active caption,
// inactive caption, menu, window, window frame, menu text, window text,
// caption text, active border, inactive border, application workspace,
// highlight, highlight text, button face, button shadow, grey text, button
// text, inactive caption text, button highlight, 3D dark shadow, 3D light,
// tooltip text, tooltip background, (unused), hot-tracked item, active and
// inactive caption gradients, menu highlight, menu bar), as RGB.
constexpr std::array<uint32_t, 31> kClassicColors = {
    0xC0C0C0, 0x008080, 0x000080, 0x808080, 0xC0C0C0, 0xFFFFFF, 0x000000, 0x000000,
    0x000000, 0xFFFFFF, 0xC0C0C0, 0xC0C0C0, 0x808080, 0x000080, 0xFFFFFF, 0xC0C0C0,
    0x808080, 0x808080, 0x000000, 0xC0C0C0, 0xFFFFFF, 0x000000, 0xC0C0C0, 0x000000,
    0xFFFFE1, 0x000000, 0x000080, 0x1084D0, 0xB5B5B5, 0x000080, 0xC0C0C0};

}  // namespace

TPixel SystemColorPixel(int32_t index) {
  const uint32_t rgb = index >= 0 && size_t(index) < kClassicColors.size() ? kClassicColors[size_t(index)] : 0;
  return MakePixel(uint8_t(rgb >> 16), uint8_t(rgb >> 8), uint8_t(rgb));
}

TPixel ColorValueToPixel(int32_t color) {
  const auto c = uint32_t(color);
  if ((c >> 24) == 0x80) return (c & 0x00FFFF00u) == 0 ? SystemColorPixel(int32_t(c & 0xFF)) : MakePixel(0, 0, 0);
  return MakePixel(uint8_t(c), uint8_t(c >> 8), uint8_t(c >> 16));
}

}  // namespace kx
