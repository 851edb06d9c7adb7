// kxtool: the authoring and inspection tool. Each command takes its arguments
// (without the command word) and returns the exit status; errors are thrown as
// std::runtime_error and reported by main.
#pragma once

#include <initializer_list>
#include <string>
#include <string_view>
#include <vector>

#include "os/uClock.h"

namespace kxtool {

using Args = std::vector<std::string>;

struct TCommand {
  std::string_view Name;
  int (*Run)(const Args&);
  std::string_view Usage;
};

// The commands of parts a build may lack (the windows, which need the
// toolkit; the screensaver daemon's install, on Linux only) are added by
// their own files at start-up, after the tool's table: a build that leaves
// such a file out has none of its commands.
struct TCommandGroup {
  explicit TCommandGroup(std::initializer_list<TCommand> commands);
};

int Pack(const Args& args);
int Make(const Args& args);
int Unpack(const Args& args);
int Project(const Args& args);
int Show(const Args& args);
int KxpMake(const Args& args);
int KxpInfo(const Args& args);
int RegionMapPng(const Args& args);
int Effect(const Args& args);
int Frames(const Args& args);
int Objects(const Args& args);

// A --time value: HH:MM:SS on the 24-hour clock.
kx::TLocalTime ParseLocalTime(const std::string& text);

// The private work folder of the screensaver a command unpacks, made for the
// command and removed when it ends, whichever way.
class TWorkFolderScope {
 public:
  explicit TWorkFolderScope(const std::string& file);
  ~TWorkFolderScope();
  TWorkFolderScope(const TWorkFolderScope&) = delete;
  TWorkFolderScope& operator=(const TWorkFolderScope&) = delete;
};

// The directory holding the running kxtool, with a trailing "/".
std::string ToolDirectory();

}  // namespace kxtool
