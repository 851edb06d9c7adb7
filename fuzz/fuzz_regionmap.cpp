// Fuzzes the region map decoder: the input is the map's integers, little-endian.
// Every map is also decoded straight to a small size picked from the input's
// length, which must give what decoding it whole and stretching it gives.
#include <cstdlib>
#include <cstring>
#include <vector>

#include "animation/uFitResize.h"
#include "package/uFileIO.h"
#include "package/uPictureFileWriter.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  std::vector<int32_t> ints(size / 4);
  if (!ints.empty()) std::memcpy(ints.data(), data, ints.size() * 4);
  const int32_t width = int32_t(1 + size % 23), height = int32_t(1 + size / 4 % 17);
  kx::TBitmap32 direct;
  try {
    kx::DecodeRegionMapTo(ints, width, height, direct);
  } catch (const std::exception&) {
    direct = kx::TBitmap32();
  }
  // Maps up to the pixel budget are legal but slow to fill whole; the fuzzer
  // decodes only small ones whole, so it explores the runs rather than the allocator.
  if (ints.size() >= 2 && int64_t(ints[0]) * ints[1] > (int64_t(1) << 16)) return 0;
  kx::TBitmap32 map;
  try {
    kx::DecodeRegionMap(ints, map);
  } catch (const std::exception&) {
    if (!direct.Empty()) std::abort();
    return 0;
  }
  if (!(kx::ResizeRegionMap(map, width, height) == direct)) std::abort();
  for (int32_t y = 0; y < map.Height(); ++y)
    for (int32_t x = 0; x < map.Width(); ++x)
      if (kx::RegionCodeOf(map.Pixel(x, y)) == 0 && map.Pixel(x, y) != 0) std::abort();
  return 0;
}
