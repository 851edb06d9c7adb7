// The picture button: its looks, its size, the auto-repeat of a held press
// on a virtual clock, latching, and the accelerator letter.
#include <FL/Fl.H>
#include <FL/Fl_Group.H>
#include <FL/Fl_Window.H>
#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "devices/headless/uVirtualClock.h"
#include "raster/uJpegCodec.h"
#include "support/TestSupport.h"
#include "support/VirtualScreen.h"
#include "ui/uFormValues.h"
#include "ui/uMyButton.h"
#include "ui/uWidgetCapture.h"

namespace {

using kx::MakePixel;
using kx::TBitmap32;
using kx::TMyButton;
using kx::TPixel;

const TPixel kBack = MakePixel(0, 200, 0);  // what lies under the button
const TPixel kRed = MakePixel(255, 0, 0), kBlue = MakePixel(0, 0, 255), kYellow = MakePixel(255, 255, 0),
             kCyan = MakePixel(0, 255, 255), kWhite = MakePixel(255, 255, 255);

TBitmap32 Solid(int w, int h, TPixel p) { return TBitmap32(w, h, p); }

// Picture data as a definition stores it: the kind's name, a byte count, the file.
std::string PictureData(std::string_view kind, const std::string& file) {
  std::string d(1, char(kind.size()));
  d += kind;
  const auto n = uint32_t(file.size());
  for (int i = 0; i < 4; ++i) d += char(n >> (8 * i));
  return d + file;
}

std::string BitmapData(const TBitmap32& b) {
  kxtest::TScratchDir dir;
  kxtest::WriteBmp(dir / "p.bmp", b);
  return PictureData("TBitmap", kxtest::ReadFile(dir / "p.bmp"));
}

kx::TFormValue Binary(std::string bytes) { return {kx::TFormBinary{std::move(bytes)}}; }
kx::TFormValue Bool(bool v) { return {kx::TFormIdent{v ? "True" : "False"}}; }

// Pointer events as FLTK delivers them, at a point of the widget.
void Send(Fl_Widget& w, int event, int button = FL_LEFT_MOUSE, int x = 1, int y = 1) {
  Fl::e_keysym = FL_Button + button;
  Fl::e_x = w.x() + x;
  Fl::e_y = w.y() + y;
  w.handle(event);
}
void Click(Fl_Widget& w) {
  Send(w, FL_PUSH);
  Send(w, FL_RELEASE);
}

// A button on a backdrop of a known colour, both owned here.
struct TOnBackdrop {
  explicit TOnBackdrop(kx::IClock* clock = nullptr, int w = 12, int h = 10) : Group(0, 0, w, h) {
    Group.end();
    Group.box(FL_FLAT_BOX);
    Group.color(kx::FlColor(kBack));
    Button = clock ? new TMyButton(*clock) : new TMyButton();
    Button->resize(0, 0, w, h);
    Group.add(Button);
  }
  TBitmap32 Shot() { return kx::CaptureWidget(Group); }
  Fl_Group Group;
  TMyButton* Button;
};

// One X server for every test that draws, kept to the end: FLTK stays
// connected to the first display it opened.
bool HaveScreen() {
  static kxtest::TVirtualScreen screen(320, 240);
  return screen.Available();
}

class MyButtonLook : public ::testing::Test {
 protected:
  void SetUp() override {
    if (!HaveScreen()) GTEST_SKIP() << "no Xvfb";
  }
};

// The push-button face and the sunken edge, pixel by pixel.
void ExpectRaisedFace(const TBitmap32& b) {
  const int R = b.Width() - 1, B = b.Height() - 1;
  const TPixel face = kx::SystemColor(15), hi = kx::SystemColor(20), dark = kx::SystemColor(21),
               light = kx::SystemColor(22), shadow = kx::SystemColor(16);
  for (int x = 0; x < R; ++x) EXPECT_EQ(b.Pixel(x, 0), hi) << x;
  for (int y = 0; y < B; ++y) EXPECT_EQ(b.Pixel(0, y), hi) << y;
  for (int x = 0; x <= R; ++x) EXPECT_EQ(b.Pixel(x, B), dark) << x;
  for (int y = 0; y <= B; ++y) EXPECT_EQ(b.Pixel(R, y), dark) << y;
  for (int x = 1; x < R - 1; ++x) EXPECT_EQ(b.Pixel(x, 1), light) << x;
  for (int x = 1; x < R; ++x) EXPECT_EQ(b.Pixel(x, B - 1), shadow) << x;
  for (int y = 1; y < B; ++y) EXPECT_EQ(b.Pixel(R - 1, y), shadow) << y;
  for (int y = 2; y < B - 1; ++y)
    for (int x = 2; x < R - 1; ++x) EXPECT_EQ(b.Pixel(x, y), face) << x << "," << y;
}

void ExpectSunkenEdge(const TBitmap32& b) {
  const int R = b.Width() - 1, B = b.Height() - 1;
  for (int x = 0; x < R; ++x) EXPECT_EQ(b.Pixel(x, 0), kx::SystemColor(16)) << x;
  for (int y = 0; y < B; ++y) EXPECT_EQ(b.Pixel(0, y), kx::SystemColor(16)) << y;
  for (int x = 0; x <= R; ++x) EXPECT_EQ(b.Pixel(x, B), kx::SystemColor(20)) << x;
  for (int y = 0; y <= B; ++y) EXPECT_EQ(b.Pixel(R, y), kx::SystemColor(20)) << y;
  for (int y = 1; y < B; ++y)
    for (int x = 1; x < R; ++x) EXPECT_EQ(b.Pixel(x, y), kBack) << x << "," << y;  // the inside shows through
}

bool AllOf(const TBitmap32& b, TPixel p) {
  for (int y = 0; y < b.Height(); ++y)
    for (int x = 0; x < b.Width(); ++x)
      if (b.Pixel(x, y) != p) return false;
  return true;
}

TEST_F(MyButtonLook, WithoutPicturesARaisedFaceAndASunkenEdgeWhileHeld) {
  TOnBackdrop t;
  {
    SCOPED_TRACE("up");
    ExpectRaisedFace(t.Shot());
  }
  Send(*t.Button, FL_ENTER);
  {
    SCOPED_TRACE("over");
    ExpectRaisedFace(t.Shot());
  }
  Send(*t.Button, FL_PUSH);
  {
    SCOPED_TRACE("held");
    ExpectSunkenEdge(t.Shot());
  }
  Send(*t.Button, FL_DRAG, FL_LEFT_MOUSE, 50, 50);  // held, but the pointer has left
  {
    SCOPED_TRACE("held outside");
    ExpectRaisedFace(t.Shot());
  }
  t.Button->deactivate();
  {
    SCOPED_TRACE("disabled");
    ExpectRaisedFace(t.Shot());
  }
}

// Each row: what happens to a button with up (red), down (blue), over
// (yellow) and disabled (cyan) pictures, and the colour it shows then.
TEST_F(MyButtonLook, EachStateShowsItsPicture) {
  struct TCase {
    const char* Name;
    std::function<void(TMyButton&)> Act;
    TPixel Shows;
  };
  const TCase cases[] = {
      {"up", [](TMyButton&) {}, kRed},
      {"over", [](TMyButton& b) { Send(b, FL_ENTER); }, kYellow},
      {"held", [](TMyButton& b) { Send(b, FL_PUSH); }, kBlue},
      {"held, pointer gone", [](TMyButton& b) { Send(b, FL_PUSH), Send(b, FL_DRAG, FL_LEFT_MOUSE, -5, 1); }, kRed},
      {"held, pointer back", [](TMyButton& b) {
         Send(b, FL_PUSH), Send(b, FL_DRAG, FL_LEFT_MOUSE, -5, 1), Send(b, FL_DRAG);
       }, kBlue},
      {"right button held", [](TMyButton& b) { Send(b, FL_PUSH, FL_RIGHT_MOUSE); }, kYellow},
      {"latched down", [](TMyButton& b) { b.SetAllowDown(true), b.SetDown(true); }, kBlue},
      {"clicked and left", [](TMyButton& b) { Click(b), Send(b, FL_LEAVE); }, kRed},
      {"disabled", [](TMyButton& b) { b.SetEnabled(false); }, kCyan},
      {"disabled while latched and hovered", [](TMyButton& b) {
         b.SetAllowDown(true), b.SetDown(true), Send(b, FL_ENTER), b.SetEnabled(false);
       }, kCyan},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.Name);
    TOnBackdrop t;
    t.Button->SetTransparent(false);
    t.Button->SetButtonUp(Solid(12, 10, kRed));
    t.Button->SetButtonDown(Solid(12, 10, kBlue));
    t.Button->SetButtonOver(Solid(12, 10, kYellow));
    t.Button->SetButtonDisable(Solid(12, 10, kCyan));
    c.Act(*t.Button);
    EXPECT_TRUE(AllOf(t.Shot(), c.Shows));
  }
}

TEST_F(MyButtonLook, OnlyButtonUpLooksTheSameHoveredAndPressed) {
  TOnBackdrop t;
  TBitmap32 up(12, 10, kRed);
  up.FillRect({3, 2, 9, 8}, kWhite);
  t.Button->SetTransparent(false);
  t.Button->SetButtonUp(up);
  const TBitmap32 idle = t.Shot();
  Send(*t.Button, FL_ENTER);
  const TBitmap32 over = t.Shot();
  Send(*t.Button, FL_PUSH);
  const TBitmap32 held = t.Shot();
  EXPECT_EQ(idle.Pixel(4, 4), kWhite);
  EXPECT_EQ(idle.Pixel(0, 0), kRed);
  for (int y = 0; y < 10; ++y)
    for (int x = 0; x < 12; ++x) {
      EXPECT_EQ(over.Pixel(x, y), idle.Pixel(x, y));
      EXPECT_EQ(held.Pixel(x, y), idle.Pixel(x, y));
    }
}

TEST_F(MyButtonLook, TransparentLeavesOutTheBottomLeftColourOfBitmapsOnly) {
  TBitmap32 up(12, 10, kWhite);
  up.FillRect({4, 3, 8, 7}, kRed);
  {
    SCOPED_TRACE("bitmap, transparent");
    TOnBackdrop t;  // Transparent is on by default
    t.Button->SetProperty("ButtonUp.Data", Binary(BitmapData(up)));
    const TBitmap32 b = t.Shot();
    EXPECT_EQ(b.Pixel(0, 0), kBack);
    EXPECT_EQ(b.Pixel(11, 9), kBack);
    EXPECT_EQ(b.Pixel(5, 4), kRed);
  }
  {
    SCOPED_TRACE("bitmap, opaque");
    TOnBackdrop t;
    t.Button->SetProperty("ButtonUp.Data", Binary(BitmapData(up)));
    t.Button->SetProperty("Transparent", Bool(false));
    const TBitmap32 b = t.Shot();
    EXPECT_EQ(b.Pixel(0, 0), kWhite);
    EXPECT_EQ(b.Pixel(5, 4), kRed);
  }
  {
    // A JPEG has no transparent colour: an even picture stays whole.
    SCOPED_TRACE("jpeg, transparent");
    TOnBackdrop t;
    t.Button->SetProperty("ButtonUp.Data", Binary(PictureData("TJPEGImage", kx::EncodeJpeg(Solid(12, 10, kWhite)))));
    const TBitmap32 b = t.Shot();
    for (const auto& [x, y] : {std::pair{0, 0}, {6, 5}, {0, 9}}) {
      EXPECT_GE(kx::PixelR(b.Pixel(x, y)), 250);
      EXPECT_GE(kx::PixelB(b.Pixel(x, y)), 250);
    }
  }
}

TEST_F(MyButtonLook, AutoSizeTakesButtonUpsSizeAtTheFirstPaint) {
  struct TCase {
    const char* Name;
    bool AutoSize, WithUp;
    int W, H;
  };
  for (const TCase& c : {TCase{"auto, picture", true, true, 7, 4}, TCase{"auto, no picture", true, false, 12, 10},
                         TCase{"fixed, picture", false, true, 12, 10}}) {
    SCOPED_TRACE(c.Name);
    TOnBackdrop t;
    t.Button->SetProperty("AutoSize", Bool(c.AutoSize));
    if (c.WithUp) t.Button->SetProperty("ButtonUp.Data", Binary(BitmapData(Solid(7, 4, kRed))));
    EXPECT_EQ(t.Button->w(), 12);  // the definition's size until painted
    t.Shot();
    EXPECT_EQ(t.Button->w(), c.W);
    EXPECT_EQ(t.Button->h(), c.H);
  }
}

// A picture larger than a button that keeps its own size is cut at its edge.
TEST_F(MyButtonLook, PicturesStayInsideTheButton) {
  Fl_Group g(0, 0, 20, 10);
  g.end();
  g.box(FL_FLAT_BOX);
  g.color(kx::FlColor(kBack));
  auto* b = new TMyButton();
  b->resize(0, 0, 10, 10);
  g.add(b);
  b->SetAutoSize(false);
  b->SetTransparent(false);
  b->SetButtonUp(Solid(20, 10, kRed));
  const TBitmap32 shot = kx::CaptureWidget(g);
  EXPECT_EQ(shot.Pixel(9, 5), kRed);
  EXPECT_EQ(shot.Pixel(10, 5), kBack);
}

TEST_F(MyButtonLook, CaptionIsCentredAndNotDrawnWhenDisabled) {
  TOnBackdrop t(nullptr, 80, 30);
  t.Button->Caption = "&Wide";
  t.Button->Font.Height = -14;
  const TBitmap32 plain = t.Shot();
  t.Button->SetShowCaption(true);
  const TBitmap32 captioned = t.Shot();
  // The text's ink: pixels that differ from the plain face.
  int left = 80, right = -1, top = 30, bottom = -1;
  for (int y = 0; y < 30; ++y)
    for (int x = 0; x < 80; ++x)
      if (captioned.Pixel(x, y) != plain.Pixel(x, y)) {
        left = std::min(left, x), right = std::max(right, x);
        top = std::min(top, y), bottom = std::max(bottom, y);
      }
  ASSERT_GE(right, 0) << "no caption drawn";
  // Glyph side bearings make the ink a pixel or two narrower than the text's
  // advance width; the text box itself is centred.
  EXPECT_NEAR((left + right) / 2.0, 39.5, 2.0);
  EXPECT_NEAR((top + bottom) / 2.0, 14.5, 3.0);

  t.Button->SetEnabled(false);
  const TBitmap32 disabled = t.Shot();
  t.Button->SetShowCaption(false);
  const TBitmap32 disabledPlain = t.Shot();
  for (int y = 0; y < 30; ++y)
    for (int x = 0; x < 80; ++x) ASSERT_EQ(disabled.Pixel(x, y), disabledPlain.Pixel(x, y)) << x << "," << y;
}

// ---- the repeat, on a virtual clock ----

class MyButtonRepeat : public ::testing::Test {
 protected:
  MyButtonRepeat() : t(&clock) {
    t.Button->OnMousePressed = [this](void* sender) {
      fired.push_back(clock.Tick());
      senders.push_back(sender);
    };
  }
  // Moves the clock a millisecond at a time, as a timer would look.
  void Run(uint32_t ms) {
    for (uint32_t i = 0; i < ms; ++i) {
      clock.Advance(1);
      t.Button->CheckRepeat();
    }
  }
  using Ticks = std::vector<uint32_t>;
  kx::TVirtualClock clock{1000};
  TOnBackdrop t;
  TMyButton& b = *t.Button;
  Ticks fired;
  std::vector<void*> senders;
};

TEST_F(MyButtonRepeat, FiresAtThePressAfter500MsThenEvery50Ms) {
  Send(b, FL_PUSH);
  EXPECT_EQ(fired, Ticks{1000});
  Run(499);
  EXPECT_EQ(fired, Ticks{1000});
  Run(1);
  EXPECT_EQ(fired, (Ticks{1000, 1500}));
  Run(150);
  EXPECT_EQ(fired, (Ticks{1000, 1500, 1550, 1600, 1650}));
  ASSERT_EQ(senders.size(), 5u);
  EXPECT_EQ(senders[0], &b);
  EXPECT_EQ(senders[1], b.RepeatTimer());
  Send(b, FL_RELEASE);
  Run(1000);
  EXPECT_EQ(fired.size(), 5u);
}

TEST_F(MyButtonRepeat, LeavingStopsTheSeriesAndComingBackResumesItAt50Ms) {
  Send(b, FL_PUSH);
  Run(560);  // 1500, 1550
  Send(b, FL_DRAG, FL_LEFT_MOUSE, 40, 1);
  EXPECT_FALSE(b.MouseInControl());
  Run(1000);
  EXPECT_EQ(fired, (Ticks{1000, 1500, 1550}));
  Send(b, FL_DRAG);  // back on the button at 2560
  EXPECT_TRUE(b.MouseInControl());
  Run(100);
  EXPECT_EQ(fired, (Ticks{1000, 1500, 1550, 2610, 2660}));
  // The toolkit's own leave and enter notifications do the same.
  Send(b, FL_LEAVE);
  Run(200);
  Send(b, FL_ENTER);
  Run(50);
  EXPECT_EQ(fired, (Ticks{1000, 1500, 1550, 2610, 2660, 2910}));
}

TEST_F(MyButtonRepeat, LeavingBeforeTheFirstRepeatWaits500MsAgain) {
  Send(b, FL_PUSH);
  Run(300);
  Send(b, FL_LEAVE);
  Run(300);
  Send(b, FL_ENTER);  // at 1600
  Run(499);
  EXPECT_EQ(fired, Ticks{1000});
  Run(1);
  EXPECT_EQ(fired, (Ticks{1000, 2100}));
}

TEST_F(MyButtonRepeat, OtherButtonsNeitherStartNorStopIt) {
  Send(b, FL_PUSH, FL_RIGHT_MOUSE);
  Run(1000);
  EXPECT_TRUE(fired.empty());
  Send(b, FL_PUSH);
  Send(b, FL_RELEASE, FL_RIGHT_MOUSE);
  Run(500);
  EXPECT_EQ(fired, (Ticks{2000, 2500}));
}

TEST_F(MyButtonRepeat, ALateLookFiresOnceNotForEveryMissedTick) {
  Send(b, FL_PUSH);
  clock.Advance(2000);
  b.CheckRepeat();
  b.CheckRepeat();
  EXPECT_EQ(fired, (Ticks{1000, 3000}));
  Run(50);
  EXPECT_EQ(fired, (Ticks{1000, 3000, 3050}));
}

TEST(MyButtonRepeatWrap, TheSeriesCarriesOnWhenTheTickWraps) {
  kx::TVirtualClock clock(0xFFFFFF00u);
  TMyButton b(clock);
  b.resize(0, 0, 20, 20);
  std::vector<uint32_t> fired;
  b.OnMousePressed = [&](void*) { fired.push_back(clock.Tick()); };
  Send(b, FL_PUSH);
  for (int i = 0; i < 600; ++i) {
    clock.Advance(1);
    b.CheckRepeat();
  }
  EXPECT_EQ(fired, (std::vector<uint32_t>{0xFFFFFF00u, 0xFFFFFF00u + 500, 0xFFFFFF00u + 550, 0xFFFFFF00u + 600}));
}

// A button hidden or disabled while held never sees the release: its
// repeat must end all the same.
TEST_F(MyButtonRepeat, HidingOrDisablingAHeldButtonEndsThePress) {
  for (const auto& end : {std::function<void()>([&] { b.hide(); }), std::function<void()>([&] { b.deactivate(); })}) {
    b.show();
    b.activate();
    fired.clear();
    Send(b, FL_PUSH);
    end();
    EXPECT_FALSE(b.Pressed());
    Run(1000);
    EXPECT_EQ(fired.size(), 1u);
  }
}

// ---- latching and clicks ----

TEST(MyButton, DownNeedsAllowDown) {
  TMyButton b;
  b.SetDown(true);
  EXPECT_FALSE(b.Down());
  b.SetAllowDown(true);
  b.SetDown(true);
  EXPECT_TRUE(b.Down());
  b.SetAllowDown(false);
  EXPECT_FALSE(b.Down());
}

TEST(MyButton, ADefinitionsDownLineBeforeAllowDownStillLatches) {
  TMyButton b;
  b.SetProperty("Down", Bool(true));
  b.SetProperty("AllowDown", Bool(true));
  b.Loaded();
  EXPECT_TRUE(b.Down());
  TMyButton alone;  // without AllowDown it stays up
  alone.SetProperty("Down", Bool(true));
  alone.Loaded();
  EXPECT_FALSE(alone.Down());
}

TEST(MyButton, EveryEndedLeftPressFlipsDownButOnlyAReleaseOnTheButtonClicks) {
  TMyButton b;
  b.resize(0, 0, 20, 20);
  int clicks = 0;
  b.OnClick = [&](kx::TComponent&) { ++clicks; };
  b.SetAllowDown(true);
  Click(b);
  EXPECT_TRUE(b.Down());
  EXPECT_EQ(clicks, 1);
  Click(b);
  EXPECT_FALSE(b.Down());
  EXPECT_EQ(clicks, 2);
  Send(b, FL_PUSH);
  Send(b, FL_RELEASE, FL_LEFT_MOUSE, 30, 30);
  EXPECT_TRUE(b.Down());
  EXPECT_EQ(clicks, 2);
  EXPECT_FALSE(b.MouseInControl());
  Send(b, FL_PUSH, FL_RIGHT_MOUSE);
  Send(b, FL_RELEASE, FL_RIGHT_MOUSE);
  EXPECT_TRUE(b.Down());
  EXPECT_EQ(clicks, 2);
}

TEST(MyButton, UnknownPropertiesAreLeftToTheBuilderAndWrongKindsStopIt) {
  TMyButton b;
  EXPECT_FALSE(b.SetProperty("Glyph.Data", Binary("")));
  EXPECT_THROW(b.SetProperty("AllowDown", Binary("")), kx::TFormBuildError);
  EXPECT_THROW(b.SetProperty("ButtonUp.Data", Binary(std::string("\x07TBitmap\x10\x00\x00\x00", 12))), kx::TFormBuildError);
  EXPECT_TRUE(b.SetProperty("ButtonUp.Data", Binary(std::string("\x07TBitmap\x00\x00\x00\x00", 12))));
  EXPECT_TRUE(b.ButtonUp().Empty());
}

// ---- the accelerator ----

class MyButtonAccel : public MyButtonLook {};

TEST_F(MyButtonAccel, TheCaptionsMarkedLetterClicksAShowingEnabledButton) {
  struct TCase {
    const char* Caption;
    const char* Key;
    bool Enabled, Visible, WindowShown;
    bool Clicks;
  };
  const TCase cases[] = {
      {"&Next", "n", true, true, true, true},    {"&Next", "N", true, true, true, true},
      {"Ne&xt", "x", true, true, true, true},    {"&Next", "e", true, true, true, false},
      {"Next", "n", true, true, true, false},    {"&&Next", "n", true, true, true, false},
      {"A&&B&c", "c", true, true, true, true},   {"&Next", "n", false, true, true, false},
      {"&Next", "n", true, false, true, false},  {"&Next", "n", true, true, false, false},
      {"&Über", "ü", true, true, true, true},    {"&", "&", true, true, true, false},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(std::string(c.Caption) + " / " + c.Key);
    Fl_Window win(100, 50);
    win.end();
    auto* b = new TMyButton();
    win.add(b);
    b->Caption = c.Caption;
    if (!c.Enabled) b->SetEnabled(false);
    if (!c.Visible) b->hide();
    if (c.WindowShown) win.show();
    int clicks = 0;
    b->OnClick = [&](kx::TComponent&) { ++clicks; };
    std::string key = c.Key;
    Fl::e_text = key.data();
    Fl::e_length = int(key.size());
    EXPECT_EQ(b->handle(FL_SHORTCUT) != 0, c.Clicks);
    EXPECT_EQ(clicks, c.Clicks ? 1 : 0);
    win.hide();
  }
}

}  // namespace
