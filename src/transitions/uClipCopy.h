// The step most region effects end with: the new picture copied in place
// through a region, the clip removed again on every path.
#pragma once

#include <cstdint>
#include <optional>

#include "raster/uBitmap.h"
#include "raster/uBlit.h"
#include "raster/uRegion.h"

namespace kx {

// Copies Src over Dest (W x H from the origin) wherever region covers; with
// no region the copy has no clip.
inline void CopyThrough(TBitmap32& Dest, const TBitmap32& Src, int32_t W, int32_t H, const TRegion* region) {
  const TClipReset reset(Dest);
  SetClip(Dest, region);
  Copy(Dest, 0, 0, W, H, Src, 0, 0);
}

inline void CopyThrough(TBitmap32& Dest, const TBitmap32& Src, int32_t W, int32_t H, const TRegion& region) {
  CopyThrough(Dest, Src, W, H, &region);
}

inline void CopyThrough(TBitmap32& Dest, const TBitmap32& Src, int32_t W, int32_t H,
                        const std::optional<TRegion>& region) {
  CopyThrough(Dest, Src, W, H, region ? &*region : nullptr);
}

}  // namespace kx
