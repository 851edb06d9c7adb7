#include "tools/kxtool.h"

#include <cstdio>
#include <exception>
#include <string_view>

#include "devices/uPlatform.h"
#include "package/uWorkFolder.h"
#include "startup/uSignals.h"

namespace kxtool {

TWorkFolderScope::TWorkFolderScope(const std::string& file) {
  kx::InitWorkFolder(kx::ExpandLongPath(file), kx::TickCount());
}
TWorkFolderScope::~TWorkFolderScope() { kx::RemoveWorkFolder(); }

std::string ToolDirectory() {
  const std::string self = kx::ExecutablePath();
  return self.substr(0, self.find_last_of('/') + 1);
}

namespace {

struct TCommand {
  std::string_view Name;
  int (*Run)(const Args&);
  std::string_view Usage;
};

constexpr TCommand kCommands[] = {
    {"pack", Pack, "pack DIR -o OUT [--player PATH]   pack a project folder into a screensaver"},
    {"unpack", Unpack, "unpack FILE DIR                   extract a screensaver's package into DIR"},
    {"project", Project, "project FILE                      print the project a screensaver loads"},
    {"show", Show, "show FILE --screen WxH --seconds S -o DIR [--every K] [--seed N] [--frame-cost MS]   run the full-screen show headless"},
    {"kxp-make", KxpMake, "kxp-make DESC.ini -o OUT.kxp      make a picture file from an INI description"},
    {"kxp-info", KxpInfo, "kxp-info FILE                     print a picture file as it loads"},
    {"regionmap", RegionMapPng, "regionmap FILE OUT.png            write a picture file's region map as PNG"},
    {"effect", Effect, "effect N P OLD NEW OUT [--seed S]  draw transition frame N at P % (--list: the effects)"},
    {"frames", Frames, "frames FILE.kxp -o DIR [--frames N] [--dt MS] [--size WxH] [--proportional] [--seed S] [--objects-dir DIR]   write engine frames"},
    {"objects", Objects, "objects FILE.kxp                  print a picture file's animated objects as their settings"},
    {"install", Install, "install FILE.scr                  copy a screensaver for this user and add it to ~/.xscreensaver"},
    {"uninstall", Uninstall, "uninstall NAME                    remove an installed screensaver and its ~/.xscreensaver line"},
    {"form", Form, "form FILE --json                  print a text form's tree as JSON"},
    {"windows", Windows, "windows FILE.scr|FILE.kxu         list the window definitions and their bindings"},
    {"prepared", Prepared, "prepared FILE.scr|FILE.kxu NAME   print a window's text form as it is built"},
    {"kxu-make", KxuMake, "kxu-make FORM[:BINDINGS] ... -o OUT.kxu   make window definitions from forms and INI bindings"},
    {"window", Window, "window FILE.scr NAME -o OUT.png [--settings FILE.ini] [--select N]   build a configuration window off screen and write what it draws"},
    {"dialog", Dialog, "dialog FILE.scr -o OUT.png [--settings FILE.ini] [--page 1|2]   fill the settings dialog as Open setting does and write what it draws"},
    {"kxu-split", KxuSplit, "kxu-split FILE.kxu -o DIR         write each definition as a form and a bindings INI"},
};

int Usage() {
  std::fprintf(stderr, "usage: kxtool COMMAND ...\n");
  for (const TCommand& c : kCommands) std::fprintf(stderr, "  kxtool %s\n", c.Usage.data());
  return 2;
}

}  // namespace
}  // namespace kxtool

int main(int argc, char** argv) {
  using namespace kxtool;
  kx::InstallStopSignals();  // a show or a project print ends with its work folder removed
  if (argc < 2) return Usage();
  const std::string_view name = argv[1];
  for (const TCommand& c : kCommands) {
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
