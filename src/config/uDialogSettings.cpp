#include "config/uDialogSettings.h"

#include <algorithm>
#include <optional>

#include "config/uConfigContext.h"

namespace kx {

TDialogSettingsFile DialogSettingsFile(const std::string& programPath, const std::vector<std::string>& args,
                                       const std::string& overridePath) {
  return UserSettingsFileOf(programPath, args, overridePath);
}

TDialogSettingsFile DialogSettingsFile(const TConfigContext& context) {
  return UserSettingsFileOf(context.ProgramPath, context.Args, context.SettingsFile);
}

TDialogSettings ReadDialogSettings(const TKXCProject& project, const TDialogSettingsFile& file,
                                   TDialogSettings start) {
  TDialogSettings v = std::move(start);
  SetFromProject(v, project.Settings);
  v.Persisting = file.Persisting;
  if (!file.Persisting) return v;
  if (std::optional<TUserSettings> read = ReadUserSettingsFile(file.Path, TUserSettingsReader::Dialog, v))
    static_cast<TUserSettings&>(v) = std::move(*read);
  return v;
}

void WriteDialogSettings(const TDialogSettings& v, const TDialogSettingsFile& file) {
  if (file.Persisting) WriteUserSettingsFile(file.Path, v, kSettingsDialogPart);
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
    s.Speed = *SpeedAt(std::clamp<int32_t>(v.SpeedPosition, 0, int32_t(SpeedSteps.size()) - 1));
  s.Stretch = v.ImageSize > 0;
  s.Proportional = v.ImageSize == 2;
}

}  // namespace kx
