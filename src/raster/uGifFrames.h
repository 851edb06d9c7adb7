// Every frame of an animated GIF, composed as it is shown: each frame is
// drawn over what the previous ones left on a canvas of the GIF's logical
// screen, which starts filled with kGifKeyFill (yellow, alpha 0); frame pixels
// are opaque. After a frame, its disposal method clears its rectangle back to
// the fill (2), restores what was there before it (3), or leaves it (others).
//
// Bad input decodes what it can: frame rectangles are clipped to the screen,
// a frame whose data breaks off keeps the rows read before the break and ends
// the animation, and the composed frames stop at a memory budget. Lines of a
// frame below the last one that shows are skipped without being decoded, and
// decoding stops once the frame lines decoded would exceed MaxBytes / 4
// pixels (frames that fit the screen reach the memory budget first).
#pragma once

#include <cstddef>
#include <cstdint>
#include <span>
#include <vector>

#include "raster/uBitmap.h"

namespace kx {

struct TGifFrameOptions {
  // Off: no frame has a transparent colour.
  bool Transparent = true;
  // 0: each frame's graphic control extension says (the file's own
  // transparency); 1: the global table's first entry of the colour of the
  // first frame's bottom-left pixel; 2: the global table's first entry of
  // KeyColor. With 1 or 2 that index is transparent in every frame that has
  // a graphic control extension, and no colour is when the table lacks it.
  int32_t TransparentType = 0;
  TPixel KeyColor = 0;  // type 2; alpha ignored
  // Every frame with a graphic control extension clears its rectangle after it.
  bool RefreshFrame = false;
  // Composed frames stop once they would take more than this.
  size_t MaxBytes = size_t(256) << 20;
};

struct TGifFrames {
  int32_t Width = 0, Height = 0;
  std::vector<TBitmap32> Frames;  // each Width x Height
  std::vector<uint32_t> Delays;   // hundredths of a second, as stored
};

// Throws TDecodeError when not even one frame decodes.
TGifFrames DecodeGifFrames(std::span<const uint8_t> data, const TGifFrameOptions& options);

// The frame shown `elapsedMs` after the animation started, looping forever,
// at `speed` percent of the GIF's own timing (0..1000; 0 keeps frame 0). A
// stored delay of 0 or 1 hundredth plays as 10 hundredths, as browsers do:
// taken literally it would race through such frames at the show's frame rate.
size_t GifFrameAt(std::span<const uint32_t> delays, uint64_t elapsedMs, int32_t speed);

}  // namespace kx
