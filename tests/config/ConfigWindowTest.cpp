#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "config/uDefinedWindow.h"
#include "devices/uMessageBox.h"
#include "package/uIniFile.h"
#include "raster/uJpegCodec.h"
#include "support/TestSupport.h"
#include "support/VirtualScreen.h"
#include "ui/uKXThumbnail2.h"

using namespace kx;
using kxtest::ReadFile;
using kxtest::TScratchDir;
using kxtest::WriteFile;

namespace {

// A window with the given components after its header, no bindings.
std::string Definitions(const std::vector<std::string>& windows) {
  std::string text = std::to_string(windows.size()) + "\r\n";
  for (const std::string& body : windows) {
    std::vector<std::string> lines;
    for (size_t at = 0; at < body.size();) {
      const size_t end = body.find('\n', at);
      lines.push_back(body.substr(at, end - at));
      at = end == std::string::npos ? body.size() : end + 1;
    }
    text += std::to_string(lines.size()) + "\r\n";
    for (const std::string& l : lines) text += l + "\r\n";
    text += "0\r\n0\r\n";
  }
  return text;
}

const char* const kGridWindow =
    "object Main: TfmForm\n"
    "  object Grid: TKXThumbnail2\n    Tag = 1\n    Width = 416\n    ShowCheckBox = True\n  end\n"
    "end";

class ConfigWindowTest : public kxtest::TScreenTest {
 protected:
  void SetUp() override {
    TScreenTest::SetUp();
    if (IsSkipped()) return;
    m_previous = SetMessageBoxHandler([this](const std::string& text) { m_boxes.push_back(text); });
    for (int i = 0; i < 10; ++i) m_project.FileList.Names.push_back(m_dir / ("p" + std::to_string(i) + ".jpg"));
    Program("Lake.scr");
  }
  void TearDown() override { SetMessageBoxHandler(m_previous); }

  void Program(const std::string& name, std::vector<std::string> args = {}) {
    WriteFile(m_dir / name, "x");
    m_context.ProgramPath = m_dir / name;
    m_context.Args = std::move(args);
  }
  std::unique_ptr<TfmKXCOnfigWindow> Open(const std::string& name = "Main") {
    auto w = BuildDefinedWindow(m_context, name);
    w->FormShow();
    return w;
  }
  static TKXThumbnail2& Grid(TfmKXCOnfigWindow& w, int which = 0) {
    for (TComponent* c : w.Components)
      if (auto* g = dynamic_cast<TKXThumbnail2*>(c); g && which-- == 0) return *g;
    throw std::runtime_error("no grid");
  }
  static std::vector<bool> Ticks(const TKXThumbnail2& g) {
    std::vector<bool> out;
    for (int i = 0; i < 10; ++i) out.push_back(g.CheckState(i));
    return out;
  }
  std::string Ini() const { return ReadFile(m_dir / "Lake.ini"); }

  TScratchDir m_dir;
  TKXForms m_forms;
  TKXCProject m_project;
  TConfigContext m_context{m_forms, m_project, "", {}};
  std::vector<std::string> m_boxes;
  TMessageBoxHandler m_previous;
};

}  // namespace

TEST_F(ConfigWindowTest, OpensOnTheStoredPictureWrittenExactly) {
  m_forms.LoadDefinitionsFromText(Definitions({kGridWindow}));
  const std::pair<const char*, int> cases[] = {{"3", 3}, {"12", 0}, {"03", 0}, {"-1", 0}, {"x", 0}, {"9", 9}};
  for (const auto& [index, want] : cases) {
    WriteFile(m_dir / "Lake.ini", std::string("[Setting]\r\nIndex=") + index + "\r\n");
    auto w = Open();
    EXPECT_EQ(w->CurrentIndex, want) << index;
    const auto [col, row] = Grid(*w).Selected();
    EXPECT_EQ(row * Grid(*w).ColCount() + col, want) << index;
  }
}

TEST_F(ConfigWindowTest, UntickedPicturesRoundTripThroughFiles) {
  m_forms.LoadDefinitionsFromText(Definitions({kGridWindow}));
  WriteFile(m_dir / "Lake.ini",
            "[Setting]\r\nIndex=3\r\nDuration=7\r\n[Files]\r\n1=\r\n4=\r\n-1=\r\n99999999999=\r\n04=\r\n");
  auto w = Open();
  EXPECT_EQ(Ticks(Grid(*w)), (std::vector<bool>{true, false, true, true, false, true, true, true, true, true}));
  w->CloseWindow();
  // Unchanged ticks write exactly the keys 1 and 4; keys of others survive.
  const TIniFile ini = TIniFile::FromText(Ini());
  EXPECT_EQ(ini.ReadSection("Files"), (std::vector<std::string>{"1", "4"}));
  EXPECT_EQ(ini.ReadString("Files", "1", "?"), "");
  EXPECT_EQ(ini.ReadString("Setting", "Index", ""), "3");
  EXPECT_EQ(ini.ReadString("Setting", "Duration", ""), "7");

  // Unticking one more and moving on writes the new state.
  auto again = Open();
  Grid(*again).SetCheckState(7, false);
  again->SelectPicture(4);
  again->CloseWindow();
  const TIniFile after = TIniFile::FromText(Ini());
  EXPECT_EQ(after.ReadSection("Files"), (std::vector<std::string>{"1", "4", "7"}));
  EXPECT_EQ(after.ReadString("Setting", "Index", ""), "4");
}

TEST_F(ConfigWindowTest, OnlyPersistingRunsUseTheFile) {
  m_forms.LoadDefinitionsFromText(Definitions({kGridWindow}));
  const struct {
    const char* Program;
    std::vector<std::string> Args;
    bool Persisting;
  } cases[] = {
      {"Lake.scr", {}, true},      {"Lake.SCR", {"/p"}, true}, {"Lake.exe", {"/c"}, true},
      {"Lake.exe", {}, false},     {"Lake.exe", {"/c:1234"}, false},
  };
  for (const auto& c : cases) {
    Program(c.Program, c.Args);
    const std::string ini = m_context.SettingsPath();
    WriteFile(ini, "[Setting]\r\nIndex=2\r\n[Files]\r\n0=\r\n");
    auto w = Open();
    EXPECT_EQ(w->CurrentIndex, c.Persisting ? 2 : 0) << c.Program;
    EXPECT_EQ(Grid(*w).CheckState(0), false) << c.Program;  // unticked either way
    EXPECT_EQ(Grid(*w).CheckState(1), c.Persisting) << c.Program;
    w->SelectPicture(5);
    w->CloseWindow();
    EXPECT_EQ(TIniFile::FromText(ReadFile(ini)).ReadString("Setting", "Index", ""), c.Persisting ? "5" : "2")
        << c.Program;
  }
}

TEST_F(ConfigWindowTest, WindowsWithoutOrWithTwoGrids) {
  // Without a grid the window still writes Index and leaves [Files] alone.
  m_forms.LoadDefinitionsFromText(Definitions(
      {"object Plain: TfmForm\nend",
       "object Two: TfmForm\n"
       "  object A: TKXThumbnail2\n    Tag = 1\n  end\n  object B: TKXThumbnail2\n    Tag = 1\n  end\nend"}));
  WriteFile(m_dir / "Lake.ini", "[Files]\r\n2=\r\n");
  auto plain = Open("Plain");
  plain->SelectPicture(6);
  plain->CloseWindow();
  TIniFile ini = TIniFile::FromText(Ini());
  EXPECT_EQ(ini.ReadString("Setting", "Index", ""), "6");
  EXPECT_EQ(ini.ReadSection("Files"), std::vector<std::string>{"2"});
  // Both grids load [Files]; the grid made last writes it.
  auto two = Open("Two");
  EXPECT_FALSE(Grid(*two, 0).CheckState(2));
  EXPECT_FALSE(Grid(*two, 1).CheckState(2));
  Grid(*two, 0).SetCheckState(3, false);
  Grid(*two, 1).SetCheckState(8, false);
  two->CloseWindow();
  EXPECT_EQ(TIniFile::FromText(Ini()).ReadSection("Files"), (std::vector<std::string>{"2", "8"}));
}

TEST_F(ConfigWindowTest, ASettingsFileThatCannotBeWrittenIsReported) {
  m_forms.LoadDefinitionsFromText(Definitions({kGridWindow}));
  WriteFile(m_dir / "NotAFolder", "x");
  m_context.SettingsFile = m_dir / "NotAFolder/Lake.ini";
  auto w = Open();
  w->CloseWindow();
  ASSERT_EQ(m_boxes.size(), 1u);
  EXPECT_NE(m_boxes[0].find("NotAFolder/Lake.ini"), std::string::npos) << m_boxes[0];
}

TEST_F(ConfigWindowTest, TheWindowClosedLastDecidesTheStoredPicture) {
  // A window opened by "Show window" starts on the stored picture, not on the
  // opening window's, and writes its own when it closes.
  m_forms.LoadDefinitionsFromText(Definitions({kGridWindow, "object Other: TfmForm\nend"}));
  WriteFile(m_dir / "Lake.ini", "[Setting]\r\nIndex=7\r\n");
  auto main = Open();
  main->SelectPicture(2);
  auto other = Open("Other");
  EXPECT_EQ(other->CurrentIndex, 7);
  other->SelectPicture(5);
  other->CloseWindow();
  EXPECT_EQ(TIniFile::FromText(Ini()).ReadString("Setting", "Index", ""), "5");
  main->CloseWindow();
  EXPECT_EQ(TIniFile::FromText(Ini()).ReadString("Setting", "Index", ""), "2");
}

TEST_F(ConfigWindowTest, AHugeFilesSectionLoadsInLinearTime) {
  // 100,000 keys (3, 10, 17, ...), all but one naming no picture: read once,
  // each key parsed once.
  m_forms.LoadDefinitionsFromText(Definitions({kGridWindow}));
  std::string ini = "[Files]\r\n";
  for (int i = 0; i < 100000; ++i) ini += std::to_string(i * 7 + 3) + "=\r\n";
  WriteFile(m_dir / "Lake.ini", ini);
  auto w = Open();
  EXPECT_EQ(Ticks(Grid(*w)), (std::vector<bool>{true, true, true, false, true, true, true, true, true, true}));
}

TEST_F(ConfigWindowTest, APictureThatDoesNotDecodeCostsNoTickAndNoWiring) {
  // A JPEG cut short among the pictures: its cell is a placeholder, the
  // stored ticks and picture load, a click still moves the current picture,
  // and closing writes back exactly what was read.
  m_forms.LoadDefinitionsFromText(Definitions({kGridWindow}));
  const std::string jpeg = EncodeJpeg(TBitmap32(16, 16, MakePixel(255, 0, 0)));
  WriteFile(m_project.FileList.Names[4], jpeg.substr(0, 40));
  WriteFile(m_project.FileList.Names[5], jpeg);
  WriteFile(m_dir / "Lake.ini", "[Setting]\r\nIndex=6\r\n[Files]\r\n1=\r\n4=\r\n");
  kxtest::TErrorLog errors;
  m_context.Errors = &errors;
  auto w = Open();
  TKXThumbnail2& grid = Grid(*w);
  EXPECT_EQ(Ticks(grid), (std::vector<bool>{true, false, true, true, false, true, true, true, true, true}));
  EXPECT_EQ(w->CurrentIndex, 6);
  const auto [col, row] = grid.Selected();
  EXPECT_EQ(row * grid.ColCount() + col, 6);
  EXPECT_TRUE(grid.Placeholder(4));
  EXPECT_EQ(grid.Titles[4], "p4.jpg");
  EXPECT_FALSE(grid.Thumbnail(5).Empty());
  // Reported once, naming the file; no box.
  ASSERT_EQ(errors.Lines.size(), 1u);
  EXPECT_NE(errors.Lines[0].find(m_project.FileList.Names[4]), std::string::npos) << errors.Lines[0];
  EXPECT_TRUE(m_boxes.empty());
  // The placeholder's tick works like any other; selecting a cell moves the current picture.
  grid.SetCheckState(4, true);
  grid.SelectItem(2);
  EXPECT_EQ(w->CurrentIndex, 2);
  w->CloseWindow();
  const TIniFile ini = TIniFile::FromText(Ini());
  EXPECT_EQ(ini.ReadSection("Files"), std::vector<std::string>{"1"});
  EXPECT_EQ(ini.ReadString("Setting", "Index", ""), "2");
}

TEST_F(ConfigWindowTest, EveryPictureOfALongListKeepsItsTick) {
  m_forms.LoadDefinitionsFromText(Definitions({kGridWindow}));
  m_project.FileList.Names.clear();
  for (int i = 0; i < 5000; ++i) m_project.FileList.Names.push_back(m_dir / ("p" + std::to_string(i) + ".jpg"));
  WriteFile(m_dir / "Lake.ini", "[Setting]\r\nIndex=4321\r\n[Files]\r\n2=\r\n4000=\r\n");
  auto w = Open();
  TKXThumbnail2& grid = Grid(*w);
  EXPECT_EQ(w->CurrentIndex, 4321);
  for (int i : {0, 1000, 1001, 2500, 4999}) EXPECT_TRUE(grid.CheckState(i)) << i;
  EXPECT_FALSE(grid.CheckState(2));
  EXPECT_FALSE(grid.CheckState(4000));
  EXPECT_FALSE(grid.CheckState(5000));  // past the list
  grid.SetCheckState(4999, false);
  grid.SetCheckState(4000, true);
  w->CloseWindow();
  EXPECT_EQ(TIniFile::FromText(Ini()).ReadSection("Files"), (std::vector<std::string>{"2", "4999"}));
}
