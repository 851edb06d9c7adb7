#include <gtest/gtest.h>

#include <FL/Fl.H>

#include <string>
#include <vector>

#include "config/uDefinedWindow.h"
#include "devices/uMessageBox.h"
#include "support/TestSupport.h"
#include "support/VirtualScreen.h"
#include "ui/uFormBuilder.h"
#include "ui/uKXPreview.h"
#include "ui/uStdControls.h"
#include "ui/uWidgetCapture.h"

using namespace kx;

namespace {

using Lines = std::vector<std::string>;

std::string Definition(const Lines& form, const Lines& bindings) {
  std::string text = std::to_string(form.size()) + "\r\n";
  for (const std::string& l : form) text += l + "\r\n";
  text += std::to_string(bindings.size()) + "\r\n";
  for (const std::string& l : bindings) text += l + "\r\n";
  return text + "1\r\nDummy\r\n";
}

// A binding of five lines.
Lines Bind(const std::string& component, int action, const std::string& p1 = " ") {
  return {component, std::to_string(action), p1, " ", " "};
}
Lines Bindings(const std::vector<Lines>& list) {
  Lines out{std::to_string(list.size())};
  for (const Lines& b : list) out.insert(out.end(), b.begin(), b.end());
  return out;
}

class DefinedWindowTest : public kxtest::TScreenTest {
 protected:
  void SetUp() override {
    TScreenTest::SetUp();
    if (IsSkipped()) return;
    m_previousBox = SetMessageBoxHandler([this](const std::string& text) { m_boxes.push_back(text); });
    m_context.OpenUrl = [this](const std::string& target) { m_opened.push_back(target); };
    m_context.SetWallpaper = [this](TfmKXCOnfigWindow&, int index) { m_wallpapers.push_back(index); };
  }
  void TearDown() override { SetMessageBoxHandler(m_previousBox); }

  void Load(const std::string& definitions) { m_forms.LoadDefinitionsFromText(definitions); }
  std::unique_ptr<TfmKXCOnfigWindow> Build(const std::string& name) { return BuildDefinedWindow(m_context, name); }
  static TComponent& Named(TfmKXCOnfigWindow& w, const std::string& name) {
    for (TComponent* c : w.Components)
      if (c->Name == name) return *c;
    throw std::runtime_error("no component " + name);
  }

  TKXForms m_forms;
  TKXCProject m_project;
  TConfigContext m_context{m_forms, m_project, "/opt/Lake.exe", {}};
  std::vector<std::string> m_boxes, m_opened;
  std::vector<int> m_wallpapers;
  TMessageBoxHandler m_previousBox;
};

}  // namespace

TEST_F(DefinedWindowTest, PlacesControlsInTheirContainersAndDrawsThem) {
  Load("1\r\n" + Definition({"object Main: TfmForm",
                             "  ClientWidth = 60", "  ClientHeight = 40", "  Color = clWhite",
                             "  object P: TPanel", "    Left = 10", "    Top = 8", "    Width = 30", "    Height = 20",
                             "    BevelOuter = bvNone", "    Color = clRed",
                             "    object L: TLabel", "      Left = 5", "      Top = 4", "      AutoSize = False",
                             "      Width = 6", "      Height = 3", "      Color = clBlue", "    end",
                             "  end", "end"},
                            {}));
  auto w = Build("main");
  EXPECT_EQ(w->w(), 60);
  EXPECT_EQ(w->h(), 40);
  const TBitmap32 shot = CaptureWidget(*w);
  ASSERT_EQ(shot.Width(), 60);
  const TPixel white = MakePixel(255, 255, 255), red = MakePixel(255, 0, 0), blue = MakePixel(0, 0, 255);
  // The label's Left and Top count from the panel, the panel's from the window.
  const struct {
    int X, Y;
    TPixel Want;
  } cases[] = {{9, 7, white}, {10, 8, red}, {39, 27, red}, {40, 28, white}, {15, 12, blue}, {20, 14, blue},
               {21, 14, red}, {15, 15, red}};
  for (const auto& c : cases) EXPECT_EQ(shot.Pixel(c.X, c.Y), c.Want) << c.X << "," << c.Y;
}

TEST_F(DefinedWindowTest, RefusesWhatCannotBecomeAWindow) {
  const struct {
    Lines Form;
    const char* Error;
  } cases[] = {
      {{"object Main: TfmForm", "  object X: TListView", "  end", "end"}, "Class TListView not found"},
      {{"object Main: TfmForm", "  object L: TLabel", "    Caption = 12", "  end", "end"}, "Caption"},
      {{"object Main: TfmForm", "  Color = 'red'", "end"}, "Color"},
      {{"object Main: TfmForm", "  ClientWidth = 100000", "  ClientHeight = 100000", "end"}, "too large"},
      {{"object Main: TfmForm", "  Caption = 'unterminated", "end"}, "line"},
      // A picture that does not decode and a client area out of range name their component.
      {{"object Main: TfmForm", "  object Sky: TImage", "    Picture.Data = {", "      07544269746D6170",
        "      0400000041424344}", "  end", "end"},
       "Sky: Picture data does not decode"},
      {{"object Main: TfmForm", "  ClientHeight = 0", "end"}, "Main: ClientHeight 0 is too small"},
      {{"object Main: TfmForm", "  object P: TPanel", "    ClientWidth = 16385", "  end", "end"},
       "P: ClientWidth 16385 is too large"},
      {{"object Main: TfmForm", "  object P: TPanel", "    ClientHeight = -3", "  end", "end"}, "P: ClientHeight"},
  };
  for (const auto& c : cases) {
    m_forms = {};
    Load("1\r\n" + Definition(c.Form, {}));
    try {
      Build("Main");
      ADD_FAILURE() << c.Error;
    } catch (const std::exception& e) {
      EXPECT_NE(std::string(e.what()).find(c.Error), std::string::npos) << e.what();
    }
  }
  // Properties no component has are skipped.
  m_forms = {};
  Load("1\r\n" + Definition({"object Main: TfmForm", "  OldCreateOrder = False", "  PixelsPerInch = 96",
                             "  object L: TLabel", "    Frobnicate = 3", "  end", "end"},
                            {}));
  EXPECT_NO_THROW(Build("Main"));
}

TEST_F(DefinedWindowTest, TagBitZeroDecidesVisibilityWhenTheWindowShows) {
  Load("1\r\n" + Definition({"object Main: TfmForm", "  Visible = True",
                             "  object A: TLabel", "    Tag = 2", "    Visible = True", "  end",
                             "  object B: TLabel", "    Tag = 3", "    Visible = False", "  end",
                             "  object C: TPageControl", "    Tag = 1",
                             "    object S: TTabSheet", "      Tag = 0", "    end",
                             "  end", "  object T: TTimer", "  end", "end"},
                            {}));
  auto w = Build("Main");
  EXPECT_TRUE(Named(*w, "A").Widget()->visible());  // until the show handler runs
  EXPECT_FALSE(Named(*w, "B").Widget()->visible());
  w->FormShow();
  EXPECT_FALSE(Named(*w, "A").Widget()->visible());
  EXPECT_TRUE(Named(*w, "B").Widget()->visible());
  EXPECT_TRUE(Named(*w, "S").Widget()->visible());  // pages keep theirs
}

TEST_F(DefinedWindowTest, ClicksRunTheBindingsOfClickableClassesOnly) {
  m_project.Settings.Website = "https://example.org/joe's";
  m_project.FileList.Names = {"a.jpg", "b.jpg", "c.jpg"};
  Load("2\r\n" +
       Definition({"object Main: TfmForm", "  object Go: TLabel", "  end", "  object Push: TButton", "  end",
                   "  object Link: TLabel", "  end", "  object Wall: TBitBtn", "  end", "  object Nowhere: TLabel",
                   "  end", "  object Next: TLabel", "  end", "  object Prev: TLabel", "  end", "end"},
                  Bindings({Bind("go", 0, "<Website>"), Bind("Go", 0, "second binding"), Bind("Push", 0, "button"),
                            Bind("WALL", 265), Bind("Nowhere", 1, "Settings"), Bind("Next", 2), Bind("Prev", 3),
                            Bind("Link", 77)})) +
       Definition({"object Other: TfmForm", "end"}, {}));
  auto w = Build("Main");
  w->FormShow();
  for (const char* name : {"Go", "Push", "Wall", "Link"}) Named(*w, name).Click();
  EXPECT_EQ(m_opened, std::vector<std::string>{"https://example.org/joe's"});  // first binding, no line end
  EXPECT_EQ(m_wallpapers, std::vector<int>{0});                                   // 265 acts as 9
  Named(*w, "Nowhere").Click();  // "Show window" with a name no definition has
  ASSERT_EQ(m_boxes.size(), 1u);
  EXPECT_NE(m_boxes[0].find("Settings"), std::string::npos);
  // Next and previous stop at the ends of the list.
  for (int i = 0; i < 4; ++i) Named(*w, "Next").Click();
  EXPECT_EQ(w->CurrentIndex, 2);
  for (int i = 0; i < 4; ++i) Named(*w, "Prev").Click();
  EXPECT_EQ(w->CurrentIndex, 0);
}

TEST_F(DefinedWindowTest, TheTopmostControlUnderThePointerGetsTheClick) {
  Load("1\r\n" + Definition({"object Main: TfmForm", "  ClientWidth = 100", "  ClientHeight = 100",
                             "  object Pic: TImage", "    Width = 100", "    Height = 100", "    Tag = 1", "  end",
                             "  object Spot: TLabel", "    Tag = 1", "    Left = 10", "    Top = 10", "    AutoSize = False",
                             "    Width = 20", "    Height = 20", "    Transparent = True", "  end", "end"},
                            Bindings({Bind("Pic", 0, "picture"), Bind("Spot", 0, "spot")})));
  auto w = Build("Main");
  w->FormShow();
  // The window routes a press to the control under the pointer; the release
  // goes to the control that took the press, as FLTK's event loop sends it.
  const auto click = [&](int x, int y) {
    Fl::e_x = x, Fl::e_y = y, Fl::e_keysym = FL_Button + 1, Fl::e_state = FL_BUTTON1;
    Fl::pushed(w.get());  // as the event loop does before it sends the press
    ASSERT_TRUE(w->handle(FL_PUSH));
    Fl::e_state = 0;
    ASSERT_TRUE(Fl::pushed());
    Fl::pushed()->handle(FL_RELEASE);
  };
  click(15, 15);
  click(50, 50);
  EXPECT_EQ(m_opened, (std::vector<std::string>{"spot", "picture"}));
}

TEST_F(DefinedWindowTest, FrameFlagsBecomeBorderAndSizeRange) {
  const struct {
    Lines Flags;
    bool Border;
  } cases[] = {
      {{}, true},
      {{"  NoFrame = True", "  Sizeable = True"}, false},
      {{"  Sizeable = True", "  MaximizeButton = True"}, true},
  };
  for (const auto& c : cases) {
    m_forms = {};
    Lines form{"object Main: TfmForm", "  Left = 3", "  Top = 4", "  ClientWidth = 200", "  ClientHeight = 100"};
    form.insert(form.end(), c.Flags.begin(), c.Flags.end());
    form.push_back("end");
    Load("1\r\n" + Definition(form, {}));
    auto w = Build("Main");
    EXPECT_EQ(w->border() != 0, c.Border);
    // Centred on the 800 x 600 screen; the definition's Left and Top are not used.
    EXPECT_EQ(w->x(), 300);
    EXPECT_EQ(w->y(), 250);
  }
}

TEST_F(DefinedWindowTest, TheControlUnderThePointerIsTheOneWhoseHintShows) {
  const auto control = [](const std::string& name, const std::string& cls, int left, int top, const std::string& hint) {
    Lines l{"  object " + name + ": " + cls, "    Tag = 1", "    Left = " + std::to_string(left),
            "    Top = " + std::to_string(top), "    Width = 20", "    Height = 20", "    AutoSize = False"};
    if (!hint.empty()) l.insert(l.end(), {"    Hint = '" + hint + "'", "    ShowHint = True"});
    l.push_back("  end");
    return l;
  };
  Lines form{"object Main: TfmForm", "  ClientWidth = 200", "  ClientHeight = 100", "  object Skin: TImage",
             "    Tag = 1", "    Width = 200", "    Height = 100", "  end"};
  for (const Lines& c : {control("Spot", "TLabel", 10, 10, "Next picture|Shows the next one"),
                         control("Frame", "TShape", 40, 10, "A frame"), control("Plain", "TShape", 70, 10, ""),
                         control("Line", "TMyBevel", 100, 10, "A line"), control("Box", "TPanel", 130, 10, "A panel"),
                         control("Pic", "TImage", 10, 50, "A picture"), control("Ring", "TMyShape", 40, 50, "A ring")})
    form.insert(form.end(), c.begin(), c.end());
  form.push_back("end");
  Load("1\r\n" + Definition(form, Bindings({Bind("Spot", 0, "spot")})));
  auto w = Build("Main");
  w->FormShow();
  const struct {
    int X, Y;
    const char* Under;
    const char* Tooltip;
  } cases[] = {
      {15, 15, "Spot", "Next picture"}, {45, 15, "Frame", "A frame"}, {105, 15, "Line", "A line"},
      {135, 15, "Box", "A panel"},      {15, 55, "Pic", "A picture"}, {45, 55, "Ring", "A ring"},
      // A shape without a hint lets the pointer through to the skin.
      {75, 15, "Skin", nullptr},        {180, 90, "Skin", nullptr},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.Under);
    Fl::belowmouse(nullptr);
    Fl::e_x = c.X, Fl::e_y = c.Y, Fl::e_state = 0;
    w->handle(FL_ENTER);
    w->handle(FL_MOVE);
    ASSERT_EQ(Fl::belowmouse(), Named(*w, c.Under).Widget());
    EXPECT_STREQ(Fl::belowmouse()->tooltip(), c.Tooltip);
  }
  Fl::belowmouse(nullptr);
  // The hot spot still takes the click.
  Fl::e_x = 15, Fl::e_y = 15, Fl::e_keysym = FL_Button + 1, Fl::e_state = FL_BUTTON1;
  Fl::pushed(w.get());
  ASSERT_TRUE(w->handle(FL_PUSH));
  Fl::e_state = 0;
  ASSERT_TRUE(Fl::pushed());
  Fl::pushed()->handle(FL_RELEASE);
  EXPECT_EQ(m_opened, std::vector<std::string>{"spot"});
}

TEST_F(DefinedWindowTest, EscapeClosesWindowsWithACancelOrCloseButton) {
  const struct {
    const char* Name;
    Lines Control;
    Lines Binding;
    bool Closes;
  } cases[] = {
      {"button bound to Close window", {"  object Ok: TBitBtn", "    Tag = 1", "  end"}, Bind("Ok", 6), true},
      {"hot spot bound to Close window", {"  object Spot: TLabel", "    Tag = 1", "  end"}, Bind("Spot", 6), true},
      {"Cancel button", {"  object No: TButton", "    Cancel = True", "    Tag = 1", "  end"}, {}, true},
      {"Close kind", {"  object Shut: TBitBtn", "    Kind = bkClose", "    Tag = 1", "  end"}, {}, true},
      {"hidden close button", {"  object Ok: TBitBtn", "    Tag = 0", "  end"}, Bind("Ok", 6), false},
      {"disabled Cancel button",
       {"  object No: TButton", "    Cancel = True", "    Enabled = False", "    Tag = 1", "  end"}, {}, false},
      {"button bound to another action", {"  object Next: TBitBtn", "    Tag = 1", "  end"}, Bind("Next", 2), false},
      {"no button", {"  object Text: TLabel", "    Tag = 1", "  end"}, {}, false},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.Name);
    m_forms = {};
    Lines form{"object About: TfmForm", "  ClientWidth = 100", "  ClientHeight = 60"};
    form.insert(form.end(), c.Control.begin(), c.Control.end());
    form.push_back("end");
    Load("1\r\n" + Definition(form, c.Binding.empty() ? Bindings({}) : Bindings({c.Binding})));
    auto w = Build("About");
    w->FormShow();
    w->show();
    Fl::e_number = FL_SHORTCUT;
    Fl::e_keysym = FL_Escape;
    w->do_callback();
    EXPECT_EQ(!w->shown(), c.Closes);
    // The close box closes every window.
    Fl::e_number = FL_CLOSE;
    w->do_callback();
    EXPECT_FALSE(w->shown());
  }
}

TEST_F(DefinedWindowTest, HugeControlsAreCutToTheLargerOfWindowAndScreen) {
  m_project.FileList.Names = {"notes.txt"};  // shown blank, at the preview's size
  Load("1\r\n" + Definition({"object Main: TfmForm", "  ClientWidth = 1000", "  ClientHeight = 100",
                             "  object Preview: TKXPreview", "    Tag = 1", "    Width = 100000", "    Height = 100000",
                             "  end", "  object Wide: TImage", "    Tag = 1", "    Width = 5000", "    Height = 50", "  end",
                             "  object Small: TImage", "    Tag = 1", "    Width = 30", "    Height = 20", "  end", "end"},
                            Bindings({})));
  auto w = Build("Main");
  w->FormShow();
  // The virtual screen is 800 x 600; the window 1000 x 100.
  const struct {
    const char* Name;
    int W, H;
  } cases[] = {{"Preview", 1000, 600}, {"Wide", 1000, 50}, {"Small", 30, 20}};
  for (const auto& c : cases) {
    EXPECT_EQ(Named(*w, c.Name).Widget()->w(), c.W) << c.Name;
    EXPECT_EQ(Named(*w, c.Name).Widget()->h(), c.H) << c.Name;
  }
  const TBitmap32& shown = dynamic_cast<TKXPreview&>(Named(*w, "Preview")).Picture().Bitmap();
  EXPECT_EQ(shown.Width(), 1000);
  EXPECT_EQ(shown.Height(), 600);
}
