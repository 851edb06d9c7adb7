// Drawing an animated object's picture over a frame: stretched by nearest
// pixel onto a rectangle, optionally mirrored left to right, blended with a
// master alpha by one of two rules.
//
// Picture rule: M := master alpha, or (the source pixel's fourth byte) x
// master alpha div 255 when the alpha channel is used; a source pixel equal
// to the key (all 32 bits) is skipped when the key is used. GIF rule: a
// source pixel of colour red 255, green 255, blue 0 is skipped (whatever its
// fourth byte); M := master alpha. Every other pixel B receiving F becomes
// channel := (F.c x M + B.c x (255 - M)) div 255, fourth byte := M.
#pragma once

#include <cstdint>

#include "raster/uBitmap.h"
#include "raster/uGeometry.h"

namespace kx {

enum class TBlendRule : uint8_t { Picture, Gif };

struct TObjectBlend {
  TBlendRule Rule = TBlendRule::Picture;
  uint8_t Alpha = 255;    // master alpha
  bool UseAlpha = false;  // picture rule: weigh by the source's fourth byte
  bool UseKey = false;    // picture rule: skip pixels equal to Key
  TPixel Key = 0;
};

// The colour the GIF rule skips, as a GIF object's empty canvas holds it.
inline constexpr TPixel kGifKeyFill = MakePixel(255, 255, 0, 0);

// Draws src stretched over rect (right and bottom exclusive) of dst, clipped
// to dst; mirrored reads the source columns right to left. Each destination
// pixel takes the source pixel under its centre. An empty rect or source
// draws nothing. Allocates nothing once its column table has grown to the
// widest rectangle drawn.
void StretchBlend(TBitmap32& dst, const TRect& rect, const TBitmap32& src, bool mirrored, const TObjectBlend& blend);

// t div 255 for 0 <= t <= 255 * 255.
constexpr uint32_t Div255Floor(uint32_t t) { return (t + 1 + (t >> 8)) >> 8; }

}  // namespace kx
