#include "ui/uFlMessageBox.h"

#include <FL/Fl.H>
#include <FL/Fl_Box.H>
#include <FL/Fl_Button.H>
#include <FL/Fl_Return_Button.H>
#include <FL/Fl_Window.H>
#include <FL/fl_draw.H>

#include <algorithm>
#include <memory>
#include <vector>

#include "ui/uFlOptions.h"

namespace kx {
namespace {

std::string& Title() {
  static std::string title;
  return title;
}

// Windows texts break lines with CR LF; FLTK draws the CR. "@" would start a symbol.
std::string PlainText(const std::string& text) {
  std::string plain;
  for (char c : text) {
    if (c == '\r') continue;
    if (c == '@') plain += '@';
    plain += c;
  }
  return plain;
}

// The symbol beside the text, its letter as its label: a blue disc with "i"
// (information) or "?" (question), a yellow triangle with "!" (warning), a
// red disc with "X" (error).
class TBoxSymbol : public Fl_Widget {
 public:
  TBoxSymbol(int x, int y, const char* letter) : Fl_Widget(x, y, kSize, kSize, letter) {}
  static constexpr int kSize = 32;

  void draw() override {
    const char letter = label()[0];
    if (letter == '!') {
      fl_color(fl_rgb_color(0xF5, 0xC2, 0x11));
      fl_polygon(x() + kSize / 2, y() + 1, x() + kSize - 1, y() + kSize - 2, x(), y() + kSize - 2);
      fl_color(FL_BLACK);
    } else {
      fl_color(letter == 'X' ? fl_rgb_color(0xD0, 0x21, 0x21) : fl_rgb_color(0x1E, 0x5A, 0xC8));
      fl_pie(x(), y(), kSize, kSize, 0, 360);
      fl_color(FL_WHITE);
    }
    fl_font(FL_HELVETICA_BOLD, 20);
    fl_draw(label(), x(), y() + (letter == '!' ? 4 : 0), kSize, kSize, FL_ALIGN_CENTER, nullptr, 0);
  }
};

// Shows the box modally and returns the index of the button that closed it;
// escape stands for Escape and the close box.
int RunBox(const std::string& text, const char* letter, const std::vector<const char*>& buttons, int returnButton,
           int escape) {
  PrepareFltkOptions();
  const std::string plain = PlainText(text);
  fl_font(FL_HELVETICA, 14);
  int tw = 0, th = 0;
  fl_measure(plain.c_str(), tw, th, 0);
  tw = std::clamp(tw, 160, 900);
  th = std::clamp(th, TBoxSymbol::kSize, 600);
  constexpr int kMargin = 12, kButtonW = 84, kButtonH = 26, kGap = 8;
  const int buttonsW = int(buttons.size()) * kButtonW + int(buttons.size() - 1) * kGap;
  const int w = std::max(kMargin + TBoxSymbol::kSize + kMargin + tw + kMargin, kMargin + buttonsW + kMargin);
  const int h = kMargin + th + kMargin + kButtonH + kMargin;

  auto window = std::make_unique<Fl_Window>(w, h, Title().c_str());
  int result = escape;
  window->callback([](Fl_Widget* win, void*) { win->hide(); });  // Escape and the close box
  new TBoxSymbol(kMargin, kMargin, letter);
  auto* message = new Fl_Box(kMargin + TBoxSymbol::kSize + kMargin, kMargin, tw, th);
  message->copy_label(plain.c_str());
  message->labelfont(FL_HELVETICA);
  message->labelsize(14);
  message->align(FL_ALIGN_LEFT | FL_ALIGN_INSIDE | FL_ALIGN_WRAP);
  Fl_Button* focus = nullptr;
  for (size_t i = 0; i < buttons.size(); ++i) {
    const int bx = w - kMargin - buttonsW + int(i) * (kButtonW + kGap);
    Fl_Button* b = int(i) == returnButton ? new Fl_Return_Button(bx, h - kMargin - kButtonH, kButtonW, kButtonH)
                                          : new Fl_Button(bx, h - kMargin - kButtonH, kButtonW, kButtonH);
    b->label(buttons[i]);
    b->callback(
        [](Fl_Widget* button, void* chosen) {
          *static_cast<int*>(chosen) = button->parent()->find(button) - 2;  // after the symbol and the text
          button->window()->hide();
        },
        &result);
    if (int(i) == returnButton) focus = b;
  }
  window->end();
  window->set_modal();
  if (focus) window->hotspot(focus);
  window->show();
  if (focus) focus->take_focus();
  while (window->shown()) Fl::wait();
  return result;
}

}  // namespace

void SetFlMessageBoxTitle(const std::string& title) { Title() = title; }

void ShowFlMessageBox(const std::string& text, TMessageKind kind) {
  const char* letter = kind == TMessageKind::Error ? "X" : kind == TMessageKind::Warning ? "!" : "i";
  RunBox(text, letter, {"OK"}, 0, 0);
}

bool AskFlYesNo(const std::string& text) { return RunBox(text, "?", {"Yes", "No"}, 0, 1) == 0; }

}  // namespace kx
