#include "config/uDialogSettings.h"

#include <algorithm>
#include <filesystem>
#include <system_error>

#include "config/uConfigContext.h"
#include "config/uUserSettingsFile.h"
#include "os/uUserFiles.h"
#include "saver/uUserSettings.h"

namespace kx {
namespace {

constexpr std::string_view kSetting = "Setting";
constexpr std::string_view kMusicList = "MusicList";

int32_t SpeedPositionOf(int32_t speed, int32_t otherwise) {
  const auto it = std::find(SpeedSteps.begin(), SpeedSteps.end(), speed);
  return it == SpeedSteps.end() ? otherwise : int32_t(it - SpeedSteps.begin());
}

int32_t ImageSizeOf(const TKXCSetting& s) { return !s.Stretch ? 0 : s.Proportional ? 2 : 1; }

bool ReadSwitch(const TIniFile& ini, std::string_view key, bool def) {
  return ini.ReadInteger(kSetting, key, def ? 1 : 0) != 0;
}

bool FileExists(const std::string& path) {
  std::error_code error;
  return std::filesystem::exists(path, error);
}

}  // namespace

TDialogSettingsFile DialogSettingsFile(const std::string& programPath, const std::vector<std::string>& args,
                                       const std::string& overridePath) {
  if (!overridePath.empty()) return {true, overridePath};
  if (!IsPersistingRun(programPath, args)) return {};
  return {true, UserSettingsFilePath(programPath)};
}

TDialogSettingsFile DialogSettingsFile(const TConfigContext& context) {
  if (!context.Persisting()) return {};
  return {true, context.SettingsPath()};
}

TDialogSettings ReadDialogSettings(const TKXCProject& project, const TDialogSettingsFile& file,
                                   TDialogSettings start) {
  TDialogSettings v = std::move(start);
  const TKXCSetting& s = project.Settings;
  v.ImageMode = s.ShowImageMode;
  v.SpeedPosition = SpeedPositionOf(s.Speed, v.SpeedPosition);
  v.Sound = s.Sound;
  v.Music = s.Music;
  v.Transition = s.Transition;
  v.Duration = s.Duration;
  v.DirectX = s.DirectX;
  v.DirectXQuality = s.DirectXQuality;
  v.ShowClock = s.ShowClock;
  v.ClockPos = s.ClockPos;
  v.ImageSize = ImageSizeOf(s);
  v.Persisting = file.Persisting;
  if (!file.Persisting || !FileExists(file.Path)) return v;

  const TIniFile ini = ReadUserSettings(file.Path);
  v.ImageSize = ini.ReadInteger(kSetting, "ImageSize", v.ImageSize);
  v.ImageMode = ini.ReadInteger(kSetting, "ImageMode", v.ImageMode);
  v.SpeedPosition = ini.ReadInteger(kSetting, "Speed", v.SpeedPosition);
  v.Sound = ReadSwitch(ini, "Sound", v.Sound);
  v.Music = ReadSwitch(ini, "Music", v.Music);
  v.Transition = ReadSwitch(ini, "Transition", v.Transition);
  v.Duration = ini.ReadInteger(kSetting, "Duration", v.Duration);
  v.DirectX = ReadSwitch(ini, "DirectX", v.DirectX);
  v.DirectXQuality = ini.ReadInteger(kSetting, "DirectXQuality", v.DirectXQuality);
  v.CustomMusic = ReadSwitch(ini, "CustomMusic", false);
  v.ShuffleMusic = ReadSwitch(ini, "ShuffleMusic", true);
  v.ClockPos = ini.ReadInteger(kSetting, "ClockPos", 1);
  v.ShowClock = ReadSwitch(ini, "ShowClock", false);
  v.MusicList = ini.ReadSection(kMusicList);
  return v;
}

void WriteDialogSettings(const TDialogSettings& v, const TDialogSettingsFile& file) {
  if (!file.Persisting) return;
  TIniFile ini = ReadUserSettings(file.Path);
  ini.WriteInteger(kSetting, "ImageSize", v.ImageSize);
  ini.WriteInteger(kSetting, "ImageMode", v.ImageMode);
  ini.WriteInteger(kSetting, "Speed", v.SpeedPosition);
  ini.WriteBool(kSetting, "Sound", v.Sound);
  ini.WriteBool(kSetting, "Music", v.Music);
  ini.WriteBool(kSetting, "Transition", v.Transition);
  ini.WriteInteger(kSetting, "Duration", v.Duration);
  ini.WriteBool(kSetting, "DirectX", v.DirectX);
  ini.WriteInteger(kSetting, "DirectXQuality", v.DirectXQuality);
  ini.WriteBool(kSetting, "CustomMusic", v.CustomMusic);
  ini.WriteBool(kSetting, "ShuffleMusic", v.ShuffleMusic);
  ini.WriteBool(kSetting, "ShowClock", v.ShowClock);
  ini.WriteInteger(kSetting, "ClockPos", v.ClockPos);
  ini.EraseSection(kMusicList);
  for (const std::string& entry : v.MusicList)
    if (CanStoreMusicEntry(entry)) ini.WriteString(kMusicList, entry, "");
  WriteUserSettings(file.Path, ini);
}

void ApplyDialogSettingsToProject(const TDialogSettings& v, TKXCProject& project) {
  if (!v.Persisting) return;
  TKXCSetting& s = project.Settings;
  s.ShowImageMode = v.ImageMode;
  s.Duration = v.Duration;
  s.Sound = v.Sound;
  s.Music = v.Music;
  s.Transition = v.Transition;
  if (v.SpeedPosition != kNoSpeedPosition)
    s.Speed = SpeedSteps[size_t(std::clamp<int32_t>(v.SpeedPosition, 0, int32_t(SpeedSteps.size()) - 1))];
  s.Stretch = v.ImageSize > 0;
  s.Proportional = v.ImageSize == 2;
}

bool CanStoreMusicEntry(std::string_view path) {
  if (path.empty() || path.front() == '[' || path.front() == ';') return false;
  if (static_cast<unsigned char>(path.front()) <= ' ' || static_cast<unsigned char>(path.back()) <= ' ') return false;
  return path.find_first_of("\r\n=;") == std::string_view::npos;
}

}  // namespace kx
