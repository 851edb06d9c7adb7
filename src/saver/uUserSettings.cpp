#include "saver/uUserSettings.h"

#include <sys/stat.h>

#include "os/uPlatform.h"
#include "os/uUserFiles.h"
#include "package/uIniFile.h"

namespace kx {

std::string UserSettingsFileName(const std::string& programPath) { return UserSettingsFilePath(programPath); }

void ApplyUserSettings(TKXCProject& project, const std::string& iniPath) {
  struct stat st {};
  if (::stat(iniPath.c_str(), &st) != 0) return;
  const TIniFile ini = TIniFile::FromFile(iniPath);
  TKXCSetting& s = project.Settings;
  constexpr std::string_view kSection = "Setting";

  const int32_t imageSize = ini.ReadInteger(kSection, "ImageSize", -1);
  const int32_t imageMode = ini.ReadInteger(kSection, "ImageMode", s.ShowImageMode);
  const int32_t speed = ini.ReadInteger(kSection, "Speed", -1);
  const int32_t index = ini.ReadInteger(kSection, "Index", 0);

  if (ini.ReadBool(kSection, "CustomMusic", false)) {
    std::string list;
    for (const std::string& file : ini.ReadSection("MusicList")) list += (list.empty() ? "" : ";") + file;
    s.MusicFile = list;
    s.MusicMode = ini.ReadBool(kSection, "ShuffleMusic", true) ? 0 : 1;
  }

  std::vector<std::string>& states = project.FileList.States;
  const auto count = int64_t(states.size());
  if (imageMode == 3) {
    const int64_t selected = (index >= 0 && index < count) ? index : 0;
    for (int64_t i = 0; i < count; ++i) states[size_t(i)] = i == selected ? "TRUE" : "FALSE";
  } else if (imageMode == 2) {
    for (const std::string& key : ini.ReadSection("Files")) {
      const std::optional<int32_t> i = ParseInteger(key);
      if (i && *i >= 0 && *i < count) states[size_t(*i)] = "FALSE";
    }
  }

  s.ShowImageMode = imageMode;
  s.Duration = ini.ReadInteger(kSection, "Duration", s.Duration);
  s.Sound = ini.ReadBool(kSection, "Sound", s.Sound);
  s.Music = ini.ReadBool(kSection, "Music", s.Music);
  s.Transition = ini.ReadBool(kSection, "Transition", s.Transition);
  s.DirectX = ini.ReadBool(kSection, "DirectX", true);
  s.DirectXQuality = ini.ReadInteger(kSection, "DirectXQuality", 1);
  s.ClockPos = ini.ReadInteger(kSection, "ClockPos", 1);
  s.ShowClock = ini.ReadBool(kSection, "ShowClock", false);
  if (speed >= 0 && speed < int32_t(SpeedSteps.size())) s.Speed = SpeedSteps[size_t(speed)];
  if (imageSize != -1) {
    s.Stretch = imageSize > 0;
    s.Proportional = imageSize == 2;
  }
}

}  // namespace kx
