// The message and question boxes of the configuration windows on a virtual
// screen: their symbol, their buttons, and the keys that close them.
#include <FL/Fl.H>
#include <FL/Fl_Button.H>
#include <FL/Fl_Window.H>
#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "support/VirtualScreen.h"
#include "ui/uFlMessageBox.h"

using namespace kx;

namespace {

class FlMessageBoxTest : public kxtest::TScreenTest {};

struct TSeen {
  std::string Title, Symbol, Text;
  std::vector<std::string> Buttons;
};

// Runs show while a timer looks at the box it opens, then closes it with act.
TSeen WhileShown(const std::function<void()>& show, const std::function<void(Fl_Window&)>& act) {
  struct TState {
    TSeen Seen;
    std::function<void(Fl_Window&)> Act;
  } state{{}, act};
  Fl::add_timeout(
      0.2,
      [](void* data) {
        auto& s = *static_cast<TState*>(data);
        Fl_Window* box = Fl::first_window();
        if (!box || box->children() < 3) return;
        s.Seen.Title = box->label() ? box->label() : "";
        s.Seen.Symbol = box->child(0)->label() ? box->child(0)->label() : "";
        s.Seen.Text = box->child(1)->label() ? box->child(1)->label() : "";
        for (int i = 2; i < box->children(); ++i) s.Seen.Buttons.push_back(box->child(i)->label());
        s.Act(*box);
      },
      &state);
  show();
  return state.Seen;
}

void Key(Fl_Window& box, int key) {
  static char text[2];
  text[0] = key == FL_Escape ? '\033' : '\r';
  Fl::e_keysym = key;
  Fl::e_text = text;
  Fl::e_length = 1;
  Fl::e_state = 0;
  Fl::handle(FL_KEYBOARD, &box);
}

}  // namespace

TEST_F(FlMessageBoxTest, MessagesCarryOKAndTheSymbolOfTheirKind) {
  SetFlMessageBoxTitle("Lake");
  const struct {
    TMessageKind Kind;
    const char* Symbol;
    std::function<void(Fl_Window&)> Close;
  } cases[] = {
      {TMessageKind::Information, "i", [](Fl_Window& w) { static_cast<Fl_Button*>(w.child(2))->do_callback(); }},
      {TMessageKind::Warning, "!", [](Fl_Window& w) { Key(w, FL_Escape); }},
      {TMessageKind::Error, "X", [](Fl_Window& w) { Key(w, FL_Enter); }},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.Symbol);
    const TSeen kind = WhileShown([&] { ShowFlMessageBox("File: a.kxp\r\nIncorrect Project File!", c.Kind); }, c.Close);
    EXPECT_EQ(kind.Title, "Lake");
    EXPECT_EQ(kind.Symbol, c.Symbol);
    EXPECT_EQ(kind.Text, "File: a.kxp\nIncorrect Project File!");
    EXPECT_EQ(kind.Buttons, std::vector<std::string>{"OK"});
  }
}

TEST_F(FlMessageBoxTest, QuestionsAnswerYesOnlyByYesOrReturn) {
  const struct {
    const char* Name;
    std::function<void(Fl_Window&)> Answer;
    bool Yes;
  } cases[] = {
      {"Yes", [](Fl_Window& w) { static_cast<Fl_Button*>(w.child(2))->do_callback(); }, true},
      {"Return", [](Fl_Window& w) { Key(w, FL_Enter); }, true},
      {"No", [](Fl_Window& w) { static_cast<Fl_Button*>(w.child(3))->do_callback(); }, false},
      {"Escape", [](Fl_Window& w) { Key(w, FL_Escape); }, false},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.Name);
    bool yes = !c.Yes;
    const TSeen seen = WhileShown([&] { yes = AskFlYesNo("Do you want to proceed?"); }, c.Answer);
    EXPECT_EQ(yes, c.Yes);
    EXPECT_EQ(seen.Symbol, "?");
    EXPECT_EQ(seen.Buttons, (std::vector<std::string>{"Yes", "No"}));
  }
}
