#include "package/uPictureFileWriter.h"

#include <climits>
#include <stdexcept>
#include <string_view>

namespace kx {
namespace {

void PutInt(std::string& out, int64_t value) {
  if (value < INT32_MIN || value > INT32_MAX) throw std::length_error("value does not fit a picture file");
  const auto v = uint32_t(int32_t(value));
  const char b[4] = {char(v), char(v >> 8), char(v >> 16), char(v >> 24)};
  out.append(b, 4);
}

void PutBytes(std::string& out, const void* data, size_t n) { out.append(static_cast<const char*>(data), n); }

void PutText(std::string& out, std::string_view text) {
  PutInt(out, int64_t(text.size()));
  out += text;
}

}  // namespace

std::string MakePictureFile(const TPictureFileParts& p) {
  std::string out(kPictureFileMagic);
  PutText(out, p.Title);
  PutText(out, p.Description);
  PutText(out, p.Thumbnail);
  PutInt(out, int64_t(kHeaderWaveCount));
  for (size_t i = 0; i < kHeaderWaveCount; ++i)
    PutBytes(out, (i < p.Waves.size() ? p.Waves[i] : kDefaultWaveRecord).data(), kWaveRecordSize);
  PutInt(out, int64_t(p.RegionMap.size()));
  for (int32_t v : p.RegionMap) PutInt(out, v);
  PutText(out, p.Picture);
  PutText(out, p.SoundFile);
  PutBytes(out, p.Weather.data(), p.Weather.size());
  if (p.Tail == TPictureFileTail::None) return out;
  for (const auto& s : p.Sounds) PutBytes(out, s.data(), s.size());
  if (p.Tail == TPictureFileTail::Sounds) return out;
  PutText(out, p.ObjectsText);
  PutText(out, p.ExtraText);
  if (p.Tail == TPictureFileTail::Texts) return out;
  const size_t more = p.Waves.size() > kHeaderWaveCount ? p.Waves.size() - kHeaderWaveCount : 0;
  PutInt(out, int64_t(more));
  for (size_t i = 0; i < more; ++i) PutBytes(out, p.Waves[kHeaderWaveCount + i].data(), kWaveRecordSize);
  return out;
}

int RegionCodeOf(TPixel pixel) {
  for (int code = 1; code <= 6; ++code)
    if ((pixel & 0xFFFFFF) == kRegionPixels[code]) return code;
  return 0;
}

std::vector<int32_t> EncodeRegionMap(const TBitmap32& map) {
  constexpr int64_t kMaxRun = (INT32_MAX - 9) / 10;
  std::vector<int32_t> ints = {map.Width(), map.Height()};
  const int64_t total = int64_t(map.Width()) * map.Height();
  const TPixel* px = map.Bits();
  for (int64_t i = 0; i < total;) {
    const int code = RegionCodeOf(px[i]);
    int64_t n = 1;
    while (i + n < total && n < kMaxRun && RegionCodeOf(px[i + n]) == code) ++n;
    ints.push_back(int32_t(n * 10 + code));
    i += n;
  }
  return ints;
}

}  // namespace kx
