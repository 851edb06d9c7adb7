// The cost of bringing a 12-megapixel JPEG photo (4000 x 3000) to a 1920 x 1080
// screen as the slideshow does: decode at the smallest DCT scale that still
// covers the target, then resample with the Lanczos-3 filter. Each step is
// printed in milliseconds, as a ratio to one full-frame copy (1920 x 1080)
// and as a ratio to decoding the same file at full size, both measured in the
// same run; medians over several runs. The resampler is also timed on each of
// its code paths that this processor runs (all give the same bytes).
//
// The whole load as the show does it (the file read, the header looks, the
// scaled decode and the resample into the screen-sized picture) is set
// against a bare libjpeg decode of the same file at the same DCT scale into
// one reused row of RGB, which is what "djpeg -scale 1/N" does short of
// writing its output: the ratio of the two is what the show adds.
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
#include <string>
#include <vector>

#include <jpeglib.h>

#include "BenchSupport.h"
#include "os/uFileAccess.h"
#include "raster/uJpegCodec.h"
#include "raster/uPictureDecode.h"
#include "raster/uResample.h"
#include "raster/uResampleKernels.h"
#include "raster/uStillPicture.h"

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

// What djpeg -scale 1/denom does with a file, its output left out: the file
// read into memory, decoded to RGB one row at a time into a reused row.
void PlainLibjpegDecode(const std::string& path, int denom) {
  const std::string bytes = ReadPictureBytes(path);
  jpeg_decompress_struct d{};
  jpeg_error_mgr err{};
  d.err = jpeg_std_error(&err);
  jpeg_create_decompress(&d);
  jpeg_mem_src(&d, reinterpret_cast<const unsigned char*>(bytes.data()), bytes.size());
  jpeg_read_header(&d, TRUE);
  d.scale_num = 1;
  d.scale_denom = unsigned(denom);
  d.out_color_space = JCS_RGB;
  jpeg_start_decompress(&d);
  std::vector<unsigned char> row(size_t(d.output_width) * 3);
  JSAMPROW rows[1] = {row.data()};
  while (d.output_scanline < d.output_height) jpeg_read_scanlines(&d, rows, 1);
  jpeg_finish_decompress(&d);
  jpeg_destroy_decompress(&d);
}

// The show's load of a still picture to a full-screen stretch, into fresh
// bitmaps (as a first picture is loaded).
TBitmap32 ShowLoad(const std::string& path, TPoint target) {
  const std::string bytes = ReadPictureBytes(path);
  const std::span data(reinterpret_cast<const uint8_t*>(bytes.data()), bytes.size());
  const std::optional<TPoint> size = StillJpegSize(data);
  TBitmap32 picture = DecodeStillPicture(data, size ? std::optional(target) : std::nullopt);
  TBitmap32 fitted;
  fitted.SetSize(target.X, target.Y);
  ResampleLanczos3(picture, fitted);
  return fitted;
}

// The same into the buffers of the picture before, as the show loads every
// later picture.
void ShowLoadReused(const std::string& path, TPoint target, TBitmap32& decoded, TBitmap32& fitted) {
  const std::string bytes = ReadPictureBytes(path);
  const std::span data(reinterpret_cast<const uint8_t*>(bytes.data()), bytes.size());
  const std::optional<TPoint> size = StillJpegSize(data);
  DecodeStillPictureInto(data, size ? std::optional(target) : std::nullopt, decoded);
  fitted.SetSizeForOverwrite(target.X, target.Y);
  ResampleLanczos3(decoded, fitted);
}

}  // namespace

int main(int argc, char** argv) {
  const int runs = argc > 1 ? std::max(1, std::atoi(argv[1])) : 9;
  const TPoint target{1920, 1080};
  const std::string jpeg = EncodeJpeg(Photo(4000, 3000), 90);
  const std::span data(reinterpret_cast<const uint8_t*>(jpeg.data()), jpeg.size());
  const TPoint full = *JpegPictureSize(data);
  const int denom = JpegScaleToCover(full, target);
  const char* tmp = std::getenv("TMPDIR");
  const std::string path = std::string(tmp && *tmp ? tmp : "/tmp") + "/bench_load_" + std::to_string(std::chrono::steady_clock::now().time_since_epoch().count()) + ".jpg";
  {
    const TFilePtr out = CreateWritableFile(path);
    if (!out || std::fwrite(jpeg.data(), 1, jpeg.size(), out.get()) != jpeg.size()) return 1;
  }
  std::vector<double> plain, show, reused;
  TBitmap32 reusedDecoded, reusedFitted;

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
    plain.push_back(TimeOnce([&] { PlainLibjpegDecode(path, denom); }));
    show.push_back(TimeOnce([&] { fitted = ShowLoad(path, target); }));
    reused.push_back(TimeOnce([&] { ShowLoadReused(path, target, reusedDecoded, reusedFitted); }));
  }
  RemoveFile(path);
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
  const double pl = Median(plain) / 1000, sh = Median(show) / 1000;
  std::printf("\n%-28s %9s %9s\n", "from the file", "ms", "plain");
  std::printf("%-28s %9.2f %9.2f\n", "plain libjpeg 1/N to RGB", pl, 1.0);
  std::printf("%-28s %9.2f %9.2f\n", "the show's load and fit", sh, sh / pl);
  const double re = Median(reused) / 1000;
  std::printf("%-28s %9.2f %9.2f\n", "  into reused buffers", re, re / pl);
  return 0;
}
