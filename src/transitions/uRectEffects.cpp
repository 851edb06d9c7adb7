#include "transitions/uRectEffects.h"

#include "raster/uBlit.h"

namespace kx {

// Horizontal.

void ExpandFromRight(TBitmap32& Dest, const TBitmap32& Src, int32_t W, int32_t H, int32_t X, int32_t Y, int32_t P,
                     TRandom& Rand) {
  StretchCopy(Dest, W - X, 0, X, H, Src, 0, 0, W, H);
}

void ExpandFromLeft(TBitmap32& Dest, const TBitmap32& Src, int32_t W, int32_t H, int32_t X, int32_t Y, int32_t P,
                    TRandom& Rand) {
  StretchCopy(Dest, 0, 0, X, H, Src, 0, 0, W, H);
}

void SlideInFromRight(TBitmap32& Dest, const TBitmap32& Src, int32_t W, int32_t H, int32_t X, int32_t Y, int32_t P,
                      TRandom& Rand) {
  Copy(Dest, W - X, 0, W, H, Src, 0, 0);
}

void SlideInFromLeft(TBitmap32& Dest, const TBitmap32& Src, int32_t W, int32_t H, int32_t X, int32_t Y, int32_t P,
                     TRandom& Rand) {
  Copy(Dest, X - W, 0, W, H, Src, 0, 0);
}

void RevealFromLeft(TBitmap32& Dest, const TBitmap32& Src, int32_t W, int32_t H, int32_t X, int32_t Y, int32_t P,
                    TRandom& Rand) {
  Copy(Dest, 0, 0, X, H, Src, 0, 0);
}

void RevealFromRight(TBitmap32& Dest, const TBitmap32& Src, int32_t W, int32_t H, int32_t X, int32_t Y, int32_t P,
                     TRandom& Rand) {
  Copy(Dest, W - X, 0, X, H, Src, W - X, 0);
}

void ExpandInFromRight(TBitmap32& Dest, const TBitmap32& Src, int32_t W, int32_t H, int32_t X, int32_t Y, int32_t P,
                       TRandom& Rand) {
  StretchCopy(Dest, 0, 0, 2 * W - X, H, Src, 0, 0, X, H);
}

void ExpandInFromLeft(TBitmap32& Dest, const TBitmap32& Src, int32_t W, int32_t H, int32_t X, int32_t Y, int32_t P,
                      TRandom& Rand) {
  StretchCopy(Dest, X - W, 0, 2 * W - X, H, Src, W - X, 0, X, H);
}

void ExpandInToMiddle(TBitmap32& Dest, const TBitmap32& Src, int32_t W, int32_t H, int32_t X, int32_t Y, int32_t P,
                      TRandom& Rand) {
  StretchCopy(Dest, X - W, 0, 3 * W - 2 * X, H, Src, (W - X) / 2, 0, X, H);
}

void ExpandOutFromMiddle(TBitmap32& Dest, const TBitmap32& Src, int32_t W, int32_t H, int32_t X, int32_t Y, int32_t P,
                         TRandom& Rand) {
  StretchCopy(Dest, (W - X) / 2, 0, X, H, Src, 0, 0, W, H);
}

void RevealOutFromMiddle(TBitmap32& Dest, const TBitmap32& Src, int32_t W, int32_t H, int32_t X, int32_t Y, int32_t P,
                         TRandom& Rand) {
  Copy(Dest, (W - X) / 2, 0, X, H, Src, (W - X) / 2, 0);
}

void RevealInFromSides(TBitmap32& Dest, const TBitmap32& Src, int32_t W, int32_t H, int32_t X, int32_t Y, int32_t P,
                       TRandom& Rand) {
  Copy(Dest, 0, 0, X / 2, H, Src, 0, 0);
  Copy(Dest, W - X / 2, 0, X / 2, H, Src, W - X / 2, 0);
}

void ExpandInFromSides(TBitmap32& Dest, const TBitmap32& Src, int32_t W, int32_t H, int32_t X, int32_t Y, int32_t P,
                       TRandom& Rand) {
  StretchCopy(Dest, 0, 0, X / 2, H, Src, 0, 0, W / 2, H);
  StretchCopy(Dest, W - X / 2, 0, X / 2, H, Src, W / 2, 0, W / 2, H);
}

// Vertical.

void ExpandFromBottom(TBitmap32& Dest, const TBitmap32& Src, int32_t W, int32_t H, int32_t X, int32_t Y, int32_t P,
                      TRandom& Rand) {
  StretchCopy(Dest, 0, H - Y, W, Y, Src, 0, 0, W, H);
}

void ExpandFromTop(TBitmap32& Dest, const TBitmap32& Src, int32_t W, int32_t H, int32_t X, int32_t Y, int32_t P,
                   TRandom& Rand) {
  StretchCopy(Dest, 0, 0, W, Y, Src, 0, 0, W, H);
}

void SlideInFromBottom(TBitmap32& Dest, const TBitmap32& Src, int32_t W, int32_t H, int32_t X, int32_t Y, int32_t P,
                       TRandom& Rand) {
  Copy(Dest, 0, H - Y, W, H, Src, 0, 0);
}

void SlideInFromTop(TBitmap32& Dest, const TBitmap32& Src, int32_t W, int32_t H, int32_t X, int32_t Y, int32_t P,
                    TRandom& Rand) {
  Copy(Dest, 0, Y - H, W, H, Src, 0, 0);
}

void RevealFromTop(TBitmap32& Dest, const TBitmap32& Src, int32_t W, int32_t H, int32_t X, int32_t Y, int32_t P,
                   TRandom& Rand) {
  Copy(Dest, 0, 0, W, Y, Src, 0, 0);
}

void RevealFromBottom(TBitmap32& Dest, const TBitmap32& Src, int32_t W, int32_t H, int32_t X, int32_t Y, int32_t P,
                      TRandom& Rand) {
  Copy(Dest, 0, H - Y, W, Y, Src, 0, H - Y);
}

void ExpandInFromBottom(TBitmap32& Dest, const TBitmap32& Src, int32_t W, int32_t H, int32_t X, int32_t Y, int32_t P,
                        TRandom& Rand) {
  StretchCopy(Dest, 0, 0, W, 2 * H - Y, Src, 0, 0, W, Y);
}

void ExpandInFromTop(TBitmap32& Dest, const TBitmap32& Src, int32_t W, int32_t H, int32_t X, int32_t Y, int32_t P,
                     TRandom& Rand) {
  StretchCopy(Dest, 0, Y - H, W, 2 * H - Y, Src, 0, H - Y, W, Y);
}

void ExpandInToMiddleHoriz(TBitmap32& Dest, const TBitmap32& Src, int32_t W, int32_t H, int32_t X, int32_t Y, int32_t P,
                           TRandom& Rand) {
  StretchCopy(Dest, 0, Y - H, W, 3 * H - 2 * Y, Src, 0, (H - Y) / 2, W, Y);
}

void ExpandOutFromMiddleHoriz(TBitmap32& Dest, const TBitmap32& Src, int32_t W, int32_t H, int32_t X, int32_t Y,
                              int32_t P, TRandom& Rand) {
  StretchCopy(Dest, 0, (H - Y) / 2, W, Y, Src, 0, 0, W, H);
}

void RevealFromMiddleHoriz(TBitmap32& Dest, const TBitmap32& Src, int32_t W, int32_t H, int32_t X, int32_t Y, int32_t P,
                           TRandom& Rand) {
  Copy(Dest, 0, (H - Y) / 2, W, Y, Src, 0, (H - Y) / 2);
}

// Both halves are uncovered in place, not moved.
void SlideInFromTopBottom(TBitmap32& Dest, const TBitmap32& Src, int32_t W, int32_t H, int32_t X, int32_t Y, int32_t P,
                          TRandom& Rand) {
  Copy(Dest, 0, 0, W, Y / 2, Src, 0, 0);
  Copy(Dest, 0, H - Y / 2, W, Y / 2, Src, 0, H - Y / 2);
}

void ExpandInFromTopBottom(TBitmap32& Dest, const TBitmap32& Src, int32_t W, int32_t H, int32_t X, int32_t Y, int32_t P,
                           TRandom& Rand) {
  StretchCopy(Dest, 0, 0, W, Y / 2, Src, 0, 0, W, H / 2);
  StretchCopy(Dest, 0, H - Y / 2, W, Y / 2, Src, 0, H / 2, W, H / 2);
}

// Corners, centre and quarters.

void ExpandFromBottomRight(TBitmap32& Dest, const TBitmap32& Src, int32_t W, int32_t H, int32_t X, int32_t Y, int32_t P,
                           TRandom& Rand) {
  StretchCopy(Dest, W - X, H - Y, X, Y, Src, 0, 0, W, H);
}

void ExpandFromTopRight(TBitmap32& Dest, const TBitmap32& Src, int32_t W, int32_t H, int32_t X, int32_t Y, int32_t P,
                        TRandom& Rand) {
  StretchCopy(Dest, W - X, 0, X, Y, Src, 0, 0, W, H);
}

void ExpandFromTopLeft(TBitmap32& Dest, const TBitmap32& Src, int32_t W, int32_t H, int32_t X, int32_t Y, int32_t P,
                       TRandom& Rand) {
  StretchCopy(Dest, 0, 0, X, Y, Src, 0, 0, W, H);
}

void ExpandFromBottomLeft(TBitmap32& Dest, const TBitmap32& Src, int32_t W, int32_t H, int32_t X, int32_t Y, int32_t P,
                          TRandom& Rand) {
  StretchCopy(Dest, 0, H - Y, X, Y, Src, 0, 0, W, H);
}

void SlideInFromBottomRight(TBitmap32& Dest, const TBitmap32& Src, int32_t W, int32_t H, int32_t X, int32_t Y,
                            int32_t P, TRandom& Rand) {
  Copy(Dest, W - X, H - Y, W, H, Src, 0, 0);
}

void SlideInFromTopRight(TBitmap32& Dest, const TBitmap32& Src, int32_t W, int32_t H, int32_t X, int32_t Y, int32_t P,
                         TRandom& Rand) {
  Copy(Dest, W - X, Y - H, W, H, Src, 0, 0);
}

void SlideInFromTopLeft(TBitmap32& Dest, const TBitmap32& Src, int32_t W, int32_t H, int32_t X, int32_t Y, int32_t P,
                        TRandom& Rand) {
  Copy(Dest, X - W, Y - H, W, H, Src, 0, 0);
}

void SlideInFromBottomLeft(TBitmap32& Dest, const TBitmap32& Src, int32_t W, int32_t H, int32_t X, int32_t Y, int32_t P,
                           TRandom& Rand) {
  Copy(Dest, X - W, H - Y, W, H, Src, 0, 0);
}

void RevealFromTopLeft(TBitmap32& Dest, const TBitmap32& Src, int32_t W, int32_t H, int32_t X, int32_t Y, int32_t P,
                       TRandom& Rand) {
  Copy(Dest, 0, 0, X, Y, Src, 0, 0);
}

void RevealFromBottomLeft(TBitmap32& Dest, const TBitmap32& Src, int32_t W, int32_t H, int32_t X, int32_t Y, int32_t P,
                          TRandom& Rand) {
  Copy(Dest, 0, H - Y, X, Y, Src, 0, H - Y);
}

void RevealFromBottomRight(TBitmap32& Dest, const TBitmap32& Src, int32_t W, int32_t H, int32_t X, int32_t Y, int32_t P,
                           TRandom& Rand) {
  Copy(Dest, W - X, H - Y, X, Y, Src, W - X, H - Y);
}

void RevealFromTopRight(TBitmap32& Dest, const TBitmap32& Src, int32_t W, int32_t H, int32_t X, int32_t Y, int32_t P,
                        TRandom& Rand) {
  Copy(Dest, W - X, 0, X, Y, Src, W - X, 0);
}

void AppearAndContractToTopLeft(TBitmap32& Dest, const TBitmap32& Src, int32_t W, int32_t H, int32_t X, int32_t Y,
                                int32_t P, TRandom& Rand) {
  StretchCopy(Dest, 0, 0, 2 * W - X, 2 * H - Y, Src, 0, 0, X, Y);
}

void AppearAndContractToBottomLeft(TBitmap32& Dest, const TBitmap32& Src, int32_t W, int32_t H, int32_t X, int32_t Y,
                                   int32_t P, TRandom& Rand) {
  StretchCopy(Dest, 0, Y - H, 2 * W - X, 2 * H - Y, Src, 0, H - Y, X, Y);
}

void AppearAndContractToBottomRight(TBitmap32& Dest, const TBitmap32& Src, int32_t W, int32_t H, int32_t X, int32_t Y,
                                    int32_t P, TRandom& Rand) {
  StretchCopy(Dest, X - W, Y - H, 2 * W - X, 2 * H - Y, Src, W - X, H - Y, X, Y);
}

void AppearAndContractToTopRight(TBitmap32& Dest, const TBitmap32& Src, int32_t W, int32_t H, int32_t X, int32_t Y,
                                 int32_t P, TRandom& Rand) {
  StretchCopy(Dest, X - W, 0, 2 * W - X, 2 * H - Y, Src, W - X, 0, X, Y);
}

void AppearAndContractToMiddle(TBitmap32& Dest, const TBitmap32& Src, int32_t W, int32_t H, int32_t X, int32_t Y,
                               int32_t P, TRandom& Rand) {
  StretchCopy(Dest, X - W, Y - H, 3 * W - 2 * X, 3 * H - 2 * Y, Src, (W - X) / 2, (H - Y) / 2, X, Y);
}

void ExpandOutFromCentre(TBitmap32& Dest, const TBitmap32& Src, int32_t W, int32_t H, int32_t X, int32_t Y, int32_t P,
                         TRandom& Rand) {
  StretchCopy(Dest, (W - X) / 2, (H - Y) / 2, X, Y, Src, 0, 0, W, H);
}

void RevealOutFromCentre(TBitmap32& Dest, const TBitmap32& Src, int32_t W, int32_t H, int32_t X, int32_t Y, int32_t P,
                         TRandom& Rand) {
  Copy(Dest, (W - X) / 2, (H - Y) / 2, X, Y, Src, (W - X) / 2, (H - Y) / 2);
}

// The only clipping member: the new picture shows as a frame that thickens
// toward the centre.
void RevealInToCentre(TBitmap32& Dest, const TBitmap32& Src, int32_t W, int32_t H, int32_t X, int32_t Y, int32_t P,
                      TRandom& Rand) {
  const TClipReset reset(Dest);
  ExcludeClip(Dest, X / 2, Y / 2, W - X / 2, H - Y / 2);
  Copy(Dest, 0, 0, W, H, Src, 0, 0);
}

void QuartersRevealInToMiddle(TBitmap32& Dest, const TBitmap32& Src, int32_t W, int32_t H, int32_t X, int32_t Y,
                              int32_t P, TRandom& Rand) {
  const int32_t w = X / 2, h = Y / 2;
  Copy(Dest, 0, 0, w, h, Src, 0, 0);
  Copy(Dest, 0, H - h, w, h, Src, 0, H - h);
  Copy(Dest, W - w, H - h, w, h, Src, W - w, H - h);
  Copy(Dest, W - w, 0, w, h, Src, W - w, 0);
}

void QuartersExpandToMiddle(TBitmap32& Dest, const TBitmap32& Src, int32_t W, int32_t H, int32_t X, int32_t Y,
                            int32_t P, TRandom& Rand) {
  const int32_t w = X / 2, h = Y / 2;
  StretchCopy(Dest, 0, 0, w, h, Src, 0, 0, W / 2, H / 2);
  StretchCopy(Dest, 0, H - h, w, h, Src, 0, H / 2, W / 2, H / 2);
  StretchCopy(Dest, W - w, H - h, w, h, Src, W / 2, H / 2, W / 2, H / 2);
  StretchCopy(Dest, W - w, 0, w, h, Src, W / 2, 0, W / 2, H / 2);
}

void QuartersSlideInToMiddle(TBitmap32& Dest, const TBitmap32& Src, int32_t W, int32_t H, int32_t X, int32_t Y,
                             int32_t P, TRandom& Rand) {
  Copy(Dest, X / 2 - W / 2, 0, W / 2, H / 2, Src, 0, 0);          // top left, from the left
  Copy(Dest, W / 2, Y / 2 - H / 2, W / 2, H / 2, Src, W / 2, 0);  // top right, from the top
  Copy(Dest, W - X / 2, H / 2, W / 2, H / 2, Src, W / 2, H / 2);  // bottom right, from the right
  Copy(Dest, 0, H - Y / 2, W / 2, H / 2, Src, 0, H / 2);          // bottom left, from the bottom
}

// Pushes: the old picture already in Dest is moved or squeezed first (a copy
// within Dest reads the whole block before writing), then the freed strip is
// filled from the matching edge of the new picture.

void PushRight(TBitmap32& Dest, const TBitmap32& Src, int32_t W, int32_t H, int32_t X, int32_t Y, int32_t P,
               TRandom& Rand) {
  Copy(Dest, X, 0, W - X, H, Dest, 0, 0);
  Copy(Dest, 0, 0, X, H, Src, W - X, 0);
}

void PushLeft(TBitmap32& Dest, const TBitmap32& Src, int32_t W, int32_t H, int32_t X, int32_t Y, int32_t P,
              TRandom& Rand) {
  Copy(Dest, 0, 0, W - X, H, Dest, X, 0);
  Copy(Dest, W - X, 0, X, H, Src, 0, 0);
}

void PushAndSqueezeRight(TBitmap32& Dest, const TBitmap32& Src, int32_t W, int32_t H, int32_t X, int32_t Y, int32_t P,
                         TRandom& Rand) {
  StretchCopy(Dest, X, 0, W - X, H, Dest, 0, 0, W, H);
  Copy(Dest, 0, 0, X, H, Src, W - X, 0);
}

void PushAndSqueezeLeft(TBitmap32& Dest, const TBitmap32& Src, int32_t W, int32_t H, int32_t X, int32_t Y, int32_t P,
                        TRandom& Rand) {
  StretchCopy(Dest, 0, 0, W - X, H, Dest, 0, 0, W, H);
  Copy(Dest, W - X, 0, X, H, Src, 0, 0);
}

void PushDown(TBitmap32& Dest, const TBitmap32& Src, int32_t W, int32_t H, int32_t X, int32_t Y, int32_t P,
              TRandom& Rand) {
  Copy(Dest, 0, Y, W, H - Y, Dest, 0, 0);
  Copy(Dest, 0, 0, W, Y, Src, 0, H - Y);
}

void PushUp(TBitmap32& Dest, const TBitmap32& Src, int32_t W, int32_t H, int32_t X, int32_t Y, int32_t P,
            TRandom& Rand) {
  Copy(Dest, 0, 0, W, H - Y, Dest, 0, Y);
  Copy(Dest, 0, H - Y, W, Y, Src, 0, 0);
}

void PushAndSqueezeDown(TBitmap32& Dest, const TBitmap32& Src, int32_t W, int32_t H, int32_t X, int32_t Y, int32_t P,
                        TRandom& Rand) {
  StretchCopy(Dest, 0, Y, W, H - Y, Dest, 0, 0, W, H);
  Copy(Dest, 0, 0, W, Y, Src, 0, H - Y);
}

void PushAndSqueezeUp(TBitmap32& Dest, const TBitmap32& Src, int32_t W, int32_t H, int32_t X, int32_t Y, int32_t P,
                      TRandom& Rand) {
  StretchCopy(Dest, 0, 0, W, H - Y, Dest, 0, 0, W, H);
  Copy(Dest, 0, H - Y, W, Y, Src, 0, 0);
}

}  // namespace kx
