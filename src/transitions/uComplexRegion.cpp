#include "transitions/uComplexRegion.h"

#include <algorithm>
#include <cstring>
#include <vector>

namespace kx {

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
