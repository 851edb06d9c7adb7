#include "transitions/PSEffect.h"

#include <algorithm>
#include <cstring>
#include <stdexcept>
#include <string>
#include <vector>

#include "raster/uMath.h"
#include "transitions/uPixelEffects.h"
#include "transitions/uRectEffects.h"

namespace kx {
namespace {

// The families whose effects are not drawn yet show effect 1 meanwhile.
constexpr TEffectProc Pending = Fade;

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
    {"Unroll from left", Pending},
    {"Unroll from right", Pending},
    {"Build up from right", Pending},
    {"Build up from left", Pending},
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
    {"Unroll from top", Pending},
    {"Unroll from bottom", Pending},
    {"Expand gradually from bottom", Pending},
    {"Expand in gradually from top", Pending},
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
    {"Curved Reveal from left", Pending},
    {"Curved Reveal from right", Pending},
    {"Bars in from right", Pending},
    {"Bars in from left", Pending},
    {"Bars left then right", Pending},
    {"Bars right then left", Pending},
    {"Bars from both sides", Pending},
    {"Uneven shred from right", Pending},
    {"Uneven shred from left", Pending},
    {"Uneven shred out from middle (horiz)", Pending},
    {"Uneven shred in to middle (horiz)", Pending},
    {"Curved Reveal from top", Pending},
    {"Curved Reveal from bottom", Pending},
    {"Bars from bottom", Pending},
    {"Bars from top", Pending},
    {"Bars top then bottom", Pending},
    {"Bars bottom then top", Pending},
    {"Bars from top and bottom", Pending},
    {"Uneven shred from bottom", Pending},
    {"Uneven shred from top", Pending},
    {"Uneven shred from horizon", Pending},
    {"Uneven shred in to horizon", Pending},
    {"Curved reveal from top left", Pending},
    {"Curved reveal from top right", Pending},
    {"Curved reveal from bottom left", Pending},
    {"Curved reveal from bottom right", Pending},
    {"Elliptic reveal out from centre", Pending},
    {"Elliptic reveal in to centre", Pending},
    {"Criss Cross from bottom right", Pending},
    {"Criss Cross from top right", Pending},
    {"Criss Cross from bottom left", Pending},
    {"Criss Cross from top left", Pending},
    {"Criss Cross bounce from top left", Pending},
    {"Criss Cross bounce from bottom left", Pending},
    {"Criss Cross bounce from top right", Pending},
    {"Criss Cross bounce from bottom right", Pending},
    {"Criss Cross from right top and bottom", Pending},
    {"Criss Cross from left top and bottom", Pending},
    {"Criss Cross from left right and bottom", Pending},
    {"Criss Cross from left right and top", Pending},
    {"Criss Cross from top left and bottom", Pending},
    {"Criss Cross from bottom left top right", Pending},
    {"Uneven shred from bottom and right", Pending},
    {"Uneven shred from top and right", Pending},
    {"Uneven shred from bottom and left", Pending},
    {"Uneven shred from top and left", Pending},
    {"Uneven shred from horiz and right", Pending},
    {"Uneven shred from horiz and left", Pending},
    {"Uneven shred from bottom and vert middle", Pending},
    {"Uneven shred from top and vert middle", Pending},
    {"Uneven shred from centre", Pending},
    {"Uneven shred to centre", Pending},
    {"Reveal diagonal from top left", Pending},
    {"Reveal diagonal from top right", Pending},
    {"Reveal diagonal from bottom left", Pending},
    {"Reveal diagonal from bottom right", Pending},
    {"Diagonal sweep anticlockwise", Pending},
    {"Diagonal sweep clockwise", Pending},
    {"Starburst clockwise from center", Pending},
    {"Triangular shred", Pending},
    {"Pivot from top left", PivotFromTopLeft},
    {"Pivot from bottom left", PivotFromBottomLeft},
    {"Pivot from top right", PivotFromTopRight},
    {"Pivot from bottom right", PivotFromBottomRight},
    {"Speckle appear from right", Pending},
    {"Speckle appear from left", Pending},
    {"Speckle appear from bottom", Pending},
    {"Speckle appear from top", Pending},
    {"Random squares appear", Pending},
    {"Push right", PushRight},
    {"Push left", PushLeft},
    {"Push and squeeze right", PushAndSqueezeRight},
    {"Push and squeeze left", PushAndSqueezeLeft},
    {"Push down", PushDown},
    {"Push up", PushUp},
    {"Push and sqeeze down", PushAndSqueezeDown},
    {"Push and sqeeze up", PushAndSqueezeUp},
    {"Blind vertically", Pending},
    {"Blind horizontally", Pending},
    {"Uneven blind from left", Pending},
    {"Uneven blind from right", Pending},
    {"Uneven blind from top", Pending},
    {"Uneven blind from bottom", Pending},
    {"Rectangular shred", Pending},
    {"Rectangles from left to right", Pending},
    {"Rectangles from right to left", Pending},
    {"Rectangles from up to bottom", Pending},
    {"Rectangles from bottom to up", Pending},
    {"Rotational rectangle in center", Pending},
    {"Rotational star in center", Pending},
    {"Spiral rectangle", Pending},
    {"Circular shred", Pending},
    {"Reveal V from left", Pending},
    {"Reveal V from right", Pending},
    {"Reveal V from top", Pending},
    {"Reveal V from bottom", Pending},
    {"Bow Tie Horizontal", Pending},
    {"Bow Tie Vertical", Pending},
    {"Diagonal Cross In", Pending},
    {"Diagonal Cross Out", Pending},
    {"Starburst anticlockwise from center", Pending},
    {"Zigzag Horizontal", Pending},
    {"Zigzag Vertical", Pending},
    {"Diamond shred", Pending},
    {"Reveal diamond out from centre", Pending},
    {"Reveal diamond in to centre", Pending},
    {"Diagonal Box Out", Pending},
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
