// The cost of bringing a 12-megapixel JPEG photo (4000 x 3000) to a 1920 x 1080
// screen as the slideshow does: decode at the smallest DCT scale that still
// covers the target, then resample with the Lanczos-3 filter. Each step is
// printed in milliseconds, as a ratio to one full-frame copy (1920 x 1080)
// and as a ratio to decoding the same file at full size, both measured in the
// same run; medians over several runs. The resampler is also timed on each of
// its code paths that this processor runs (all give the same bytes).
//
// usage: bench_load [runs]   (default 9)
#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <iterator>
#include <span>
#include <vector>

#include "BenchSupport.h"
#include "raster/uJpegCodec.h"
#include "raster/uResample.h"
#include "raster/uResampleKernels.h"

using namespace kx;
using kxbench::Median;
using kxbench::TimeOnce;

namespace {

// A photo-like picture: smooth gradients with fine detail, so the JPEG has
// realistic entropy.
TBitmap32 Photo(int32_t w, int32_t h) {
  TBitmap32 b(w, h);
  uint32_t s = 12345;
  for (int32_t y = 0; y < h; ++y)
    for (int32_t x = 0; x < w; ++x) {
      s = s * 1664525u + 1013904223u;
      const int noise = int(s >> 28) - 8;
      const auto r = uint8_t(std::clamp(int(128 + 100 * std::sin(x / 300.0)) + noise, 0, 255));
      const auto g = uint8_t(std::clamp(int(y * 255 / h) + noise, 0, 255));
      const auto bl = uint8_t(std::clamp(int(128 + 90 * std::cos((x + y) / 170.0)) + noise, 0, 255));
      b.SetPixel(x, y, MakePixel(r, g, bl));
    }
  return b;
}

}  // namespace

int main(int argc, char** argv) {
  const int runs = argc > 1 ? std::max(1, std::atoi(argv[1])) : 9;
  const TPoint target{1920, 1080};
  const std::string jpeg = EncodeJpeg(Photo(4000, 3000), 90);
  const std::span data(reinterpret_cast<const uint8_t*>(jpeg.data()), jpeg.size());
  const TPoint full = *JpegPictureSize(data);
  const int denom = JpegScaleToCover(full, target);

  constexpr TResamplePath kPaths[] = {TResamplePath::Scalar, TResamplePath::Sse2, TResamplePath::Avx2};
  constexpr const char* kPathNames[] = {"  scalar loops", "  SSE2 loops", "  AVX2 loops"};
  TBitmap32 a(target.X, target.Y, 1), b(target.X, target.Y, 2);
  std::vector<double> copy, decode, resample, fullDecode, byPath[3];
  for (int i = 0; i < runs; ++i) {
    for (int k = 0; k < 5; ++k) copy.push_back(TimeOnce([&] { std::memcpy(b.Bits(), a.Bits(), a.StrideBytes() * size_t(a.Height())); }));
    TBitmap32 decoded;
    decode.push_back(TimeOnce([&] { decoded = DecodeJpeg(data, denom); }));
    TBitmap32 fitted(target.X, target.Y);
    resample.push_back(TimeOnce([&] { ResampleLanczos3(decoded, fitted); }));
    for (size_t p = 0; p < std::size(kPaths); ++p)
      if (ResamplePathAvailable(kPaths[p]))
        byPath[p].push_back(TimeOnce([&] { ResampleLanczos3On(kPaths[p], decoded, fitted); }));
    if (i < 3) fullDecode.push_back(TimeOnce([&] { decoded = DecodeJpeg(data, 1); }));
  }
  const double c = Median(copy) / 1000, d = Median(decode) / 1000, r = Median(resample) / 1000,
               f = Median(fullDecode) / 1000;  // milliseconds
  std::printf("JPEG %dx%d (%zu bytes), DCT scale 1/%d, to %dx%d\n", full.X, full.Y, jpeg.size(), denom, target.X,
              target.Y);
  std::printf("%-28s %9s %9s %9s\n", "step", "ms", "copies", "decodes");
  const auto line = [&](const char* step, double ms) { std::printf("%-28s %9.2f %9.2f %9.2f\n", step, ms, ms / c, ms / f); };
  line("full-frame copy", c);
  line("decode (scaled)", d);
  line("resample (Lanczos-3)", r);
  for (size_t p = 0; p < std::size(kPaths); ++p)
    if (!byPath[p].empty()) line(kPathNames[p], Median(byPath[p]) / 1000);
  line("load total", d + r);
  line("decode at full size (ref.)", f);
  return 0;
}
