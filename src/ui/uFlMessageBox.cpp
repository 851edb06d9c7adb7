#include "ui/uFlMessageBox.h"

#include <FL/fl_ask.H>

#include "ui/uFlOptions.h"

namespace kx {
namespace {
std::string& Title() {
  static std::string title;
  return title;
}

// Windows texts break lines with CR LF; FLTK draws the CR.
std::string WithoutCr(const std::string& text) {
  std::string plain;
  for (char c : text)
    if (c != '\r') plain += c;
  return plain;
}

}  // namespace

void SetFlMessageBoxTitle(const std::string& title) {
  Title() = title;
  fl_message_title_default(Title().c_str());
}

void ShowFlMessageBox(const std::string& text) {
  PrepareFltkOptions();
  fl_message("%s", WithoutCr(text).c_str());
}

bool AskFlYesNo(const std::string& text) {
  PrepareFltkOptions();
  // Button 0 is the one Escape and the close box stand for.
  return fl_choice("%s", "No", "Yes", nullptr, WithoutCr(text).c_str()) == 1;
}

}  // namespace kx
