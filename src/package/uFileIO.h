// The picture file format (".kxp"): a JPEG picture with its title,
// description and thumbnail, a map of up to six water areas and the
// animation records. All integers are 32-bit little-endian; a text is a length
// and that many bytes; a JPEG block is a length and a complete JPEG stream.
//
//   magic "KX060697", title, description, thumbnail (JPEG block), an
//   integer the reader skips, wave records 1-4 (32 bytes each), region map
//   (count n, then n integers: width, height, runs), picture (JPEG block),
//   sound file text, weather record (24 bytes)
//   optional tail: sound records 1-8 (268 bytes each), objects text, extra
//   text, count n and n further wave records (becoming records 5-8)
//
// The tail may end after the weather record, after the sound records or after
// the extra text; what it lacks keeps its default.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <memory>
#include <span>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

#include "raster/uBitmap.h"

namespace kx {

inline constexpr std::string_view kPictureFileMagic = "KX060697";
inline constexpr std::string_view kIncorrectProjectFile = "Incorrect Project File!";

inline constexpr size_t kWaveRecordSize = 32;
inline constexpr size_t kWaveRecordCount = 8;
inline constexpr size_t kHeaderWaveCount = 4;  // records stored before the region map
inline constexpr size_t kWeatherRecordSize = 24;
inline constexpr size_t kSoundRecordSize = 268;
inline constexpr size_t kSoundRecordCount = 8;

using TWaveRecordBytes = std::array<uint8_t, kWaveRecordSize>;

// The wave record every area starts with before the file is read: amplitude
// 6, 17 cycles, speed 15, direction 1, vertical and perspective on, period 360.
inline constexpr TWaveRecordBytes kDefaultWaveRecord = {
    6, 0, 0, 0, 17, 0, 0, 0, 15, 0, 0, 0, 1, 0, 0, 0,  //
    0, 1, 1, 0, 0x68, 0x01, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0};

// The pixel value of each region code 0..6 in a decoded region map (code 0:
// no area). The fourth byte is 0.
inline constexpr uint32_t kRegionPixels[7] = {0x000000, 0x0000FF, 0xFF00FF, 0xFF0000, 0xFFFF00, 0x00FF00, 0x00FFFF};

// Largest width or height of a region map.
inline constexpr int32_t kMaxRegionMapSide = 32768;

// Errors of reading a picture file: a file that cannot be opened, ends early,
// holds a length or count beyond what remains, or has the wrong magic.
class TFileIOError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

// Sequential reader of one file; every read fails with TFileIOError when fewer
// bytes remain than it asks for.
class TMyStream {
 public:
  explicit TMyStream(const std::string& path);

  void ReadBuffer(void* buffer, size_t n);
  int32_t ReadInteger();
  std::string ReadMagic(size_t n);
  // Replaces stream with the next n bytes. A negative n or one beyond what
  // remains fails before anything is allocated.
  void ReadToStream(std::vector<uint8_t>& stream, int32_t n);
  // A text: its length, then that many bytes.
  std::string ReadText();

  int64_t Remaining() const { return m_size - m_pos; }
  bool AtEnd() const { return m_pos >= m_size; }

 private:
  // Checks a length read from the file against what remains.
  size_t CheckedLength(int32_t n) const;

  std::unique_ptr<std::FILE, int (*)(std::FILE*)> m_file{nullptr, std::fclose};
  int64_t m_size = 0, m_pos = 0;
};

// Reads one picture file and keeps its content.
class TFileLoader {
 public:
  std::string Title;
  std::string Description;
  std::string SoundFile;    // the single sound name of older files
  std::string ObjectsText;  // INI text of the animated objects
  std::string ExtraText;    // build options, as a comma-separated list of lines

  // Reads the whole file. Throws for a wrong magic ("Incorrect Project File!"),
  // a file that ends before the end of the weather record, or a picture that
  // does not decode. A missing or cut tail is not an error. The main picture
  // is decoded within kMaxDecodedPixels and the thumbnail within
  // kMaxThumbnailPixels, a larger JPEG at the DCT scale that brings it under
  // them (raster/uDecodeError.h).
  void LoadFromFile(const std::string& path);
  // Reads only the magic, title, description and thumbnail.
  void LoadHeader(const std::string& path);

  void GetPicture(TBitmap32& bitmap) const { bitmap = m_picture; }
  // The main picture's size as its JPEG header declares it: the size the
  // picture was made at, larger than GetPicture's when it decoded at a
  // smaller scale to stay within the pixel budget.
  TPoint PictureSize() const { return m_pictureSize; }
  void GetThumbnail(TBitmap32& bitmap) const { bitmap = m_thumbnail; }
  void GetRegionMap(TBitmap32& bitmap) const;
  void GetWaves(std::span<std::byte, kWaveRecordCount * kWaveRecordSize> records) const;
  void GetSounds(std::span<std::byte, kSoundRecordCount * kSoundRecordSize> records) const;
  void GetWeather(std::span<std::byte, kWeatherRecordSize> record) const;

  // The integers of the region map: width, height, runs.
  const std::vector<int32_t>& RegionMap() const { return m_regionMap; }

 private:
  void Reset();
  void ReadHeader(TMyStream& stream);
  void ReadTail(TMyStream& stream);

  TBitmap32 m_picture, m_thumbnail;
  TPoint m_pictureSize;
  std::vector<int32_t> m_regionMap;
  std::array<TWaveRecordBytes, kWaveRecordCount> m_waves{};
  std::array<uint8_t, kWeatherRecordSize> m_weather{};
  std::array<std::array<uint8_t, kSoundRecordSize>, kSoundRecordCount> m_sounds{};
};

// Decodes region map integers (width, height, runs) into bitmap. Each run r
// stands for r / 10 pixels of code r % 10, filling the map row by row from the
// top left; pixels no run reaches are code 0, codes above 6 and runs past the
// end of the map are dropped, negative runs write nothing. Throws TFileIOError
// for a map without width and height, with a side outside 1..32768, or with
// more pixels than a decoded picture may have (kMaxDecodedPixels).
void DecodeRegionMap(std::span<const int32_t> ints, TBitmap32& bitmap);
// The same map decoded straight to width x height: each bitmap pixel takes
// the map pixel under its centre (the rule of stretching a map over a picture
// of another size), without ever holding the map at its own size. Throws
// TFileIOError as DecodeRegionMap does, and for a width x height above
// kMaxDecodedPixels; the map's own size is bounded only by its sides.
void DecodeRegionMapTo(std::span<const int32_t> ints, int32_t width, int32_t height, TBitmap32& bitmap);

// The extension of the file name that ends path ("/" and "\\" both end a
// folder's name), its dot included, in upper case; "" when the name has no dot.
std::string UpperExtension(std::string_view path);

// Plain pictures (".JPG", ".JPEG", ".BMP", ".GIF", ".PNG", ".WEBP", ".HEIC",
// ".HEIF", ".AVIF" in any case) against picture files of this format (every
// other extension). A WebP, HEIC or AVIF counts only when this build decodes
// its kind (PictureKindBuiltIn): a picture the program cannot show is not
// offered as one. The one rule of what is a still picture: the show, the
// thumbnails, the preview and kxtool all ask it.
bool IsStillPicture(std::string_view path);

}  // namespace kx
