#include "ui/uFlMessageBox.h"

#include <FL/fl_ask.H>

namespace kx {
namespace {
std::string& Title() {
  static std::string title;
  return title;
}
}  // namespace

void SetFlMessageBoxTitle(const std::string& title) {
  Title() = title;
  fl_message_title_default(Title().c_str());
}

void ShowFlMessageBox(const std::string& text) {
  // Windows texts break lines with CR LF; FLTK draws the CR.
  std::string plain;
  for (char c : text)
    if (c != '\r') plain += c;
  fl_message("%s", plain.c_str());
}

}  // namespace kx
