// The transition engine: the registry of the 169 numbered effects, the
// drawing contract they share and the rectangle-list region.
//
// An effect procedure draws one complete frame for one progress value. On
// entry Dest holds the whole old picture, Src the new one (both Width x
// Height); on return Dest holds the frame. A procedure changes Dest's pixels
// only, leaves Dest without a clip, releases everything it made (also when an
// error passes) and keeps nothing between calls.
#pragma once

#include <cstddef>
#include <cstdint>
#include <initializer_list>
#include <memory>
#include <optional>
#include <span>
#include <string_view>

#include "raster/uBitmap.h"
#include "raster/uGeometry.h"
#include "raster/uRandom.h"
#include "raster/uRegion.h"

namespace kx {

// Rand is the show's generator: effects with a running random pattern draw
// from it as it stands; the others leave it alone.
using TEffectProc = void (*)(TBitmap32& Dest, const TBitmap32& Src, int32_t Width, int32_t Height, int32_t ExtentX,
                             int32_t ExtentY, int32_t Percent, TRandom& Rand);

struct TEffect {
  std::string_view Name;
  TEffectProc Proc;
};

constexpr int32_t kEffectCount = 169;

constexpr bool IsEffectNumber(int32_t n) { return n >= 1 && n <= kEffectCount; }

// The constant table of effects, indexed by effect number 1 to 169.
class TEffectRegistry {
 public:
  // Throws std::out_of_range for a number outside 1 to 169.
  const TEffect& operator[](int32_t number) const;
};

extern const TEffectRegistry Effects;

// The extents reached at a progress of percent, the larger side first so
// that X / Y keeps the picture's aspect ratio.
TPoint EffectExtents(int32_t width, int32_t height, int32_t percent);

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
