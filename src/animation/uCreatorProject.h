// One picture file in memory: the picture, its thumbnail, the water map, the
// wave, weather and sound records, the animated objects and the build options.
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "animation/uCommonConst.h"
#include "animation/uObject.h"
#include "raster/uBitmap.h"

namespace kx {

// The authoring tool's build options stored with a picture file. The player
// keeps them and acts on none of them.
struct TExtraInfo {
  std::string ScrFileName;
  std::string ScrMusicFile;
  bool ScrMusic = false;
  bool ScrSound = false;
  std::string ExeFileName;
  std::string ExeMusicFile;
  bool ExeMusic = false;
  bool ExeSound = false;

  // Reads the stored form: INI lines joined by commas ("[BuildScr],Filename=,
  // Music=0,..."). Missing keys take their defaults: empty names, Music off,
  // Sound on.
  static TExtraInfo FromText(std::string_view text);
};

// Splits the comma form of a list of lines: items separated by commas; an
// item that starts with a double quote runs to the closing quote and may hold
// commas, "" inside it standing for one quote. Quotes elsewhere are plain characters.
std::vector<std::string> SplitCommaText(std::string_view text);

class TProject {
 public:
  static constexpr int kWaveCount = 8;
  static constexpr int kSoundCount = 8;

  bool Loaded = false;
  std::string FileName;
  TBitmap32 Picture;
  TBitmap32 Thumbnail;
  TBitmap32 RegionMap;  // Picture's size, or empty for no water; pixels of the area colours
  std::array<TWaveParam, kWaveCount> Waves{};
  TWeatherParam Weather{};
  std::string Title, Description;
  int32_t DesignWidth = 0, DesignHeight = 0;  // Picture's size as stored, kept through fitting
  int32_t Speed = 100;                        // animation speed in percent
  std::string LegacySound;                    // empty once moved into Sounds
  std::array<TSoundParam, kSoundCount> Sounds{};
  TAnimObjects Objects;  // read from the file's objects text; the next Load destroys them
  TExtraInfo ExtraInfo;
  std::string LoadError;  // the message of the last failed Load or LoadHeader

  // Reads the whole file. False when it cannot be read (the project is then
  // empty); never shows a message. Speed is kept.
  bool Load(const std::string& fileName);
  // Reads title, description and thumbnail only. On failure shows a message
  // box "File: <name>" CR LF <error> and returns false.
  bool LoadHeader(const std::string& fileName);

  // The wave settings of area i + 1, i = 0..7.
  const TWaveParam& GetWave(int i) const;
  void SetSpeed(int32_t percent) { Speed = percent; }
  // The index of the first sound record without a path; 8 when all are used.
  int UsedSoundCount() const;

 private:
  // Back to the state of a new project, keeping Speed.
  void Clear();
  void MoveLegacySound();
  void LoadRegionMap(const std::vector<int32_t>& map);
};

}  // namespace kx
