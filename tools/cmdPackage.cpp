// kxtool pack, unpack and project.
#include <algorithm>
#include <cstdio>
#include <memory>
#include <optional>
#include <stdexcept>

#include "os/uFileAccess.h"
#include "os/uPlatform.h"
#include "package/uContainer.h"
#include "package/uIniFile.h"
#include "package/uKXProject.h"
#include "package/uPackage.h"
#include "package/uPackageWriter.h"
#include "package/uText.h"
#include "package/uWorkFolder.h"
#include "startup/uStartup.h"
#include "tools/kxtool.h"

namespace kxtool {
namespace {

std::string Slash(std::string dir) {
  if (dir.empty() || dir.back() != '/') dir += '/';
  return dir;
}

bool IsFile(const std::string& path) { return kx::IsRegularFile(path); }

// The sections of project.ini that make one text of "KXC.res", as CR LF INI text.
std::string SectionsText(const kx::TIniFile& ini, std::initializer_list<std::string_view> sections) {
  kx::TIniFile part;
  for (std::string_view section : sections)
    for (const std::string& key : ini.ReadSection(section))
      part.WriteString(section, key, ini.ReadString(section, key, ""));
  return part.ToText();
}

// The files a project packs, as paths relative to its folder, each once.
std::vector<std::string> PackagedPaths(const kx::TIniFile& ini) {
  std::vector<std::string> paths;
  auto add = [&](std::string_view path) {
    const std::string p(kx::Trim(path));
    if (!p.empty() && std::find(paths.begin(), paths.end(), p) == paths.end()) paths.push_back(p);
  };
  for (const std::string& key : ini.ReadSection("FileList")) add(key);
  add(ini.ReadString("Advance", "PreviewFile", ""));
  const std::string music = ini.ReadString("Advance", "MusicFile", "");
  for (size_t start = 0; start <= music.size();) {
    const size_t end = std::min(music.find(';', start), music.size());
    add(std::string_view(music).substr(start, end - start));
    start = end + 1;
  }
  for (const std::string& key : ini.ReadSection("Package")) add(key);
  return paths;
}

}  // namespace

int Pack(const Args& args) {
  std::string dir, out, player = ToolDirectory() + "kxcsaver";
  for (size_t i = 0; i < args.size(); ++i) {
    if (args[i] == "-o" && i + 1 < args.size()) out = args[++i];
    else if (args[i] == "--player" && i + 1 < args.size()) player = args[++i];
    else if (dir.empty()) dir = args[i];
    else throw std::runtime_error("unexpected argument " + args[i]);
  }
  if (dir.empty() || out.empty()) throw std::runtime_error("usage: kxtool pack DIR -o OUT [--player PATH]");
  dir = Slash(dir);
  if (!IsFile(dir + "project.ini")) throw std::runtime_error("missing file: " + dir + "project.ini");
  const kx::TIniFile ini = kx::TIniFile::FromFile(dir + "project.ini");

  kx::TPackageContents contents;
  contents.Description = kx::MakeContainer({
      "[FileListHeader]\r\nHeader=1\r\n\r\n" + SectionsText(ini, {"FileList"}),
      SectionsText(ini, {"General", "Default", "Advance", "Build"}),
      SectionsText(ini, {"UI"}),
  });
  for (const std::string& f : PackagedPaths(ini)) contents.Files.push_back({f, dir + f, std::nullopt});
  if (IsFile(dir + "KXGUI.kxu")) contents.Windows.Path = dir + "KXGUI.kxu";
  kx::WritePackage(player, contents, out);
  return 0;
}

int Unpack(const Args& args) {
  if (args.size() != 2) throw std::runtime_error("usage: kxtool unpack FILE DIR");
  if (!IsFile(args[0])) throw std::runtime_error("cannot read " + args[0]);
  const std::string dir = Slash(args[1]);
  kx::CreateFolder(dir);
  kx::ExtractPackage(args[0], dir);
  return 0;
}

int Project(const Args& args) {
  if (args.size() != 1) throw std::runtime_error("usage: kxtool project FILE");
  const std::string file = args[0];
  if (!kx::OpenRegularFile(file)) throw std::runtime_error("cannot read " + file);
  kx::TKXCProject project;
  {
    const TWorkFolderScope work(file);
    kx::PreparePackage(project, file);
  }

  std::printf("[FileList]\n");
  for (size_t i = 0; i < project.FileList.Names.size(); ++i)
    std::printf("%s=%s\n", project.FileList.Names[i].c_str(), project.FileList.States[i].c_str());
  std::printf("\n[Settings]\n");
  for (const kx::TSettingField& f : kx::SettingFields())
    std::printf("%.*s=%s\n", int(f.Key.size()), f.Key.data(), kx::SettingText(project.Settings, f).c_str());
  std::printf("\n[UI]\nUIFile=%s\n", project.UISettings.UIFile.c_str());
  return 0;
}

}  // namespace kxtool
