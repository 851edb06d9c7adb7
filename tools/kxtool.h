// kxtool: the authoring and inspection tool. Each command takes its arguments
// (without the command word) and returns the exit status; errors are thrown as
// std::runtime_error and reported by main.
#pragma once

#include <string>
#include <vector>

#include "devices/uClock.h"

namespace kxtool {

using Args = std::vector<std::string>;

int Pack(const Args& args);
int Unpack(const Args& args);
int Project(const Args& args);
int Show(const Args& args);
int KxpMake(const Args& args);
int KxpInfo(const Args& args);
int RegionMapPng(const Args& args);
int Effect(const Args& args);
int Frames(const Args& args);
int Objects(const Args& args);
int Install(const Args& args);
int Uninstall(const Args& args);
int Form(const Args& args);
int Windows(const Args& args);
int Prepared(const Args& args);
int KxuMake(const Args& args);
int KxuSplit(const Args& args);
int Window(const Args& args);
int Dialog(const Args& args);

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
