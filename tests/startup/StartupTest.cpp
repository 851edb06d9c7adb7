#include <gtest/gtest.h>
#include <stdlib.h>

#include <optional>

#include "devices/headless/uHeadlessDisplay.h"
#include "package/uPackage.h"
#include "package/uWorkFolder.h"
#include "startup/uConfigureMode.h"
#include "startup/uStartup.h"
#include "support/PackageBuilder.h"
#include "devices/uMessageBox.h"
#include "os/uPackedFiles.h"
#include "raster/uPngIO.h"
#include "support/TestSupport.h"

using namespace kx;
using kxtest::Exists;
using kxtest::MakeDescription;
using kxtest::MakePackage;
using kxtest::ReadFile;
using kxtest::TScratchDir;
using kxtest::WriteFile;

namespace {

TEST(ModeDispatch, FirstTwoCharactersSelectTheMode) {
  const std::pair<std::vector<std::string>, TRunMode> cases[] = {
      {{}, TRunMode::Configure},
      {{"/c"}, TRunMode::Configure},
      {{"/C"}, TRunMode::Configure},
      {{"/c:1234"}, TRunMode::Configure},
      {{"-c"}, TRunMode::Configure},
      {{"C"}, TRunMode::Configure},
      {{"c"}, TRunMode::Configure},
      {{"c1"}, TRunMode::None},
      {{"CC"}, TRunMode::None},
      {{"/s"}, TRunMode::Saver},
      {{"/S"}, TRunMode::Saver},
      {{"-s"}, TRunMode::Saver},
      {{"S"}, TRunMode::Saver},
      {{"/screen"}, TRunMode::Saver},
      {{"SX"}, TRunMode::None},
      {{"/p", "1234"}, TRunMode::Preview},
      {{"P", "1"}, TRunMode::Preview},
      {{"/a", "99"}, TRunMode::ChangePassword},
      {{"-A"}, TRunMode::ChangePassword},
      {{"a"}, TRunMode::ChangePassword},
      {{"/x"}, TRunMode::None},
      {{""}, TRunMode::Configure},
      {{"/"}, TRunMode::None},
  };
  for (const auto& [args, mode] : cases)
    EXPECT_EQ(ModeOf(ReadCommandLine(args).ModeWord), mode) << (args.empty() ? "(none)" : args[0]);
}

TEST(ModeDispatch, KeepsTheHandleTextUpperCased) {
  const TCommandLine line = ReadCommandLine({"/p", "12ab"});
  EXPECT_EQ(line.ModeWord, "/P");
  EXPECT_EQ(line.HandleText, "12AB");
}

// Runs with the temporary folder pointed at a scratch folder.
class PreparePackageTest : public testing::Test {
 protected:
  void SetUp() override {
    const char* old = getenv("TMPDIR");
    m_oldTmp = old ? old : "";
    setenv("TMPDIR", m_tmp.Path().c_str(), 1);
  }
  void TearDown() override {
    if (m_oldTmp.empty()) unsetenv("TMPDIR");
    else setenv("TMPDIR", m_oldTmp.c_str(), 1);
  }
  std::string MakeProgram(const std::string& name, const std::string& package) {
    const std::string path = m_programs / name;
    WriteFile(path, "\x7f" "ELF player code" + package);
    InitWorkFolder(path, 1234567);
    return path;
  }
  TScratchDir m_tmp, m_programs;
  std::string m_oldTmp;
};

TEST_F(PreparePackageTest, ReadsInPlaceLoadsRelocatesAndCleansUp) {
  const std::string program = MakeProgram(
      "My.Lake.scr",
      MakePackage(MakeDescription("[FileList]\r\nLake.jpg=1\r\nSea.kxp=0\r\n",
                                  "[Default]\r\nDuration=12\r\n[Advance]\r\nPreviewFile=C:\\A\\prev.jpg\r\n",
                                  "[UI]\r\nUIFile=C:\\A\\x.kxu\r\n"),
                  {{"C:\\A\\Lake.jpg", "jpeg"}, {"C:\\A\\Sea.kxp", "kxp"}, {"C:\\A\\prev.jpg", "p"}},
                  "gui"));
  const std::string work = m_tmp / "My4567/";
  EXPECT_EQ(GetWorkFolder(), work);

  TKXCProject project;
  EXPECT_TRUE(PreparePackage(project, program));
  EXPECT_EQ(project.FileList.Names, (std::vector<std::string>{work + "Lake.jpg", work + "Sea.kxp"}));
  EXPECT_EQ(project.FileList.States, (std::vector<std::string>{"TRUE", "FALSE"}));
  EXPECT_EQ(project.Settings.Duration, 12);
  EXPECT_EQ(project.Settings.PreviewFile, work + "prev.jpg");
  EXPECT_EQ(project.UISettings.UIFile, work + "KXGUI.kxu");
  // The files read as files of the work folder, which holds none of them.
  EXPECT_EQ(ReadFileWindow(work + "Lake.jpg", 100), "jpeg");
  EXPECT_EQ(ReadFileWindow(work + "prev.jpg", 100), "p");
  EXPECT_EQ(ReadFileWindow(work + "KXGUI.kxu", 100), "gui");
  EXPECT_EQ(kxtest::FolderBytes(work), 0u);

  RemoveWorkFolder();
  EXPECT_FALSE(Exists(work));
  EXPECT_FALSE(FileExists(work + "Lake.jpg"));
}

TEST_F(PreparePackageTest, ProgramWithoutPackageKeepsDefaults) {
  const std::string program = MakeProgram("Bare.scr", "");
  TKXCProject project;
  EXPECT_TRUE(PreparePackage(project, program));
  EXPECT_TRUE(project.FileList.Names.empty());
  EXPECT_EQ(project.Settings.Duration, 30);
  EXPECT_EQ(project.UISettings.UIFile, m_tmp / "Bare4567/KXGUI.kxu");
  RemoveWorkFolder();
  EXPECT_FALSE(Exists(m_tmp / "Bare4567"));
}

TEST_F(PreparePackageTest, ModesRemoveTheWorkFolderWhenTheyEnd) {
  const std::string program = MakeProgram(
      "Lake.scr", MakePackage(MakeDescription("[FileList]\r\na.jpg=1\r\n", "", ""), {{"a.jpg", "x"}}, "0\r\n"));
  // The show runs headless and a key ends it after a second.
  SetSaverDevicesFactory([] {
    auto clock = std::make_unique<TVirtualClock>();
    auto display = std::make_unique<THeadlessDisplay>(*clock, 64, 48);
    display->Script({1000, {TInputKind::KeyPress, 0, 0, 27}});
    return TSaverDevices{std::move(display), std::move(clock)};
  });
  // The package has no MainWindow (and there may be no display): the
  // configuration mode says so and fails, and cleans up all the same.
  const struct {
    const char* Word;
    int Status;
  } cases[] = {{"/s", 0}, {"/c", 1}, {"", 1}};
  for (const auto& c : cases) {
    std::vector<std::string> args;
    if (*c.Word) args.push_back(c.Word);
    const TMessageBoxHandler previous = SetMessageBoxHandler([](const std::string&) {});
    EXPECT_EQ(RunPlayer(args, program), c.Status) << c.Word;
    SetMessageBoxHandler(previous);
    EXPECT_FALSE(Exists(m_tmp / "Lake4567")) << c.Word;
  }
  SetSaverDevicesFactory({});
}

TEST_F(PreparePackageTest, ConfigurationModeStopsOnDamagedWindowDefinitions) {
  for (const char* gui : {"x", "1\r\n5\r\nobject W: TForm\r\nend\r\n"}) {
    const std::string program = MakeProgram("Lake.scr", MakePackage(MakeDescription("", "", ""), {}, gui));
    EXPECT_EQ(RunPlayer({"/c"}, program), 1) << gui;
    EXPECT_FALSE(Exists(m_tmp / "Lake4567")) << gui;
  }
  const std::string program = MakeProgram(
      "Lake.scr", MakePackage(MakeDescription("", "", ""), {}, "1\r\n2\r\nobject MainWindow: TForm\r\nend\r\n0\r\n0\r\n"));
  TKXCProject project;
  TKXForms forms;
  PreparePackage(project, forms, program);
  EXPECT_EQ(forms.FindForm("MainWindow").DefinitionLines.size(), 2u);
  RemoveWorkFolder();
}

// Started from a file manager there is no terminal: a definitions file that
// does not load is told in a box, and the mode ends with status 1.
TEST_F(PreparePackageTest, ConfigurationModeShowsDamagedWindowDefinitionsInABox) {
  for (const char* gui : {"x", "1\r\n5\r\nobject W: TForm\r\nend\r\n"}) {
    const std::string program = MakeProgram("Lake.scr", MakePackage(MakeDescription("", "", ""), {}, gui));
    std::vector<std::string> boxes;
    const TMessageBoxHandler previous = SetMessageBoxHandler([&](const std::string& t) { boxes.push_back(t); });
    EXPECT_EQ(RunPlayer({"/c"}, program), 1) << gui;
    SetMessageBoxHandler(previous);
    ASSERT_EQ(boxes.size(), 1u) << gui;
    EXPECT_FALSE(boxes[0].empty());
    EXPECT_FALSE(Exists(m_tmp / "Lake4567")) << gui;
  }
}

TEST_F(PreparePackageTest, HandleMustBeADecimalInteger) {
  const std::string program = MakeProgram("Lake.scr", "");
  EXPECT_EQ(RunPlayer({"/p", "12x"}, program), 1);
  EXPECT_EQ(RunPlayer({"/a", ""}, program), 1);
  EXPECT_EQ(RunPlayer({"/p", "4242"}, program), 0);
  EXPECT_EQ(RunPlayer({"SX"}, program), 0);
  EXPECT_FALSE(Exists(m_tmp / "Lake4567"));  // nothing is extracted for these
}

}  // namespace

namespace {

// The show of a package of 20 pictures reads them from the program file:
// when the first picture is on screen the work folder holds none of its
// bytes, and that picture is the first of the list, as extracted files showed it.
TEST_F(PreparePackageTest, TheFirstPictureIsShownWithoutWritingThePackageOut) {
  std::vector<kxtest::TPackagedFile> files;
  std::string list = "[FileList]\r\n";
  std::vector<TBitmap32> pictures;
  for (uint32_t i = 0; i < 20; ++i) {
    TBitmap32& p = pictures.emplace_back();
    p.SetSize(64, 48);
    for (int32_t y = 0; y < 48; ++y)
      for (int32_t x = 0; x < 64; ++x) p.SetPixel(x, y, MakePixel(uint8_t(i * 12), uint8_t(x * 4), uint8_t(y * 5)));
    const std::string name = "Pic" + std::to_string(i) + ".png";
    files.push_back({"C:\\Photos\\" + name, EncodePng(p)});
    list += name + "=1\r\n";
  }
  const std::string package =
      MakePackage(MakeDescription(list, "[Default]\r\nShowImageMode=1\r\nTransition=0\r\n", ""), files, "0\r\n");
  const std::string program = MakeProgram("Photos.scr", package);
  const std::string work = m_tmp / "Photos4567/";

  std::optional<uint64_t> heldAtFirstPicture;
  uint32_t centre = 0;
  SetSaverDevicesFactory([&] {
    auto clock = std::make_unique<TVirtualClock>();
    auto display = std::make_unique<THeadlessDisplay>(*clock, 64, 48);
    display->OnPresent([&](const TBitmap32& screen) {
      if (heldAtFirstPicture || screen.Pixel(32, 24) == 0xFF000000u) return;
      heldAtFirstPicture = kxtest::FolderBytes(work);
      centre = screen.Pixel(32, 24);
    });
    display->Script({1000, {TInputKind::KeyPress, 0, 0, 27}});
    return TSaverDevices{std::move(display), std::move(clock)};
  });
  EXPECT_EQ(RunPlayer({"/s"}, program), 0);
  SetSaverDevicesFactory({});
  ASSERT_TRUE(heldAtFirstPicture);
  EXPECT_LE(*heldAtFirstPicture, package.size() / 100);
  EXPECT_EQ(centre, pictures[0].Pixel(32, 24));
  EXPECT_FALSE(Exists(work));
}

}  // namespace
