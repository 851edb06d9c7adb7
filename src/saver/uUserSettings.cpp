#include "saver/uUserSettings.h"

#include <optional>

namespace kx {

void ApplyUserSettings(TKXCProject& project, const std::string& iniPath) {
  TKXCSetting& s = project.Settings;
  TUserSettings defaults;
  SetFromProject(defaults, s);
  const std::optional<TUserSettings> file = ReadUserSettingsFile(iniPath, TUserSettingsReader::Show, defaults);
  if (!file) return;
  const TUserSettings& u = *file;

  if (u.CustomMusic) {
    std::string list;
    for (const std::string& entry : u.MusicList) list += (list.empty() ? "" : ";") + entry;
    s.MusicFile = list;
    s.MusicMode = u.ShuffleMusic ? 0 : 1;
  }

  std::vector<std::string>& states = project.FileList.States;
  const auto count = int64_t(states.size());
  auto isPicture = [&](int32_t i) { return i >= 0 && i < count; };
  if (u.ImageMode == 3) {
    const int64_t selected = isPicture(u.Index.Value) ? u.Index.Value : 0;
    for (int64_t i = 0; i < count; ++i) states[size_t(i)] = i == selected ? "TRUE" : "FALSE";
  } else if (u.ImageMode == 2) {
    for (const TPicturePosition& unticked : u.Files)
      if (isPicture(unticked.Value)) states[size_t(unticked.Value)] = "FALSE";
  }

  s.ShowImageMode = u.ImageMode;
  s.Duration = u.Duration;
  s.Sound = u.Sound;
  s.Music = u.Music;
  s.Transition = u.Transition;
  s.DirectX = u.DirectX;
  s.DirectXQuality = u.DirectXQuality;
  s.ClockPos = u.ClockPos;
  s.ShowClock = u.ShowClock;
  if (const std::optional<int32_t> speed = SpeedAt(u.SpeedPosition)) s.Speed = *speed;
  if (u.ImageSize != -1) {
    s.Stretch = u.ImageSize > 0;
    s.Proportional = u.ImageSize == 2;
  }
}

}  // namespace kx
