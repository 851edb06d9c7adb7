// Shapes, bevels and the memo of skinned windows: exact outlines on small
// widgets, clicks, and the memo's lines as one text.
#include <FL/Fl.H>
#include <FL/Fl_Group.H>
#include <gtest/gtest.h>

#include <functional>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "support/VirtualScreen.h"
#include "ui/MyBevel.h"
#include "ui/MyMemo.h"
#include "ui/MyShape.h"
#include "ui/uFlDraw.h"
#include "ui/uFormValues.h"
#include "ui/uWidgetCapture.h"

namespace {

using kx::MakePixel;
using kx::TBitmap32;
using kx::TPixel;
using Art = std::vector<std::string>;

const TPixel kBack = MakePixel(0, 200, 0);
const TPixel kPen = MakePixel(0, 0, 0), kBrush = MakePixel(255, 255, 255);

bool HaveScreen() {
  static kxtest::TVirtualScreen screen(320, 240);
  return screen.Available();
}

class SkinControls : public ::testing::Test {
 protected:
  void SetUp() override {
    if (!HaveScreen()) GTEST_SKIP() << "no Xvfb";
  }
};

kx::TFormValue Ident(const char* s) { return {kx::TFormIdent{s}}; }
kx::TFormValue Int(int64_t v) { return {kx::TFormInt{v}}; }
kx::TFormValue Str(const char* s) { return {kx::TFormString{s}}; }

// The widget drawn over a backdrop of a known colour, as one letter a pixel.
Art Draw(Fl_Widget* widget, int w, int h, const std::map<TPixel, char>& letters) {
  Fl_Group g(0, 0, w, h);
  g.end();
  g.box(FL_FLAT_BOX);
  g.color(kx::FlColor(kBack));
  widget->resize(0, 0, w, h);
  g.add(widget);
  const TBitmap32 shot = kx::CaptureWidget(g);
  Art art;
  for (int y = 0; y < h; ++y) {
    std::string row;
    for (int x = 0; x < w; ++x) {
      const auto it = letters.find(shot.Pixel(x, y));
      row += it == letters.end() ? (shot.Pixel(x, y) == kBack ? '.' : '?') : it->second;
    }
    art.push_back(row);
  }
  return art;
}

std::string Show(const Art& art) {
  std::string s = "\n";
  for (const auto& r : art) s += r + "\n";
  return s;
}

// ---- shapes ----

struct TShapeCase {
  const char* Name;
  int W, H;
  std::function<void(kx::TShape&)> Set;
  Art Expected;
};

TEST_F(SkinControls, RectangleAndSquareOutlinesLieInsideTheBounds) {
  const TShapeCase cases[] = {
      {"one-pixel pen", 8, 6, [](kx::TShape&) {},
       {"PPPPPPPP", "PBBBBBBP", "PBBBBBBP", "PBBBBBBP", "PBBBBBBP", "PPPPPPPP"}},
      {"two-pixel pen", 8, 6, [](kx::TShape& s) { s.Pen.Width = 2; },
       {"PPPPPPPP", "PPPPPPPP", "PPBBBBPP", "PPBBBBPP", "PPPPPPPP", "PPPPPPPP"}},
      {"three-pixel pen", 8, 7, [](kx::TShape& s) { s.Pen.Width = 3; },
       {"PPPPPPPP", "PPPPPPPP", "PPPPPPPP", "PPPBBPPP", "PPPPPPPP", "PPPPPPPP", "PPPPPPPP"}},
      {"pen of width 0 draws one pixel wide", 6, 4, [](kx::TShape& s) { s.Pen.Width = 0; },
       {"PPPPPP", "PBBBBP", "PBBBBP", "PPPPPP"}},
      {"pen wider than the shape", 4, 4, [](kx::TShape& s) { s.Pen.Width = 10; },
       {"PPPP", "PPPP", "PPPP", "PPPP"}},
      {"square in a wide box", 10, 6, [](kx::TShape& s) { s.Shape = kx::TShapeType::Square; },
       {"..PPPPPP..", "..PBBBBP..", "..PBBBBP..", "..PBBBBP..", "..PBBBBP..", "..PPPPPP.."}},
      {"square in a tall box", 4, 7, [](kx::TShape& s) { s.Shape = kx::TShapeType::Square; },
       {"....", "PPPP", "PBBP", "PBBP", "PPPP", "....", "...."}},
      {"clear pen", 6, 4, [](kx::TShape& s) { s.Pen.Style = kx::TPenStyle::Clear; },
       {"BBBBBB", "BBBBBB", "BBBBBB", "BBBBBB"}},
      {"clear brush", 6, 4, [](kx::TShape& s) { s.Brush.Style = kx::TBrushStyle::Clear; },
       {"PPPPPP", "P....P", "P....P", "PPPPPP"}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.Name);
    auto* shape = new kx::TShape();
    shape->Brush.Color = kBrush;
    shape->Pen.Color = kPen;
    c.Set(*shape);
    const Art art = Draw(shape, c.W, c.H, {{kPen, 'P'}, {kBrush, 'B'}});
    EXPECT_EQ(art, c.Expected) << Show(art);
  }
}

// Round outlines come from the X server's arcs: their exact pixels are its
// choice, so these check where the outline must and must not be.
TEST_F(SkinControls, EllipsesCirclesAndRoundedCornersKeepToTheirBox) {
  struct TCase {
    const char* Name;
    kx::TShapeType Shape;
    int W, H;
    int Left, Right;  // the columns the shape spans
  };
  for (const TCase& c : {TCase{"ellipse", kx::TShapeType::Ellipse, 21, 13, 0, 20},
                         TCase{"circle", kx::TShapeType::Circle, 21, 13, 4, 16},
                         TCase{"rounded rectangle", kx::TShapeType::RoundRect, 40, 24, 0, 39},
                         TCase{"rounded square", kx::TShapeType::RoundSquare, 40, 24, 8, 31}}) {
    SCOPED_TRACE(c.Name);
    auto* shape = new kx::TShape();
    shape->Shape = c.Shape;
    shape->Brush.Color = kBrush;
    shape->Pen.Color = kPen;
    const Art art = Draw(shape, c.W, c.H, {{kPen, 'P'}, {kBrush, 'B'}});
    const int midX = (c.Left + c.Right) / 2, midY = c.H / 2;
    EXPECT_EQ(art[midY][midX], 'B') << Show(art);
    EXPECT_EQ(art[0][midX], 'P') << Show(art);
    EXPECT_EQ(art[c.H - 1][midX], 'P') << Show(art);
    EXPECT_EQ(art[midY][c.Left], 'P') << Show(art);
    EXPECT_EQ(art[midY][c.Right], 'P') << Show(art);
    for (const auto& [x, y] : {std::pair{c.Left, 0}, {c.Right, 0}, {c.Left, c.H - 1}, {c.Right, c.H - 1}})
      EXPECT_EQ(art[y][x], '.') << x << "," << y << Show(art);
    for (int y = 0; y < c.H; ++y)
      for (int x = 0; x < c.W; ++x) {
        if (x < c.Left || x > c.Right) {
          EXPECT_EQ(art[y][x], '.') << x << "," << y << Show(art);
        }
        EXPECT_NE(art[y][x], '?') << x << "," << y << Show(art);
      }
  }
}

TEST_F(SkinControls, RoundedCornersAreAQuarterOfTheSmallerSideAcross) {
  // 40 x 24: corners 6 pixels across; the straight edges run between them.
  const auto o = kx::ShapeOutline(kx::TShapeType::RoundRect, 40, 24, 1);
  EXPECT_EQ(o.Corner, 6);
  auto* shape = new kx::TShape();
  shape->Shape = kx::TShapeType::RoundRect;
  shape->Brush.Style = kx::TBrushStyle::Clear;
  const Art art = Draw(shape, 40, 24, {{kPen, 'P'}});
  for (int x = 3; x <= 36; ++x) EXPECT_EQ(art[0][x], 'P') << x << Show(art);
  for (int y = 3; y <= 20; ++y) EXPECT_EQ(art[y][0], 'P') << y << Show(art);
  EXPECT_EQ(art[0][1], '.') << Show(art);
  EXPECT_EQ(art[1][0], '.') << Show(art);
}

TEST_F(SkinControls, DashesShowTheBrushBetweenThem) {
  auto* shape = new kx::TShape();
  shape->Brush.Color = kBrush;
  shape->Pen.Style = kx::TPenStyle::Dash;
  const Art art = Draw(shape, 40, 6, {{kPen, 'P'}, {kBrush, 'B'}});
  EXPECT_NE(art[0].find('P'), std::string::npos) << Show(art);
  EXPECT_NE(art[0].find('B'), std::string::npos) << Show(art);
  EXPECT_EQ(art[0].find_first_not_of("PB"), std::string::npos) << Show(art);
}

TEST(SkinControlProperties, ShapeReadsItsPropertyLines) {
  kx::TShape s;
  EXPECT_TRUE(s.SetProperty("Shape", Ident("stCircle")));
  EXPECT_TRUE(s.SetProperty("Brush.Color", Ident("clRed")));
  EXPECT_TRUE(s.SetProperty("Brush.Style", Ident("bsClear")));
  EXPECT_TRUE(s.SetProperty("Pen.Color", Int(0x00FF0000)));
  EXPECT_TRUE(s.SetProperty("Pen.Width", Int(3)));
  EXPECT_TRUE(s.SetProperty("Pen.Style", Ident("psDot")));
  EXPECT_TRUE(s.SetProperty("Pen.Mode", Ident("pmCopy")));
  EXPECT_EQ(s.Shape, kx::TShapeType::Circle);
  EXPECT_EQ(s.Brush.Color, MakePixel(255, 0, 0));
  EXPECT_EQ(s.Brush.Style, kx::TBrushStyle::Clear);
  EXPECT_EQ(s.Pen.Color, MakePixel(0, 0, 255));
  EXPECT_EQ(s.Pen.Width, 3);
  EXPECT_EQ(s.Pen.Style, kx::TPenStyle::Dot);
  EXPECT_FALSE(s.SetProperty("Caption", Str("x")));
  EXPECT_THROW(s.SetProperty("Shape", Ident("stTriangle")), kx::TFormBuildError);
  EXPECT_THROW(s.SetProperty("Pen.Width", Str("3")), kx::TFormBuildError);
}

// ---- bevels ----

TEST_F(SkinControls, BevelsDrawTheirLinesInShadowAndHighlight) {
  struct TCase {
    kx::TBevelShape Shape;
    kx::TBevelStyle Style;
    Art Expected;  // S shadow, H highlight
  };
  using S = kx::TBevelShape;
  const auto L = kx::TBevelStyle::Lowered, R = kx::TBevelStyle::Raised;
  const TCase cases[] = {
      {S::Box, L, {"SSSSH", "S...H", "S...H", "SHHHH"}},
      {S::Box, R, {"HHHHS", "H...S", "H...S", "HSSSS"}},
      {S::Frame, L, {"SSSS.", "SHHSH", "SSSSH", ".HHHH"}},
      {S::Frame, R, {"HHHH.", "HSSHS", "HHHHS", ".SSSS"}},
      {S::TopLine, L, {"SSSSS", "HHHHH", ".....", "....."}},
      {S::BottomLine, L, {".....", ".....", "SSSSS", "HHHHH"}},
      {S::LeftLine, R, {"HS...", "HS...", "HS...", "HS..."}},
      {S::RightLine, L, {"...SH", "...SH", "...SH", "...SH"}},
      {S::Spacer, L, {".....", ".....", ".....", "....."}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(int(c.Shape) * 2 + int(c.Style));
    auto* bevel = new kx::TMyBevel();
    bevel->Shape = c.Shape;
    bevel->Style = c.Style;
    const Art art = Draw(bevel, 5, 4, {{kx::SystemColor(16), 'S'}, {kx::SystemColor(20), 'H'}});
    EXPECT_EQ(art, c.Expected) << Show(art);
  }
}

TEST(SkinControlProperties, BevelReadsShapeAndStyle) {
  kx::TMyBevel b;
  EXPECT_TRUE(b.SetProperty("Shape", Ident("bsBottomLine")));
  EXPECT_TRUE(b.SetProperty("Style", Ident("bsRaised")));
  EXPECT_EQ(b.Shape, kx::TBevelShape::BottomLine);
  EXPECT_EQ(b.Style, kx::TBevelStyle::Raised);
  EXPECT_THROW(b.SetProperty("Style", Ident("bsSunken")), kx::TFormBuildError);
}

// ---- clicks ----

void Send(Fl_Widget& w, int event, int button = FL_LEFT_MOUSE, int x = 1, int y = 1) {
  Fl::e_keysym = FL_Button + button;
  Fl::e_x = w.x() + x;
  Fl::e_y = w.y() + y;
  w.handle(event);
}

TEST(SkinControlClicks, ShapesAndBevelsOfOurOwnClickOnACompletedLeftClick) {
  struct TCase {
    const char* Name;
    std::function<void(Fl_Widget&)> Act;
    int Clicks;
  };
  const TCase cases[] = {
      {"press and release on it", [](Fl_Widget& w) { Send(w, FL_PUSH), Send(w, FL_RELEASE); }, 1},
      {"dragged off and back", [](Fl_Widget& w) {
         Send(w, FL_PUSH), Send(w, FL_DRAG, FL_LEFT_MOUSE, 90, 1), Send(w, FL_RELEASE);
       }, 1},
      {"released elsewhere", [](Fl_Widget& w) { Send(w, FL_PUSH), Send(w, FL_RELEASE, FL_LEFT_MOUSE, 90, 1); }, 0},
      {"right button", [](Fl_Widget& w) {
         Send(w, FL_PUSH, FL_RIGHT_MOUSE), Send(w, FL_RELEASE, FL_RIGHT_MOUSE);
       }, 0},
      {"release without a press", [](Fl_Widget& w) { Send(w, FL_RELEASE); }, 0},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.Name);
    kx::TMyShape shape;
    kx::TMyBevel bevel;
    for (kx::TComponent* comp : {static_cast<kx::TComponent*>(&shape), static_cast<kx::TComponent*>(&bevel)}) {
      int clicks = 0;
      comp->OnClick = [&](kx::TComponent&) { ++clicks; };
      comp->Widget()->resize(0, 0, 20, 20);
      c.Act(*comp->Widget());
      EXPECT_EQ(clicks, c.Clicks) << comp->Widget();
    }
  }
  // The plain shape lets the pointer through to what lies under it.
  kx::TShape plain;
  plain.resize(0, 0, 20, 20);
  Fl::e_keysym = FL_Button + FL_LEFT_MOUSE;
  EXPECT_EQ(plain.handle(FL_PUSH), 0);
}

// ---- the memo ----

// The editor measures its text whenever it changes: it needs a display.
class MyMemoText : public SkinControls {};

TEST_F(MyMemoText, ReadsAsLinesEachEndedByCrLf) {
  kx::TMyMemo memo;
  memo.SetLines({"a", "b"});
  EXPECT_EQ(memo.Text(), "a\r\nb\r\n");
  memo.SetLines({});
  EXPECT_EQ(memo.Text(), "");
  memo.SetLines({"a", ""});  // a last empty line is a line
  EXPECT_EQ(memo.Text(), "a\r\n\r\n");
}

TEST_F(MyMemoText, WritingSplitsAtCrLfCrOrLf) {
  struct TCase {
    const char* Text;
    std::vector<std::string> Lines;
  };
  const TCase cases[] = {
      {"a\r\nb", {"a", "b"}},     {"a\rb", {"a", "b"}},           {"a\nb", {"a", "b"}},
      {"a\r\nb\r\n", {"a", "b"}}, {"", {}},                       {"\r\n", {""}},
      {"a\n\rb", {"a", "", "b"}}, {"a\r\r\nb", {"a", "", "b"}},   {"a\r\n\r\n", {"a", ""}},
      {"one line", {"one line"}}, {"x\ny\rz\r\n", {"x", "y", "z"}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(::testing::PrintToString(std::string(c.Text)));
    kx::TMyMemo memo;
    memo.SetText(c.Text);
    EXPECT_EQ(memo.Lines(), c.Lines);
    std::string expected;
    for (const auto& l : c.Lines) expected += l + "\r\n";
    EXPECT_EQ(memo.Text(), expected);
  }
}

TEST_F(MyMemoText, DefinitionLinesFillIt) {
  kx::TMyMemo memo;
  kx::TFormValue list{kx::TFormList{{Str("first"), Str(""), Str("third")}}};
  EXPECT_TRUE(memo.SetProperty("Lines.Strings", list));
  EXPECT_EQ(memo.Text(), "first\r\n\r\nthird\r\n");
  EXPECT_TRUE(memo.SetProperty("Text", Str("x\ry")));
  EXPECT_EQ(memo.Lines(), (std::vector<std::string>{"x", "y"}));
  EXPECT_TRUE(memo.SetProperty("ScrollBars", Ident("ssVertical")));
  EXPECT_EQ(memo.ScrollBars(), kx::TScrollStyle::Vertical);
  EXPECT_TRUE(memo.SetProperty("WordWrap", Ident("False")));
  EXPECT_FALSE(memo.WordWrap());
  EXPECT_TRUE(memo.SetProperty("Alignment", Ident("taCenter")));
  EXPECT_TRUE(memo.SetProperty("MaxLength", Int(10)));
  EXPECT_EQ(memo.MaxLength, 10);
  EXPECT_THROW(memo.SetProperty("Lines.Strings", Str("x")), kx::TFormBuildError);
  EXPECT_THROW(memo.SetProperty("ScrollBars", Ident("ssSome")), kx::TFormBuildError);
}

// A definition sets the text and the size before the font (Loaded applies
// it): the memo lays the text out again with its own font and width, so it
// looks as if the font had come first.
TEST_F(MyMemoText, LaysOutWithItsOwnFontAndWidth) {
  const std::string text =
      "The quick brown fox jumps over the lazy dog, and the lazy dog lets it pass; "
      "then the fox comes back and jumps over the lazy dog once more.";
  auto shot = [&](bool fontFirst) {
    Fl_Group g(0, 0, 260, 120);
    g.end();
    auto* memo = new kx::TMyMemo();
    g.add(memo);
    memo->Font.Height = -9;
    if (fontFirst) memo->Loaded();
    memo->SetText(text + "\r\nsecond paragraph");
    memo->resize(0, 0, 260, 120);
    memo->Loaded();
    return kx::CaptureWidget(g);
  };
  EXPECT_EQ(shot(false), shot(true));
}

// Typing a character, as FLTK delivers the key to the focused memo.
void Type(kx::TMyMemo& memo, const char* ch) {
  static std::string text;
  text = ch;
  Fl::e_keysym = uint8_t(ch[0]);
  Fl::e_state = 0;
  Fl::e_text = text.data();
  Fl::e_length = int(text.size());
  memo.handle(FL_KEYBOARD);
}

TEST_F(SkinControls, ReadOnlyAndMaxLengthStopTyping) {
  Fl_Group g(0, 0, 200, 100);
  g.end();
  auto* memo = new kx::TMyMemo();
  g.add(memo);
  memo->SetText("ab");  // the cursor is at the start
  Type(*memo, "x");
  EXPECT_EQ(memo->Text(), "xab\r\n");
  memo->SetReadOnly(true);
  Type(*memo, "y");
  EXPECT_EQ(memo->Text(), "xab\r\n");
  memo->SetReadOnly(false);
  memo->MaxLength = 5;  // "xab" and its line end: one character more fits
  Type(*memo, "y");
  Type(*memo, "z");
  EXPECT_EQ(memo->Text(), "xyab\r\n");
}

}  // namespace
