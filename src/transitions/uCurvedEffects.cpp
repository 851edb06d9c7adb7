#include "transitions/uCurvedEffects.h"

#include "raster/uBlit.h"
#include "transitions/uClipCopy.h"

namespace kx {

// Bands from beyond one edge to twice the extent, one pixel longer than the
// picture across; the corner ellipse, as long as twice the picture, is cut
// down to the band's width across it and closes the band with a half-ellipse
// whose tip runs from the edge to twice across the picture.

void CurvedRevealFromLeft(TBitmap32& Dest, const TBitmap32& Src, int32_t W, int32_t H, int32_t X, int32_t Y, int32_t P,
                          TRandom& Rand) {
  CopyThrough(Dest, Src, W, H, RoundRectRegion(-2 * W, 0, 2 * X, H + 1, 2 * W, 2 * W));
}

void CurvedRevealFromRight(TBitmap32& Dest, const TBitmap32& Src, int32_t W, int32_t H, int32_t X, int32_t Y, int32_t P,
                           TRandom& Rand) {
  CopyThrough(Dest, Src, W, H, RoundRectRegion(W - 2 * X, 0, 3 * W, H + 1, 2 * W, 2 * W));
}

void CurvedRevealFromTop(TBitmap32& Dest, const TBitmap32& Src, int32_t W, int32_t H, int32_t X, int32_t Y, int32_t P,
                         TRandom& Rand) {
  CopyThrough(Dest, Src, W, H, RoundRectRegion(0, -2 * H, W + 1, 2 * Y, 2 * H, 2 * H));
}

void CurvedRevealFromBottom(TBitmap32& Dest, const TBitmap32& Src, int32_t W, int32_t H, int32_t X, int32_t Y,
                            int32_t P, TRandom& Rand) {
  CopyThrough(Dest, Src, W, H, RoundRectRegion(0, H - 2 * Y, W + 1, 3 * H, 2 * H, 2 * H));
}

// The corners: the rectangle's corner at the named screen corner lies 1.5
// extents inside the screen and the others a whole picture outside, so only
// the one rounded corner facing the centre is ever seen.

void CurvedRevealFromTopLeft(TBitmap32& Dest, const TBitmap32& Src, int32_t W, int32_t H, int32_t X, int32_t Y,
                             int32_t P, TRandom& Rand) {
  CopyThrough(Dest, Src, W, H, RoundRectRegion(-W, -H, (3 * X) / 2, (3 * Y) / 2, 2 * W, 2 * H));
}

void CurvedRevealFromTopRight(TBitmap32& Dest, const TBitmap32& Src, int32_t W, int32_t H, int32_t X, int32_t Y,
                              int32_t P, TRandom& Rand) {
  CopyThrough(Dest, Src, W, H, RoundRectRegion(W - (3 * X) / 2, -H, 2 * W, (3 * Y) / 2, 2 * W, 2 * H));
}

void CurvedRevealFromBottomLeft(TBitmap32& Dest, const TBitmap32& Src, int32_t W, int32_t H, int32_t X, int32_t Y,
                                int32_t P, TRandom& Rand) {
  CopyThrough(Dest, Src, W, H, RoundRectRegion(-W, H - (3 * Y) / 2, (3 * X) / 2, 2 * H, 2 * W, 2 * H));
}

void CurvedRevealFromBottomRight(TBitmap32& Dest, const TBitmap32& Src, int32_t W, int32_t H, int32_t X, int32_t Y,
                                 int32_t P, TRandom& Rand) {
  CopyThrough(Dest, Src, W, H, RoundRectRegion(W - (3 * X) / 2, H - (3 * Y) / 2, 2 * W, 2 * H, 2 * W, 2 * H));
}

void EllipticRevealOutFromCentre(TBitmap32& Dest, const TBitmap32& Src, int32_t W, int32_t H, int32_t X, int32_t Y,
                                 int32_t P, TRandom& Rand) {
  CopyThrough(Dest, Src, W, H, RoundRectRegion(W / 2 - X, H / 2 - Y, W / 2 + X, H / 2 + Y, (9 * X) / 5, (9 * Y) / 5));
}

// The screen minus the rounded rectangle of the outward reveal taken at the
// remaining extents W - X and H - Y: it starts larger than the screen and
// shrinks to nothing about (W / 2, H / 2). On odd sides its corners would
// cross over in the last frame (the right edge 3 * (W / 2) - W lies left of
// W - W / 2); a crossed-over rectangle is taken as empty, so the last frame
// is the whole new picture instead of keeping a small block of the old one.
void EllipticRevealInToCentre(TBitmap32& Dest, const TBitmap32& Src, int32_t W, int32_t H, int32_t X, int32_t Y,
                              int32_t P, TRandom& Rand) {
  TRegion region = RectRegion(0, 0, W, H);
  {
    const int32_t l = X - W / 2, t = Y - H / 2, r = 3 * (W / 2) - X, b = 3 * (H / 2) - Y;
    const TRegion inner =
        r > l && b > t ? RoundRectRegion(l, t, r, b, (9 * (W - X)) / 5, (9 * (H - Y)) / 5) : TRegion();
    CombineRegions(region, region, inner, TCombineMode::Xor);
  }
  CopyThrough(Dest, Src, W, H, region);
}

}  // namespace kx
