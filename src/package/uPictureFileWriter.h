// Writing picture files, for the authoring tool and for tests. The reader's
// counterpart: see uFileIO.h for the layout.
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <vector>

#include "package/uFileIO.h"
#include "raster/uBitmap.h"

namespace kx {

// Where the optional tail ends: right after the weather record, after the
// sound records, after the extra text, or the whole tail.
enum class TPictureFileTail { None, Sounds, Texts, Full };

struct TPictureFileParts {
  std::string Title, Description;
  std::string Thumbnail;  // a JPEG stream
  std::vector<TWaveRecordBytes> Waves;  // the first four go before the region map (missing ones as defaults)
  std::vector<int32_t> RegionMap;       // width, height, runs
  std::string Picture;                  // a JPEG stream
  std::string SoundFile;
  std::array<uint8_t, kWeatherRecordSize> Weather{};
  std::array<std::array<uint8_t, kSoundRecordSize>, kSoundRecordCount> Sounds{};
  std::string ObjectsText, ExtraText;
  TPictureFileTail Tail = TPictureFileTail::Full;
};

// The file's bytes. Waves beyond the first four are written to the tail's
// further records (only with the full tail). Throws std::length_error for a
// text or block beyond 2^31 - 1 bytes.
std::string MakePictureFile(const TPictureFileParts& parts);

// The region code (0..6) of a pixel by its colour, alpha ignored; colours
// other than the six area colours are 0.
int RegionCodeOf(TPixel pixel);

// Encodes a picture of area colours as region map integers: width, height and
// runs of up to 214748363 pixels each, continuing across rows.
std::vector<int32_t> EncodeRegionMap(const TBitmap32& map);

}  // namespace kx
