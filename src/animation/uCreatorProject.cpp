#include "animation/uCreatorProject.h"

#include <exception>
#include <span>
#include <stdexcept>

#include "devices/uMessageBox.h"
#include "package/uFileIO.h"
#include "package/uIniFile.h"
#include "package/uText.h"

namespace kx {

static_assert(sizeof(TWaveParam) == kWaveRecordSize && sizeof(TWeatherParam) == kWeatherRecordSize &&
              sizeof(TSoundParam) == kSoundRecordSize);
static_assert(TProject::kWaveCount == kWaveRecordCount && TProject::kSoundCount == kSoundRecordCount);

std::vector<std::string> SplitCommaText(std::string_view text) {
  std::vector<std::string> items;
  if (text.empty()) return items;
  std::string item;
  bool quoted = false, started = false;  // started: the item has a character or an opening quote
  for (size_t i = 0; i < text.size(); ++i) {
    const char c = text[i];
    if (quoted) {
      if (c != '"') item += c;
      else if (i + 1 < text.size() && text[i + 1] == '"') item += '"', ++i;
      else quoted = false;
    } else if (c == '"' && !started) {
      quoted = started = true;
    } else if (c == ',') {
      items.push_back(std::move(item));
      item.clear();
      started = false;
    } else {
      item += c;
      started = true;
    }
  }
  items.push_back(std::move(item));
  return items;
}

TExtraInfo TExtraInfo::FromText(std::string_view text) {
  std::string lines;
  for (const std::string& item : SplitCommaText(text)) lines += item + "\r\n";
  const TIniFile ini = TIniFile::FromText(lines);
  TExtraInfo info;
  info.ScrFileName = ini.ReadString("BuildScr", "Filename", "");
  info.ScrMusicFile = ini.ReadString("BuildScr", "MusicFile", "");
  info.ScrMusic = ini.ReadBool("BuildScr", "Music", false);
  info.ScrSound = ini.ReadBool("BuildScr", "Sound", true);
  info.ExeFileName = ini.ReadString("BuildExe", "Filename", "");
  info.ExeMusicFile = ini.ReadString("BuildExe", "MusicFile", "");
  info.ExeMusic = ini.ReadBool("BuildExe", "Music", false);
  info.ExeSound = ini.ReadBool("BuildExe", "Sound", true);
  return info;
}

void TProject::Clear() {
  const int32_t speed = Speed;
  *this = TProject();
  Speed = speed;
}

bool TProject::Load(const std::string& fileName) {
  Clear();
  try {
    TFileLoader loader;
    loader.LoadFromFile(fileName);
    loader.GetPicture(Picture);
    LoadRegionMap(loader.RegionMap());
    loader.GetThumbnail(Thumbnail);
    loader.GetWaves(std::as_writable_bytes(std::span(Waves)));
    loader.GetWeather(std::as_writable_bytes(std::span<TWeatherParam, 1>(&Weather, 1)));
    loader.GetSounds(std::as_writable_bytes(std::span(Sounds)));
    FileName = fileName;
    Title = loader.Title;
    Description = loader.Description;
    LegacySound = loader.SoundFile;
    // The size the picture was made at, which object positions refer to, even
    // when the picture decoded at a smaller scale.
    DesignWidth = loader.PictureSize().X;
    DesignHeight = loader.PictureSize().Y;

    if (Weather.Level == 0) {
      if (Weather.Kind == 1) Weather.Level = 9;
      else if (Weather.Kind == 2) Weather.Level = 6;
    }
    MoveLegacySound();
    Loaded = true;
    Objects.LoadFromText(loader.ObjectsText);
    ExtraInfo = TExtraInfo::FromText(loader.ExtraText);
    return true;
  } catch (const std::exception& e) {
    Clear();
    LoadError = e.what();
    return false;
  }
}

// The engine reads the map at the picture's coordinates. Authoring tools
// write a 0 x 0 map for a picture without water; a map of another size than
// the picture (a picture decoded at a smaller scale among them) is stretched
// over it as it is decoded, by the rule fitting to the screen uses later, so
// a large map is never held at its own size.
void TProject::LoadRegionMap(const std::vector<int32_t>& map) {
  if (map.size() < 2) throw std::runtime_error("region map size differs from the picture size");
  if (map[0] == 0 && map[1] == 0) {
    RegionMap = TBitmap32();
    return;
  }
  DecodeRegionMapTo(map, Picture.Width(), Picture.Height(), RegionMap);
}

// Older files name one sound in a text of their own; it becomes the first free
// record, played in a loop, unless it is the "<NO SOUND>" marker or every
// record is taken.
void TProject::MoveLegacySound() {
  if (!LegacySound.empty() && !SameText(LegacySound, "<NO SOUND>")) {
    const int free = UsedSoundCount();
    if (free < kSoundCount) {
      Sounds[size_t(free)].SetPath(LegacySound);
      Sounds[size_t(free)].PlayMode = 0;
    }
  }
  LegacySound.clear();
}

bool TProject::LoadHeader(const std::string& fileName) {
  Clear();
  try {
    TFileLoader loader;
    loader.LoadHeader(fileName);
    FileName = fileName;
    Title = loader.Title;
    Description = loader.Description;
    loader.GetThumbnail(Thumbnail);
    Loaded = true;
    return true;
  } catch (const std::exception& e) {
    Clear();
    LoadError = e.what();
    ShowMessageBox("File: " + fileName + "\r\n" + e.what(), TMessageKind::Error);
    return false;
  }
}

const TWaveParam& TProject::GetWave(int i) const {
  if (i < 0 || i >= kWaveCount) throw std::out_of_range("wave index out of range");
  return Waves[size_t(i)];
}

int TProject::UsedSoundCount() const {
  for (int i = 0; i < kSoundCount; ++i)
    if (Sounds[size_t(i)].Empty()) return i;
  return kSoundCount;
}

}  // namespace kx
