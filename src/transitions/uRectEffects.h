// Rectangle reveals, slides, expands, appear-and-contract, quarters and
// pushes: every frame is one to four block copies, scaled or not.
#pragma once

#include "transitions/PSEffect.h"

namespace kx {

#define KX_RECT_EFFECT(name)                                                                              \
  void name(TBitmap32& Dest, const TBitmap32& Src, int32_t W, int32_t H, int32_t X, int32_t Y, int32_t P, \
            TRandom& Rand);
KX_RECT_EFFECT(ExpandFromRight)
KX_RECT_EFFECT(ExpandFromLeft)
KX_RECT_EFFECT(SlideInFromRight)
KX_RECT_EFFECT(SlideInFromLeft)
KX_RECT_EFFECT(RevealFromLeft)
KX_RECT_EFFECT(RevealFromRight)
KX_RECT_EFFECT(ExpandInFromRight)
KX_RECT_EFFECT(ExpandInFromLeft)
KX_RECT_EFFECT(ExpandInToMiddle)
KX_RECT_EFFECT(ExpandOutFromMiddle)
KX_RECT_EFFECT(RevealOutFromMiddle)
KX_RECT_EFFECT(RevealInFromSides)
KX_RECT_EFFECT(ExpandInFromSides)
KX_RECT_EFFECT(ExpandFromBottom)
KX_RECT_EFFECT(ExpandFromTop)
KX_RECT_EFFECT(SlideInFromBottom)
KX_RECT_EFFECT(SlideInFromTop)
KX_RECT_EFFECT(RevealFromTop)
KX_RECT_EFFECT(RevealFromBottom)
KX_RECT_EFFECT(ExpandInFromBottom)
KX_RECT_EFFECT(ExpandInFromTop)
KX_RECT_EFFECT(ExpandInToMiddleHoriz)
KX_RECT_EFFECT(ExpandOutFromMiddleHoriz)
KX_RECT_EFFECT(RevealFromMiddleHoriz)
KX_RECT_EFFECT(SlideInFromTopBottom)
KX_RECT_EFFECT(ExpandInFromTopBottom)
KX_RECT_EFFECT(ExpandFromBottomRight)
KX_RECT_EFFECT(ExpandFromTopRight)
KX_RECT_EFFECT(ExpandFromTopLeft)
KX_RECT_EFFECT(ExpandFromBottomLeft)
KX_RECT_EFFECT(SlideInFromBottomRight)
KX_RECT_EFFECT(SlideInFromTopRight)
KX_RECT_EFFECT(SlideInFromTopLeft)
KX_RECT_EFFECT(SlideInFromBottomLeft)
KX_RECT_EFFECT(RevealFromTopLeft)
KX_RECT_EFFECT(RevealFromBottomLeft)
KX_RECT_EFFECT(RevealFromBottomRight)
KX_RECT_EFFECT(RevealFromTopRight)
KX_RECT_EFFECT(AppearAndContractToTopLeft)
KX_RECT_EFFECT(AppearAndContractToBottomLeft)
KX_RECT_EFFECT(AppearAndContractToBottomRight)
KX_RECT_EFFECT(AppearAndContractToTopRight)
KX_RECT_EFFECT(AppearAndContractToMiddle)
KX_RECT_EFFECT(ExpandOutFromCentre)
KX_RECT_EFFECT(RevealOutFromCentre)
KX_RECT_EFFECT(RevealInToCentre)
KX_RECT_EFFECT(QuartersRevealInToMiddle)
KX_RECT_EFFECT(QuartersExpandToMiddle)
KX_RECT_EFFECT(QuartersSlideInToMiddle)
KX_RECT_EFFECT(PushRight)
KX_RECT_EFFECT(PushLeft)
KX_RECT_EFFECT(PushAndSqueezeRight)
KX_RECT_EFFECT(PushAndSqueezeLeft)
KX_RECT_EFFECT(PushDown)
KX_RECT_EFFECT(PushUp)
KX_RECT_EFFECT(PushAndSqueezeDown)
KX_RECT_EFFECT(PushAndSqueezeUp)
#undef KX_RECT_EFFECT

}  // namespace kx
