// The project model: the pictures of the show, the author's settings and the
// user-interface definition, read from the package's "KXC.res".
#pragma once

#include <array>
#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <variant>
#include <vector>

namespace kx {

// The speed scale's 21 steps in percent, shared by the settings dialog, the
// user settings file (which stores a position on it) and snow and rain;
// position 10 is normal speed.
inline constexpr std::array<int32_t, 21> SpeedSteps = {10,  20,  30,  45,  50,  60,  70,  75,  80,  90, 100,
                                                       120, 140, 160, 180, 200, 220, 240, 360, 480, 500};

class TIniFile;

class TKXCFileList {
 public:
  std::vector<std::string> Names;   // picture file names in show order
  std::vector<std::string> States;  // "TRUE" or "FALSE", parallel to Names

  void LoadFromFile(const std::string& path);
  void LoadFromIni(const TIniFile& ini);
  // Names each picture by the packaged file it finds (FindPackagedName):
  // on Windows "LAKE.JPG" is the extracted "lake.jpg", and a second
  // packaged "Lake.jpg" was never written.
  void UsePackagedNames(const std::vector<std::string>& packaged);
};

class TKXCSetting {
 public:
  // [General]
  std::string ProductName = "My Screensaver";
  std::string Publisher;
  std::string Website;
  // [Default]
  bool Stretch = true;
  bool Proportional = false;
  bool Sound = true;
  int32_t SoundVolume = 100;
  bool Music = true;
  int32_t MusicVolume = 100;
  bool Animation = true;
  bool Random = true;
  int32_t Duration = 30;
  bool Transition = true;
  int32_t TransitionTime = 2000;
  std::string TransitionEffects = AllEffectNumbers();
  bool Zoom = false;
  bool LivingZoom = false;
  int32_t ZoomDuration = 5;
  bool AutoWallpaper = false;
  int32_t Speed = 100;
  int32_t ShowImageMode = 0;
  bool DirectX = false;
  int32_t DirectXQuality = 0;
  bool ShowClock = false;
  int32_t ClockPos = 1;
  // [Advance]
  std::string PreviewFile;
  std::string MusicFile;
  int32_t MusicMode = 0;
  // [Build]
  int32_t BuildMethod = 2;
  bool BuildSmallThumbs = true;
  std::string BuildFileName;
  std::string BuildInstall;
  std::string BuildIcon;
  bool CustomIcon = false;

  // Reads every key, each with the member's current value as its default.
  void LoadFromFile(const std::string& path);
  void LoadFromIni(const TIniFile& ini);

  // "1,2,3,...,169".
  static std::string AllEffectNumbers();
};

// One row of the settings table: key (= member name), section and member.
struct TSettingField {
  using Member = std::variant<bool TKXCSetting::*, int32_t TKXCSetting::*, std::string TKXCSetting::*>;
  std::string_view Key;
  std::string_view Section;
  Member Field;
};
// Every member of TKXCSetting in table order.
std::span<const TSettingField> SettingFields();
// A member's value as INI text: booleans 1 or 0, integers in decimal, texts as stored.
std::string SettingText(const TKXCSetting& settings, const TSettingField& field);

class TUISetting {
 public:
  std::string UIFile;

  void LoadFromFile(const std::string& path);
  void LoadFromIni(const TIniFile& ini);
  // Names each picture by the packaged file it finds (FindPackagedName):
  // on Windows "LAKE.JPG" is the extracted "lake.jpg", and a second
  // packaged "Lake.jpg" was never written.
  void UsePackagedNames(const std::vector<std::string>& packaged);
};

class TKXCProject {
 public:
  TKXCFileList FileList;
  TKXCSetting Settings;
  TUISetting UISettings;

  // Loads the three texts of a "KXC.res" container of three or four entries;
  // any other count leaves the model as it is. The texts are read in memory:
  // nothing is written outside the work folder.
  void LoadFromPackage(const std::string& path);
  // Turns the file references into paths in workFolder (which ends in "/").
  void RelocateFiles(const std::string& workFolder);
};

}  // namespace kx
