// Block copies between bitmaps, honouring the destination's clip region.
//
// Both copies skip whatever falls outside either bitmap or outside the
// destination's clip. The source may be the destination itself, with
// overlapping blocks: the result is as if the whole source block had been
// read before anything was written.
#pragma once

#include <cstdint>

#include "raster/uBitmap.h"
#include "raster/uRegion.h"

namespace kx {

// Copies the w x h block at (sx, sy) of src to (dx, dy) of dst, pixel for
// pixel (all four bytes). A width or height of 0 or less copies nothing.
void Copy(TBitmap32& dst, int32_t dx, int32_t dy, int32_t w, int32_t h, const TBitmap32& src, int32_t sx,
          int32_t sy);

// Scales the sw x sh block at (sx, sy) of src onto the dw x dh block at
// (dx, dy) of dst: every destination pixel takes the source pixel under its
// centre's scaled position, without filtering. A negative dw mirrors
// left-right: the destination columns are dx, dx - 1, ..., dx + dw + 1 and the
// leftmost source column lands at dx; a negative dh mirrors likewise
// vertically (a negative sw or sh mirrors the source the same way). A block
// of zero width or height draws nothing.
void StretchCopy(TBitmap32& dst, int32_t dx, int32_t dy, int32_t dw, int32_t dh, const TBitmap32& src, int32_t sx,
                 int32_t sy, int32_t sw, int32_t sh);

// From now on drawing into the bitmap is limited to a copy of the region;
// nullptr removes the clip.
void SetClip(TBitmap32& bitmap, const TRegion* region);
// Removes the rectangle (corners put in order first) from the current clip;
// a bitmap without a clip counts as clipped to its whole area.
void ExcludeClip(TBitmap32& bitmap, int32_t left, int32_t top, int32_t right, int32_t bottom);

// Removes the bitmap's clip when it goes out of scope, also when an error passes.
class TClipReset {
 public:
  explicit TClipReset(TBitmap32& bitmap) : m_bitmap(bitmap) {}
  ~TClipReset() { SetClip(m_bitmap, nullptr); }
  TClipReset(const TClipReset&) = delete;
  TClipReset& operator=(const TClipReset&) = delete;

 private:
  TBitmap32& m_bitmap;
};

}  // namespace kx
