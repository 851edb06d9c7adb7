// The thumbnail grid of skinned windows: a grid of small pictures,
// one per cell in reading order, with an optional check box and title under
// each; the user picks the current picture and ticks the pictures of the show.
//
// How the control treats the cases a caller might wonder about:
// - Thumbnails and titles stay index-aligned with the pictures: a missing
//   file, a file of another kind or an unreadable ".kxp" header gets an
//   empty slot, drawn as an empty frame with no title, so later pictures
//   keep their cells. A still picture that does not decode gets a
//   placeholder: its file name as title, drawn inside the empty frame in
//   place of the picture; its tick works like any other.
// - Still pictures are those the show plays as such (IsStillPicture:
//   ".JPG", ".JPEG", ".BMP", ".GIF", ".PNG", and ".WEBP", ".HEIC", ".HEIF",
//   ".AVIF" where the build decodes them); files of other kinds get an
//   empty slot.
// - More than kThreadedLoadThreshold pictures load on a worker thread:
//   LoadThumbnails returns at once, cells fill in as thumbnails finish (the
//   UI thread picks them up through Fl::awake), cells not yet loaded draw as
//   empty frames. The worker decodes the cells in view first, then those
//   nearest to them, up to HeldCap thumbnails; when the view moves it turns
//   to the new view at once, and when more than HeldCap are held the ones
//   farthest from the view are dropped (decoded again when they come back
//   near it). Titles and placeholders stay once known; so a list of any
//   length never holds more than HeldCap thumbnails, and opening it decodes
//   no more than that. Header failures of ".kxp" files found by the worker are
//   reported on the UI thread with the box TProject::LoadHeader shows
//   ("File: <name>" CR LF <error>), in the order found, once per picture
//   however often it is decoded again; decode errors of still
//   pictures found by the worker make placeholders without a box (the
//   configuration window ignores them while it shows anyway) and go to
//   Errors when it is set, on the UI thread.
// - Loading on the UI thread, a still picture that does not decode does not
//   stop the loop: the other thumbnails still load, then the first such error
//   ("File: <path>: <error>") is raised to the caller.
// - Every picture of the list has a check state, however long the list.
// - SelectItem with an index beyond the grid selects the nearest cell (row
//   and column clamped to the grid) instead of failing.
// - When a new layout leaves the selected cell outside the grid, the
//   selection moves into it silently (no OnSelectItem).
// - The mouse wheel scrolls without moving the selection.
// - Picture sizes are kept within 0..4096.
#pragma once

#include <FL/Fl_Group.H>

#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "os/uErrorSink.h"
#include "raster/uBitmap.h"
#include "ui/uComponent.h"
#include "ui/uThumbnailLoader.h"
#include "ui/uThumbnailPlan.h"

class Fl_Scrollbar;

namespace kx {

// Darkens c2 by p per cent of c1's darkness, channel by channel:
// 255 - ((255 - c1) * p + (255 - c2) * 100) div 100, clamped to 0..255.
// Colours are already resolved (system colours through SystemColor).
TPixel ShadeColor(TPixel c1, TPixel c2, int p);

class TKXThumbnail2 : public Fl_Group, public TComponent {
 public:
  // Check states are kept for at least this many pictures, and for every
  // picture of the list when it is longer.
  static constexpr int kMinCheckStates = 1001;
  static constexpr size_t kThreadedLoadThreshold = 48;
  // The most thumbnails a worker-loaded grid holds: this many, fewer when
  // they would take more than kHeldThumbnailBytes, and never fewer than two
  // screens of cells.
  static constexpr size_t kMaxHeldThumbnails = 256;
  static constexpr int64_t kHeldThumbnailBytes = int64_t(64) << 20;
  static constexpr int kBorder = 2;  // the single border with the 3-D look
  static constexpr int kMaxPictureSide = 4096;

  TKXThumbnail2(int x = 0, int y = 0, int w = 350, int h = 250, const char* label = nullptr);
  ~TKXThumbnail2() override;

  // TComponent
  Fl_Widget* Widget() override { return this; }
  bool SetProperty(std::string_view name, const TFormValue& value) override;
  void Loaded() override;
  TCursorKind CursorAt(int x, int y) const override;

  // Fl_Widget
  void draw() override;
  int handle(int event) override;
  void resize(int x, int y, int w, int h) override;

  // Pictures := paths; UpdateLayout; LoadThumbnails; repaint. Errors of
  // LoadThumbnails pass to the caller after the layout is set.
  void SetItems(const std::vector<std::string>& paths);
  bool HasPictures() const { return m_hasPictures; }
  const std::vector<std::string>& Pictures() const { return m_pictures; }
  int PictureCount() const { return int(m_pictures.size()); }

  // Selects the cell of picture index: the row first, then the column; each
  // step that moves the selection fires OnSelectItem.
  void SelectItem(int index);

  // Check states of the pictures 0..max(1000, count - 1); other indexes
  // read false and are not stored. SetItems keeps the states it finds.
  std::vector<bool> CheckStates = std::vector<bool>(kMinCheckStates, false);
  bool CheckState(int index) const;
  void SetCheckState(int index, bool value);

  // One title per picture, index-aligned with Pictures ("" for none).
  std::vector<std::string> Titles;
  // The thumbnail of picture i (empty when none is loaded).
  const TBitmap32& Thumbnail(int index) const;
  // Whether picture i is a still picture that did not decode (drawn as a placeholder).
  bool Placeholder(int index) const;

  std::function<void(void* sender, int itemIndex)> OnSelectItem;
  IErrorSink* Errors = nullptr;  // where errors dropped by the worker go; nowhere when null

  void UpdateLayout();
  void LoadThumbnails();
  // Waits for a worker started by LoadThumbnails and takes over its results.
  void WaitForThumbnails();
  bool Loading() const;
  // Takes over what the worker has finished (the UI thread's Fl::awake
  // callback runs it).
  void PickUpThumbnails();
  // The cells on screen, as picture indexes.
  TThumbnailView VisibleCells() const;
  // How many thumbnails the grid holds at most while its worker loads them.
  size_t HeldCap() const;
  // How many thumbnails the grid holds now, and how many its worker decoded
  // since the list was set.
  size_t HeldThumbnails() const;
  size_t DecodedThumbnails() const { return m_loader.Loads(); }

  int ColCount() const { return m_colCount; }
  int RowCount() const { return m_rowCount; }
  int ColWidth() const { return m_colWidth; }
  int RowHeight() const { return m_rowHeight; }
  std::pair<int, int> Selected() const { return {m_col, m_row}; }
  int TopRow() const { return m_topRow; }
  int LeftCol() const { return m_leftCol; }

  int PictureWidth() const { return m_pictureWidth; }
  int PictureHeight() const { return m_pictureHeight; }
  bool ShowCheckBox() const { return m_showCheckBox; }
  bool ShowTitle() const { return m_showTitle; }
  bool MultiRows() const { return m_multiRows; }
  void SetPictureWidth(int v);
  void SetPictureHeight(int v);
  void SetShowCheckBox(bool v);
  void SetShowTitle(bool v);
  void SetMultiRows(bool v);

  // The scroll bar: vertical with MultiRows, horizontal without.
  Fl_Scrollbar& ScrollBar() { return *m_bar; }
  bool ScrollBarVisible() const;

  // The cell (column, row) under the window point, or false when there is none.
  bool CellAt(int x, int y, int& col, int& row) const;
  // The rectangle of a cell in window coordinates (it may lie outside the client area).
  void CellRect(int col, int row, int& l, int& t, int& r, int& b) const;
  // The picture index whose check box lies under the window point, or -1.
  int CheckBoxAt(int x, int y) const;

 private:
  enum class TScrollBars { Off, Horizontal, Vertical, Both };

  void ClientRect(int& x, int& y, int& w, int& h) const;
  void PlaceScrollBar();
  void ClampScroll();
  void ScrollIntoView();
  int FullyVisibleRows() const;
  int FullyVisibleCols() const;
  // The grid's SelectCell: fires OnSelectItem and moves the selection.
  void MoveTo(int col, int row);
  void DrawCell(int col, int row, int l, int t, int r, int b);
  void DrawTitle(const std::string& text, int l, int t, int r, int b, bool selected);
  void DrawPlaceholder(const std::string& name, int l, int t, int r, int b);
  void StopWorker();
  void ReportHeaderErrors();
  // Tells the worker what the view now wants and drops what is too far;
  // nothing when the view has not moved, unless forced.
  void RequestView(bool force);
  static void ScrollBarCallback(Fl_Widget* w, void* data);

  Fl_Scrollbar* m_bar = nullptr;
  std::vector<std::string> m_pictures;
  bool m_hasPictures = false;
  std::vector<TBitmap32> m_thumbs;
  std::vector<bool> m_failed;  // the pictures drawn as placeholders

  int m_pictureWidth = 80, m_pictureHeight = 60;
  bool m_showCheckBox = false, m_showTitle = false, m_multiRows = true;
  TScrollBars m_scrollBars = TScrollBars::Vertical;
  int m_colWidth = 100, m_rowHeight = 80;
  int m_colCount = 1, m_rowCount = 1;
  int m_col = 0, m_row = 0;
  int m_topRow = 0, m_leftCol = 0;
  bool m_selecting = false;  // the left button went down on a cell

  TThumbnailLoader m_loader;  // the worker of LoadThumbnails for many pictures
  bool m_lazy = false;        // the worker loads this list, view by view
  TThumbnailPlan m_plan;      // what the worker's grid holds
  TThumbnailView m_view;      // the view last asked for
  std::vector<bool> m_seen;   // the pictures loaded once: their errors are told
  std::vector<std::string> m_pendingReports;
  bool m_reporting = false;
};

}  // namespace kx
