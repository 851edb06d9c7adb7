#include "tools/kxtool.h"

#include <cstdio>
#include <exception>
#include <iterator>
#include <string_view>
#include <vector>

#include "os/uPlatform.h"
#include "os/uUserFiles.h"
#include "package/uWorkFolder.h"
#include "startup/uSignals.h"

namespace kxtool {

TWorkFolderScope::TWorkFolderScope(const std::string& file) {
  kx::InitWorkFolder(kx::ExpandLongPath(file), kx::TickCount());
}
TWorkFolderScope::~TWorkFolderScope() { kx::RemoveWorkFolder(); }

std::string ToolDirectory() {
  const std::string self = kx::ExecutablePath();
  return self.substr(0, self.find_last_of(kx::PathSeparators()) + 1);
}

namespace {

constexpr TCommand kCommands[] = {
    {"pack", Pack, "pack DIR -o OUT [--player PATH]   pack a project folder into a screensaver"},
    {"make", Make, "make DIR -o NAME.scr [--recursive] [--name NAME] [--publisher NAME] [--duration S] [--transition-time MS] [--random 0|1] [--player PATH]   a screensaver from a folder of pictures"},
    {"unpack", Unpack, "unpack FILE DIR                   extract a screensaver's package into DIR"},
    {"project", Project, "project FILE                      print the project a screensaver loads"},
    {"show", Show, "show FILE --screen WxH --seconds S -o DIR [--every K] [--seed N] [--frame-cost MS]   run the full-screen show headless"},
    {"kxp-make", KxpMake, "kxp-make DESC.ini -o OUT.kxp      make a picture file from an INI description"},
    {"kxp-info", KxpInfo, "kxp-info FILE                     print a picture file as it loads"},
    {"regionmap", RegionMapPng, "regionmap FILE OUT.png            write a picture file's region map as PNG"},
    {"effect", Effect, "effect N P OLD NEW OUT [--seed S]  draw transition frame N at P % (--list: the effects)"},
    {"frames", Frames, "frames FILE.kxp -o DIR [--frames N] [--dt MS] [--size WxH] [--proportional] [--seed S] [--objects-dir DIR]   write engine frames"},
    {"objects", Objects, "objects FILE.kxp                  print a picture file's animated objects as their settings"},
};

std::vector<TCommand>& GroupCommands() {
  static std::vector<TCommand> commands;
  return commands;
}

// The tool's table, then the groups' commands.
std::vector<TCommand> AllCommands() {
  std::vector<TCommand> all(std::begin(kCommands), std::end(kCommands));
  all.insert(all.end(), GroupCommands().begin(), GroupCommands().end());
  return all;
}

int Usage() {
  std::fprintf(stderr, "usage: kxtool COMMAND ...\n");
  for (const TCommand& c : AllCommands()) std::fprintf(stderr, "  kxtool %s\n", c.Usage.data());
  return 2;
}

}  // namespace

TCommandGroup::TCommandGroup(std::initializer_list<TCommand> commands) {
  GroupCommands().insert(GroupCommands().end(), commands.begin(), commands.end());
}

}  // namespace kxtool

int main(int argc, char** argv) {
  using namespace kxtool;
  kx::InstallStopSignals();  // a show or a project print ends with its work folder removed
  if (argc < 2) return Usage();
  const std::string_view name = argv[1];
  for (const TCommand& c : AllCommands()) {
    if (c.Name != name) continue;
    try {
      return c.Run(Args(argv + 2, argv + argc));
    } catch (const std::exception& e) {
      std::fprintf(stderr, "kxtool %s: %s\n", argv[1], e.what());
      return 1;
    }
  }
  return Usage();
}
