#include "package/uUserSettingsFile.h"

#include <algorithm>
#include <exception>
#include <limits>
#include <type_traits>

#include "os/uFileAccess.h"
#include "os/uPlatform.h"
#include "os/uUserFiles.h"
#include "package/uIniFile.h"
#include "package/uText.h"

namespace kx {
namespace {

using U = TUserSettings;
using S = TKXCSetting;

constexpr std::string_view kSetting = "Setting", kMusicList = "MusicList", kFiles = "Files";
constexpr int32_t kAny = std::numeric_limits<int32_t>::max();

// The project's value of a key that is one member of its settings.
template <auto Member>
std::optional<int32_t> From(const S& s) {
  return int32_t(s.*Member);
}
std::optional<int32_t> ImageSizeOf(const S& s) { return !s.Stretch ? 0 : s.Proportional ? 2 : 1; }
std::optional<int32_t> SpeedPositionOfProject(const S& s) { return SpeedPositionOf(s.Speed); }

constexpr TUserSettingDefault kProject{true, 0};
constexpr TUserSettingDefault Fixed(int32_t value) { return {false, value}; }
constexpr TUserSettingDefault kListed{};  // a section: the names the file lists, none when it lists none

constexpr TUserSettingsPart kDialog = kSettingsDialogPart, kIndex = kCurrentPicturePart,
                            kGrids = kUntickedPicturesPart;

// Every key of the file. "The project's" is how the project's settings give
// the key (SetFromProject); the two defaults are the show's and the settings
// dialog's for a key the file lacks or that holds no number: kProject, the
// project's value, or a fixed one (switches 0 or 1). Without any file the
// dialog shows the project's values, so its clock is the project's there.
// "Index" is read with the dialog's defaults by the configuration window,
// its only writer. The rows' order is the order the writers write them in.
// clang-format off
const TUserSettingKey kKeys[] = {
  // section   key               member              limits   the project's             show's     dialog's  writer
  {kSetting,   "ImageSize",      &U::ImageSize,      0, 2,    ImageSizeOf,              Fixed(-1), kProject, kDialog},
  {kSetting,   "ImageMode",      &U::ImageMode,      0, 3,    From<&S::ShowImageMode>,  kProject,  kProject, kDialog},
  {kSetting,   "Speed",          &U::SpeedPosition,  0, 20,   SpeedPositionOfProject,   Fixed(-1), kProject, kDialog},
  {kSetting,   "Sound",          &U::Sound,          0, 1,    From<&S::Sound>,          kProject,  kProject, kDialog},
  {kSetting,   "Music",          &U::Music,          0, 1,    From<&S::Music>,          kProject,  kProject, kDialog},
  {kSetting,   "Transition",     &U::Transition,     0, 1,    From<&S::Transition>,     kProject,  kProject, kDialog},
  {kSetting,   "Duration",       &U::Duration,       0, kAny, From<&S::Duration>,       kProject,  kProject, kDialog},
  {kSetting,   "DirectX",        &U::DirectX,        0, 1,    From<&S::DirectX>,        Fixed(1),  kProject, kDialog},
  {kSetting,   "DirectXQuality", &U::DirectXQuality, 0, 2,    From<&S::DirectXQuality>, Fixed(1),  kProject, kDialog},
  {kSetting,   "CustomMusic",    &U::CustomMusic,    0, 1,    nullptr,                  Fixed(0),  Fixed(0), kDialog},
  {kSetting,   "ShuffleMusic",   &U::ShuffleMusic,   0, 1,    nullptr,                  Fixed(1),  Fixed(1), kDialog},
  {kSetting,   "ShowClock",      &U::ShowClock,      0, 1,    From<&S::ShowClock>,      Fixed(0),  Fixed(0), kDialog},
  {kSetting,   "ClockPos",       &U::ClockPos,       0, 3,    From<&S::ClockPos>,       Fixed(1),  Fixed(1), kDialog},
  {kMusicList, "",               &U::MusicList,      0, 0,    nullptr,                  kListed,   kListed,  kDialog},
  {kSetting,   "Index",          &U::Index,          0, kAny, nullptr,                  Fixed(0),  Fixed(0), kIndex},
  {kFiles,     "",               &U::Files,          0, kAny, nullptr,                  kListed,   kListed,  kGrids},
};
// clang-format on

// The file's text as INI; empty when there is none or it cannot be read.
TIniFile ReadIni(const std::string& path) {
  try {
    return TIniFile::FromFile(path);
  } catch (const std::exception&) {
    return {};
  }
}

// A position as the text spells it; otherwise when the text is no integer.
TPicturePosition PositionOf(const std::string& text, TPicturePosition otherwise) {
  const std::optional<int32_t> value = ParseInteger(text);
  if (!value) return otherwise;
  return {*value, std::to_string(*value) == text};
}

void ReadKey(const TIniFile& ini, const TUserSettingKey& key, const TUserSettingDefault& def, TUserSettings& values) {
  std::visit(
      [&](auto member) {
        auto& value = values.*member;
        using V = std::decay_t<decltype(value)>;
        if constexpr (std::is_same_v<V, int32_t>) {
          value = ini.ReadInteger(key.Section, key.Key, def.FromProject ? value : def.Value);
        } else if constexpr (std::is_same_v<V, bool>) {
          value = ini.ReadBool(key.Section, key.Key, def.FromProject ? value : def.Value != 0);
        } else if constexpr (std::is_same_v<V, TPicturePosition>) {
          const TPicturePosition fallback{def.FromProject ? value.Value : def.Value, true};
          // A text that is no number keeps the default, but is not what the window writes.
          value = ini.ValueExists(key.Section, key.Key)
                      ? PositionOf(ini.ReadString(key.Section, key.Key, ""), {fallback.Value, false})
                      : fallback;
        } else if constexpr (std::is_same_v<V, std::vector<std::string>>) {
          value = ini.ReadSection(key.Section);
        } else {
          value.clear();
          for (const std::string& name : ini.ReadSection(key.Section))
            if (const std::optional<int32_t> i = ParseInteger(name)) value.push_back({*i, std::to_string(*i) == name});
        }
      },
      key.Field);
}

void WriteKey(TIniFile& ini, const TUserSettingKey& key, const TUserSettings& values) {
  std::visit(
      [&](auto member) {
        const auto& value = values.*member;
        using V = std::decay_t<decltype(value)>;
        if constexpr (std::is_same_v<V, int32_t>) {
          ini.WriteInteger(key.Section, key.Key, value);
        } else if constexpr (std::is_same_v<V, bool>) {
          ini.WriteBool(key.Section, key.Key, value);
        } else if constexpr (std::is_same_v<V, TPicturePosition>) {
          ini.WriteInteger(key.Section, key.Key, value.Value);
        } else if constexpr (std::is_same_v<V, std::vector<std::string>>) {
          ini.EraseSection(key.Section);
          for (const std::string& entry : value)
            if (CanStoreMusicEntry(entry)) ini.WriteString(key.Section, entry, "");
        } else {
          ini.EraseSection(key.Section);
          for (const TPicturePosition& p : value) ini.WriteString(key.Section, std::to_string(p.Value), "");
        }
      },
      key.Field);
}

void SetValue(TUserSettings& values, const TUserSettingKey::Member& field, int32_t v) {
  std::visit(
      [&](auto member) {
        auto& value = values.*member;
        using V = std::decay_t<decltype(value)>;
        if constexpr (std::is_same_v<V, int32_t>) value = v;
        else if constexpr (std::is_same_v<V, bool>) value = v != 0;
        else if constexpr (std::is_same_v<V, TPicturePosition>) value = {v, true};
      },
      field);
}

// The name of the settings file of a program named programName: the
// extension replaced by ".ini"; a final dot is never taken as one.
std::string SettingsNameOf(std::string programName) {
  if (programName.size() >= 2) {
    const size_t dot = programName.find_last_of('.', programName.size() - 2);
    if (dot != std::string::npos) programName.resize(dot);
  }
  return programName + ".ini";
}

}  // namespace

std::optional<int32_t> SpeedPositionOf(int32_t speed) {
  const auto it = std::find(SpeedSteps.begin(), SpeedSteps.end(), speed);
  if (it == SpeedSteps.end()) return std::nullopt;
  return int32_t(it - SpeedSteps.begin());
}

std::optional<int32_t> SpeedAt(int32_t position) {
  if (position < 0 || position >= int32_t(SpeedSteps.size())) return std::nullopt;
  return SpeedSteps[size_t(position)];
}

std::span<const TUserSettingKey> UserSettingKeys() { return kKeys; }

bool IsPersistingRun(const std::string& programPath, const std::vector<std::string>& args) {
  const std::string program = UpperCase(ExpandLongPath(programPath));
  if (program.size() >= 4 && program.compare(program.size() - 4, 4, ".SCR") == 0) return true;
  return !args.empty() && UpperCase(args[0]) == "/C";
}

std::string UserSettingsFileName(const std::string& programPath) {
  return UserFilePath(programPath, SettingsNameOf(ProgramFileName(programPath)), TUserFolder::Config);
}

TUserSettingsFile UserSettingsFileOf(const std::string& programPath, const std::vector<std::string>& args,
                                     const std::string& overridePath) {
  if (!overridePath.empty()) return {true, overridePath};
  return {IsPersistingRun(programPath, args), UserSettingsFileName(programPath)};
}

void SetFromProject(TUserSettings& values, const TKXCSetting& project) {
  for (const TUserSettingKey& key : kKeys)
    if (key.Project)
      if (const std::optional<int32_t> v = key.Project(project)) SetValue(values, key.Field, *v);
}

std::optional<TUserSettings> ReadUserSettingsFile(const std::string& path, TUserSettingsReader reader,
                                                  TUserSettings values) {
  if (!IsRegularFile(path)) return std::nullopt;
  const TIniFile ini = ReadIni(path);
  for (const TUserSettingKey& key : kKeys)
    ReadKey(ini, key, reader == TUserSettingsReader::Show ? key.ShowDefault : key.DialogDefault, values);
  return values;
}

void WriteUserSettingsFile(const std::string& path, const TUserSettings& values, uint32_t parts) {
  TIniFile ini = ReadIni(path);
  for (const TUserSettingKey& key : kKeys)
    if ((key.Part & parts) != 0) WriteKey(ini, key, values);
  WriteFileAtomically(path, ini.ToText());
}

bool CanStoreMusicEntry(std::string_view path) {
  if (path.empty() || path.front() == '[' || path.front() == ';') return false;
  if (static_cast<unsigned char>(path.front()) <= ' ' || static_cast<unsigned char>(path.back()) <= ' ') return false;
  return path.find_first_of("\r\n=;") == std::string_view::npos;
}

}  // namespace kx
