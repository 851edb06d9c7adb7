#include <gtest/gtest.h>

#include <stdexcept>
#include <vector>

#include "raster/uRegionTiles.h"

using namespace kx;

namespace {

TRegion CopiesMergedOneByOne(const TRegion& shape, int32_t DX, int32_t NX, int32_t DY, int32_t NY) {
  TRegion acc;
  for (int32_t i = 0; i < NX; ++i)
    for (int32_t j = 0; j < NY; ++j) {
      TRegion moved = shape;
      pixman_region32_translate(moved.Handle(), i * DX, j * DY);
      CombineRegions(acc, acc, moved, TCombineMode::Or);
    }
  return acc;
}

TEST(TiledUnion, SameAsMergingTheMovedCopies) {
  // A ring (two spans on its middle rows) and a triangle, with steps that
  // leave gaps, make copies touch, and make them overlap and interleave.
  TRegion ring = EllipseRegion(-3, 2, 17, 20);
  CombineRegions(ring, ring, EllipseRegion(2, 6, 12, 16), TCombineMode::Xor);
  const TRegion triangle = PolygonRegion(std::vector<TPoint>{{0, 0}, {9, 13}, {14, 1}});
  const struct {
    int32_t dx, nx, dy, ny;
  } steps[] = {{25, 3, 30, 2}, {20, 4, 18, 3}, {7, 5, 5, 4}, {3, 2, 40, 1}, {1, 1, 1, 1}};
  const TRegion* shapes[] = {&ring, &triangle};
  for (const TRegion* shape : shapes)
    for (const auto& s : steps)
      EXPECT_EQ(TiledUnion(*shape, s.dx, s.nx, s.dy, s.ny), CopiesMergedOneByOne(*shape, s.dx, s.nx, s.dy, s.ny))
          << s.dx << " " << s.nx << " " << s.dy << " " << s.ny;
}

TEST(TiledUnion, NothingToTile) {
  EXPECT_TRUE(TiledUnion(TRegion(), 4, 3, 4, 3).Empty());
  EXPECT_TRUE(TiledUnion(RectRegion(0, 0, 2, 2), 4, 0, 4, 3).Empty());
  EXPECT_THROW(TiledUnion(RectRegion(0, 0, 2, 2), 0, 1, 4, 1), std::invalid_argument);
}

}  // namespace
