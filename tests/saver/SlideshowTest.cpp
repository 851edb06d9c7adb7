#include <gtest/gtest.h>

#include <algorithm>

#include <functional>
#include <stdexcept>

#include "devices/headless/uHeadlessDisplay.h"
#include "devices/uMessageBox.h"
#include "saver/FKXScrSvr.h"
#include "raster/uJpegCodec.h"
#include "raster/uPngIO.h"
#include "support/ExifSupport.h"
#include "support/PictureFileBuilder.h"
#include "support/TestSupport.h"

using namespace kx;
using kxtest::TScratchDir;

namespace {

const TPixel kBlack = MakePixel(0, 0, 0);

struct TEvent {
  uint32_t Tick;
  std::string What;  // "picture <index>", "transition <frames>", "ahead <index>", "end"
};

class TRecorder final : public TShowEvents {
 public:
  explicit TRecorder(IClock& clock) : m_clock(clock) {}
  void PictureShown(int32_t index, const std::string&) override { Add("picture " + std::to_string(index)); }
  void TransitionStarted(int32_t, int32_t frames) override { Add("transition " + std::to_string(frames)); }
  void PictureFetchedAhead(int32_t index, const std::string&) override { Add("ahead " + std::to_string(index)); }
  void Ended() override { Add("end"); }
  std::vector<TEvent> Events;
  std::vector<std::string> Whats() const {
    std::vector<std::string> out;
    for (const TEvent& e : Events) out.push_back(e.What);
    return out;
  }
  std::vector<int32_t> Pictures() const {
    std::vector<int32_t> out;
    for (const TEvent& e : Events)
      if (e.What.rfind("picture ", 0) == 0) out.push_back(std::stoi(e.What.substr(8)));
    return out;
  }

 private:
  void Add(std::string what) { Events.push_back({m_clock.Tick(), std::move(what)}); }
  IClock& m_clock;
};

// A show on a headless screen of the given size, ended by a key at endTick.
class SlideshowTest : public testing::Test {
 protected:
  void SetUp() override {
    m_previousBox = SetMessageBoxHandler([this](const std::string& text) { Messages.push_back(text); });
  }
  void TearDown() override { SetMessageBoxHandler(m_previousBox); }

  // Adds a solid picture of w x h as a BMP file.
  void AddPicture(int32_t w, int32_t h, TPixel colour = MakePixel(200, 40, 40), bool enabled = true) {
    const std::string path = m_dir / ("p" + std::to_string(Project.FileList.Names.size()) + ".bmp");
    kxtest::WriteBmp(path, TBitmap32(w, h, colour));
    Project.FileList.Names.push_back(path);
    Project.FileList.States.push_back(enabled ? "TRUE" : "FALSE");
  }

  void AddFile(const std::string& name, const std::string& bytes) {
    kxtest::WriteFile(m_dir / name, bytes);
    Project.FileList.Names.push_back(m_dir / name);
    Project.FileList.States.push_back("TRUE");
  }

  // Adds a picture file whose lower half is one reflecting area of still water.
  TBitmap32 AddReflectingPictureFile(const std::string& name) {
    TBitmap32 picture(16, 12);
    for (int32_t y = 0; y < 12; ++y)
      for (int32_t x = 0; x < 16; ++x) picture.SetPixel(x, y, MakePixel(uint8_t(x * 16), uint8_t(y * 20), 90));
    TPictureFileParts parts = kxtest::SmallPictureFile();
    parts.Picture = EncodeJpeg(picture);
    TBitmap32 map(16, 12, 0);
    map.FillRect({0, 6, 16, 12}, MakePixel(0, 0, 255, 0));  // area 1
    parts.RegionMap = EncodeRegionMap(map);
    TWaveParam wave{};
    wave.Period = 360;
    wave.Reflect = 1;
    TWaveRecordBytes bytes;
    std::memcpy(bytes.data(), &wave, sizeof wave);
    parts.Waves = {bytes};
    AddFile(name, MakePictureFile(parts));
    return DecodeJpeg({reinterpret_cast<const uint8_t*>(parts.Picture.data()), parts.Picture.size()});
  }

  void Run(int32_t sw, int32_t sh, uint32_t endTick, bool enableAll = true) {
    m_display = std::make_unique<THeadlessDisplay>(Clock, sw, sh, FrameCost);
    m_display->Script({endTick, {TInputKind::KeyPress, 0, 0, 27}});
    for (const TScriptedInput& in : Input) m_display->Script(in);
    for (const TResize& r : Resizes) m_display->ScriptResize(r.Tick, r.Width, r.Height);
    m_display->OnPresent([this](const TBitmap32& screen) {
      if (OnFrame) OnFrame(screen);
    });
    TInputState input;
    TSaverContext context{*m_display, Clock, m_dir / "Lake.scr", 1234u, &Recorder, &input};
    context.Errors = &Errors;
    RunSlideshow(Project, enableAll, true, context);
  }
  const THeadlessDisplay& Display() const { return *m_display; }

  // Every transition planned with `transition` ("transition <frames>"), and
  // the picture changes after the first [lo, hi] milliseconds apart.
  void ExpectTransitionsAndPeriods(const std::string& transition, size_t changesAtLeast, uint32_t lo, uint32_t hi) {
    std::vector<uint32_t> changes;
    for (const TEvent& e : Recorder.Events) {
      if (e.What.rfind("transition", 0) == 0) {
        EXPECT_EQ(e.What, transition);
      }
      if (e.What.rfind("picture", 0) == 0) changes.push_back(e.Tick);
    }
    ASSERT_GE(changes.size(), changesAtLeast);
    for (size_t i = 2; i < changes.size(); ++i) {
      EXPECT_GE(changes[i] - changes[i - 1], lo) << i;
      EXPECT_LE(changes[i] - changes[i - 1], hi) << i;
    }
  }

  TKXCProject Project;
  uint32_t FrameCost = 30;  // what the headless display charges per presented frame
  TVirtualClock Clock;
  TRecorder Recorder{Clock};
  std::vector<std::string> Messages;
  kxtest::TErrorLog Errors;
  std::vector<TScriptedInput> Input;
  struct TResize {
    uint32_t Tick;
    int32_t Width, Height;
  };
  std::vector<TResize> Resizes;  // the window's size changes
  std::function<void(const TBitmap32&)> OnFrame;
  TScratchDir m_dir;

 private:
  std::unique_ptr<THeadlessDisplay> m_display;
  TMessageBoxHandler m_previousBox;
};

TEST_F(SlideshowTest, OnePictureIsNeverReloaded) {
  AddPicture(8, 6);
  Project.Settings.Duration = 1;
  Run(16, 12, 5000);
  EXPECT_EQ(Recorder.Pictures(), std::vector<int32_t>{0});
  EXPECT_EQ(Recorder.Events.size(), 2u);  // the picture, then the end
}

// A first transition frame of 30 ms and 2000 ms planned: 64 further frames.
// A duration counts from the end of the transition, so pictures change about
// every 12 seconds with a duration of 10.
TEST_F(SlideshowTest, TransitionsArePlannedFromTheFirstFrameAndDurationsFollowThem) {
  AddPicture(8, 6);
  AddPicture(8, 6);
  Project.Settings.ShowImageMode = 1;
  Project.Settings.Duration = 10;
  Project.Settings.TransitionTime = 2000;
  Run(16, 12, 40000);
  ExpectTransitionsAndPeriods("transition 64", 4, 10000u + 64 * 30, 10000u + 65 * 30 + 66);
  EXPECT_EQ(Recorder.Pictures().size(), 4u);
}

// A display that, like a real one, skips a frame the window already shows
// unless it is to be presented whole, and charges time only for what it
// presents.
class TSkippingDisplay final : public ISaverDisplay {
 public:
  TSkippingDisplay(TVirtualClock& clock, uint32_t cost) : m_clock(clock), m_cost(cost) {}
  int32_t ScreenWidth() const override { return 16; }
  int32_t ScreenHeight() const override { return 12; }
  bool StartExclusive() override { return false; }
  void StartPlain() override { m_content.SetSize(16, 12, kBlack); }
  bool Exclusive() const override { return false; }
  void Draw(const TBitmap32& frame, int32_t x, int32_t y, TFrameChange change) override {
    TBitmap32 next = m_content;
    next.Draw(x, y, frame);
    if (change != TFrameChange::Whole && next == m_content) return;
    m_content = std::move(next);
    m_clock.Advance(m_cost);
  }
  void Clear() override { m_content.Fill(kBlack); }
  const TBitmap32& Content() const override { return m_content; }
  void WaitEvents(uint32_t ms) override { m_clock.Advance(std::min(ms, 7000 - std::min(m_clock.Tick(), 7000u))); }
  void PumpEvents(std::vector<TInputEvent>& input) override {
    if (m_clock.Tick() >= 7000 && !m_ended) input.push_back({TInputKind::KeyPress, 0, 0, 27});
    m_ended = m_clock.Tick() >= 7000;
  }
  void SetCursorVisible(bool) override {}
  void Close() override {}

 private:
  TVirtualClock& m_clock;
  uint32_t m_cost;
  TBitmap32 m_content;
  bool m_ended = false;
};

// A display that fails once, on its third frame.
class TFailingOnceDisplay final : public ISaverDisplay {
 public:
  explicit TFailingOnceDisplay(THeadlessDisplay& screen) : m_screen(screen) {}
  int32_t ScreenWidth() const override { return m_screen.ScreenWidth(); }
  int32_t ScreenHeight() const override { return m_screen.ScreenHeight(); }
  bool StartExclusive() override { return m_screen.StartExclusive(); }
  void StartPlain() override { m_screen.StartPlain(); }
  bool Exclusive() const override { return m_screen.Exclusive(); }
  void Draw(const TBitmap32& frame, int32_t x, int32_t y, TFrameChange change) override {
    if (++m_draws == 3) throw std::runtime_error("the device is gone");
    m_screen.Draw(frame, x, y, change);
  }
  void Clear() override { m_screen.Clear(); }
  const TBitmap32& Content() const override { return m_screen.Content(); }
  void PumpEvents(std::vector<TInputEvent>& input) override { m_screen.PumpEvents(input); }
  void WaitEvents(uint32_t ms) override { m_screen.WaitEvents(ms); }
  void SetCursorVisible(bool visible) override { m_screen.SetCursorVisible(visible); }
  void Close() override { m_screen.Close(); }

 private:
  THeadlessDisplay& m_screen;
  int m_draws = 0;
};

// An error in a pass of the idle loop abandons that pass only: nothing shows
// on the screen, the error reaches the show's sink, and the next pass goes on.
TEST_F(SlideshowTest, AnErrorInAPassReachesTheErrorSinkAndTheShowGoesOn) {
  AddReflectingPictureFile("lake.kxp");
  THeadlessDisplay screen(Clock, 16, 12, 30);
  screen.Script({1000, {TInputKind::KeyPress, 0, 0, 27}});
  TFailingOnceDisplay display(screen);
  TInputState input;
  TSaverContext context{display, Clock, m_dir / "Lake.scr", 1234u, &Recorder, &input};
  context.Errors = &Errors;
  RunSlideshow(Project, true, true, context);
  EXPECT_EQ(Errors.Lines, std::vector<std::string>{"show: the device is gone"});
  EXPECT_TRUE(Messages.empty());
  EXPECT_GT(screen.PresentedFrames(), 20u);  // about 30 a second went on after it
  ASSERT_FALSE(Recorder.Events.empty());
  EXPECT_EQ(Recorder.Events.back().What, "end");
  EXPECT_GE(Recorder.Events.back().Tick, 1000u);
}

// The first transition frame shows what the window already shows, yet it is
// presented and costs what every later frame costs: with 30 ms a frame and
// 1000 ms planned, 32 frames follow, and a picture of one second changes
// about every two seconds.
TEST_F(SlideshowTest, TheFirstTransitionFrameCostsWhatTheOthersCost) {
  AddPicture(8, 6, MakePixel(200, 0, 0));
  AddPicture(8, 6, MakePixel(0, 200, 0));
  AddPicture(8, 6, MakePixel(0, 0, 200));
  Project.Settings.ShowImageMode = 1;
  Project.Settings.Duration = 1;
  Project.Settings.TransitionTime = 1000;
  TSkippingDisplay display(Clock, 30);
  TInputState input;
  TSaverContext context{display, Clock, m_dir / "Lake.scr", 1234u, &Recorder, &input};
  RunSlideshow(Project, true, true, context);
  ExpectTransitionsAndPeriods("transition 32", 3, 1000u + 32 * 30, 1000u + 33 * 30 + 66);
}

// On a fast screen transition frames come no more often than every 17 ms:
// with 2 ms a frame, 1000 ms give 58 frames spread over the whole second.
TEST_F(SlideshowTest, CheapTransitionFramesArePaced) {
  AddPicture(8, 6);
  AddPicture(8, 6);
  Project.Settings.ShowImageMode = 1;
  Project.Settings.Duration = 1;
  Project.Settings.TransitionTime = 1000;
  FrameCost = 2;
  Run(16, 12, 6500);
  ExpectTransitionsAndPeriods("transition 58", 3, 1000u + 57 * 17, 1000u + 58 * 17 + 66);
}

TEST_F(SlideshowTest, TransitionShorterThanOneFrameShowsOnlyItsFirstFrame) {
  AddPicture(8, 6);
  AddPicture(8, 6);
  Project.Settings.ShowImageMode = 1;
  Project.Settings.Duration = 1;
  Project.Settings.TransitionTime = 20;
  Run(16, 12, 1500);
  EXPECT_EQ(Recorder.Whats(),
            (std::vector<std::string>{"picture 0", "ahead 1", "picture 1", "transition 0", "ahead 0", "end"}));
}

struct FitCase {
  const char* name;
  int32_t w, h;
  bool stretch, proportional;
  TRect expected;  // where the picture lands on a 1280 x 1024 screen
};

class FittingTest : public SlideshowTest, public testing::WithParamInterface<FitCase> {};

TEST_P(FittingTest, PlacesThePictureOnTheScreen) {
  const FitCase& c = GetParam();
  const TPixel red = MakePixel(200, 40, 40);
  AddPicture(c.w, c.h, red);
  Project.Settings.Stretch = c.stretch;
  Project.Settings.Proportional = c.proportional;
  Run(1280, 1024, 100);
  const TBitmap32& screen = Display().Content();
  const TRect& r = c.expected;
  EXPECT_EQ(screen.Pixel(r.Left, r.Top), red);
  EXPECT_EQ(screen.Pixel(r.Right - 1, r.Bottom - 1), red);
  if (r.Left > 0) {
    EXPECT_EQ(screen.Pixel(r.Left - 1, r.Top), kBlack);
  }
  if (r.Top > 0) {
    EXPECT_EQ(screen.Pixel(r.Left, r.Top - 1), kBlack);
  }
  if (r.Right < 1280) {
    EXPECT_EQ(screen.Pixel(r.Right, r.Bottom - 1), kBlack);
  }
  if (r.Bottom < 1024) {
    EXPECT_EQ(screen.Pixel(r.Right - 1, r.Bottom), kBlack);
  }
}

INSTANTIATE_TEST_SUITE_P(
    Cases, FittingTest,
    testing::Values(FitCase{"OwnSizeCentred", 800, 600, false, false, {240, 212, 1040, 812}},
                    FitCase{"WideKeepsProportions", 1000, 500, true, true, {0, 192, 1280, 832}},
                    FitCase{"TallKeepsProportions", 500, 1000, true, true, {384, 0, 896, 1024}},
                    FitCase{"StretchedFillsTheScreen", 500, 1000, true, false, {0, 0, 1280, 1024}}),
    [](const auto& info) { return std::string(info.param.name); });

// A window that changes its size (a daemon's window resized by its owner)
// shows the current picture fitted anew to the new size at once, centred,
// on black, whether it grows or shrinks; the picture is not shown anew.
TEST_F(SlideshowTest, APictureFollowsTheWindowsSize) {
  struct TCase {
    const char* name;
    TPoint from, to;
    TRect still, file;  // where a square still picture and a 4:3 picture file land after the change
  };
  const TCase cases[] = {
      {"grows", {640, 360}, {1280, 720}, {280, 0, 1000, 720}, {160, 0, 1120, 720}},
      {"shrinks", {1280, 720}, {320, 180}, {70, 0, 250, 180}, {40, 0, 280, 180}},
      {"turns", {640, 360}, {300, 600}, {0, 150, 300, 450}, {0, 187, 300, 412}},
  };
  const TPixel red = MakePixel(200, 40, 40);
  for (const TCase& c : cases) {
    for (const bool file : {false, true}) {
      SCOPED_TRACE(std::string(c.name) + (file ? " picture file" : " still picture"));
      Project = TKXCProject();
      Recorder.Events.clear();
      const uint32_t start = Clock.Tick();
      if (file) AddReflectingPictureFile("lake.kxp");
      else AddPicture(32, 32, red);
      Project.Settings.Stretch = Project.Settings.Proportional = true;
      Project.Settings.Duration = 60;
      Resizes = {{start + 1000, c.to.X, c.to.Y}};
      Run(c.from.X, c.from.Y, start + 2000);
      const TBitmap32& screen = Display().Content();
      ASSERT_EQ(screen.Width(), c.to.X);
      ASSERT_EQ(screen.Height(), c.to.Y);
      const TRect& r = file ? c.file : c.still;
      if (!file) {
        TBitmap32 want(c.to.X, c.to.Y, kBlack);
        want.FillRect(r, red);
        EXPECT_EQ(screen, want);
      } else {
        // The water moves: the picture covers its place, the rest is black.
        for (int32_t y = 0; y < c.to.Y; ++y)
          for (int32_t x = 0; x < c.to.X; ++x)
            ASSERT_EQ(screen.Pixel(x, y) == kBlack, !r.Contains({x, y})) << x << "," << y;
      }
      const std::vector<std::string> whats = Recorder.Whats();
      EXPECT_EQ(std::count(whats.begin(), whats.end(), "picture 0"), 1);
    }
  }
}

TEST_F(SlideshowTest, LargeJpegIsDecodedSmallerAndStillFitsExactly) {
  TBitmap32 photo(1280, 960, MakePixel(30, 140, 220));
  photo.FillRect({0, 0, 640, 960}, MakePixel(220, 60, 30));
  kxtest::WriteFile(m_dir / "photo.jpg", EncodeJpeg(photo, 95));
  Project.FileList.Names = {m_dir / "photo.jpg"};
  Project.FileList.States = {"TRUE"};
  Project.Settings.Proportional = true;
  Run(320, 240, 100);
  const TBitmap32& screen = Display().Content();
  auto near = [](TPixel a, TPixel b) {
    for (int s = 0; s < 24; s += 8)
      if (std::abs(int((a >> s) & 255) - int((b >> s) & 255)) > 4) return false;
    return true;
  };
  EXPECT_TRUE(near(screen.Pixel(40, 120), MakePixel(220, 60, 30)));
  EXPECT_TRUE(near(screen.Pixel(280, 120), MakePixel(30, 140, 220)));
  EXPECT_TRUE(near(screen.Pixel(319, 239), MakePixel(30, 140, 220)));
}

TEST_F(SlideshowTest, ATurnedPhotoIsFittedUprightFromItsDctScaledDecode) {
  // Stored 1280 x 960, red left and blue right, taken with the camera turned:
  // upright it is 960 x 1280, red on top, and fills a 240 x 320 screen exactly.
  TBitmap32 photo(1280, 960, MakePixel(30, 140, 220));
  photo.FillRect({0, 0, 640, 960}, MakePixel(220, 60, 30));
  kxtest::WriteFile(m_dir / "photo.jpg", kxtest::WithExifOrientation(EncodeJpeg(photo, 95), 6));
  Project.FileList.Names = {m_dir / "photo.jpg"};
  Project.FileList.States = {"TRUE"};
  Project.Settings.Proportional = true;
  Run(240, 320, 100);
  const TBitmap32& screen = Display().Content();
  auto near = [](TPixel a, TPixel b) {
    for (int s = 0; s < 24; s += 8)
      if (std::abs(int((a >> s) & 255) - int((b >> s) & 255)) > 4) return false;
    return true;
  };
  EXPECT_TRUE(near(screen.Pixel(0, 0), MakePixel(220, 60, 30)));
  EXPECT_TRUE(near(screen.Pixel(120, 100), MakePixel(220, 60, 30)));
  EXPECT_TRUE(near(screen.Pixel(120, 220), MakePixel(30, 140, 220)));
  EXPECT_TRUE(near(screen.Pixel(239, 319), MakePixel(30, 140, 220)));
}

TEST_F(SlideshowTest, APngShowsWithItsAlphaComposedOverBlack) {
  // Own size, centred on an 8 x 6 screen: the picture covers (2, 2)-(6, 4).
  TBitmap32 png(4, 2);
  const TPixel stored[] = {MakePixel(200, 100, 50, 255), MakePixel(200, 100, 50, 128), MakePixel(255, 255, 255, 0),
                           MakePixel(10, 250, 90, 1),    MakePixel(255, 0, 0, 64),     MakePixel(0, 255, 0, 191),
                           MakePixel(0, 0, 255, 254),    MakePixel(77, 77, 77, 255)};
  for (int i = 0; i < 8; ++i) png.SetPixel(i % 4, i / 4, stored[i]);
  AddFile("pic.PNG", EncodePng(png));
  Project.Settings.Stretch = false;
  Run(8, 6, 100);
  // Each channel times alpha / 255, rounded to nearest.
  const TPixel shown[] = {MakePixel(200, 100, 50), MakePixel(100, 50, 25), MakePixel(0, 0, 0),
                          MakePixel(0, 1, 0),      MakePixel(64, 0, 0),    MakePixel(0, 191, 0),
                          MakePixel(0, 0, 254),    MakePixel(77, 77, 77)};
  EXPECT_EQ(Recorder.Pictures(), (std::vector<int32_t>{0}));
  EXPECT_TRUE(Errors.Lines.empty());
  const TBitmap32& screen = Display().Content();
  for (int i = 0; i < 8; ++i) EXPECT_EQ(screen.Pixel(2 + i % 4, 2 + i / 4) | 0xFF000000u, shown[i]) << i;
  EXPECT_EQ(screen.Pixel(1, 2), kBlack);
  EXPECT_EQ(screen.Pixel(6, 3), kBlack);
}

TEST_F(SlideshowTest, ExclusivePathResamplesToTheBackPictureSize) {
  AddPicture(1000, 500);
  Project.Settings.DirectX = true;
  Project.Settings.DirectXQuality = 2;
  Run(1280, 1024, 100);
  EXPECT_TRUE(Display().Exclusive());
  EXPECT_EQ(Display().Content().Width(), 640);
  EXPECT_EQ(Display().Content().Height(), 480);
}

TEST_F(SlideshowTest, NoPicturesAtAllOpensNoWindow) {
  Run(16, 12, 100);
  EXPECT_EQ(Messages, std::vector<std::string>{"This screensaver does not contain any image."});
  EXPECT_FALSE(Display().Open());
  EXPECT_EQ(Display().PresentedFrames(), 0u);
}

TEST_F(SlideshowTest, NoEnabledPictureLeavesABlackWindowUntilInput) {
  AddPicture(8, 6, MakePixel(1, 2, 3), false);
  Run(16, 12, 3000, false);
  EXPECT_EQ(Messages, std::vector<std::string>{"Unable to run screensaver.\r\nPlease configure!"});
  EXPECT_EQ(Display().PresentedFrames(), 0u);
  EXPECT_GE(Clock.Tick(), 3000u);
  EXPECT_TRUE(Display().CursorVisible());
}

TEST_F(SlideshowTest, SmallMouseStepsKeepTheShowAThreePixelStepEndsIt) {
  AddPicture(8, 6);
  for (uint32_t i = 0; i < 5; ++i) Input.push_back({100 + i, {TInputKind::MouseMove, int32_t(i) * 400, 0, 0}});
  for (uint32_t i = 0; i < 50; ++i) Input.push_back({200 + 20 * i, {TInputKind::MouseMove, 2 * int32_t(i), 0, 0}});
  Input.push_back({1500, {TInputKind::KeyDown, 0, 0, 16}});  // Shift
  Input.push_back({2000, {TInputKind::MouseMove, 98 + 3, 0, 0}});
  Run(16, 12, 9000);
  ASSERT_FALSE(Recorder.Events.empty());
  EXPECT_EQ(Recorder.Events.back().What, "end");
  EXPECT_GE(Recorder.Events.back().Tick, 2000u);
  EXPECT_LT(Recorder.Events.back().Tick, 2100u);
}

TEST_F(SlideshowTest, PictureFileShowsItsWaterMirroringTheSceneryAbove) {
  const TBitmap32 still = AddReflectingPictureFile("lake.kxp");
  Project.Settings.Stretch = false;
  Run(16, 12, 200);
  const TBitmap32& screen = Display().Content();
  for (int32_t y = 0; y < 12; ++y)
    for (int32_t x = 0; x < 16; ++x)
      ASSERT_EQ(screen.Pixel(x, y), still.Pixel(x, y < 6 ? y : 11 - y)) << x << "," << y;
}

// Broken and missing pictures of both kinds are passed over at once, at the
// start as later, and never tried again; nothing shows black for them.
TEST_F(SlideshowTest, PicturesThatFailToLoadArePassedOverAtOnce) {
  AddFile("broken.kxp", "KX060697 and then nothing useful");
  const TBitmap32 lake = AddReflectingPictureFile("lake.kxp");
  AddFile("broken.jpg", "not a picture");
  Project.FileList.Names.push_back(m_dir / "missing.kxp");
  Project.FileList.States.push_back("TRUE");
  AddPicture(16, 12, MakePixel(10, 200, 10));
  Project.Settings.ShowImageMode = 1;
  Project.Settings.Duration = 1;
  Project.Settings.Transition = false;
  Project.Settings.Stretch = false;
  std::vector<TPixel> corners;
  OnFrame = [&](const TBitmap32& screen) { corners.push_back(screen.Pixel(0, 0)); };
  Run(16, 12, 4500);
  EXPECT_EQ(Recorder.Pictures(), (std::vector<int32_t>{1, 4, 1, 4, 1}));
  std::vector<TPixel> shown;  // the corner's colours in order, without the black between pictures
  for (TPixel c : corners)
    if (c != kBlack && (shown.empty() || shown.back() != c)) shown.push_back(c);
  EXPECT_EQ(shown, (std::vector<TPixel>{lake.Pixel(0, 0), MakePixel(10, 200, 10), lake.Pixel(0, 0),
                                         MakePixel(10, 200, 10), lake.Pixel(0, 0)}));
  EXPECT_TRUE(Messages.empty());
  // Each picture passed over reaches the error sink, once.
  ASSERT_EQ(Errors.Lines.size(), 3u);
  const char* names[] = {"broken.kxp", "broken.jpg", "missing.kxp"};
  for (size_t i = 0; i < 3; ++i)
    EXPECT_EQ(Errors.Lines[i].rfind("show: File: " + m_dir / names[i] + ": ", 0), 0u) << Errors.Lines[i];
}

// A show none of whose pictures loads says why once, for the first failure,
// and ends instead of showing black forever.
TEST_F(SlideshowTest, AShowWhosePicturesAllFailEndsWithTheFirstFailure) {
  AddFile("a.kxp", "KX060697 and then nothing useful");
  AddFile("b.jpg", "not a picture");
  AddFile("c.bmp", "BM");
  Project.Settings.ShowImageMode = 1;
  Run(16, 12, 60000);
  ASSERT_EQ(Messages.size(), 1u);
  EXPECT_EQ(Messages[0].rfind("File: " + std::string(m_dir / "a.kxp") + "\r\n", 0), 0u) << Messages[0];
  EXPECT_LT(Clock.Tick(), 1000u);
  ASSERT_FALSE(Recorder.Events.empty());
  EXPECT_EQ(Recorder.Events.back().What, "end");
  EXPECT_FALSE(Display().Open());
}

// Idle means idle: a still picture is presented when it comes and then not
// again, however long it stays; the next picture is presented at once.
TEST_F(SlideshowTest, AStillPictureIsPresentedOnce) {
  AddPicture(8, 6, MakePixel(200, 0, 0));
  AddPicture(8, 6, MakePixel(0, 200, 0));
  Project.Settings.ShowImageMode = 1;
  Project.Settings.Duration = 10;
  Project.Settings.Transition = false;
  std::vector<std::pair<uint32_t, TPixel>> presents;
  OnFrame = [&](const TBitmap32& screen) { presents.emplace_back(Clock.Tick(), screen.Pixel(8, 6)); };
  Run(16, 12, 15000);
  ASSERT_EQ(presents.size(), 3u);  // the first picture, the black between, the second
  EXPECT_EQ(presents[0].second, MakePixel(200, 0, 0));
  EXPECT_EQ(presents[1].second, kBlack);
  EXPECT_EQ(presents[2].second, MakePixel(0, 200, 0));
  EXPECT_GE(presents[2].first, 10000u);
  EXPECT_LT(presents[2].first - presents[1].first, 100u);
}

// While a still picture shows, the show sleeps until the picture's time is
// up or input comes, waking about once a second instead of for every frame;
// a key still ends it at once.
TEST_F(SlideshowTest, AStillPictureSleepsUntilItsTimeOrInput) {
  AddPicture(8, 6, MakePixel(200, 0, 0));
  AddPicture(8, 6, MakePixel(0, 200, 0));
  Project.Settings.ShowImageMode = 1;
  Project.Settings.Duration = 10;
  Project.Settings.Transition = false;
  Run(16, 12, 14321);
  EXPECT_LT(Display().Pumps(), 40u);  // 30 a second would be over 400
  ASSERT_EQ(Recorder.Pictures().size(), 2u);
  EXPECT_GE(Recorder.Events.back().Tick, 14321u);
  EXPECT_LT(Recorder.Events.back().Tick, 14321u + 100);
  EXPECT_EQ(Recorder.Events.back().What, "end");
}

TEST_F(SlideshowTest, FramesArePacedAtThirtyThreeMilliseconds) {
  AddReflectingPictureFile("lake.kxp");
  std::vector<uint32_t> ticks;
  OnFrame = [&](const TBitmap32&) { ticks.push_back(Clock.Tick()); };
  Run(16, 12, 1000);
  ASSERT_GT(ticks.size(), 20u);
  for (size_t i = 2; i < ticks.size(); ++i) EXPECT_EQ(ticks[i] - ticks[i - 1], 33u) << i;
}

}  // namespace

// While a still picture shows, the next one of the order is fetched ahead and
// is the one shown next; in a random order its index is drawn ahead, except
// while a picture file shows (its objects and weather draw from the show's
// generator too), when it is drawn when due. The order itself, mode by mode,
// is tested on its own in SlideshowOrderTest.
TEST_F(SlideshowTest, TheNextStillPictureIsFetchedAheadInTheOrdersOwnSequence) {
  for (int i = 0; i < 3; ++i) AddPicture(8, 6);
  Project.Settings.ShowImageMode = 1;
  Project.Settings.Duration = 1;
  Project.Settings.Transition = false;
  Run(16, 12, 2500);
  EXPECT_EQ(Recorder.Whats(), (std::vector<std::string>{"picture 0", "ahead 1", "picture 1", "ahead 2", "picture 2",
                                                        "ahead 0", "end"}));
}

TEST_F(SlideshowTest, ARandomOrderDrawsAheadOnlyWhileAStillPictureShows) {
  // Still pictures only: every index drawn ahead is the picture shown next.
  for (int i = 0; i < 3; ++i) AddPicture(8, 6);
  Project.Settings.Duration = 1;
  Project.Settings.Transition = false;
  Run(16, 12, 8500);
  std::vector<std::string> events = Recorder.Whats();
  size_t aheads = 0;
  for (size_t i = 0; i + 1 < events.size(); ++i)
    if (events[i].rfind("ahead ", 0) == 0 && events[i + 1] != "end") {
      ++aheads;
      EXPECT_EQ(events[i + 1], "picture " + events[i].substr(6)) << i;
    }
  EXPECT_EQ(aheads, 8u);

  // A still picture and a picture file alternate: while the picture file
  // shows, nothing is drawn or fetched ahead.
  Recorder.Events.clear();
  Project.FileList = {};
  AddPicture(8, 6);
  AddReflectingPictureFile("lake.kxp");
  Run(16, 12, Clock.Tick() + 6500);
  EXPECT_EQ(Recorder.Pictures(), (std::vector<int32_t>{1, 0, 1, 0, 1, 0, 1}));
  for (const TEvent& e : Recorder.Events) EXPECT_NE(e.What, "ahead 0");
}

TEST_F(SlideshowTest, AShowEndedWhileAPictureIsFetchedAheadEndsCleanly) {
  AddPicture(8, 6);
  AddPicture(1600, 1200);
  Project.Settings.ShowImageMode = 1;
  Project.Settings.Duration = 5;
  Run(16, 12, 0);
  EXPECT_EQ(Recorder.Whats(), (std::vector<std::string>{"picture 0", "ahead 1", "end"}));
}
