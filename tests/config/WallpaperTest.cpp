// "Set as a Wallpaper": the question, the wallpaper file and its content,
// the errors that stop the flow, the setter chosen for each desktop, and the
// setters themselves against a key-file GSettings backend, stand-ins for the
// desktops' tools, and a private X server.
#include <gtest/gtest.h>

// Our headers first: Xlib defines macros that clash with names of ours.
#include "animation/uCreatorProject.h"
#include "config/uWallpaperFlow.h"
#include "devices/uMessageBox.h"
#include "devices/uWallpaper.h"
#include "devices/x11/uChooseWallpaper.h"
#include "devices/x11/uGsettingsWallpaper.h"
#include "devices/x11/uKdeWallpaper.h"
#include "devices/x11/uRootPixmapWallpaper.h"
#include "devices/x11/uXfceWallpaper.h"
#include "os/uRunProgram.h"
#include "package/uPictureFileWriter.h"
#include "raster/uBmpDecode.h"
#include "raster/uPictureDecode.h"
#include "support/PictureFileBuilder.h"
#include "support/TestSupport.h"
#include "support/VirtualScreen.h"

#include <X11/Xatom.h>
#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <sys/stat.h>

#include <cstdlib>
#include <optional>

using namespace kx;
using kxtest::Exists;
using kxtest::ListDir;
using kxtest::ReadFile;
using kxtest::TScratchDir;
using kxtest::WriteFile;

namespace {

std::span<const uint8_t> Bytes(const std::string& s) { return {reinterpret_cast<const uint8_t*>(s.data()), s.size()}; }

TBitmap32 Pattern(int w, int h, uint8_t seed) {
  TBitmap32 b(w, h);
  for (int y = 0; y < h; ++y)
    for (int x = 0; x < w; ++x) b.SetPixel(x, y, MakePixel(uint8_t(x * 5 + seed), uint8_t(y * 9), uint8_t(seed)));
  return b;
}

// Sets an environment variable for one test and puts the old value back.
class TEnvVar {
 public:
  TEnvVar(const char* name, const std::string& value) : m_name(name) {
    if (const char* old = std::getenv(name)) m_old = old;
    setenv(name, value.c_str(), 1);
  }
  ~TEnvVar() {
    if (m_old) setenv(m_name, m_old->c_str(), 1);
    else unsetenv(m_name);
  }
  TEnvVar(const TEnvVar&) = delete;
  TEnvVar& operator=(const TEnvVar&) = delete;

 private:
  const char* m_name;
  std::optional<std::string> m_old;
};

// A setter that notes what it was asked and what the file held then.
class TRecordingSetter : public IWallpaperSetter {
 public:
  bool Set(const std::string& bmpPath) override {
    Paths.push_back(bmpPath);
    Contents.push_back(ReadFile(bmpPath));
    return false;  // a failing setter is not reported
  }
  std::vector<std::string> Paths, Contents;
};

// The flow with a program in a scratch folder, the boxes answered and noted.
class WallpaperFlowTest : public testing::Test {
 protected:
  void SetUp() override {
    m_previousBox = SetMessageBoxHandler([this](const std::string& text) { Boxes.push_back(text); });
    m_previousQuestion = SetYesNoHandler([this](const std::string& text) {
      Questions.push_back(text);
      return Answer;
    });
    Program = Dir / "Lake.scr";
    WriteFile(Program, "program");
  }
  void TearDown() override {
    SetMessageBoxHandler(m_previousBox);
    SetYesNoHandler(m_previousQuestion);
  }

  std::string Picture(const std::string& name, const TBitmap32& b) {
    const std::string path = Dir / name;
    kxtest::WriteBmp(path, b);
    return path;
  }
  void Run(const std::string& picture) { SetPictureAsWallpaper(picture, Program, Setter); }
  TBitmap32 Wallpaper() const { return DecodeBmp(Bytes(ReadFile(Program + ".bmp"))); }

  TScratchDir Dir;
  std::string Program;
  bool Answer = true;
  std::vector<std::string> Questions, Boxes;
  TRecordingSetter Setter;

 private:
  TMessageBoxHandler m_previousBox;
  TYesNoHandler m_previousQuestion;
};

}  // namespace

TEST_F(WallpaperFlowTest, AnsweringNoWritesAndSetsNothing) {
  Answer = false;
  Run(Picture("a.bmp", Pattern(4, 3, 1)));
  ASSERT_EQ(Questions.size(), 1u);
  EXPECT_EQ(Questions[0], "You are about to set the selected picture as wallpaper.\r\nDo you want to proceed?");
  EXPECT_EQ(ListDir(Dir.Path()), (std::vector<std::string>{"Lake.scr", "a.bmp"}));
  EXPECT_TRUE(Setter.Paths.empty());
  EXPECT_TRUE(Boxes.empty());
}

TEST_F(WallpaperFlowTest, WithoutAQuestionBoxTheAnswerIsNo) {
  const TYesNoHandler installed = SetYesNoHandler({});
  testing::internal::CaptureStderr();
  Run(Picture("a.bmp", Pattern(4, 3, 1)));
  EXPECT_EQ(testing::internal::GetCapturedStderr(),
            "question: You are about to set the selected picture as wallpaper.\\r\\nDo you want to proceed?\n");
  SetYesNoHandler(installed);
  EXPECT_FALSE(Exists(Program + ".bmp"));
  EXPECT_TRUE(Setter.Paths.empty());
}

TEST_F(WallpaperFlowTest, TwoPicturesLeaveOneFileWithTheSecond) {
  Run(Picture("a.bmp", Pattern(5, 4, 1)));
  Run(Picture("b.bmp", Pattern(7, 3, 2)));
  EXPECT_EQ(ListDir(Dir.Path()), (std::vector<std::string>{"Lake.scr", "Lake.scr.bmp", "a.bmp", "b.bmp"}));
  EXPECT_EQ(Wallpaper(), Pattern(7, 3, 2));
  // The setter is asked once the file is complete, each time with the same file.
  ASSERT_EQ(Setter.Paths.size(), 2u);
  EXPECT_EQ(Setter.Paths[0], Program + ".bmp");
  EXPECT_EQ(Setter.Paths[1], Program + ".bmp");
  EXPECT_EQ(DecodeBmp(Bytes(Setter.Contents[0])), Pattern(5, 4, 1));
  EXPECT_TRUE(Boxes.empty());
}

TEST_F(WallpaperFlowTest, FolderWithADotKeepsItsNameAndTheProgramsWholeName) {
  ASSERT_EQ(mkdir((Dir / "My.Savers").c_str(), 0700), 0);
  Program = Dir / "My.Savers/Lake.scr";
  WriteFile(Program, "program");
  Run(Picture("a.bmp", Pattern(3, 3, 1)));
  EXPECT_EQ(ListDir(Dir / "My.Savers"), (std::vector<std::string>{"Lake.scr", "Lake.scr.bmp"}));
  EXPECT_EQ(Wallpaper(), Pattern(3, 3, 1));
}

TEST_F(WallpaperFlowTest, TheFileIs32BitsAndOpaqueWhateverTheFourthBytesHeld) {
  TBitmap32 clear = Pattern(6, 2, 3);
  for (int y = 0; y < 2; ++y)
    for (int x = 0; x < 6; ++x) clear.SetPixel(x, y, clear.Pixel(x, y) & 0x00FFFFFFu);
  SetWallpaper(clear, Program + ".bmp", Setter);
  const std::string bmp = ReadFile(Program + ".bmp");
  ASSERT_EQ(bmp.size(), 54u + 6 * 2 * 4);
  EXPECT_EQ(uint8_t(bmp[28]), 32);
  for (size_t i = 54 + 3; i < bmp.size(); i += 4) EXPECT_EQ(uint8_t(bmp[i]), 255) << i;
  EXPECT_EQ(Wallpaper(), Pattern(6, 2, 3));
}

TEST_F(WallpaperFlowTest, PictureFilesGiveTheirMainPictureWhateverTheExtensionsCase) {
  const std::string file = MakePictureFile(kxtest::SmallPictureFile());
  for (const char* name : {"a.kxp", "b.KXP", "c.Kxp"}) {
    SCOPED_TRACE(name);
    WriteFile(Dir / name, file);
    Run(Dir / name);
    TProject project;
    ASSERT_TRUE(project.Load(Dir / name));
    EXPECT_EQ(Wallpaper(), project.Picture);
    EXPECT_EQ(Wallpaper().Width(), 8);
  }
  EXPECT_TRUE(Boxes.empty());
}

// Nothing is written and the setter is not asked; an earlier wallpaper stays.
TEST_F(WallpaperFlowTest, UnreadablePicturesStopWithAMessage) {
  Run(Picture("good.bmp", Pattern(2, 2, 9)));
  const std::string before = ReadFile(Program + ".bmp");
  struct TCase {
    const char* Name;
    std::string Bytes;
  };
  const std::string jpeg = ReadFile(Picture("x.bmp", Pattern(1, 1, 0)));
  const TCase cases[] = {
      {"missing.bmp", ""},
      {"damaged.bmp", jpeg.substr(0, 20)},
      {"text.txt", "not a picture"},
      {"damaged.kxp", "KX060697 and then nothing"},
      {"empty.kxp", ""},
  };
  for (const TCase& c : cases) {
    SCOPED_TRACE(c.Name);
    Boxes.clear();
    if (std::string(c.Name) != "missing.bmp") WriteFile(Dir / c.Name, c.Bytes);
    Run(Dir / c.Name);
    ASSERT_EQ(Boxes.size(), 1u);
    EXPECT_FALSE(Boxes[0].empty());
    if (std::string(c.Name).ends_with(".kxp")) EXPECT_TRUE(Boxes[0].starts_with("File: " + (Dir / c.Name) + "\r\n"));
    EXPECT_EQ(ReadFile(Program + ".bmp"), before);
    EXPECT_EQ(Setter.Paths.size(), 1u);
  }
}

TEST_F(WallpaperFlowTest, AFileThatCannotBeWrittenStopsWithAMessage) {
  // A folder where the file should go: the rename over it fails.
  ASSERT_EQ(mkdir((Program + ".bmp").c_str(), 0700), 0);
  Run(Picture("a.bmp", Pattern(3, 2, 1)));
  ASSERT_EQ(Boxes.size(), 1u);
  EXPECT_NE(Boxes[0].find(Program + ".bmp"), std::string::npos) << Boxes[0];
  EXPECT_TRUE(Setter.Paths.empty());
  EXPECT_EQ(ListDir(Dir.Path()), (std::vector<std::string>{"Lake.scr", "Lake.scr.bmp", "a.bmp"}));
}

// ---- choosing the setter -------------------------------------------------

TEST(WallpaperSetterChoice, ByTheFirstKnownNameOfTheDesktopList) {
  enum TKind { Gnome, Cinnamon, Mate, Xfce, Kde, Root };
  const std::pair<const char*, TKind> cases[] = {
      {"GNOME", Gnome},       {"ubuntu:GNOME", Gnome},   {"gnome", Gnome},      {"Unity", Gnome},
      {"Budgie:GNOME", Gnome}, {"X-Cinnamon", Cinnamon}, {"cinnamon", Cinnamon}, {"MATE", Mate},
      {"XFCE", Xfce},         {"xfce", Xfce},            {"KDE", Kde},          {"Foo:KDE:GNOME", Kde},
      {"", Root},             {"LXQt", Root},            {"sway:wlroots", Root}, {"GNOME-Flashback", Root},
      {":", Root},
  };
  for (const auto& [desktop, kind] : cases) {
    SCOPED_TRACE(desktop);
    const std::unique_ptr<IWallpaperSetter> setter = ChooseWallpaperSetter(desktop);
    const auto* gsettings = dynamic_cast<const TGsettingsWallpaper*>(setter.get());
    switch (kind) {
      case Gnome:
      case Cinnamon:
      case Mate: {
        ASSERT_NE(gsettings, nullptr);
        const char* schema = kind == Gnome      ? "org.gnome.desktop.background"
                             : kind == Cinnamon ? "org.cinnamon.desktop.background"
                                                : "org.mate.background";
        EXPECT_EQ(gsettings->Schema().Schema, schema);
        break;
      }
      case Xfce: EXPECT_NE(dynamic_cast<const TXfceWallpaper*>(setter.get()), nullptr); break;
      case Kde: EXPECT_NE(dynamic_cast<const TKdeWallpaper*>(setter.get()), nullptr); break;
      case Root: EXPECT_NE(dynamic_cast<const TRootPixmapWallpaper*>(setter.get()), nullptr); break;
    }
  }
}

// ---- running the desktops' tools ------------------------------------------

TEST(WallpaperHelpers, ArgumentsReachTheProgramUntouched) {
  const std::string odd = "it's a \"dir\" $HOME `x` ;|&*";
  const TProgramResult r = RunProgram({"printf", "%s|%s", odd, "--"}, true);
  EXPECT_TRUE(r.Succeeded());
  EXPECT_EQ(r.Output, odd + "|--");
  EXPECT_EQ(RunProgram({"sh", "-c", "exit 3"}).ExitCode, 3);
  EXPECT_FALSE(RunProgram({"kx-no-such-program"}).Started);
  EXPECT_FALSE(RunProgram({}).Started);
}

TEST(WallpaperHelpers, AHelperThatHangsIsKilledAtTheDeadline) {
  const TProgramResult r = RunProgram({"sh", "-c", "echo started; exec sleep 30"}, true, 200);
  EXPECT_TRUE(r.Started);
  EXPECT_TRUE(r.TimedOut);
  EXPECT_FALSE(r.Succeeded());
  EXPECT_EQ(r.Output, "started\n");
}

TEST(WallpaperHelpers, FileAddressesAreAsciiWithoutQuotesOrBlanks) {
  EXPECT_EQ(FileUri("/home/ann/My Savers/it's/Lake.scr.bmp"), "file:///home/ann/My%20Savers/it%27s/Lake.scr.bmp");
  EXPECT_EQ(FileUri("/a/\xC3\xA9t\xC3\xA9\"%.bmp"), "file:///a/%C3%A9t%C3%A9%22%25.bmp");
  EXPECT_EQ(GVariantString("it's a\\b"), "'it\\'s a\\\\b'");
}

namespace {

// A folder of stand-in programs put first in PATH for one test; each notes
// its arguments, one per line, in "<name>.log".
class StandInTest : public testing::Test {
 protected:
  void SetUp() override {
    ASSERT_EQ(mkdir((Dir / "bin").c_str(), 0700), 0);
    const char* path = std::getenv("PATH");
    m_path.emplace("PATH", Dir / "bin" + ":" + (path ? path : "/usr/bin:/bin"));
  }
  void Tool(const std::string& name, const std::string& body) {
    const std::string file = Dir / "bin/" + name;
    WriteFile(file, "#!/bin/sh\nlog=\"" + Dir / name + ".log\"\nfor a in \"$@\"; do printf '%s\\n' \"$a\" >> \"$log\"; done\n"
                    "echo -- >> \"$log\"\n" + body);
    chmod(file.c_str(), 0700);
  }
  std::string Log(const std::string& name) { return Exists(Dir / name + ".log") ? ReadFile(Dir / name + ".log") : ""; }

  TScratchDir Dir;

 private:
  std::optional<TEnvVar> m_path;
};

}  // namespace

TEST(WallpaperXfce, ListingGivesThePictureProperties) {
  const std::string listing =
      "/backdrop/screen0/monitorVirtual-1/workspace0/color-style\n"
      "/backdrop/screen0/monitorVirtual-1/workspace0/image-style\n"
      "/backdrop/screen0/monitorVirtual-1/workspace0/last-image\n"
      "/backdrop/screen0/monitorHDMI-1/workspace1/last-image\r\n"
      "/desktop-icons/style\n"
      "/last-image\n"
      "/backdrop/last-image-x\n"
      "/backdrop/screen0/monitor0/workspace0/last-image";
  EXPECT_EQ(XfceImageProperties(listing), (std::vector<std::string>{
                                              "/backdrop/screen0/monitorVirtual-1/workspace0/last-image",
                                              "/backdrop/screen0/monitorHDMI-1/workspace1/last-image",
                                              "/backdrop/screen0/monitor0/workspace0/last-image",
                                          }));
  std::string many;
  for (int i = 0; i < 1000; ++i) many += "/backdrop/m" + std::to_string(i) + "/last-image\n";
  EXPECT_EQ(XfceImageProperties(many).size(), kMaxXfceImageProperties);
}

TEST_F(StandInTest, XfceSetsEveryPictureAndTurnsOnlyTiledToCentred) {
  Tool("xfconf-query",
       "case \"$*\" in\n"
       "  *' -l') printf '/backdrop/s0/m0/w0/image-style\\n/backdrop/s0/m0/w0/last-image\\n"
       "/backdrop/s0/m1/w0/last-image\\n/backdrop/s0/m1/w0/image-style\\n' ;;\n"
       "  *'m0/w0/image-style') echo 2 ;;\n"
       "  *'m1/w0/image-style') echo 5 ;;\n"
       "esac\n");
  const std::string picture = "/home/ann/it's a dir/Lake.scr.bmp";
  EXPECT_TRUE(TXfceWallpaper().Set(picture));
  const std::string c = "-c\nxfce4-desktop\n";
  EXPECT_EQ(Log("xfconf-query"), c + "-l\n--\n" +                                              //
                                     c + "-p\n/backdrop/s0/m0/w0/image-style\n--\n" +          //
                                     c + "-p\n/backdrop/s0/m0/w0/image-style\n-s\n1\n--\n" +   //
                                     c + "-p\n/backdrop/s0/m0/w0/last-image\n-s\n" + picture + "\n--\n" +  //
                                     c + "-p\n/backdrop/s0/m1/w0/image-style\n--\n" +          //
                                     c + "-p\n/backdrop/s0/m1/w0/last-image\n-s\n" + picture + "\n--\n");
}

TEST_F(StandInTest, XfceWithoutPicturePropertiesFails) {
  Tool("xfconf-query", "[ \"$3\" = -l ] && echo /desktop-icons/style\nexit 0\n");
  EXPECT_FALSE(TXfceWallpaper().Set("/tmp/a.bmp"));
}

TEST_F(StandInTest, KdeHandsTheScriptAsOneArgumentToTheShell) {
  Tool("qdbus", "exit 0\n");
  const std::string picture = "/home/ann/it's a dir/Lake.scr.bmp";
  EXPECT_TRUE(TKdeWallpaper().Set(picture));
  const std::string script = KdeWallpaperScript(picture);
  EXPECT_NE(script.find("writeConfig('Image', 'file:///home/ann/it%27s%20a%20dir/Lake.scr.bmp')"), std::string::npos);
  EXPECT_EQ(Log("qdbus"), "org.kde.plasmashell\n/PlasmaShell\norg.kde.PlasmaShell.evaluateScript\n" + script + "\n--\n");
}

TEST_F(StandInTest, KdeTriesTheNextBusClientWhenOneFails) {
  Tool("qdbus", "exit 1\n");
  Tool("qdbus6", "exit 1\n");
  Tool("qdbus-qt5", "exit 1\n");
  Tool("dbus-send", "exit 0\n");
  EXPECT_TRUE(TKdeWallpaper().Set("/tmp/a.bmp"));
  EXPECT_NE(Log("dbus-send").find("string:" + KdeWallpaperScript("/tmp/a.bmp")), std::string::npos);
}

// ---- GSettings, on a key-file backend in a scratch folder -------------------

namespace {

class GsettingsTest : public testing::Test {
 protected:
  void SetUp() override {
    m_backend.emplace("GSETTINGS_BACKEND", "keyfile");
    m_config.emplace("XDG_CONFIG_HOME", Dir.Path());
    if (!RunProgram({"gsettings", "list-keys", "org.gnome.desktop.background"}).Succeeded())
      GTEST_SKIP() << "no gsettings or no GNOME schemas";
  }
  static std::string Get(const std::string& key) {
    const TProgramResult r = RunProgram({"gsettings", "get", "org.gnome.desktop.background", key}, true);
    EXPECT_TRUE(r.Succeeded()) << key;
    return r.Output;
  }
  static void Put(const std::string& key, const std::string& value) {
    ASSERT_TRUE(RunProgram({"gsettings", "set", "org.gnome.desktop.background", key, value}).Succeeded());
  }

  TScratchDir Dir;

 private:
  std::optional<TEnvVar> m_backend, m_config;
};

}  // namespace

TEST_F(GsettingsTest, PictureWrittenAndOnlyATiledStyleTurnedCentred) {
  const std::string picture = Dir / "it's a [dir]/Lake.scr.bmp";
  const std::string uri = "'" + FileUri(picture) + "'\n";
  for (const auto& [before, after] : {std::pair{"wallpaper", "centered"}, {"zoom", "zoom"}, {"stretched", "stretched"}}) {
    SCOPED_TRACE(before);
    Put("picture-options", before);
    Put("picture-uri", "file:///old.png");
    EXPECT_TRUE(TGsettingsWallpaper(GnomeBackgroundSchema()).Set(picture));
    EXPECT_EQ(Get("picture-options"), "'" + std::string(after) + "'\n");
    EXPECT_EQ(Get("picture-uri"), uri);
    EXPECT_EQ(Get("picture-uri-dark"), uri);
  }
  // The key file holds it: the values went to this backend, not elsewhere.
  EXPECT_NE(ReadFile(Dir / "glib-2.0/settings/keyfile").find("it%27s%20a%20%5Bdir%5D"), std::string::npos);
}

TEST_F(GsettingsTest, ASchemaThatIsNotInstalledFails) {
  TGsettingsSchema missing = GnomeBackgroundSchema();
  missing.Schema = "org.example.no-such-desktop.background";
  EXPECT_FALSE(TGsettingsWallpaper(missing).Set("/tmp/a.bmp"));
}

// ---- the root window's pixmap on a private X server ------------------------

namespace {

class RootPixmapTest : public testing::Test {
 protected:
  static void SetUpTestSuite() { s_screen = new kxtest::TVirtualScreen(320, 240); }
  static void TearDownTestSuite() {
    delete s_screen;
    s_screen = nullptr;
  }
  void SetUp() override {
    if (!s_screen->Available()) GTEST_SKIP() << "no Xvfb";
    m_display = XOpenDisplay(nullptr);
    ASSERT_NE(m_display, nullptr);
    m_root = DefaultRootWindow(m_display);
  }
  void TearDown() override {
    if (m_display) XCloseDisplay(m_display);
  }

  Pixmap Property(const char* name) {
    Atom type = None;
    int format = 0;
    unsigned long count = 0, after = 0;
    unsigned char* data = nullptr;
    Pixmap p = None;
    XGetWindowProperty(m_display, m_root, XInternAtom(m_display, name, False), 0, 1, False, AnyPropertyType, &type,
                       &format, &count, &after, &data);
    if (type == XA_PIXMAP && format == 32 && count == 1) p = Pixmap(*reinterpret_cast<unsigned long*>(data));
    if (data) XFree(data);
    return p;
  }
  // A pixel of a drawable as 0xRRGGBB (the server's visual is 8 bits a channel).
  uint32_t PixelOf(Drawable d, int x, int y) {
    XImage* image = XGetImage(m_display, d, x, y, 1, 1, AllPlanes, ZPixmap);
    EXPECT_NE(image, nullptr);
    if (!image) return 0xDEADBEEF;
    const uint32_t p = uint32_t(XGetPixel(image, 0, 0)) & 0xFFFFFF;
    XDestroyImage(image);
    return p;
  }
  static uint32_t Rgb(TPixel p) { return p & 0xFFFFFF; }
  bool PixmapExists(Pixmap p) {
    static bool failed;
    failed = false;
    XSync(m_display, False);
    const XErrorHandler previous = XSetErrorHandler([](Display*, XErrorEvent*) {
      failed = true;
      return 0;
    });
    Window root;
    int x, y;
    unsigned w, h, border, depth;
    XGetGeometry(m_display, p, &root, &x, &y, &w, &h, &border, &depth);
    XSync(m_display, False);
    XSetErrorHandler(previous);
    return !failed;
  }

  static kxtest::TVirtualScreen* s_screen;
  Display* m_display = nullptr;
  Window m_root = None;
};
kxtest::TVirtualScreen* RootPixmapTest::s_screen = nullptr;

}  // namespace

TEST_F(RootPixmapTest, PictureCentredOnBlackAndAnnounced) {
  const TBitmap32 picture = Pattern(40, 30, 60);
  TScratchDir dir;
  TRecordingSetter unused;
  SetWallpaper(picture, dir / "Lake.scr.bmp", unused);  // the file the flow writes
  ASSERT_TRUE(TRootPixmapWallpaper().Set(dir / "Lake.scr.bmp"));

  const Pixmap pixmap = Property("_XROOTPMAP_ID");
  ASSERT_NE(pixmap, Pixmap(None));
  EXPECT_EQ(Property("ESETROOT_PMAP_ID"), pixmap);
  // (320 - 40) / 2 = 140, (240 - 30) / 2 = 105.
  for (const auto& [x, y] : {std::pair{0, 0}, {39, 29}, {17, 11}}) {
    EXPECT_EQ(PixelOf(pixmap, 140 + x, 105 + y), Rgb(picture.Pixel(x, y))) << x << "," << y;
    EXPECT_EQ(PixelOf(m_root, 140 + x, 105 + y), Rgb(picture.Pixel(x, y))) << x << "," << y;
  }
  // Black around it, not the picture again: no tiling.
  for (const auto& [x, y] : {std::pair{0, 0}, {139, 105}, {180, 120}, {319, 239}, {140, 104}})
    EXPECT_EQ(PixelOf(m_root, x, y), 0u) << x << "," << y;
}

TEST_F(RootPixmapTest, ALargerPictureIsCroppedAboutItsCentre) {
  const TBitmap32 picture = Pattern(400, 250, 7);
  ASSERT_TRUE(TRootPixmapWallpaper::SetPicture(picture));
  // Margins of (400 - 320) / 2 = 40 and (250 - 240) / 2 = 5 are cut off.
  for (const auto& [x, y] : {std::pair{0, 0}, {319, 239}, {100, 50}})
    EXPECT_EQ(PixelOf(m_root, x, y), Rgb(picture.Pixel(40 + x, 5 + y))) << x << "," << y;
}

TEST_F(RootPixmapTest, TheNextPictureFreesThePreviousPixmap) {
  ASSERT_TRUE(TRootPixmapWallpaper::SetPicture(Pattern(10, 10, 1)));
  const Pixmap first = Property("_XROOTPMAP_ID");
  ASSERT_TRUE(PixmapExists(first));  // it outlives the connection that made it
  ASSERT_TRUE(TRootPixmapWallpaper::SetPicture(Pattern(12, 8, 2)));
  const Pixmap second = Property("_XROOTPMAP_ID");
  EXPECT_NE(second, first);
  EXPECT_EQ(Property("ESETROOT_PMAP_ID"), second);
  EXPECT_FALSE(PixmapExists(first));
  EXPECT_TRUE(PixmapExists(second));
  EXPECT_EQ(PixelOf(m_root, 154, 116), Rgb(Pattern(12, 8, 2).Pixel(0, 0)));
}

TEST(RootPixmapWithoutDisplay, FailsQuietly) {
  TEnvVar display("DISPLAY", ":98765");
  EXPECT_FALSE(TRootPixmapWallpaper::SetPicture(Pattern(2, 2, 0)));
  TScratchDir dir;
  EXPECT_FALSE(TRootPixmapWallpaper().Set(dir / "missing.bmp"));
}
