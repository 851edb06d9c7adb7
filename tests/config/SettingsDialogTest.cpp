#include <gtest/gtest.h>

#include <FL/Fl.H>

#include <functional>
#include <string>
#include <vector>

#include "config/FSettingWindow.h"
#include "config/uConfigContext.h"
#include "config/uDialogSettings.h"
#include "devices/uMessageBox.h"
#include "support/TestSupport.h"
#include "support/VirtualScreen.h"
#include "ui/uWidgetCapture.h"

using namespace kx;
using kxtest::ReadFile;
using kxtest::TScratchDir;
using kxtest::WriteFile;

namespace {

using Strings = std::vector<std::string>;

// ---- Reading and writing the dialog's values (no window) ----

class DialogSettingsTest : public testing::Test {
 protected:
  TDialogSettingsFile File() const { return {true, m_dir / "Lake.ini"}; }
  TDialogSettings Read(TDialogSettings start = {}) const { return ReadDialogSettings(m_project, File(), start); }
  std::string Ini() const { return ReadFile(m_dir / "Lake.ini"); }

  TScratchDir m_dir;
  TKXCProject m_project;
};

TEST_F(DialogSettingsTest, SpeedPositionIsTheStepOfTheProjectsSpeed) {
  struct {
    int32_t speed, start, position;
  } const cases[] = {{100, 0, 10}, {10, 0, 0}, {500, 0, 20}, {45, 0, 3},
                     // A speed in no step keeps the caller's position.
                     {65, 0, 0}, {65, kNoSpeedPosition, kNoSpeedPosition}, {0, 7, 7}};
  for (const auto& c : cases) {
    m_project.Settings.Speed = c.speed;
    TDialogSettings start;
    start.SpeedPosition = c.start;
    EXPECT_EQ(Read(start).SpeedPosition, c.position) << "speed " << c.speed;
  }
  // By default no step is found: a configuration window built on it keeps
  // the project's speed, unless the file names a position.
  m_project.Settings.Speed = 65;
  TDialogSettings read = Read();
  EXPECT_EQ(read.SpeedPosition, kNoSpeedPosition);
  ApplyDialogSettingsToProject(read, m_project);
  EXPECT_EQ(m_project.Settings.Speed, 65);
  WriteFile(m_dir / "Lake.ini", "[Setting]\r\nSpeed=3\r\n");
  read = Read();
  ApplyDialogSettingsToProject(read, m_project);
  EXPECT_EQ(m_project.Settings.Speed, 45);
}

TEST_F(DialogSettingsTest, ProjectValuesWithoutAFile) {
  TKXCSetting& s = m_project.Settings;
  s.ShowImageMode = 2, s.Sound = false, s.Music = true, s.Transition = false, s.Duration = 45;
  s.DirectX = true, s.DirectXQuality = 2, s.ShowClock = true, s.ClockPos = 3;
  const TDialogSettings v = Read();
  EXPECT_TRUE(v.Persisting);
  EXPECT_EQ(v.ImageMode, 2);
  EXPECT_FALSE(v.Sound);
  EXPECT_TRUE(v.Music);
  EXPECT_FALSE(v.Transition);
  EXPECT_EQ(v.Duration, 45);
  EXPECT_TRUE(v.DirectX);
  EXPECT_EQ(v.DirectXQuality, 2);
  // Without a file the clock comes from the project, custom music and shuffle stay off.
  EXPECT_TRUE(v.ShowClock);
  EXPECT_EQ(v.ClockPos, 3);
  EXPECT_FALSE(v.CustomMusic);
  EXPECT_FALSE(v.ShuffleMusic);
  EXPECT_TRUE(v.MusicList.empty());

  struct {
    bool stretch, proportional;
    int32_t size;
  } const sizes[] = {{false, false, 0}, {false, true, 0}, {true, false, 1}, {true, true, 2}};
  for (const auto& c : sizes) {
    s.Stretch = c.stretch, s.Proportional = c.proportional;
    EXPECT_EQ(Read().ImageSize, c.size) << c.stretch << c.proportional;
  }
}

TEST_F(DialogSettingsTest, FileKeysOverTheProjectAndTheirOwnDefaults) {
  m_project.Settings.ShowClock = true;
  m_project.Settings.ClockPos = 3;
  m_project.Settings.Duration = 45;
  WriteFile(m_dir / "Lake.ini",
            "[Setting]\r\nImageMode=3\r\nSpeed=12\r\nSound=0\r\nDuration=abc\r\nDirectX=7\r\n"
            "[MusicList]\r\n/m/b.mp3=\r\n/m/a.ogg=\r\n");
  const TDialogSettings v = Read();
  EXPECT_EQ(v.ImageMode, 3);
  EXPECT_EQ(v.SpeedPosition, 12);
  EXPECT_FALSE(v.Sound);
  EXPECT_EQ(v.Duration, 45);  // not a number: the project's value
  EXPECT_TRUE(v.DirectX);     // any integer but 0
  // A file without them: shuffle on, clock off at the top right.
  EXPECT_TRUE(v.ShuffleMusic);
  EXPECT_FALSE(v.CustomMusic);
  EXPECT_FALSE(v.ShowClock);
  EXPECT_EQ(v.ClockPos, 1);
  EXPECT_EQ(v.MusicList, (Strings{"/m/b.mp3", "/m/a.ogg"}));
}

TEST_F(DialogSettingsTest, RunsThatDoNotPersistNeitherReadNorWrite) {
  WriteFile(m_dir / "Lake.ini", "[Setting]\r\nImageMode=3\r\n");
  const TDialogSettings v = ReadDialogSettings(m_project, TDialogSettingsFile{}, {});
  EXPECT_FALSE(v.Persisting);
  EXPECT_EQ(v.ImageMode, 0);
  WriteDialogSettings(v, TDialogSettingsFile{false, m_dir / "Other.ini"});
  EXPECT_FALSE(kxtest::Exists(m_dir / "Other.ini"));

  // The rule of the program's path and arguments, and the explicit file that overrides it.
  EXPECT_FALSE(DialogSettingsFile("/opt/Lake.exe", {}).Persisting);
  EXPECT_FALSE(DialogSettingsFile("/opt/Lake.exe", {"/c:1234"}).Persisting);
  EXPECT_TRUE(DialogSettingsFile("/opt/Lake.exe", {"/c"}).Persisting);
  const TDialogSettingsFile explicitFile = DialogSettingsFile("/opt/Lake.exe", {}, m_dir / "x.ini");
  EXPECT_TRUE(explicitFile.Persisting);
  EXPECT_EQ(explicitFile.Path, m_dir / "x.ini");
}

TEST_F(DialogSettingsTest, DamagedFilesReadAsDefaults) {
  m_project.Settings.Duration = 45;
  const std::string binary("\0\xff\xfe[Setting\x01\r\nDuration=\0\x80\r\n=\r\n[\r\n", 28);
  const std::string cases[] = {
      binary,
      "[Setting]\r\nDura",
      "[Setting]\r\nDuration=99999999999\r\nImageMode=0x3\r\nSpeed=-\r\nSound= \r\n",
      std::string(20u << 20, '['),  // larger than any settings file the reader takes
  };
  for (const std::string& text : cases) {
    WriteFile(m_dir / "Lake.ini", text);
    const TDialogSettings v = Read();
    EXPECT_EQ(v.Duration, 45) << text.substr(0, 40);
    EXPECT_EQ(v.ImageMode, 0);
    EXPECT_EQ(v.SpeedPosition, 10);
    EXPECT_TRUE(v.Sound);
  }
}

TEST_F(DialogSettingsTest, WritesTheKeysInOrderAndReplacesThePlaylist) {
  WriteFile(m_dir / "Lake.ini", "[Files]\r\n2=\r\n[MusicList]\r\n/old.mp3=\r\n");
  TDialogSettings v;
  v.ImageSize = 2, v.ImageMode = 1, v.SpeedPosition = 13, v.Sound = true, v.Music = false, v.Transition = true;
  v.Duration = 5, v.DirectX = false, v.DirectXQuality = 2, v.CustomMusic = true, v.ShuffleMusic = false;
  v.ShowClock = true, v.ClockPos = 3;
  // The same file twice is one key; names the file cannot keep are left out.
  v.MusicList = {"/m/b.mp3", "/m/a.ogg", "/m/b.mp3", "/m/x=y.mp3", "/m/a;b.mp3", "", " /m/c.mp3"};
  WriteDialogSettings(v, File());
  EXPECT_EQ(Ini(),
            "[Files]\r\n2=\r\n"
            "\r\n[Setting]\r\nImageSize=2\r\nImageMode=1\r\nSpeed=13\r\nSound=1\r\nMusic=0\r\nTransition=1\r\n"
            "Duration=5\r\nDirectX=0\r\nDirectXQuality=2\r\nCustomMusic=1\r\nShuffleMusic=0\r\nShowClock=1\r\n"
            "ClockPos=3\r\n"
            "\r\n[MusicList]\r\n/m/b.mp3=\r\n/m/a.ogg=\r\n");
  const TDialogSettings back = Read();
  EXPECT_EQ(back.MusicList, (Strings{"/m/b.mp3", "/m/a.ogg"}));
  EXPECT_EQ(back.SpeedPosition, 13);
  EXPECT_FALSE(back.ShuffleMusic);
}

TEST_F(DialogSettingsTest, AWriteThatFailsThrowsAndKeepsTheOldFile) {
  WriteFile(m_dir / "NotAFolder", "x");
  TDialogSettings v;
  EXPECT_THROW(WriteDialogSettings(v, {true, m_dir / "NotAFolder/Lake.ini"}), std::runtime_error);
  EXPECT_EQ(ReadFile(m_dir / "NotAFolder"), "x");
}

TEST(ApplyDialogSettingsTest, CopiesWhatTheShowUsesInPersistingRunsOnly) {
  struct {
    int32_t position, speed;
  } const speeds[] = {{10, 100}, {0, 10}, {20, 500}, {25, 500}, {-5, 10}, {kNoSpeedPosition, 65}};
  for (const auto& c : speeds) {
    TKXCProject project;
    project.Settings.Speed = 65;
    TDialogSettings v;
    v.Persisting = true;
    v.SpeedPosition = c.position;
    ApplyDialogSettingsToProject(v, project);
    EXPECT_EQ(project.Settings.Speed, c.speed) << "position " << c.position;
  }

  TKXCProject project;
  TDialogSettings v;
  v.Persisting = true;
  v.ImageMode = 3, v.Duration = 7, v.Sound = false, v.Music = false, v.Transition = false, v.ImageSize = 2;
  v.DirectX = true, v.ShowClock = true, v.ClockPos = 0;
  ApplyDialogSettingsToProject(v, project);
  const TKXCSetting& s = project.Settings;
  EXPECT_EQ(s.ShowImageMode, 3);
  EXPECT_EQ(s.Duration, 7);
  EXPECT_FALSE(s.Sound || s.Music || s.Transition);
  EXPECT_TRUE(s.Stretch && s.Proportional);
  // Not copied.
  EXPECT_FALSE(s.DirectX);
  EXPECT_FALSE(s.ShowClock);
  EXPECT_EQ(s.ClockPos, 1);

  TKXCProject untouched;
  v.Persisting = false;
  ApplyDialogSettingsToProject(v, untouched);
  EXPECT_EQ(untouched.Settings.Duration, 30);
  EXPECT_EQ(untouched.Settings.ShowImageMode, 0);
}

// ---- The dialog ----

class SettingsDialogTest : public testing::Test {
 protected:
  static void SetUpTestSuite() { s_screen = new kxtest::TVirtualScreen(800, 600); }
  static void TearDownTestSuite() {
    delete s_screen;
    s_screen = nullptr;
  }
  void SetUp() override {
    if (!s_screen->Available()) GTEST_SKIP() << "no Xvfb";
    m_previous = SetMessageBoxHandler([this](const std::string& text) { m_boxes.push_back(text); });
    m_context.ProgramPath = m_dir / "Lake.scr";
    WriteFile(m_dir / "Lake.scr", "x");
    WriteFile(m_dir / "song.mp3", "x");
  }
  void TearDown() override { SetMessageBoxHandler(m_previous); }

  using TRun = std::function<TModalResult(TfmSettingWindow&)>;
  // The Open setting flow with the user replaced by `user`, which works on
  // the dialog as it shows.
  void Open(const TRun& user) {
    RunSettingsDialog(m_context, DialogSettingsFile(m_context), [&](TfmSettingWindow& d) {
      d.FormShow();
      return user(d);
    });
  }
  // Opens the dialog, lets `look` see it, and cancels.
  void Look(const std::function<void(TfmSettingWindow&)>& look) {
    Open([&](TfmSettingWindow& d) {
      look(d);
      d.ClickCancel();
      return d.ModalResult();
    });
  }
  // Opens the dialog, lets `change` work on it, and clicks OK.
  void Confirm(const std::function<void(TfmSettingWindow&)>& change) {
    Open([&](TfmSettingWindow& d) {
      change(d);
      d.ClickOK();
      return d.ModalResult();
    });
  }
  std::string Ini() const { return ReadFile(m_dir / "Lake.ini"); }

  static kxtest::TVirtualScreen* s_screen;
  TScratchDir m_dir;
  TKXForms m_forms;
  TKXCProject m_project;
  TConfigContext m_context{m_forms, m_project, "", {}};
  Strings m_boxes;
  TMessageBoxHandler m_previous;
};
kxtest::TVirtualScreen* SettingsDialogTest::s_screen = nullptr;

TEST_F(SettingsDialogTest, ControlsSitWhereTheLayoutPutsThem) {
  TfmSettingWindow d;
  EXPECT_STREQ(d.label(), "Settings");
  EXPECT_EQ(d.w(), 364);
  EXPECT_EQ(d.h(), 324);
  EXPECT_EQ(d.resizable(), nullptr);

  // Window coordinates: page contents lie 4 pixels in from the page control
  // and below its 20-pixel tabs, at (12, 32).
  struct {
    Fl_Widget* w;
    int x, y, width, height;
    const char* caption;
  } const layout[] = {
      {d.PageControl1, 8, 8, 345, 273, nullptr},
      {d.cbMusic, 12 + 29, 32 + 14, 93, 17, "Enable Music"},
      {d.cbSound, 12 + 142, 32 + 14, 195, 17, "Enable Sound Effects"},
      {d.cbDirectX, 12 + 29, 32 + 40, 171, 17, "Use DirectX (Faster Animation)"},
      {d.lblImgQuality, 12 + 29, 32 + 69, -1, -1, "Direct X Quality"},
      {d.cbImageQuality, 12 + 141, 32 + 67, 154, -1, nullptr},
      {d.Label6, 12 + 30, 32 + 132, -1, -1, "Show Image"},
      {d.txtDuration, 12 + 140, 32 + 157, 27, -1, nullptr},
      {d.UpDown1, 12 + 167, 32 + 157, -1, -1, nullptr},
      {d.lblSec, 12 + 196, 32 + 160, -1, -1, "seconds"},
      {d.tbSpeed, 12 + 136, 32 + 189, 162, -1, nullptr},
      {d.cbShowClock, 12 + 30, 32 + 218, 97, 17, "Show Clock"},
      {d.cbClockPos, 12 + 141, 32 + 216, 153, -1, nullptr},
      {d.cbCustomMusic, 12 + 7, 32 + 7, 114, 17, "Use Custom Music"},
      {d.cbShuffleMusic, 12 + 137, 32 + 7, 97, 17, "Shuffle Playlist"},
      {d.lstMusic, 12 + 7, 32 + 32, 324, 180, nullptr},
      {d.Button3, 12 + 8, 32 + 219, 38, 21, "Add"},
      {d.Button4, 12 + 50, 32 + 219, 49, 21, "Remove"},
      {d.Button1, 198, 289, 75, 25, "OK"},
      {d.Button2, 278, 289, 75, 25, "Cancel"},
      {d.GroupBox1, 13, 334, 297, 114, "Play Mode"},
      {d.Label3, 13 + 237, 334 + 81, -1, -1, "Reset"},
      {d.cbTransition, 22, 341, 179, 17, "Enable Transition"},
  };
  for (const auto& c : layout) {
    const std::string name = c.caption ? c.caption : std::to_string(c.x) + "," + std::to_string(c.y);
    EXPECT_EQ(c.w->x(), c.x) << name;
    EXPECT_EQ(c.w->y(), c.y) << name;
    if (c.width >= 0) EXPECT_EQ(c.w->w(), c.width) << name;
    if (c.height >= 0) EXPECT_EQ(c.w->h(), c.height) << name;
    if (c.caption) EXPECT_STREQ(c.w->label(), c.caption);
  }
  EXPECT_STREQ(d.TabSheet1->label(), "General Settings");
  EXPECT_STREQ(d.TabSheet2->label(), "Background Music");
  EXPECT_EQ(d.PageControl1->value(), d.TabSheet1);
  // Out of reach below the client area.
  EXPECT_GE(d.GroupBox1->y(), d.h());
  EXPECT_GE(d.cbTransition->y(), d.h());
  EXPECT_TRUE(d.cbTransition->value());

  auto items = [](Fl_Choice* c) {
    Strings out;
    for (int i = 0; i + 1 < c->size(); ++i) out.emplace_back(c->text(i));
    return out;
  };
  EXPECT_EQ(items(d.cbImageQuality), (Strings{"Highest (Slower)", "Normal ", "Low (Faster)"}));
  EXPECT_EQ(items(d.cbImageSize), (Strings{"Original Size", "Stretch-Full", "Stretch-Proportional"}));
  EXPECT_EQ(items(d.cbShowImageMode), (Strings{"All images - Random", "All images - Sequential",
                                               "User's favorite (checked images) - Random", "Single - Selected Image"}));
  EXPECT_EQ(items(d.cbClockPos), (Strings{"Top Left", "Top Right", "Bottom Left", "Bottom Right"}));
  // Presets.
  EXPECT_EQ(d.cbImageQuality->value(), 1);
  EXPECT_EQ(d.cbClockPos->value(), 1);
  EXPECT_STREQ(d.txtDuration->value(), "10");
  EXPECT_EQ(d.txtDuration->maximum_size(), 3);
  EXPECT_EQ(d.tbSpeed->Position(), 10);
  EXPECT_EQ(d.tbSpeed->minimum(), 0);
  EXPECT_EQ(d.tbSpeed->maximum(), 20);
}

TEST_F(SettingsDialogTest, DrawsTheFirstPageOnTheVirtualScreen) {
  TfmSettingWindow d;
  const TBitmap32 shot = CaptureWidget(d);
  ASSERT_EQ(shot.Width(), 364);
  ASSERT_EQ(shot.Height(), 324);
  // The check box of "Enable Music" is drawn white inside; the dialog's face is not.
  const TPixel face = shot.Pixel(2, 2);
  const TPixel box = shot.Pixel(12 + 29 + 7, 32 + 14 + 8);
  EXPECT_NE(face, box);
  // Text is drawn in the "OK" button.
  int dark = 0;
  for (int y = 289; y < 314; ++y)
    for (int x = 198; x < 273; ++x) dark += PixelR(shot.Pixel(x, y)) < 80 ? 1 : 0;
  EXPECT_GT(dark, 5);
}

TEST_F(SettingsDialogTest, TrackBarAtTheStepOfTheProjectsSpeed) {
  struct {
    int32_t speed, position;
  } const cases[] = {{100, 10}, {65, 0}, {500, 20}};
  for (const auto& c : cases) {
    m_project.Settings.Speed = c.speed;
    Look([&](TfmSettingWindow& d) { EXPECT_EQ(d.tbSpeed->Position(), c.position) << c.speed; });
  }
  // A position beyond the bar shows at its end.
  WriteFile(m_dir / "Lake.ini", "[Setting]\r\nSpeed=40\r\n");
  Look([](TfmSettingWindow& d) { EXPECT_EQ(d.tbSpeed->Position(), 20); });
}

TEST_F(SettingsDialogTest, ShufflePlaylistTickedOnlyWhenAFileExists) {
  Look([](TfmSettingWindow& d) { EXPECT_FALSE(d.cbShuffleMusic->value()); });
  WriteFile(m_dir / "Lake.ini", "[Setting]\r\nImageMode=0\r\n");
  Look([](TfmSettingWindow& d) { EXPECT_TRUE(d.cbShuffleMusic->value()); });
}

TEST_F(SettingsDialogTest, FileValuesSelectTheirItems) {
  WriteFile(m_dir / "Lake.ini", "[Setting]\r\nImageMode=3\r\nImageSize=1\r\nDirectXQuality=2\r\nClockPos=2\r\n");
  Look([](TfmSettingWindow& d) {
    EXPECT_STREQ(d.cbShowImageMode->text(), "Single - Selected Image");
    EXPECT_STREQ(d.cbImageSize->text(), "Stretch-Full");
    EXPECT_STREQ(d.cbImageQuality->text(), "Low (Faster)");
    EXPECT_STREQ(d.cbClockPos->text(), "Bottom Left");
  });
  // Indexes outside the items show the first item.
  WriteFile(m_dir / "Lake.ini", "[Setting]\r\nImageMode=4\r\nImageSize=-1\r\nDirectXQuality=9\r\nClockPos=7\r\n");
  Look([](TfmSettingWindow& d) {
    EXPECT_STREQ(d.cbShowImageMode->text(), "All images - Random");
    EXPECT_STREQ(d.cbImageSize->text(), "Original Size");
    EXPECT_STREQ(d.cbImageQuality->text(), "Highest (Slower)");
    EXPECT_STREQ(d.cbClockPos->text(), "Top Left");
  });
}

TEST_F(SettingsDialogTest, DurationTypedIsWrittenAsTyped) {
  m_project.Settings.Duration = 5;
  // The up-down keeps the value it is given within 10 to 999 ...
  Confirm([](TfmSettingWindow& d) {
    EXPECT_STREQ(d.txtDuration->value(), "10");
    d.txtDuration->value("5");
  });
  // ... but what the user types is written as it is.
  EXPECT_NE(Ini().find("Duration=5\r\n"), std::string::npos) << Ini();

  WriteFile(m_dir / "Lake.ini", "[Setting]\r\nDuration=2000\r\n");
  Look([](TfmSettingWindow& d) { EXPECT_STREQ(d.txtDuration->value(), "999"); });
}

TEST_F(SettingsDialogTest, UpDownStepsFromTheTypedNumberWithinItsRange) {
  TfmSettingWindow d;
  struct {
    const char* typed;
    int delta;
    const char* shown;
  } const cases[] = {{"10", 1, "11"}, {"10", -1, "10"}, {"998", 1, "999"}, {"999", 1, "999"},
                     {"5", 1, "11"},  {"abc", 1, "11"}, {"", -1, "10"}};
  for (const auto& c : cases) {
    d.UpDown1->SetPosition(10);
    d.txtDuration->value(c.typed);
    d.UpDown1->Step(c.delta);
    EXPECT_STREQ(d.txtDuration->value(), c.shown) << c.typed << " " << c.delta;
  }
}

TEST_F(SettingsDialogTest, ANonIntegerDurationIsReportedAndNothingWritten) {
  for (const char* typed : {"abc", "", "1 2"}) {
    Confirm([&](TfmSettingWindow& d) { d.txtDuration->value(typed); });
    EXPECT_FALSE(kxtest::Exists(m_dir / "Lake.ini")) << typed;
  }
  EXPECT_EQ(m_boxes, (Strings{"'abc' is not a valid integer value", "'' is not a valid integer value",
                              "'1 2' is not a valid integer value"}));
}

TEST_F(SettingsDialogTest, OKWritesEveryKeyInOrder) {
  WriteFile(m_dir / "Lake.ini", "[Setting]\r\nIndex=4\r\n");
  Confirm([](TfmSettingWindow& d) {
    d.cbImageSize->value(2);
    d.cbShowImageMode->value(1);
    d.tbSpeed->SetPosition(14);
    d.cbSound->value(0);
    d.cbMusic->value(1);
    d.cbTransition->value(0);
    d.txtDuration->value("25");
    d.cbDirectX->value(1);
    d.cbImageQuality->value(0);
    d.cbCustomMusic->value(1);
    d.cbShuffleMusic->value(0);
    d.cbShowClock->value(1);
    d.cbClockPos->value(3);
  });
  EXPECT_EQ(Ini(),
            "[Setting]\r\nIndex=4\r\nImageSize=2\r\nImageMode=1\r\nSpeed=14\r\nSound=0\r\nMusic=1\r\n"
            "Transition=0\r\nDuration=25\r\nDirectX=1\r\nDirectXQuality=0\r\nCustomMusic=1\r\nShuffleMusic=0\r\n"
            "ShowClock=1\r\nClockPos=3\r\n");
  EXPECT_TRUE(m_boxes.empty());
}

TEST_F(SettingsDialogTest, CancelWritesNothing) {
  Look([](TfmSettingWindow& d) { d.txtDuration->value("25"); });
  EXPECT_FALSE(kxtest::Exists(m_dir / "Lake.ini"));
}

TEST_F(SettingsDialogTest, RunsThatDoNotPersistCannotBeConfirmed) {
  m_context.ProgramPath = m_dir / "Lake.exe";
  WriteFile(m_dir / "Lake.ini", "[Setting]\r\nImageMode=3\r\n");
  m_project.Settings.ShowImageMode = 1;
  Open([](TfmSettingWindow& d) {
    EXPECT_FALSE(d.Button1->active());
    EXPECT_STREQ(d.cbShowImageMode->text(), "All images - Sequential");  // the project's, not the file's
    d.ClickOK();
    EXPECT_EQ(d.ModalResult(), TModalResult::mrNone);
    return TModalResult::mrOk;  // even a confirmed run writes nothing
  });
  EXPECT_EQ(Ini(), "[Setting]\r\nImageMode=3\r\n");
}

TEST_F(SettingsDialogTest, PlaylistRowsAddRemoveAndOneKeyPerFile) {
  const std::string song = m_dir / "song.mp3";
  WriteFile(m_dir / "Lake.ini", "[MusicList]\r\n/m/first.ogg=\r\n/m/second.flac=\r\n");
  Confirm([&](TfmSettingWindow& d) {
    EXPECT_EQ(d.lstMusic->Rows(), (Strings{"/m/first.ogg", "/m/second.flac"}));
    d.ChooseMusicFile = [&] { return std::optional<std::string>(song); };
    d.Button3Click();
    d.Button3Click();
    EXPECT_EQ(d.lstMusic->Rows(), (Strings{"/m/first.ogg", "/m/second.flac", song, song}));
    d.lstMusic->Select(0);
    d.Button4Click();
    d.lstMusic->Select(-1);
    d.Button4Click();  // nothing selected: nothing removed
    EXPECT_EQ(d.lstMusic->Rows(), (Strings{"/m/second.flac", song, song}));
  });
  EXPECT_NE(Ini().find("[MusicList]\r\n/m/second.flac=\r\n" + song + "=\r\n"), std::string::npos) << Ini();
  EXPECT_EQ(Ini().find(song + "=", Ini().find(song + "=") + 1), std::string::npos) << Ini();
  Look([&](TfmSettingWindow& d) { EXPECT_EQ(d.lstMusic->Rows(), (Strings{"/m/second.flac", song})); });
}

TEST_F(SettingsDialogTest, AddRefusesFilesThatAreMissingOrCannotBeKept) {
  TfmSettingWindow d;
  WriteFile(m_dir / "a;b.mp3", "x");
  WriteFile(m_dir / "a=b.mp3", "x");
  WriteFile(m_dir / "a\nb.mp3", "x");
  const std::string refused[] = {m_dir / "missing.mp3", m_dir.Path(), m_dir / "a;b.mp3", m_dir / "a=b.mp3",
                                 m_dir / "a\nb.mp3"};
  for (const std::string& path : refused) {
    d.ChooseMusicFile = [&] { return std::optional<std::string>(path); };
    d.Button3Click();
  }
  d.ChooseMusicFile = [] { return std::optional<std::string>(); };  // cancelled
  d.Button3Click();
  EXPECT_EQ(d.lstMusic->Count(), 0);
  EXPECT_EQ(m_boxes.size(), std::size(refused));
}

TEST_F(SettingsDialogTest, RowsShowTheirTextsAsTheyAre) {
  TfmSettingWindow d;
  d.MusicList = {"@C1@/m/a.mp3", "/m/tab\there.mp3"};
  d.FormShow();
  d.FormShow();  // showing again does not add the rows twice
  d.Button1Click();
  EXPECT_EQ(d.MusicList, (Strings{"@C1@/m/a.mp3", "/m/tab\there.mp3"}));
  EXPECT_EQ(CaptureWidget(d).Width(), 364);
}

TEST_F(SettingsDialogTest, ResetPutsTheTrackBarBackToNormal) {
  TfmSettingWindow d;
  d.tbSpeed->SetPosition(3);
  d.Label3Click();
  EXPECT_EQ(d.tbSpeed->Position(), 10);
}

TEST_F(SettingsDialogTest, DamagedFilesOpenWithTheProjectsValues) {
  m_project.Settings.Duration = 45;
  m_project.Settings.Speed = 140;
  for (const std::string& text : {std::string("\0\x01\x02[Setting]\r\nDuration=\xff\xfe\r\nSpeed=\0", 35),
                                  std::string("[Setting]\r\nImageMode=zz\r\nClockPos=--1\r\nDura")}) {
    WriteFile(m_dir / "Lake.ini", text);
    Look([](TfmSettingWindow& d) {
      EXPECT_STREQ(d.txtDuration->value(), "45");
      EXPECT_EQ(d.tbSpeed->Position(), 12);
      EXPECT_STREQ(d.cbShowImageMode->text(), "All images - Random");
      EXPECT_STREQ(d.cbClockPos->text(), "Top Right");
    });
  }
}

TEST_F(SettingsDialogTest, AFileThatCannotBeWrittenIsReportedAndKept) {
  WriteFile(m_dir / "NotAFolder", "x");
  m_context.SettingsFile = m_dir / "NotAFolder/Lake.ini";
  Confirm([](TfmSettingWindow&) {});
  ASSERT_EQ(m_boxes.size(), 1u);
  EXPECT_NE(m_boxes[0].find("NotAFolder"), std::string::npos) << m_boxes[0];
  EXPECT_EQ(ReadFile(m_dir / "NotAFolder"), "x");
}

TEST_F(SettingsDialogTest, ShowModalEndsWithTheButtonsAndTheCloseBox) {
  // Each click comes from the event loop while the dialog is shown.
  struct TCase {
    void (*click)(TfmSettingWindow&);
    TModalResult result;
    TfmSettingWindow* dialog = nullptr;
  } cases[] = {{[](TfmSettingWindow& d) { d.Button1->do_callback(); }, TModalResult::mrOk},
               {[](TfmSettingWindow& d) { d.Button2->do_callback(); }, TModalResult::mrCancel},
               {[](TfmSettingWindow& d) { d.do_callback(); }, TModalResult::mrCancel}};
  for (TCase& c : cases) {
    TfmSettingWindow d;
    d.MusicList = {"/m/a.mp3"};
    c.dialog = &d;
    Fl::add_timeout(0.05, [](void* p) {
      auto* tc = static_cast<TCase*>(p);
      tc->click(*tc->dialog);
    }, &c);
    EXPECT_EQ(d.ShowModal(), c.result);
    EXPECT_FALSE(d.shown());
    EXPECT_EQ(d.lstMusic->Rows(), (Strings{"/m/a.mp3"}));
  }
}

}  // namespace
