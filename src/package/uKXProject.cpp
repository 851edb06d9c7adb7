#include "package/uKXProject.h"

#include <array>

#include "package/uContainer.h"
#include "package/uIniFile.h"
#include "package/uPackage.h"
#include "package/uText.h"

namespace kx {
namespace {

using S = TKXCSetting;
constexpr std::string_view kGeneral = "General", kDefault = "Default", kAdvance = "Advance",
                           kBuild = "Build";

const std::array kSettingFields = {
    TSettingField{"ProductName", kGeneral, &S::ProductName},
    TSettingField{"Publisher", kGeneral, &S::Publisher},
    TSettingField{"Website", kGeneral, &S::Website},
    TSettingField{"Stretch", kDefault, &S::Stretch},
    TSettingField{"Proportional", kDefault, &S::Proportional},
    TSettingField{"Sound", kDefault, &S::Sound},
    TSettingField{"SoundVolume", kDefault, &S::SoundVolume},
    TSettingField{"Music", kDefault, &S::Music},
    TSettingField{"MusicVolume", kDefault, &S::MusicVolume},
    TSettingField{"Animation", kDefault, &S::Animation},
    TSettingField{"Random", kDefault, &S::Random},
    TSettingField{"Duration", kDefault, &S::Duration},
    TSettingField{"Transition", kDefault, &S::Transition},
    TSettingField{"TransitionTime", kDefault, &S::TransitionTime},
    TSettingField{"TransitionEffects", kDefault, &S::TransitionEffects},
    TSettingField{"Zoom", kDefault, &S::Zoom},
    TSettingField{"LivingZoom", kDefault, &S::LivingZoom},
    TSettingField{"ZoomDuration", kDefault, &S::ZoomDuration},
    TSettingField{"AutoWallpaper", kDefault, &S::AutoWallpaper},
    TSettingField{"Speed", kDefault, &S::Speed},
    TSettingField{"ShowImageMode", kDefault, &S::ShowImageMode},
    TSettingField{"DirectX", kDefault, &S::DirectX},
    TSettingField{"DirectXQuality", kDefault, &S::DirectXQuality},
    TSettingField{"ShowClock", kDefault, &S::ShowClock},
    TSettingField{"ClockPos", kDefault, &S::ClockPos},
    TSettingField{"PreviewFile", kAdvance, &S::PreviewFile},
    TSettingField{"MusicFile", kAdvance, &S::MusicFile},
    TSettingField{"MusicMode", kAdvance, &S::MusicMode},
    TSettingField{"BuildMethod", kBuild, &S::BuildMethod},
    TSettingField{"BuildSmallThumbs", kBuild, &S::BuildSmallThumbs},
    TSettingField{"BuildFileName", kBuild, &S::BuildFileName},
    TSettingField{"BuildInstall", kBuild, &S::BuildInstall},
    TSettingField{"BuildIcon", kBuild, &S::BuildIcon},
    TSettingField{"CustomIcon", kBuild, &S::CustomIcon},
};

constexpr int kEffectCount = 169;

}  // namespace

void TKXCFileList::LoadFromIni(const TIniFile& ini) {
  Names = ini.ReadSection("FileList");
  States.clear();
  for (const std::string& name : Names) States.push_back(ini.ReadBool("FileList", name, false) ? "TRUE" : "FALSE");
}

void TKXCFileList::UsePackagedNames(const std::vector<std::string>& packaged) {
  const TPackagedNameIndex index(packaged);
  for (std::string& name : Names) name = index.Find(name);
}

void TKXCFileList::LoadFromFile(const std::string& path) { LoadFromIni(TIniFile::FromFile(path)); }

std::string TKXCSetting::AllEffectNumbers() {
  std::string text;
  for (int i = 1; i <= kEffectCount; ++i) text += (i > 1 ? "," : "") + std::to_string(i);
  return text;
}

void TKXCSetting::LoadFromIni(const TIniFile& ini) {
  for (const TSettingField& f : kSettingFields) {
    std::visit(
        [&](auto member) {
          auto& value = this->*member;
          using V = std::decay_t<decltype(value)>;
          if constexpr (std::is_same_v<V, bool>) value = ini.ReadBool(f.Section, f.Key, value);
          else if constexpr (std::is_same_v<V, int32_t>) value = ini.ReadInteger(f.Section, f.Key, value);
          else value = ini.ReadString(f.Section, f.Key, value);
        },
        f.Field);
  }
}

void TKXCSetting::LoadFromFile(const std::string& path) { LoadFromIni(TIniFile::FromFile(path)); }

std::span<const TSettingField> SettingFields() { return kSettingFields; }

std::string SettingText(const TKXCSetting& settings, const TSettingField& field) {
  return std::visit(
      [&](auto member) -> std::string {
        const auto& value = settings.*member;
        using V = std::decay_t<decltype(value)>;
        if constexpr (std::is_same_v<V, bool>) return value ? "1" : "0";
        else if constexpr (std::is_same_v<V, int32_t>) return std::to_string(value);
        else return value;
      },
      field.Field);
}

void TUISetting::LoadFromIni(const TIniFile& ini) { UIFile = ini.ReadString("UI", "UIFile", ""); }

void TUISetting::LoadFromFile(const std::string& path) { LoadFromIni(TIniFile::FromFile(path)); }

void TKXCProject::LoadFromPackage(const std::string& path) {
  const TContainerContents contents = ReadContainer(path, 3, kMaxTextBytes);
  const int32_t count = contents.location.count;
  if (!contents.location.found || (count != 3 && count != 4)) return;
  auto text = [&](size_t i) { return i < contents.entries.size() ? contents.entries[i] : std::string(); };
  FileList.LoadFromIni(TIniFile::FromText(text(0)));
  Settings.LoadFromIni(TIniFile::FromText(text(1)));
  UISettings.LoadFromIni(TIniFile::FromText(text(2)));
}

void TKXCProject::RelocateFiles(const std::string& workFolder) {
  for (std::string& name : FileList.Names) name = workFolder + name;
  if (!Settings.PreviewFile.empty()) Settings.PreviewFile = workFolder + FileNamePart(Settings.PreviewFile);
  UISettings.UIFile = workFolder + std::string(kPackageEntryNames[3]);
}

}  // namespace kx
