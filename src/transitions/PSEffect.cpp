#include "transitions/PSEffect.h"

#include <algorithm>
#include <cstring>
#include <stdexcept>
#include <string>
#include <vector>

#include "raster/uMath.h"
#include "transitions/uBarEffects.h"
#include "transitions/uBlindEffects.h"
#include "transitions/uCurvedEffects.h"
#include "transitions/uPixelEffects.h"
#include "transitions/uRectEffects.h"
#include "transitions/uShapeEffects.h"
#include "transitions/uGrainEffects.h"
#include "transitions/uUnrollEffects.h"

namespace kx {
namespace {

// Entry N - 1 is effect N.
constexpr TEffect kEffects[kEffectCount] = {
    {"Fade", Fade},
    {"Pixelate", Pixelate},
    {"Dissolve", Dissolve},
    {"Expand from right", ExpandFromRight},
    {"Expand from left", ExpandFromLeft},
    {"Slide in from right", SlideInFromRight},
    {"Slide in from left", SlideInFromLeft},
    {"Reveal from left", RevealFromLeft},
    {"Reveal from right", RevealFromRight},
    {"Expand in from right", ExpandInFromRight},
    {"Expand in from left", ExpandInFromLeft},
    {"Expand in to middle", ExpandInToMiddle},
    {"Expand out from middle", ExpandOutFromMiddle},
    {"Reveal out from middle", RevealOutFromMiddle},
    {"Reveal in from sides", RevealInFromSides},
    {"Expand in from sides", ExpandInFromSides},
    {"Unroll from left", UnrollFromLeft},
    {"Unroll from right", UnrollFromRight},
    {"Build up from right", BuildUpFromRight},
    {"Build up from left", BuildUpFromLeft},
    {"Expand from bottom", ExpandFromBottom},
    {"Expand from top", ExpandFromTop},
    {"Slide in from bottom", SlideInFromBottom},
    {"Slide in from top", SlideInFromTop},
    {"Reveal from top", RevealFromTop},
    {"Reveal from bottom", RevealFromBottom},
    {"Expand in from bottom", ExpandInFromBottom},
    {"Expand in from top", ExpandInFromTop},
    {"Expand in to middle (horiz)", ExpandInToMiddleHoriz},
    {"Expand out from middle (horiz)", ExpandOutFromMiddleHoriz},
    {"Reveal from middle (horiz)", RevealFromMiddleHoriz},
    {"Slide in from top / bottom", SlideInFromTopBottom},
    {"Expand in from top / bottom", ExpandInFromTopBottom},
    {"Unroll from top", UnrollFromTop},
    {"Unroll from bottom", UnrollFromBottom},
    {"Expand gradually from bottom", ExpandGraduallyFromBottom},
    {"Expand in gradually from top", ExpandInGraduallyFromTop},
    {"Expand from bottom right", ExpandFromBottomRight},
    {"Expand from top right", ExpandFromTopRight},
    {"Expand from top left", ExpandFromTopLeft},
    {"Expand from bottom left", ExpandFromBottomLeft},
    {"Slide in from bottom right", SlideInFromBottomRight},
    {"Slide in from top right", SlideInFromTopRight},
    {"Slide in from top left", SlideInFromTopLeft},
    {"Slide in from bottom left", SlideInFromBottomLeft},
    {"Reveal from top left", RevealFromTopLeft},
    {"Reveal from bottom left", RevealFromBottomLeft},
    {"Reveal from bottom right", RevealFromBottomRight},
    {"Reveal from top right", RevealFromTopRight},
    {"Appear and Contract to top left", AppearAndContractToTopLeft},
    {"Appear and Contract to bottom left", AppearAndContractToBottomLeft},
    {"Appear and Contract to bottom right", AppearAndContractToBottomRight},
    {"Appear and Contract to top right", AppearAndContractToTopRight},
    {"Appear and Contract to middle", AppearAndContractToMiddle},
    {"Expand out from centre", ExpandOutFromCentre},
    {"Reveal out from centre", RevealOutFromCentre},
    {"Reveal in to centre", RevealInToCentre},
    {"Quarters Reveal in to middle", QuartersRevealInToMiddle},
    {"Quarters Expand to middle", QuartersExpandToMiddle},
    {"Quarters Slide in to middle", QuartersSlideInToMiddle},
    {"Curved Reveal from left", CurvedRevealFromLeft},
    {"Curved Reveal from right", CurvedRevealFromRight},
    {"Bars in from right", BarsInFromRight},
    {"Bars in from left", BarsInFromLeft},
    {"Bars left then right", BarsLeftThenRight},
    {"Bars right then left", BarsRightThenLeft},
    {"Bars from both sides", BarsFromBothSides},
    {"Uneven shred from right", UnevenShredFromRight},
    {"Uneven shred from left", UnevenShredFromLeft},
    {"Uneven shred out from middle (horiz)", UnevenShredOutFromMiddleHoriz},
    {"Uneven shred in to middle (horiz)", UnevenShredInToMiddleHoriz},
    {"Curved Reveal from top", CurvedRevealFromTop},
    {"Curved Reveal from bottom", CurvedRevealFromBottom},
    {"Bars from bottom", BarsFromBottom},
    {"Bars from top", BarsFromTop},
    {"Bars top then bottom", BarsTopThenBottom},
    {"Bars bottom then top", BarsBottomThenTop},
    {"Bars from top and bottom", BarsFromTopAndBottom},
    {"Uneven shred from bottom", UnevenShredFromBottom},
    {"Uneven shred from top", UnevenShredFromTop},
    {"Uneven shred from horizon", UnevenShredFromHorizon},
    {"Uneven shred in to horizon", UnevenShredInToHorizon},
    {"Curved reveal from top left", CurvedRevealFromTopLeft},
    {"Curved reveal from top right", CurvedRevealFromTopRight},
    {"Curved reveal from bottom left", CurvedRevealFromBottomLeft},
    {"Curved reveal from bottom right", CurvedRevealFromBottomRight},
    {"Elliptic reveal out from centre", EllipticRevealOutFromCentre},
    {"Elliptic reveal in to centre", EllipticRevealInToCentre},
    {"Criss Cross from bottom right", CrissCrossFromBottomRight},
    {"Criss Cross from top right", CrissCrossFromTopRight},
    {"Criss Cross from bottom left", CrissCrossFromBottomLeft},
    {"Criss Cross from top left", CrissCrossFromTopLeft},
    {"Criss Cross bounce from top left", CrissCrossBounceFromTopLeft},
    {"Criss Cross bounce from bottom left", CrissCrossBounceFromBottomLeft},
    {"Criss Cross bounce from top right", CrissCrossBounceFromTopRight},
    {"Criss Cross bounce from bottom right", CrissCrossBounceFromBottomRight},
    {"Criss Cross from right top and bottom", CrissCrossFromRightTopAndBottom},
    {"Criss Cross from left top and bottom", CrissCrossFromLeftTopAndBottom},
    {"Criss Cross from left right and bottom", CrissCrossFromLeftRightAndBottom},
    {"Criss Cross from left right and top", CrissCrossFromLeftRightAndTop},
    {"Criss Cross from top left and bottom", CrissCrossFromTopLeftAndBottom},
    {"Criss Cross from bottom left top right", CrissCrossFromBottomLeftTopRight},
    {"Uneven shred from bottom and right", UnevenShredFromBottomAndRight},
    {"Uneven shred from top and right", UnevenShredFromTopAndRight},
    {"Uneven shred from bottom and left", UnevenShredFromBottomAndLeft},
    {"Uneven shred from top and left", UnevenShredFromTopAndLeft},
    {"Uneven shred from horiz and right", UnevenShredFromHorizAndRight},
    {"Uneven shred from horiz and left", UnevenShredFromHorizAndLeft},
    {"Uneven shred from bottom and vert middle", UnevenShredFromBottomAndVertMiddle},
    {"Uneven shred from top and vert middle", UnevenShredFromTopAndVertMiddle},
    {"Uneven shred from centre", UnevenShredFromCentre},
    {"Uneven shred to centre", UnevenShredToCentre},
    {"Reveal diagonal from top left", RevealDiagonalFromTopLeft},
    {"Reveal diagonal from top right", RevealDiagonalFromTopRight},
    {"Reveal diagonal from bottom left", RevealDiagonalFromBottomLeft},
    {"Reveal diagonal from bottom right", RevealDiagonalFromBottomRight},
    {"Diagonal sweep anticlockwise", DiagonalSweepAnticlockwise},
    {"Diagonal sweep clockwise", DiagonalSweepClockwise},
    {"Starburst clockwise from center", StarburstClockwiseFromCenter},
    {"Triangular shred", TriangularShred},
    {"Pivot from top left", PivotFromTopLeft},
    {"Pivot from bottom left", PivotFromBottomLeft},
    {"Pivot from top right", PivotFromTopRight},
    {"Pivot from bottom right", PivotFromBottomRight},
    {"Speckle appear from right", SpeckleAppearFromRight},
    {"Speckle appear from left", SpeckleAppearFromLeft},
    {"Speckle appear from bottom", SpeckleAppearFromBottom},
    {"Speckle appear from top", SpeckleAppearFromTop},
    {"Random squares appear", RandomSquaresAppear},
    {"Push right", PushRight},
    {"Push left", PushLeft},
    {"Push and squeeze right", PushAndSqueezeRight},
    {"Push and squeeze left", PushAndSqueezeLeft},
    {"Push down", PushDown},
    {"Push up", PushUp},
    {"Push and sqeeze down", PushAndSqueezeDown},
    {"Push and sqeeze up", PushAndSqueezeUp},
    {"Blind vertically", BlindVertically},
    {"Blind horizontally", BlindHorizontally},
    {"Uneven blind from left", UnevenBlindFromLeft},
    {"Uneven blind from right", UnevenBlindFromRight},
    {"Uneven blind from top", UnevenBlindFromTop},
    {"Uneven blind from bottom", UnevenBlindFromBottom},
    {"Rectangular shred", RectangularShred},
    {"Rectangles from left to right", RectanglesFromLeftToRight},
    {"Rectangles from right to left", RectanglesFromRightToLeft},
    {"Rectangles from up to bottom", RectanglesFromUpToBottom},
    {"Rectangles from bottom to up", RectanglesFromBottomToUp},
    {"Rotational rectangle in center", RotationalRectangleInCenter},
    {"Rotational star in center", RotationalStarInCenter},
    {"Spiral rectangle", SpiralRectangle},
    {"Circular shred", CircularShred},
    {"Reveal V from left", RevealVFromLeft},
    {"Reveal V from right", RevealVFromRight},
    {"Reveal V from top", RevealVFromTop},
    {"Reveal V from bottom", RevealVFromBottom},
    {"Bow Tie Horizontal", BowTieHorizontal},
    {"Bow Tie Vertical", BowTieVertical},
    {"Diagonal Cross In", DiagonalCrossIn},
    {"Diagonal Cross Out", DiagonalCrossOut},
    {"Starburst anticlockwise from center", StarburstAnticlockwiseFromCenter},
    {"Zigzag Horizontal", ZigzagHorizontal},
    {"Zigzag Vertical", ZigzagVertical},
    {"Diamond shred", DiamondShred},
    {"Reveal diamond out from centre", RevealDiamondOutFromCentre},
    {"Reveal diamond in to centre", RevealDiamondInToCentre},
    {"Diagonal Box Out", DiagonalBoxOut},
    {"Random Bars Horizontal", RandomBarsHorizontal},
    {"Random Bars Vertical", RandomBarsVertical},
};

}  // namespace

const TEffectRegistry Effects;

const TEffect& TEffectRegistry::operator[](int32_t number) const {
  if (!IsEffectNumber(number)) throw std::out_of_range("no transition effect " + std::to_string(number));
  return kEffects[number - 1];
}

TPoint EffectExtents(int32_t width, int32_t height, int32_t percent) {
  if (width >= height) {
    const int32_t x = MulDiv(width, percent, 100);
    return {x, MulDiv(x, height, width)};
  }
  const int32_t y = MulDiv(height, percent, 100);
  return {MulDiv(y, width, height), y};
}

void TComplexRegion::Clear() {
  m_data.reset();
  m_capacity = 0;
  m_count = 0;
  m_bounds = kEmptyBounds;
  m_nextRect = nullptr;
}

void TComplexRegion::AddRect(int32_t Left, int32_t Top, int32_t Right, int32_t Bottom) {
  if (m_count == m_capacity) {
    const int32_t capacity = m_capacity + kGrowth;
    auto data = std::make_unique<std::byte[]>(kHeaderSize + 16 * size_t(capacity) + 4);
    if (m_data) std::memcpy(data.get(), m_data.get(), kHeaderSize + 16 * size_t(m_count));
    m_data = std::move(data);
    m_capacity = capacity;
    m_nextRect = m_data.get() + kHeaderSize + 16 * size_t(m_count);
  }
  const int32_t rect[4] = {Left, Top, Right, Bottom};
  std::memcpy(m_nextRect, rect, sizeof rect);
  m_nextRect += sizeof rect;
  ++m_count;
  m_bounds.Left = std::min(m_bounds.Left, Left);
  m_bounds.Top = std::min(m_bounds.Top, Top);
  m_bounds.Right = std::max(m_bounds.Right, Right);
  m_bounds.Bottom = std::max(m_bounds.Bottom, Bottom);
}

std::optional<TRegion> TComplexRegion::CreateRegion() {
  if (!m_data) return std::nullopt;
  // Header: its own size, the rectangle type (1), the count, the size field
  // (16, as the list format has it) and the bounding rectangle.
  const int32_t header[8] = {int32_t(kHeaderSize), 1, m_count, 16,
                             m_bounds.Left, m_bounds.Top, m_bounds.Right, m_bounds.Bottom};
  std::memcpy(m_data.get(), header, sizeof header);
  return TRegion::FromRects({reinterpret_cast<const TRect*>(m_data.get() + kHeaderSize), size_t(m_count)});
}

TRegion PolygonRegion(std::span<const int32_t> Coords) {
  std::vector<TPoint> points(Coords.size() / 2);
  for (size_t i = 0; i < points.size(); ++i) points[i] = {Coords[2 * i], Coords[2 * i + 1]};
  return kx::PolygonRegion(std::span<const TPoint>(points));
}

}  // namespace kx
