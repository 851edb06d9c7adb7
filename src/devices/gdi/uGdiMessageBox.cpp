// Message boxes of the Windows desktop: MessageBoxW over the active window
// of the program, captioned with the screensaver's name.
#include "devices/uSystemMessageBox.h"

#include <windows.h>

#include <string>

namespace kx {
namespace {

// Texts are UTF-8; a package's text that is not is read in the system's
// ANSI code page, as the packaging tool on Windows wrote it.
std::wstring WideText(const std::string& text) {
  if (text.empty()) return {};
  UINT page = CP_UTF8;
  int n = ::MultiByteToWideChar(page, MB_ERR_INVALID_CHARS, text.data(), int(text.size()), nullptr, 0);
  if (n <= 0) {
    page = CP_ACP;
    n = ::MultiByteToWideChar(page, 0, text.data(), int(text.size()), nullptr, 0);
  }
  if (n <= 0) return {};
  std::wstring wide(size_t(n), L'\0');
  ::MultiByteToWideChar(page, 0, text.data(), int(text.size()), wide.data(), n);
  return wide;
}

int Box(const std::wstring& title, const std::string& text, UINT type) {
  return ::MessageBoxW(::GetActiveWindow(), WideText(text).c_str(), title.c_str(), type | MB_SETFOREGROUND);
}

}  // namespace

TSystemMessageBoxes SystemMessageBoxes(const std::string& title) {
  const std::wstring caption = WideText(title);
  TSystemMessageBoxes boxes;
  boxes.Show = [caption](const std::string& text, TMessageKind kind) {
    const UINT icon = kind == TMessageKind::Error     ? MB_ICONERROR
                      : kind == TMessageKind::Warning ? MB_ICONWARNING
                                                      : MB_ICONINFORMATION;
    Box(caption, text, MB_OK | icon);
  };
  boxes.Ask = [caption](const std::string& text) { return Box(caption, text, MB_YESNO | MB_ICONQUESTION) == IDYES; };
  return boxes;
}

}  // namespace kx
