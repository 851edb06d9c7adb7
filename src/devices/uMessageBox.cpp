#include "devices/uMessageBox.h"

#include <cstdio>
#include <mutex>

#include "os/uStopSignals.h"

namespace kx {
namespace {

std::mutex g_lock;
TMessageBoxHandler g_handler;
TYesNoHandler g_yesNoHandler;

void PrintLine(const char* prefix, const std::string& text) {
  std::string line = prefix;
  for (char c : text) {
    if (c == '\r') line += "\\r";
    else if (c == '\n') line += "\\n";
    else line += c;
  }
  line += '\n';
  std::fputs(line.c_str(), stderr);
}

}  // namespace

void PrintMessageBox(const std::string& text) { PrintLine("message: ", text); }

bool PrintYesNo(const std::string& text) {
  PrintLine("question: ", text);
  return false;
}

bool AskYesNo(const std::string& text) {
  // A box shown while the program stops would outlive it (it may run in a
  // child process) or keep it from ending.
  HaltOnStopSignal();
  TYesNoHandler handler;
  {
    std::lock_guard lock(g_lock);
    handler = g_yesNoHandler;
  }
  return handler ? handler(text) : PrintYesNo(text);
}

TYesNoHandler SetYesNoHandler(TYesNoHandler handler) {
  std::lock_guard lock(g_lock);
  TYesNoHandler previous = std::move(g_yesNoHandler);
  g_yesNoHandler = std::move(handler);
  return previous;
}

void ShowMessageBox(const std::string& text, TMessageKind kind) {
  HaltOnStopSignal();
  TMessageBoxHandler handler;
  {
    std::lock_guard lock(g_lock);
    handler = g_handler;
  }
  if (handler) handler(text, kind);
  else PrintMessageBox(text);
}

TMessageBoxHandler SetMessageBoxHandler(TMessageBoxHandler handler) {
  std::lock_guard lock(g_lock);
  TMessageBoxHandler previous = std::move(g_handler);
  g_handler = std::move(handler);
  return previous;
}

}  // namespace kx
