// The regions the region effects are made of: a growable list of rectangles
// turned into one region at once, and a polygon given as pairs of coordinates.
#pragma once

#include <cstddef>
#include <cstdint>
#include <initializer_list>
#include <memory>
#include <optional>
#include <span>

#include "raster/uGeometry.h"
#include "raster/uRegion.h"

namespace kx {

// A growable list of rectangles turned into one region by a single call.
// The buffer is laid out as a region-data block: a 32-byte header followed by
// the rectangles as four signed 32-bit integers each.
class TComplexRegion {
 public:
  static constexpr int32_t kGrowth = 500;
  static constexpr size_t kHeaderSize = 32;
  static constexpr TRect kEmptyBounds{2147483647, 2147483647, -2147483647, -2147483647};

  TComplexRegion() { Clear(); }
  TComplexRegion(const TComplexRegion&) = delete;
  TComplexRegion& operator=(const TComplexRegion&) = delete;

  // Frees the buffer; no rectangle, no capacity, empty bounds.
  void Clear();
  // Appends one rectangle as given (empty and inverted ones too).
  void AddRect(int32_t Left, int32_t Top, int32_t Right, int32_t Bottom);
  // None when no rectangle was added since the last Clear; otherwise the
  // union of the added rectangles with positive width and height.
  std::optional<TRegion> CreateRegion();

  const std::byte* Data() const { return m_data.get(); }
  int32_t Capacity() const { return m_capacity; }
  int32_t Count() const { return m_count; }
  const TRect& Bounds() const { return m_bounds; }

 private:
  std::unique_ptr<std::byte[]> m_data;
  int32_t m_capacity = 0;
  int32_t m_count = 0;
  TRect m_bounds = kEmptyBounds;
  std::byte* m_nextRect = nullptr;
};

// The polygon through the points (Coords[0], Coords[1]), (Coords[2],
// Coords[3]), ..., winding fill. An unpaired last coordinate is ignored.
TRegion PolygonRegion(std::span<const int32_t> Coords);
inline TRegion PolygonRegion(std::initializer_list<int32_t> Coords) {
  return PolygonRegion(std::span<const int32_t>(Coords.begin(), Coords.size()));
}

}  // namespace kx
