#include "devices/uMessageBox.h"

#include <cstdio>
#include <mutex>

namespace kx {
namespace {

std::mutex g_lock;
TMessageBoxHandler g_handler;

}  // namespace

void PrintMessageBox(const std::string& text) {
  std::string line = "message: ";
  for (char c : text) {
    if (c == '\r') line += "\\r";
    else if (c == '\n') line += "\\n";
    else line += c;
  }
  line += '\n';
  std::fputs(line.c_str(), stderr);
}

void ShowMessageBox(const std::string& text) {
  TMessageBoxHandler handler;
  {
    std::lock_guard lock(g_lock);
    handler = g_handler;
  }
  if (handler) handler(text);
  else PrintMessageBox(text);
}

TMessageBoxHandler SetMessageBoxHandler(TMessageBoxHandler handler) {
  std::lock_guard lock(g_lock);
  TMessageBoxHandler previous = std::move(g_handler);
  g_handler = std::move(handler);
  return previous;
}

}  // namespace kx
