// Triangles, diamonds and turning shapes: each frame's region is one to five
// polygons filled by the winding rule, merged in the order given.
#pragma once

#include <cstdint>
#include <span>

#include "transitions/PSEffect.h"

namespace kx {

// Turns Points[0 .. LastIndex] in place about (CX, CY) by Angle radians:
// with y pointing down a positive angle turns clockwise on the screen. Each
// new coordinate is taken to the nearest integer, ties to the even one, so
// small rounding errors of the sine and cosine vanish (an angle of 2 pi
// leaves the points as they were). Indices beyond the span are ignored.
void RotatePoints(std::span<TPoint> Points, int32_t LastIndex, int32_t CX, int32_t CY, long double Angle);

#define KX_SHAPE_EFFECT(name)                                                                             \
  void name(TBitmap32& Dest, const TBitmap32& Src, int32_t W, int32_t H, int32_t X, int32_t Y, int32_t P, \
            TRandom& Rand);
KX_SHAPE_EFFECT(RevealDiagonalFromTopLeft)
KX_SHAPE_EFFECT(RevealDiagonalFromTopRight)
KX_SHAPE_EFFECT(RevealDiagonalFromBottomLeft)
KX_SHAPE_EFFECT(RevealDiagonalFromBottomRight)
KX_SHAPE_EFFECT(DiagonalSweepAnticlockwise)
KX_SHAPE_EFFECT(DiagonalSweepClockwise)
KX_SHAPE_EFFECT(StarburstClockwiseFromCenter)
KX_SHAPE_EFFECT(StarburstAnticlockwiseFromCenter)
KX_SHAPE_EFFECT(RevealVFromLeft)
KX_SHAPE_EFFECT(RevealVFromRight)
KX_SHAPE_EFFECT(RevealVFromTop)
KX_SHAPE_EFFECT(RevealVFromBottom)
KX_SHAPE_EFFECT(BowTieHorizontal)
KX_SHAPE_EFFECT(BowTieVertical)
KX_SHAPE_EFFECT(DiagonalCrossIn)
KX_SHAPE_EFFECT(DiagonalCrossOut)
KX_SHAPE_EFFECT(ZigzagHorizontal)
KX_SHAPE_EFFECT(ZigzagVertical)
KX_SHAPE_EFFECT(RevealDiamondOutFromCentre)
KX_SHAPE_EFFECT(RevealDiamondInToCentre)
KX_SHAPE_EFFECT(DiagonalBoxOut)
KX_SHAPE_EFFECT(RotationalRectangleInCenter)
KX_SHAPE_EFFECT(RotationalStarInCenter)
KX_SHAPE_EFFECT(SpiralRectangle)
#undef KX_SHAPE_EFFECT

}  // namespace kx
