#include <gtest/gtest.h>

#include <FL/Fl.H>
#include <FL/Fl_Scrollbar.H>

#include <algorithm>
#include <string>
#include <utility>
#include <vector>

#include "animation/uCreatorProject.h"
#include "devices/uMessageBox.h"
#include "package/uPictureFileWriter.h"
#include "raster/uJpegCodec.h"
#include "raster/uPngIO.h"
#include "support/PictureFileBuilder.h"
#include "support/TestSupport.h"
#include "support/VirtualScreen.h"
#include "ui/uFormValues.h"
#include "ui/uKXThumbnail2.h"
#include "ui/uThumbnailPlan.h"
#include "ui/uWidgetCapture.h"

using namespace kx;
using kxtest::TScratchDir;

namespace {

constexpr TPixel kWhite = MakePixel(255, 255, 255);
constexpr TPixel kBlack = MakePixel(0, 0, 0);
constexpr TPixel kRed = MakePixel(255, 0, 0);
constexpr TPixel kBlue = MakePixel(0, 0, 255);

TPixel Grey(uint8_t v) { return MakePixel(v, v, v); }

// One X server for every test that draws; tests skip without Xvfb.
bool HaveScreen() {
  static kxtest::TVirtualScreen screen(640, 480);
  return screen.Available();
}

std::vector<std::string> Missing(int n) {
  std::vector<std::string> paths;
  for (int i = 0; i < n; ++i) paths.push_back("/nonexistent/kx/p" + std::to_string(i) + ".jpg");
  return paths;
}

// Collects OnSelectItem's indexes.
struct TEvents {
  std::vector<int> Items;
  void Attach(TKXThumbnail2& g) {
    g.OnSelectItem = [this](void* sender, int i) {
      EXPECT_EQ(sender, nullptr);
      Items.push_back(i);
    };
  }
  std::vector<int> Take() { return std::exchange(Items, {}); }
};

void Press(TKXThumbnail2& g, int x, int y) {
  Fl::e_x = x;
  Fl::e_y = y;
  Fl::e_keysym = FL_Button + FL_LEFT_MOUSE;
  Fl::e_state = FL_BUTTON1;
  EXPECT_EQ(g.handle(FL_PUSH), 1);
  Fl::e_state = 0;
  g.handle(FL_RELEASE);
}

void Key(TKXThumbnail2& g, int key, int state = 0) {
  Fl::e_keysym = key;
  Fl::e_state = state;
  EXPECT_EQ(g.handle(FL_KEYBOARD), 1);
  Fl::e_state = 0;
}

// Captures a message box's texts while alive.
struct TBoxes {
  std::vector<std::string> Texts;
  TMessageBoxHandler Old;
  TBoxes() {
    Old = SetMessageBoxHandler([this](const std::string& t) { Texts.push_back(t); });
  }
  ~TBoxes() { SetMessageBoxHandler(Old); }
};

}  // namespace

TEST(KXThumbnail2, ShadeColorDarkensByPercentOfTheFirstColoursDarkness) {
  struct TCase {
    TPixel C1, C2;
    int P;
    TPixel Expected;
  };
  const TCase cases[] = {
      {kBlack, kWhite, 5, Grey(243)},
      {kBlack, kWhite, 10, Grey(230)},
      {kBlack, kWhite, 20, Grey(204)},
      {kBlack, kWhite, 30, Grey(179)},
      {kBlack, kWhite, 0, kWhite},
      {kBlack, MakePixel(54, 32, 16), 0, MakePixel(54, 32, 16)},
      {MakePixel(100, 150, 200), MakePixel(250, 240, 230), 50, MakePixel(173, 188, 203)},
      {kBlack, kBlack, 300, kBlack},  // clamped at 0
      {kWhite, kWhite, 100, kWhite},
  };
  for (const auto& c : cases) EXPECT_EQ(ShadeColor(c.C1, c.C2, c.P), c.Expected) << c.P;
  // The selected frame's pen on a white grid is the highlight colour itself.
  EXPECT_EQ(ShadeColor(SystemColor(13), kWhite, 100), SystemColor(13));
}

TEST(KXThumbnail2, DefaultsAtCreation) {
  TKXThumbnail2 g;
  EXPECT_EQ(g.w(), 350);
  EXPECT_EQ(g.h(), 250);
  EXPECT_EQ(g.PictureWidth(), 80);
  EXPECT_EQ(g.PictureHeight(), 60);
  EXPECT_FALSE(g.ShowCheckBox());
  EXPECT_FALSE(g.ShowTitle());
  EXPECT_TRUE(g.MultiRows());
  EXPECT_EQ(g.ColWidth(), 100);
  EXPECT_EQ(g.RowHeight(), 80);
  EXPECT_FALSE(g.HasPictures());
  for (int i = 0; i <= 1000; ++i) ASSERT_FALSE(g.CheckState(i));
  // UpdateLayout and LoadThumbnails do nothing before SetItems.
  g.UpdateLayout();
  g.LoadThumbnails();
  EXPECT_EQ(g.ColCount(), 1);
  EXPECT_EQ(g.RowCount(), 1);
  EXPECT_TRUE(g.Titles.empty());
}

TEST(KXThumbnail2, LayoutTable) {
  struct TCase {
    int Width, Pictures;
    bool ShowTitle, MultiRows;
    int Cols, Rows, ColW, RowH;
  };
  const TCase cases[] = {
      {416, 10, false, true, 4, 3, 100, 80},
      // 3 rows of 110 need the vertical bar, and 4 columns do not fit beside it
      {416, 10, true, true, 3, 4, 100, 110},
      {432, 10, true, true, 4, 3, 100, 110},
      {416, 12, false, true, 4, 3, 100, 80},  {416, 13, false, true, 3, 5, 100, 80},
      {436, 13, false, true, 4, 4, 100, 80},
      {416, 10, false, false, 10, 1, 100, 80}, {50, 10, false, true, 1, 10, 100, 80},
      {99, 3, true, true, 1, 3, 100, 110},    {400, 10, false, true, 4, 3, 100, 80},
      {416, 0, false, true, 4, 1, 100, 80},   {416, 0, false, false, 1, 1, 100, 80},
  };
  for (const auto& c : cases) {
    TKXThumbnail2 g(0, 0, c.Width, 300);
    g.SetShowTitle(c.ShowTitle);
    g.SetMultiRows(c.MultiRows);
    g.SetItems(Missing(c.Pictures));
    EXPECT_EQ(g.ColCount(), c.Cols) << c.Width << " " << c.Pictures;
    EXPECT_EQ(g.RowCount(), c.Rows) << c.Width << " " << c.Pictures;
    EXPECT_EQ(g.ColWidth(), c.ColW);
    EXPECT_EQ(g.RowHeight(), c.RowH);
  }
}

TEST(KXThumbnail2, ScrollBarFollowsMultiRowsAndSizeChangesRelayout) {
  TKXThumbnail2 g(0, 0, 416, 300);
  g.SetItems(Missing(10));
  EXPECT_FALSE(g.ScrollBarVisible());  // 3 rows of 80 fit in 296
  g.SetMultiRows(false);
  EXPECT_EQ(g.ColCount(), 10);
  EXPECT_TRUE(g.ScrollBarVisible());
  EXPECT_EQ(g.ScrollBar().type(), FL_HORIZONTAL);
  g.SetMultiRows(true);
  g.SetShowTitle(true);  // 3 rows of 110 no longer fit
  EXPECT_TRUE(g.ScrollBarVisible());
  EXPECT_EQ(g.ScrollBar().type(), FL_VERTICAL);
  g.resize(0, 0, 236, 300);
  EXPECT_EQ(g.ColCount(), 2);
  EXPECT_EQ(g.RowCount(), 5);
  // The bar never covers the last column: at 216 two columns of 100 would
  // reach under it, so one is laid out.
  g.resize(0, 0, 216, 300);
  EXPECT_EQ(g.ColCount(), 1);
  EXPECT_EQ(g.RowCount(), 10);
  for (int width : {216, 236, 300, 416, 432}) {
    g.resize(0, 0, width, 300);
    int l, t, r, b;
    g.CellRect(g.ColCount() - 1, 0, l, t, r, b);
    EXPECT_TRUE(g.ScrollBarVisible());
    EXPECT_LE(r, g.ScrollBar().x()) << width;
  }
  g.resize(0, 0, 216, 300);
  // Property writers relayout too.
  g.SetPictureWidth(30);
  EXPECT_EQ(g.ColWidth(), 50);
  EXPECT_EQ(g.ColCount(), 3);
  g.SetPictureHeight(10);
  EXPECT_EQ(g.RowHeight(), 60);
  g.SetShowTitle(false);
  EXPECT_EQ(g.RowHeight(), 30);
}

TEST(KXThumbnail2, SelectItemSetsRowThenColumnFiringPerMovedStep) {
  TKXThumbnail2 g(0, 0, 416, 300);
  g.SetItems(Missing(10));
  TEvents ev;
  ev.Attach(g);
  g.SelectItem(0);
  EXPECT_TRUE(ev.Take().empty());  // nothing moves
  g.SelectItem(5);                   // row 1 (cell 4), then column 1 (cell 5)
  EXPECT_EQ(ev.Take(), (std::vector<int>{4, 5}));
  EXPECT_EQ(g.Selected(), std::make_pair(1, 1));
  g.SelectItem(5);
  EXPECT_TRUE(ev.Take().empty());
  g.SelectItem(6);  // same row: one step
  EXPECT_EQ(ev.Take(), (std::vector<int>{6}));
  g.SelectItem(11);  // the empty cell (3, 2): both steps name the last picture
  EXPECT_EQ(ev.Take(), (std::vector<int>{9, 9}));
  EXPECT_EQ(g.Selected(), std::make_pair(3, 2));
  g.SelectItem(100);  // beyond the grid: the row is clamped, the column 100 mod 4 = 0
  EXPECT_EQ(ev.Take(), (std::vector<int>{8}));
  EXPECT_EQ(g.Selected(), std::make_pair(0, 2));
  g.SelectItem(-3);
  EXPECT_EQ(ev.Take(), (std::vector<int>{0}));
  EXPECT_EQ(g.Selected(), std::make_pair(0, 0));
}

TEST(KXThumbnail2, SelectingWithoutPicturesFiresZero) {
  TKXThumbnail2 g(0, 0, 416, 300);
  g.SetItems({});
  TEvents ev;
  ev.Attach(g);
  g.SelectItem(2);
  EXPECT_EQ(ev.Take(), (std::vector<int>{0}));
  EXPECT_EQ(g.Selected(), std::make_pair(2, 0));
}

TEST(KXThumbnail2, KeysMoveTheSelectionLikeAStringGrid) {
  TKXThumbnail2 g(0, 0, 416, 300);
  g.SetItems(Missing(10));
  TEvents ev;
  ev.Attach(g);
  Key(g, FL_Right);
  Key(g, FL_Down);
  EXPECT_EQ(ev.Take(), (std::vector<int>{1, 5}));
  Key(g, FL_End);
  EXPECT_EQ(g.Selected(), std::make_pair(3, 1));
  Key(g, FL_End, FL_CTRL);
  EXPECT_EQ(g.Selected(), std::make_pair(3, 2));
  Key(g, FL_Right);  // at the edge: no move, no event
  Key(g, FL_Home);
  EXPECT_EQ(ev.Take(), (std::vector<int>{7, 9, 8}));
  Key(g, FL_Page_Up);  // three rows fit: back to the top row
  EXPECT_EQ(g.Selected(), std::make_pair(0, 0));
  Key(g, FL_Up);
  Key(g, FL_Left);
  EXPECT_EQ(ev.Take(), (std::vector<int>{0}));
  Key(g, FL_Page_Down);
  EXPECT_EQ(g.Selected(), std::make_pair(0, 2));
  Key(g, FL_Home, FL_CTRL);
  EXPECT_EQ(ev.Take(), (std::vector<int>{8, 0}));
  Fl::e_keysym = 'a';
  EXPECT_EQ(g.handle(FL_KEYBOARD), 0);
}

TEST(KXThumbnail2, KeysScrollTheSelectedRowIntoView) {
  TKXThumbnail2 g(0, 0, 436, 170);  // two rows of 80 fit in 166; four columns beside the bar
  g.SetItems(Missing(20));
  EXPECT_EQ(g.RowCount(), 5);
  EXPECT_TRUE(g.ScrollBarVisible());
  Key(g, FL_Down);
  Key(g, FL_Down);
  EXPECT_EQ(g.TopRow(), 1);
  Key(g, FL_End, FL_CTRL);
  EXPECT_EQ(g.TopRow(), 3);
  EXPECT_EQ(g.LeftCol(), 0);  // a multi-row grid never scrolls sideways
  EXPECT_EQ(g.ScrollBar().value(), 3);
}

TEST(KXThumbnail2, CheckBoxHitBoxEdgesAndCursor) {
  TKXThumbnail2 g(0, 0, 416, 300);
  g.SetItems(Missing(10));
  // Without ShowCheckBox the grid keeps its own cursor.
  g.Cursor = TCursorKind::Cross;
  EXPECT_EQ(g.CursorAt(15, 68), TCursorKind::Cross);
  g.SetShowCheckBox(true);
  // Cell (0, 0): L = T = 2 inside the border; PH = 60. The box: x 15..26, y 68..79.
  const int L = 2, T = 2, PH = 60;
  struct TPoint2 {
    int X, Y;
    bool Hit;
  };
  const TPoint2 points[] = {
      {L + 13, T + PH + 6, true},   {L + 24, T + PH + 6, true},   {L + 13, T + PH + 17, true},
      {L + 24, T + PH + 17, true},  {L + 12, T + PH + 6, false},  {L + 25, T + PH + 6, false},
      {L + 13, T + PH + 5, false},  {L + 13, T + PH + 18, false}, {L + 100 + 13, T + PH + 6, true},
      {L + 300 + 24, T + 80 + PH + 17, true},
      {L + 200 + 13, T + 160 + PH + 6, false},  // cell (2, 2) holds no picture
  };
  for (const auto& p : points) {
    EXPECT_EQ(g.CursorAt(p.X, p.Y), p.Hit ? TCursorKind::HandPoint : TCursorKind::Arrow) << p.X << "," << p.Y;
    EXPECT_EQ(g.CheckBoxAt(p.X, p.Y) >= 0, p.Hit) << p.X << "," << p.Y;
  }
  EXPECT_EQ(g.CheckBoxAt(L + 300 + 24, T + 80 + PH + 17), 7);
}

TEST(KXThumbnail2, PressingACheckBoxTogglesThenSelects) {
  TKXThumbnail2 g(0, 0, 416, 300);
  g.SetItems(Missing(10));
  TEvents ev;
  ev.Attach(g);
  // Without ShowCheckBox a press on the box only selects.
  Press(g, 15, 68);
  EXPECT_FALSE(g.CheckState(0));
  EXPECT_EQ(ev.Take(), (std::vector<int>{0}));  // a click fires even when the cell does not move
  g.SetShowCheckBox(true);
  Press(g, 15, 68);  // the selected picture's box
  EXPECT_TRUE(g.CheckState(0));
  EXPECT_EQ(ev.Take(), (std::vector<int>{0}));
  Press(g, 26, 79);
  EXPECT_FALSE(g.CheckState(0));
  Press(g, 102 + 24, 2 + 60 + 17);  // another picture's box: toggled and selected
  EXPECT_TRUE(g.CheckState(1));
  EXPECT_EQ(g.Selected(), std::make_pair(1, 0));
  EXPECT_EQ(ev.Take(), (std::vector<int>{0, 1}));
  Press(g, 102 + 25, 2 + 60 + 17);  // just outside
  EXPECT_TRUE(g.CheckState(1));
  Press(g, 202 + 13, 162 + 60 + 6);  // an empty cell: nothing toggles, the last picture is named
  EXPECT_FALSE(g.CheckState(10));
  EXPECT_EQ(g.Selected(), std::make_pair(2, 2));
  EXPECT_EQ(ev.Take(), (std::vector<int>{1, 9}));
  Press(g, 500, 10);  // outside every cell
  EXPECT_TRUE(ev.Take().empty());
}

TEST(KXThumbnail2, CheckStatesOutOfRangeAreIgnored) {
  TKXThumbnail2 g;
  g.SetCheckState(1000, true);
  g.SetCheckState(1001, true);
  g.SetCheckState(-1, true);
  EXPECT_TRUE(g.CheckState(1000));
  EXPECT_TRUE(g.CheckStates[1000]);
  EXPECT_FALSE(g.CheckState(1001));
  EXPECT_FALSE(g.CheckState(-1));
}

TEST(KXThumbnail2, Properties) {
  TKXThumbnail2 g;
  EXPECT_TRUE(g.SetProperty("PictureWidth", {TFormInt{40}}));
  EXPECT_TRUE(g.SetProperty("pictureheight", {TFormInt{30}}));
  EXPECT_TRUE(g.SetProperty("ShowCheckBox", {TFormIdent{"True"}}));
  EXPECT_TRUE(g.SetProperty("ShowTitle", {TFormIdent{"True"}}));
  EXPECT_TRUE(g.SetProperty("MultiRows", {TFormIdent{"False"}}));
  EXPECT_TRUE(g.SetProperty("Ctl3D", {TFormIdent{"False"}}));
  EXPECT_TRUE(g.SetProperty("DefaultColWidth", {TFormInt{64}}));
  EXPECT_TRUE(g.SetProperty("DefaultRowHeight", {TFormInt{24}}));
  EXPECT_TRUE(g.SetProperty("FixedCols", {TFormInt{0}}));
  EXPECT_TRUE(g.SetProperty("FixedRows", {TFormInt{0}}));
  EXPECT_TRUE(g.SetProperty("ScrollBars", {TFormIdent{"ssHorizontal"}}));
  EXPECT_TRUE(g.SetProperty("Options", {TFormSet{{"goFixedVertLine", "goFixedHorzLine"}}}));
  EXPECT_FALSE(g.SetProperty("OnDrawCell", {TFormIdent{"X"}}));
  EXPECT_FALSE(g.SetProperty("Frobnicate", {TFormInt{1}}));
  EXPECT_THROW(g.SetProperty("PictureWidth", {TFormString{"wide"}}), TFormBuildError);
  EXPECT_THROW(g.SetProperty("ScrollBars", {TFormIdent{"ssDiagonal"}}), TFormBuildError);
  EXPECT_EQ(g.PictureWidth(), 40);
  EXPECT_EQ(g.PictureHeight(), 30);
  EXPECT_TRUE(g.ShowCheckBox());
  EXPECT_TRUE(g.ShowTitle());
  EXPECT_FALSE(g.MultiRows());
  EXPECT_EQ(g.ColWidth(), 64);  // until pictures are set
  g.Loaded();
  g.SetItems(Missing(3));
  EXPECT_EQ(g.ColWidth(), 60);
  EXPECT_EQ(g.RowHeight(), 80);
  EXPECT_EQ(g.ColCount(), 3);
  EXPECT_EQ(g.RowCount(), 1);
}

TEST(KXThumbnail2, LoadThumbnailsKeepsSlotsAlignedAndReadsOnlyTheKxpHeader) {
  TScratchDir dir;
  kxtest::WriteBmp(dir / "a.bmp", TBitmap32(8, 6, kRed));
  // A picture file whose main picture does not decode: its header still reads.
  kx::TPictureFileParts parts = kxtest::SmallPictureFile();
  parts.Picture = "not a JPEG stream";
  kxtest::WriteFile(dir / "lake.KXP", MakePictureFile(parts));
  ASSERT_FALSE(TProject().Load(dir / "lake.KXP"));
  kxtest::WriteFile(dir / "notes.txt", "text");
  // The show plays ".tif" files as picture files, not as still pictures:
  // they get no thumbnail, however well they decode; ".png" and ".jpeg"
  // files are still.
  kxtest::WriteFile(dir / "b.png", EncodePng(TBitmap32(3, 3, kBlue)));
  kxtest::WriteFile(dir / "c.tif", EncodeJpeg(TBitmap32(3, 3, kBlue)));
  kxtest::WriteFile(dir / "d.jpeg", EncodePng(TBitmap32(3, 3, kRed)));
  kxtest::WriteFile(dir / "broken.kxp", "garbage");

  TKXThumbnail2 g(0, 0, 416, 300);
  TBoxes boxes;
  g.SetItems({dir / "a.bmp", dir / "missing.jpg", dir / "lake.KXP", dir / "notes.txt", dir / "broken.kxp",
              dir / "b.png", dir / "c.tif", dir / "d.jpeg"});
  ASSERT_EQ(g.Titles.size(), 8u);
  EXPECT_EQ(g.Titles, (std::vector<std::string>{"a.bmp", "", "Lake", "", "", "b.png", "", "d.jpeg"}));
  EXPECT_EQ(g.Thumbnail(0), TBitmap32(80, 60, kRed));
  EXPECT_TRUE(g.Thumbnail(1).Empty());
  ASSERT_EQ(g.Thumbnail(2).Width(), 80);
  ASSERT_EQ(g.Thumbnail(2).Height(), 60);
  const TPixel t = g.Thumbnail(2).Pixel(40, 30);  // the thumbnail's blue, not the picture's green
  EXPECT_LT(PixelG(t), 40);
  EXPECT_GT(PixelB(t), 160);
  EXPECT_TRUE(g.Thumbnail(3).Empty());
  EXPECT_TRUE(g.Thumbnail(4).Empty());
  EXPECT_EQ(g.Thumbnail(5), TBitmap32(80, 60, kBlue));
  EXPECT_TRUE(g.Thumbnail(6).Empty());
  EXPECT_EQ(g.Thumbnail(7), TBitmap32(80, 60, kRed));  // a PNG named ".jpeg": the bytes tell
  ASSERT_EQ(boxes.Texts.size(), 1u);
  EXPECT_EQ(boxes.Texts[0].rfind("File: " + (dir / "broken.kxp") + "\r\n", 0), 0u) << boxes.Texts[0];

  // A new picture size reloads them at that size.
  g.SetPictureWidth(20);
  EXPECT_EQ(g.Thumbnail(0), TBitmap32(20, 60, kRed));
  g.SetPictureHeight(10);
  EXPECT_EQ(g.Thumbnail(0), TBitmap32(20, 10, kRed));
}

TEST(KXThumbnail2, AStillPictureThatDoesNotDecodeRaisesAfterTheOthersLoad) {
  TScratchDir dir;
  kxtest::WriteFile(dir / "bad.jpg", "not a picture");
  kxtest::WriteBmp(dir / "a.bmp", TBitmap32(8, 6, kRed));
  TKXThumbnail2 g(0, 0, 416, 300);
  EXPECT_THROW(g.SetItems({dir / "bad.jpg", dir / "a.bmp"}), std::runtime_error);
  EXPECT_EQ(g.ColCount(), 4);  // the layout is set before loading
  EXPECT_TRUE(g.Thumbnail(0).Empty());
  EXPECT_EQ(g.Thumbnail(1), TBitmap32(80, 60, kRed));
  EXPECT_EQ(g.Titles[1], "a.bmp");
}

TEST(KXThumbnail2, ManyPicturesLoadOnAWorkerThread) {
  TScratchDir dir;
  std::vector<std::string> paths;
  for (int i = 0; i < 100; ++i) {
    const std::string name = "p" + std::to_string(i) + ".bmp";
    kxtest::WriteBmp(dir / name, TBitmap32(4 + i % 5, 3, MakePixel(uint8_t(i), uint8_t(2 * i), 7)));
    paths.push_back(dir / name);
  }
  paths[50] = dir / "broken.kxp";
  kxtest::WriteFile(paths[50], "garbage");
  TBoxes boxes;
  TKXThumbnail2 g(0, 0, 416, 300);
  g.SetItems(paths);
  g.WaitForThumbnails();
  EXPECT_FALSE(g.Loading());
  ASSERT_EQ(g.Titles.size(), 100u);
  for (int i = 0; i < 100; ++i) {
    if (i == 50) continue;
    ASSERT_EQ(g.Thumbnail(i), TBitmap32(80, 60, MakePixel(uint8_t(i), uint8_t(2 * i), 7))) << i;
    ASSERT_EQ(g.Titles[size_t(i)], "p" + std::to_string(i) + ".bmp");
  }
  EXPECT_TRUE(g.Thumbnail(50).Empty());
  EXPECT_EQ(g.Titles[50], "");
  // The header failure is reported on this thread, once.
  ASSERT_EQ(boxes.Texts.size(), 1u);
  EXPECT_EQ(boxes.Texts[0].rfind("File: " + paths[50] + "\r\n", 0), 0u);
}

// A still picture the worker cannot decode gets an empty slot and no box;
// its error reaches the grid's error sink on this thread, once.
TEST(KXThumbnail2, AStillPictureTheWorkerCannotDecodeReachesTheErrorSink) {
  TScratchDir dir;
  std::vector<std::string> paths;
  for (int i = 0; i < 60; ++i) {
    paths.push_back(dir / ("p" + std::to_string(i) + ".bmp"));
    kxtest::WriteBmp(paths.back(), TBitmap32(4, 3, kRed));
  }
  paths[10] = dir / "bad.jpg";
  kxtest::WriteFile(paths[10], "not a picture");
  TBoxes boxes;
  kxtest::TErrorLog errors;
  TKXThumbnail2 g(0, 0, 416, 300);
  g.Errors = &errors;
  g.SetItems(paths);
  g.WaitForThumbnails();
  EXPECT_TRUE(g.Thumbnail(10).Empty());
  EXPECT_EQ(g.Thumbnail(11), TBitmap32(80, 60, kRed));
  EXPECT_TRUE(boxes.Texts.empty());
  ASSERT_EQ(errors.Lines.size(), 1u);
  EXPECT_EQ(errors.Lines[0].rfind("thumbnail: File: " + paths[10] + ": ", 0), 0u) << errors.Lines[0];
}

// A list longer than the grid holds: the worker decodes the cells in view
// and those nearest them, no more than the cap; scrolled to the end, the
// last cells get theirs and the far ones are dropped; back at the top the
// first ones are decoded again, their titles kept meanwhile and a header
// failure told once.
TEST(KXThumbnail2, ALongListIsDecodedAroundTheViewUnderACap) {
  TScratchDir dir;
  const int n = 600;
  std::vector<std::string> paths;
  auto colour = [](int i) { return MakePixel(uint8_t(i), uint8_t(i >> 8), 9); };
  for (int i = 0; i < n; ++i) {
    paths.push_back(dir / ("p" + std::to_string(i) + ".bmp"));
    kxtest::WriteBmp(paths.back(), TBitmap32(4, 3, colour(i)));
  }
  paths[2] = dir / "broken.kxp";
  kxtest::WriteFile(paths[2], "garbage");
  TBoxes boxes;
  TKXThumbnail2 g(0, 0, 416, 300);
  g.SetItems(paths);
  g.WaitForThumbnails();
  // 3 columns beside the scroll bar, 4 rows drawn (the last in part).
  ASSERT_EQ(g.VisibleCells(), (TThumbnailView{0, 12}));
  const size_t cap = g.HeldCap();
  ASSERT_EQ(cap, TKXThumbnail2::kMaxHeldThumbnails);
  EXPECT_EQ(g.DecodedThumbnails(), cap);
  EXPECT_EQ(g.Thumbnail(0), TBitmap32(80, 60, colour(0)));
  EXPECT_EQ(g.Thumbnail(int(cap) - 1), TBitmap32(80, 60, colour(int(cap) - 1)));
  EXPECT_TRUE(g.Thumbnail(int(cap)).Empty());
  EXPECT_EQ(g.Titles[size_t(cap)], "");
  ASSERT_EQ(boxes.Texts.size(), 1u);

  g.SelectItem(n - 1);
  g.WaitForThumbnails();
  // The last row, 199, is the third of those fully shown.
  ASSERT_EQ(g.VisibleCells().First, size_t(197 * 3));
  for (int i = 197 * 3; i < n; ++i) ASSERT_EQ(g.Thumbnail(i), TBitmap32(80, 60, colour(i))) << i;
  EXPECT_LE(g.HeldThumbnails(), cap);
  EXPECT_TRUE(g.Thumbnail(0).Empty());
  EXPECT_EQ(g.Titles[0], "p0.bmp");

  const size_t before = g.DecodedThumbnails();
  g.SelectItem(0);
  g.WaitForThumbnails();
  EXPECT_EQ(g.Thumbnail(0), TBitmap32(80, 60, colour(0)));
  EXPECT_GT(g.DecodedThumbnails(), before);
  EXPECT_LE(g.HeldThumbnails(), cap);
  EXPECT_EQ(boxes.Texts.size(), 1u);  // the broken header, decoded again, is not told again
}

TEST(KXThumbnail2, WorkerResultsArriveThroughTheEventLoop) {
  if (!HaveScreen()) GTEST_SKIP() << "no Xvfb";
  TScratchDir dir;
  std::vector<std::string> paths;
  for (int i = 0; i < 60; ++i) {
    paths.push_back(dir / ("p" + std::to_string(i) + ".bmp"));
    kxtest::WriteBmp(paths.back(), TBitmap32(5, 5, kBlue));
  }
  TKXThumbnail2 g(0, 0, 416, 300);
  g.SetItems(paths);
  for (int k = 0; k < 1000 && g.Loading(); ++k) Fl::wait(0.01);
  EXPECT_FALSE(g.Loading());
  for (int i = 0; i < 60; ++i) ASSERT_EQ(g.Thumbnail(i), TBitmap32(80, 60, kBlue)) << i;
  // A new list stops the old worker; destroying a grid while loading joins it.
  g.SetItems(paths);
  g.SetItems(std::vector<std::string>(paths.begin(), paths.begin() + 3));
  EXPECT_EQ(g.Thumbnail(2), TBitmap32(80, 60, kBlue));
  auto other = std::make_unique<TKXThumbnail2>();
  other->SetItems(paths);
  other.reset();
  for (int k = 0; k < 20; ++k) Fl::wait(0.005);  // late pick-ups find no grid
}

namespace {

// A small grid on white with two pictures of 20 x 15: cells of 40 x 35,
// cell 0 at (2, 2) and cell 1 at (42, 2) in the captured bitmap.
struct TSmallGrid {
  TScratchDir Dir;
  TKXThumbnail2 Grid{0, 0, 84, 39};
  TSmallGrid(bool checkBox) {
    kxtest::WriteBmp(Dir / "red.bmp", TBitmap32(4, 3, kRed));
    kxtest::WriteBmp(Dir / "blue.bmp", TBitmap32(4, 3, kBlue));
    Grid.Color = kWhite;
    Grid.SetPictureWidth(20);
    Grid.SetPictureHeight(15);
    Grid.SetShowCheckBox(checkBox);
    Grid.Loaded();
    Grid.SetItems({Dir / "red.bmp", Dir / "blue.bmp"});
  }
};

}  // namespace

TEST(KXThumbnail2, CellFramesToThePixel) {
  if (!HaveScreen()) GTEST_SKIP() << "no Xvfb";
  TSmallGrid s(false);
  ASSERT_EQ(s.Grid.ColCount(), 2);
  ASSERT_FALSE(s.Grid.ScrollBarVisible());
  const TBitmap32 b = CaptureWidget(s.Grid);
  ASSERT_EQ(b.Width(), 84);
  const TPixel hl = SystemColor(13);
  const int PW = 20, PH = 15;
  // Cell 0, selected: a frame two pixels wide from (L+10, T+10) to
  // (L+PW+19, T+PH+19) in the highlight colour, filled with grey 230.
  {
    const int L = 2, T = 2;
    EXPECT_EQ(b.Pixel(L + 9, T + 12), kWhite);
    EXPECT_EQ(b.Pixel(L + 12, T + 9), kWhite);
    for (int k : {10, 11}) {
      EXPECT_EQ(b.Pixel(L + k, T + 20), hl) << k;
      EXPECT_EQ(b.Pixel(L + 20, T + k), hl) << k;
    }
    for (int k : {PW + 18, PW + 19}) EXPECT_EQ(b.Pixel(L + k, T + 20), hl) << k;
    for (int k : {PH + 18, PH + 19}) EXPECT_EQ(b.Pixel(L + 20, T + k), hl) << k;
    EXPECT_EQ(b.Pixel(L + 10, T + 10), hl);
    EXPECT_EQ(b.Pixel(L + PW + 19, T + PH + 19), hl);
    EXPECT_EQ(b.Pixel(L + 12, T + 12), Grey(230));
    EXPECT_EQ(b.Pixel(L + 14, T + 14), Grey(230));
    EXPECT_EQ(b.Pixel(L + PW + 17, T + PH + 17), Grey(230));
    EXPECT_EQ(b.Pixel(L + PW + 15, T + 20), Grey(230));
    // The thumbnail at (L + (40 + 10 - 20) div 2, T + 15) = (L+15, T+15).
    EXPECT_EQ(b.Pixel(L + 15, T + 15), kRed);
    EXPECT_EQ(b.Pixel(L + PW + 14, T + PH + 14), kRed);
    EXPECT_EQ(b.Pixel(L + 9, T + PH + 19), kWhite);
  }
  // Cell 1, not selected: a one-pixel frame of grey 204 filled with grey 243.
  {
    const int L = 42, T = 2;
    EXPECT_EQ(b.Pixel(L + 9, T + 20), kWhite);
    EXPECT_EQ(b.Pixel(L + 10, T + 20), Grey(204));
    EXPECT_EQ(b.Pixel(L + 11, T + 20), Grey(243));
    EXPECT_EQ(b.Pixel(L + 20, T + 10), Grey(204));
    EXPECT_EQ(b.Pixel(L + 20, T + 11), Grey(243));
    EXPECT_EQ(b.Pixel(L + PW + 19, T + 20), Grey(204));
    EXPECT_EQ(b.Pixel(L + PW + 18, T + 20), Grey(243));
    EXPECT_EQ(b.Pixel(L + 20, T + PH + 19), Grey(204));
    EXPECT_EQ(b.Pixel(L + 20, T + PH + 18), Grey(243));
    EXPECT_EQ(b.Pixel(L + 10, T + 10), Grey(204));
    EXPECT_EQ(b.Pixel(L + 15, T + 15), kBlue);
    EXPECT_EQ(b.Pixel(L + 14, T + 15), Grey(243));
  }
  // Selecting cell 1 swaps the looks.
  s.Grid.SelectItem(1);
  const TBitmap32 c = CaptureWidget(s.Grid);
  EXPECT_EQ(c.Pixel(2 + 10, 2 + 20), Grey(204));
  EXPECT_EQ(c.Pixel(2 + 11, 2 + 20), Grey(243));
  EXPECT_EQ(c.Pixel(42 + 11, 2 + 20), hl);
}

TEST(KXThumbnail2, CheckBoxesToThePixel) {
  if (!HaveScreen()) GTEST_SKIP() << "no Xvfb";
  TSmallGrid s(true);
  s.Grid.SetCheckState(0, true);
  const TBitmap32 b = CaptureWidget(s.Grid);
  const TPixel hl = SystemColor(13);
  // The tick: two pen-width-2 lines, their bottom ends and the ring just
  // inside the square trimmed in the brush colour.
  const char* tick[11] = {
      "PPPPPPPPPPP",  //
      "P.........P",  //
      "P.........P",  //
      "P.......#.P",  //
      "P......##.P",  //
      "P.#...##..P",  //
      "P.##.##...P",  //
      "P..###....P",  //
      "P...#.....P",  //
      "P.........P",  //
      "PPPPPPPPPPP",  //
  };
  auto check = [&](int x, int y, bool checked, TPixel pen) {
    for (int dy = 0; dy < 11; ++dy)
      for (int dx = 0; dx < 11; ++dx) {
        const char m = tick[dy][dx];
        const TPixel expected = m == 'P' || (checked && m == '#') ? pen : kWhite;
        ASSERT_EQ(b.Pixel(x + dx, y + dy), expected) << dx << "," << dy << " checked " << checked;
      }
  };
  const int PH = 15;
  check(2 + 13, 2 + PH + 6, true, hl);                     // the selected picture, ticked
  check(42 + 13, 2 + PH + 6, false, Grey(179));            // another, not ticked
  EXPECT_EQ(b.Pixel(2 + 24, 2 + 15), kRed);                // the thumbnail around the box stays
  EXPECT_EQ(b.Pixel(2 + 12, 2 + PH + 6), Grey(230));       // left of the box: the frame's fill
  s.Grid.SetCheckState(0, false);
  s.Grid.SetCheckState(1, true);
  s.Grid.SelectItem(1);
  const TBitmap32 c = CaptureWidget(s.Grid);
  for (int dy = 0; dy < 11; ++dy)
    for (int dx = 0; dx < 11; ++dx) {
      const char m = tick[dy][dx];
      ASSERT_EQ(c.Pixel(42 + 13 + dx, 2 + PH + 6 + dy), m == 'P' || m == '#' ? hl : kWhite) << dx << "," << dy;
      ASSERT_EQ(c.Pixel(2 + 13 + dx, 2 + PH + 6 + dy), m == 'P' ? Grey(179) : kWhite) << dx << "," << dy;
    }
}

TEST(KXThumbnail2, TitlesUnderTheThumbnails) {
  if (!HaveScreen()) GTEST_SKIP() << "no Xvfb";
  TSmallGrid s(false);
  s.Grid.resize(0, 0, 84, 69);
  s.Grid.SetShowTitle(true);
  ASSERT_EQ(s.Grid.RowHeight(), 65);
  s.Grid.Titles = {"red", "blue"};
  const TBitmap32 b = CaptureWidget(s.Grid);
  const TPixel hl = SystemColor(13);
  // The title rectangle: (L+10, T+PH+24) to (R, B).
  auto count = [&](int l, int t, int r, int bo, auto pred) {
    int n = 0;
    for (int y = t; y < bo; ++y)
      for (int x = l; x < r; ++x) n += pred(b.Pixel(x, y));
    return n;
  };
  const int T = 2, PH = 15;
  auto isHl = [&](TPixel p) { return p == hl; };
  auto isDark = [](TPixel p) { return PixelR(p) < 128 && PixelG(p) < 128 && PixelB(p) < 128; };
  EXPECT_GT(count(12, T + PH + 24, 42, T + 65, isHl), 20);  // selected: on the highlight
  EXPECT_EQ(count(52, T + PH + 24, 82, T + 65, isHl), 0);
  EXPECT_GT(count(52, T + PH + 24, 82, T + 65, isDark), 5);  // the font's black on white
  EXPECT_EQ(count(2, T + PH + 20, 42, T + PH + 24, isHl), 0);  // nothing above the rectangle
}

// A still picture that does not decode is a placeholder: no thumbnail, its
// file name as title and drawn inside its frame; the raised error names the
// file. The worker treats it alike.
TEST(KXThumbnail2, AStillPictureThatDoesNotDecodeIsAPlaceholderNamedByItsFile) {
  TScratchDir dir;
  kxtest::WriteFile(dir / "bad.jpg", EncodeJpeg(TBitmap32(16, 16, kRed)).substr(0, 40));
  TKXThumbnail2 g(0, 0, 204, 84);
  g.Color = kWhite;
  try {
    g.SetItems({dir / "bad.jpg", dir / "missing.jpg"});
    ADD_FAILURE() << "no error";
  } catch (const std::runtime_error& e) {
    EXPECT_EQ(std::string(e.what()).rfind("File: " + (dir / "bad.jpg") + ": ", 0), 0u) << e.what();
  }
  EXPECT_TRUE(g.Placeholder(0));
  EXPECT_FALSE(g.Placeholder(1));  // a missing file stays an empty slot
  EXPECT_EQ(g.Titles, (std::vector<std::string>{"bad.jpg", ""}));
  EXPECT_TRUE(g.Thumbnail(0).Empty());

  std::vector<std::string> many = Missing(60);
  many[10] = dir / "bad.jpg";
  TKXThumbnail2 w(0, 0, 416, 300);
  w.SetItems(many);
  w.WaitForThumbnails();
  EXPECT_TRUE(w.Placeholder(10));
  EXPECT_EQ(w.Titles[10], "bad.jpg");
  EXPECT_FALSE(w.Placeholder(11));

  if (!HaveScreen()) GTEST_SKIP() << "no Xvfb";
  g.Loaded();
  const TBitmap32 b = CaptureWidget(g);
  // Inside the frames (L+12, T+12) to (L+PW+18, T+PH+18): the name in the
  // placeholder's, nothing but the fill in the empty slot's.
  auto colours = [&](int l) {
    std::vector<TPixel> seen;
    for (int y = 2 + 12; y < 2 + 60 + 18; ++y)
      for (int x = l + 12; x < l + 80 + 18; ++x)
        if (std::find(seen.begin(), seen.end(), b.Pixel(x, y)) == seen.end()) seen.push_back(b.Pixel(x, y));
    return seen.size();
  };
  EXPECT_GT(colours(2), 1u);
  EXPECT_EQ(colours(102), 1u);
}

TEST(KXThumbnail2, EveryPictureOfALongListHasACheckState) {
  TKXThumbnail2 g(0, 0, 416, 300);
  g.SetItems(Missing(5000));
  for (int i : {0, 1000, 1001, 4999}) {
    g.SetCheckState(i, true);
    EXPECT_TRUE(g.CheckState(i)) << i;
  }
  g.SetCheckState(5000, true);
  EXPECT_FALSE(g.CheckState(5000));
  // A shorter list keeps the states it finds.
  g.SetItems(Missing(3));
  EXPECT_TRUE(g.CheckState(1001));
}
