#include "os/uRunProgram.h"

#include <windows.h>

#include <shellapi.h>

#include "os/win32/uWidePath.h"

namespace kx {

// The Windows backend sets the wallpaper and talks to the system through its
// own calls; it runs no helper programs of a desktop, so none is ever started.
TProgramResult RunProgram(const std::vector<std::string>&, bool, int) { return {}; }

bool OpenDocument(const std::string& target) {
  const std::wstring wide = WidePath(target);
  if (wide.empty()) return false;
  // The shell's answer is an instance handle whose value above 32 means success.
  const HINSTANCE done = ::ShellExecuteW(nullptr, L"open", wide.c_str(), nullptr, nullptr, SW_SHOWNORMAL);
  return reinterpret_cast<INT_PTR>(done) > 32;
}

}  // namespace kx
