#include "package/uFileIO.h"

#include <algorithm>
#include <cstring>

#include "os/uFileAccess.h"
#include "os/uPackedFiles.h"
#include "package/uText.h"
#include "raster/uJpegCodec.h"
#include "raster/uPictureDecode.h"

namespace kx {

// ---- TMyStream ----

// A packed picture file is read in place, from its range of the program file.
TMyStream::TMyStream(const std::string& path) {
  TFileWindow window = OpenFileWindow(path);
  if (!window.File) throw TFileIOError("Cannot open file \"" + path + "\"");
  m_file = std::move(window.File);
  m_size = window.Size;
}

void TMyStream::ReadBuffer(void* buffer, size_t n) {
  if (n > uint64_t(Remaining()) || std::fread(buffer, 1, n, m_file.get()) != n) {
    m_pos = m_size;  // nothing more is read once the file has failed us
    throw TFileIOError("Stream read error");
  }
  m_pos += int64_t(n);
}

int32_t TMyStream::ReadInteger() {
  uint8_t b[4];
  ReadBuffer(b, 4);
  return int32_t(uint32_t(b[0]) | uint32_t(b[1]) << 8 | uint32_t(b[2]) << 16 | uint32_t(b[3]) << 24);
}

std::string TMyStream::ReadMagic(size_t n) {
  std::string magic(n, '\0');
  ReadBuffer(magic.data(), n);
  return magic;
}

size_t TMyStream::CheckedLength(int32_t n) const {
  if (n < 0 || n > Remaining()) throw TFileIOError("Stream read error");
  return size_t(n);
}

void TMyStream::ReadToStream(std::vector<uint8_t>& stream, int32_t n) {
  stream.resize(CheckedLength(n));
  ReadBuffer(stream.data(), stream.size());
}

std::string TMyStream::ReadText() {
  std::string text(CheckedLength(ReadInteger()), '\0');
  ReadBuffer(text.data(), text.size());
  return text;
}

// ---- TFileLoader ----

namespace {

// A JPEG block decoded within maxPixels: a larger picture decodes at the DCT
// scale that brings it under them (raster/uJpegCodec.h). declaredSize, when
// given, receives the size the stream's header declares.
TBitmap32 ReadJpegBlock(TMyStream& stream, int64_t maxPixels, TPoint* declaredSize = nullptr) {
  std::vector<uint8_t> block;
  stream.ReadToStream(block, stream.ReadInteger());
  TBitmap32 picture = DecodeJpeg(block, 1, maxPixels);
  if (declaredSize) *declaredSize = JpegPictureSize(block).value_or(TPoint{picture.Width(), picture.Height()});
  return picture;
}

}  // namespace

void TFileLoader::Reset() {
  Title.clear();
  Description.clear();
  SoundFile.clear();
  ObjectsText.clear();
  ExtraText.clear();
  m_picture = TBitmap32();
  m_pictureSize = {};
  m_thumbnail = TBitmap32();
  m_regionMap.clear();
  m_waves.fill(kDefaultWaveRecord);
  m_weather.fill(0);
  for (auto& s : m_sounds) s.fill(0);
}

void TFileLoader::ReadHeader(TMyStream& stream) {
  if (stream.ReadMagic(kPictureFileMagic.size()) != kPictureFileMagic)
    throw TFileIOError(std::string(kIncorrectProjectFile));
  Title = stream.ReadText();
  Description = stream.ReadText();
  m_thumbnail = ReadJpegBlock(stream, kMaxThumbnailPixels);
}

void TFileLoader::LoadHeader(const std::string& path) {
  Reset();
  TMyStream stream(path);
  ReadHeader(stream);
}

void TFileLoader::LoadFromFile(const std::string& path) {
  Reset();
  TMyStream stream(path);
  ReadHeader(stream);
  (void)stream.ReadInteger();  // the number of wave records that follow; always 4
  for (size_t i = 0; i < kHeaderWaveCount; ++i) stream.ReadBuffer(m_waves[i].data(), kWaveRecordSize);

  const int32_t count = stream.ReadInteger();
  if (count < 0 || int64_t(count) * 4 > stream.Remaining()) throw TFileIOError("Stream read error");
  m_regionMap.resize(size_t(count));
  for (int32_t& v : m_regionMap) v = stream.ReadInteger();

  m_picture = ReadJpegBlock(stream, kMaxDecodedPixels, &m_pictureSize);
  SoundFile = stream.ReadText();
  stream.ReadBuffer(m_weather.data(), m_weather.size());
  ReadTail(stream);
}

// Older files end after the weather record, or after the sound records, or
// after the extra text; a read that fails ends the tail quietly and keeps
// what was read before it.
void TFileLoader::ReadTail(TMyStream& stream) {
  try {
    // Record by record, so a file cut inside them keeps its complete leading records.
    if (!stream.AtEnd())
      for (auto& sound : m_sounds) {
        std::array<uint8_t, kSoundRecordSize> record;
        stream.ReadBuffer(record.data(), record.size());
        sound = record;
      }
    ObjectsText = stream.ReadText();
    ExtraText = stream.ReadText();
    const int32_t more = stream.ReadInteger();
    // Room for four further records; more than that is outside the format.
    for (int32_t i = 0; i < more && kHeaderWaveCount + size_t(i) < kWaveRecordCount; ++i) {
      TWaveRecordBytes record;
      stream.ReadBuffer(record.data(), record.size());
      m_waves[kHeaderWaveCount + size_t(i)] = record;
    }
  } catch (const TFileIOError&) {
  }
}

void TFileLoader::GetRegionMap(TBitmap32& bitmap) const { DecodeRegionMap(m_regionMap, bitmap); }

void TFileLoader::GetWaves(std::span<std::byte, kWaveRecordCount * kWaveRecordSize> records) const {
  std::memcpy(records.data(), m_waves.data(), records.size());
}

void TFileLoader::GetSounds(std::span<std::byte, kSoundRecordCount * kSoundRecordSize> records) const {
  std::memcpy(records.data(), m_sounds.data(), records.size());
}

void TFileLoader::GetWeather(std::span<std::byte, kWeatherRecordSize> record) const {
  std::memcpy(record.data(), m_weather.data(), record.size());
}

static_assert(sizeof(std::array<TWaveRecordBytes, kWaveRecordCount>) == kWaveRecordCount * kWaveRecordSize);
static_assert(sizeof(std::array<std::array<uint8_t, kSoundRecordSize>, kSoundRecordCount>) ==
              kSoundRecordCount * kSoundRecordSize);

// ---- region map ----

void DecodeRegionMap(std::span<const int32_t> ints, TBitmap32& bitmap) {
  if (ints.size() < 2) throw TFileIOError("region map without a size");
  DecodeRegionMapTo(ints, ints[0], ints[1], bitmap);
}

// Walks the runs once. Only the map rows that some bitmap row samples are
// looked at, and of them only the sampled columns are written, straight into
// the bitmap: a map of any legal size costs its runs plus the bitmap.
void DecodeRegionMapTo(std::span<const int32_t> ints, int32_t width, int32_t height, TBitmap32& bitmap) {
  if (ints.size() < 2) throw TFileIOError("region map without a size");
  const int32_t w = ints[0], h = ints[1];
  // A few integers can describe any size: what is decoded is held to the
  // same pixel budget as decoded pictures.
  if (w <= 0 || h <= 0 || w > kMaxRegionMapSide || h > kMaxRegionMapSide || width <= 0 || height <= 0 ||
      width > kMaxRegionMapSide || height > kMaxRegionMapSide || int64_t(width) * height > kMaxDecodedPixels)
    throw TFileIOError("region map size out of range");
  bitmap.SetSize(width, height, kRegionPixels[0]);

  // The map pixel under the centre of bitmap pixel (x, y) is (column(x), row(y)).
  auto column = [&](int64_t x) { return int32_t((2 * x + 1) * w / (2 * int64_t(width))); };
  auto row = [&](int64_t y) { return int32_t((2 * y + 1) * h / (2 * int64_t(height))); };
  // first[c]: the first bitmap column whose map column is c or more.
  std::vector<int32_t> first(size_t(w) + 1);
  for (int32_t c = 0, x = 0; c <= w; ++c) {
    while (x < width && column(x) < c) ++x;
    first[size_t(c)] = x;
  }

  int32_t y = 0;  // the bitmap row being written
  int64_t rowStart = int64_t(row(0)) * w;  // where its map row starts among the map's pixels
  // Copies bitmap row y to the following rows that sample the same map row,
  // then moves on to the next row that samples another one.
  auto finishRow = [&] {
    const int32_t source = row(y);
    for (++y; y < height && row(y) == source; ++y) std::copy_n(bitmap.Row(y - 1), width, bitmap.Row(y));
    if (y < height) rowStart = int64_t(row(y)) * w;
  };

  const int64_t total = int64_t(w) * h;
  int64_t pos = 0;
  for (size_t i = 2; i < ints.size() && pos < total && y < height; ++i) {
    const int32_t run = ints[i];
    if (run < 0) continue;
    int64_t n = std::min<int64_t>(run / 10, total - pos);
    const int32_t code = run % 10;
    const TPixel value = code <= 6 ? kRegionPixels[code] : kRegionPixels[0];
    while (n > 0 && y < height) {
      if (pos + n <= rowStart) {  // the run ends before the next sampled row
        pos += n;
        break;
      }
      if (pos < rowStart) n -= rowStart - pos, pos = rowStart;
      const int64_t k = std::min(n, rowStart + w - pos);
      const int64_t c = pos - rowStart;
      std::fill(bitmap.Row(y) + first[size_t(c)], bitmap.Row(y) + first[size_t(c + k)], value);
      pos += k;
      n -= k;
      if (pos == rowStart + w) finishRow();
    }
  }
  // A row the runs reached only partly: its rest stays code 0, like every
  // pixel no run reaches; rows sampling the same map row get it too.
  if (y < height && pos > rowStart) finishRow();
}

std::string UpperExtension(std::string_view path) {
  const size_t slash = path.find_last_of("/\\");
  const std::string_view name = slash == std::string_view::npos ? path : path.substr(slash + 1);
  const size_t dot = name.rfind('.');
  return dot == std::string_view::npos ? std::string() : UpperCase(name.substr(dot));
}

bool IsStillPicture(std::string_view path) {
  static constexpr struct {
    std::string_view Extension;
    TPictureKind Kind;
  } kStills[] = {
      {".JPG", TPictureKind::Jpeg},  {".JPEG", TPictureKind::Jpeg}, {".BMP", TPictureKind::Bmp},
      {".GIF", TPictureKind::Gif},   {".PNG", TPictureKind::Png},   {".WEBP", TPictureKind::Webp},
      {".HEIC", TPictureKind::Heic}, {".HEIF", TPictureKind::Heic}, {".AVIF", TPictureKind::Avif},
  };
  const std::string ext = UpperExtension(path);
  for (const auto& still : kStills)
    if (ext == still.Extension) return PictureKindBuiltIn(still.Kind);
  return false;
}

}  // namespace kx
