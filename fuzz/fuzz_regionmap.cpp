// Fuzzes the region map decoder: the input is the map's integers, little-endian.
#include <cstdlib>
#include <cstring>
#include <vector>

#include "package/uFileIO.h"
#include "package/uPictureFileWriter.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  std::vector<int32_t> ints(size / 4);
  if (!ints.empty()) std::memcpy(ints.data(), data, ints.size() * 4);
  // Maps up to the full limit are legal but slow to fill; the fuzzer keeps to
  // small ones so it explores the runs rather than the allocator.
  if (ints.size() >= 2 && int64_t(ints[0]) * ints[1] > (int64_t(1) << 16)) return 0;
  kx::TBitmap32 map;
  try {
    kx::DecodeRegionMap(ints, map);
  } catch (const std::exception&) {
    return 0;
  }
  for (int32_t y = 0; y < map.Height(); ++y)
    for (int32_t x = 0; x < map.Width(); ++x)
      if (kx::RegionCodeOf(map.Pixel(x, y)) == 0 && map.Pixel(x, y) != 0) std::abort();
  return 0;
}
