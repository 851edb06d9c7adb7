#include "ui/uKXThumbnail2.h"

#include <FL/Fl.H>
#include <FL/Fl_Scrollbar.H>
#include <FL/Fl_Window.H>
#include <FL/fl_draw.H>

#include <algorithm>
#include <stdexcept>

#include "devices/uMessageBox.h"
#include "ui/uFlDraw.h"
#include "ui/uFormValues.h"

namespace kx {
namespace {

constexpr TPixel kBlack = MakePixel(0, 0, 0);
TPixel Highlight() { return SystemColor(13); }
TPixel HighlightText() { return SystemColor(14); }

// A pen of width 2 along the line: every point of the line, end points
// included, and the pixel below it.
void WideLine(int x0, int y0, int x1, int y1) {
  const int n = std::max(std::abs(x1 - x0), std::abs(y1 - y0));
  for (int k = 0; k <= n; ++k) {
    const int px = n ? x0 + (x1 - x0) * k / n : x0;
    const int py = n ? y0 + (y1 - y0) * k / n : y0;
    fl_rectf(px, py, 1, 2);
  }
}

// The check box at (x, y): an 11 x 11 square in the pen colour filled with
// the brush colour; the tick in the pen colour; then a one-pixel frame in
// the brush colour just inside the square, which trims the tick's ends.
void DrawCheckBox(int x, int y, bool checked, TPixel pen, TPixel brush) {
  fl_color(FlColor(brush));
  fl_rectf(x, y, 11, 11);
  fl_color(FlColor(pen));
  fl_rect(x, y, 11, 11);
  if (checked) {
    WideLine(x + 1, y + 4, x + 5, y + 8);
    WideLine(x + 3, y + 8, x + 9, y + 2);
    fl_color(FlColor(brush));
    fl_rectf(x + 3, y + 8, 1, 1);
    fl_rectf(x + 5, y + 8, 1, 1);
  }
  fl_color(FlColor(brush));
  fl_rect(x + 1, y + 1, 9, 9);
}

// The lines of a text broken at word boundaries to fit width (a word wider
// than the width keeps a line of its own); line breaks in the text are kept.
std::vector<std::string> WrapText(const std::string& text, int width) {
  std::vector<std::string> lines;
  size_t start = 0;
  while (true) {
    const size_t end = text.find('\n', start);
    std::string para = text.substr(start, end == std::string::npos ? std::string::npos : end - start);
    if (!para.empty() && para.back() == '\r') para.pop_back();
    std::string line;
    size_t i = 0;
    bool any = false;
    while (i < para.size()) {
      size_t j = para.find(' ', i);
      if (j == std::string::npos) j = para.size();
      const std::string word = para.substr(i, j - i);
      const std::string candidate = line.empty() ? word : line + " " + word;
      if (!line.empty() && fl_width(candidate.c_str()) > width) {
        lines.push_back(line);
        line = word;
      } else {
        line = candidate;
      }
      any = true;
      i = j + 1;
    }
    if (any || para.empty()) lines.push_back(line);
    if (end == std::string::npos) break;
    start = end + 1;
  }
  return lines;
}

}  // namespace

TPixel ShadeColor(TPixel c1, TPixel c2, int p) {
  auto channel = [p](int a, int b) {
    const int64_t v = 255 - ((255 - int64_t(a)) * p + (255 - int64_t(b)) * 100) / 100;
    return uint8_t(std::clamp<int64_t>(v, 0, 255));
  };
  return MakePixel(channel(PixelR(c1), PixelR(c2)), channel(PixelG(c1), PixelG(c2)), channel(PixelB(c1), PixelB(c2)));
}

TKXThumbnail2::TKXThumbnail2(int x, int y, int w, int h, const char* label) : Fl_Group(x, y, w, h, label) {
  ClassName = "TKXThumbnail2";
  Color = SystemColor(5);  // clWindow, a grid's colour
  box(FL_DOWN_FRAME);
  m_bar = new Fl_Scrollbar(x, y, 1, 1);
  m_bar->type(FL_VERTICAL);
  m_bar->visible_focus(0);
  m_bar->linesize(1);
  m_bar->callback(&TKXThumbnail2::ScrollBarCallback, this);
  m_bar->hide();
  end();
  PlaceScrollBar();
}

TKXThumbnail2::~TKXThumbnail2() { StopWorker(); }

// ---------------------------------------------------------------- properties

bool TKXThumbnail2::SetProperty(std::string_view name, const TFormValue& value) {
  if (SameText(name, "PictureWidth")) SetPictureWidth(FormInt(name, value));
  else if (SameText(name, "PictureHeight")) SetPictureHeight(FormInt(name, value));
  else if (SameText(name, "ShowCheckBox")) SetShowCheckBox(FormBool(name, value));
  else if (SameText(name, "ShowTitle")) SetShowTitle(FormBool(name, value));
  else if (SameText(name, "MultiRows")) SetMultiRows(FormBool(name, value));
  else if (SameText(name, "Ctl3D") || SameText(name, "ParentCtl3D") || SameText(name, "DefaultDrawing") ||
           SameText(name, "TabStop"))
    FormBool(name, value);
  else if (SameText(name, "DefaultColWidth")) {
    if (!m_hasPictures) m_colWidth = std::clamp(FormInt(name, value), 1, 1 << 20);
  } else if (SameText(name, "DefaultRowHeight")) {
    if (!m_hasPictures) m_rowHeight = std::clamp(FormInt(name, value), 1, 1 << 20);
  } else if (SameText(name, "ScrollBars")) {
    const std::string v = FormIdent(name, value);
    if (SameText(v, "ssNone")) m_scrollBars = TScrollBars::Off;
    else if (SameText(v, "ssHorizontal")) m_scrollBars = TScrollBars::Horizontal;
    else if (SameText(v, "ssVertical")) m_scrollBars = TScrollBars::Vertical;
    else if (SameText(v, "ssBoth")) m_scrollBars = TScrollBars::Both;
    else throw TFormBuildError("Invalid property value: ScrollBars needs ssNone, ssHorizontal, ssVertical or ssBoth");
    PlaceScrollBar();
  } else if (SameText(name, "FixedCols") || SameText(name, "FixedRows") || SameText(name, "ColCount") ||
             SameText(name, "RowCount") || SameText(name, "GridLineWidth"))
    FormInt(name, value);  // the grid has no fixed cells; UpdateLayout sets the counts
  else if (SameText(name, "FixedColor")) FormColor(name, value);
  else if (SameText(name, "Options") || SameText(name, "BorderStyle")) {
    // Accepted as written: the grid keeps its own options and single border.
  } else
    return false;
  return true;
}

void TKXThumbnail2::Loaded() {
  color(FlColor(Color));
  labelfont(FlFont(Font));
  labelsize(FlFontSize(Font));
  redraw();
}

void TKXThumbnail2::SetPictureWidth(int v) {
  m_pictureWidth = std::clamp(v, 0, kMaxPictureSide);
  UpdateLayout();
  LoadThumbnails();
  redraw();
}

void TKXThumbnail2::SetPictureHeight(int v) {
  m_pictureHeight = std::clamp(v, 0, kMaxPictureSide);
  UpdateLayout();
  LoadThumbnails();
}

void TKXThumbnail2::SetShowCheckBox(bool v) {
  m_showCheckBox = v;
  UpdateLayout();
  redraw();
}

void TKXThumbnail2::SetShowTitle(bool v) {
  m_showTitle = v;
  UpdateLayout();
  redraw();
}

void TKXThumbnail2::SetMultiRows(bool v) {
  m_multiRows = v;
  m_scrollBars = v ? TScrollBars::Vertical : TScrollBars::Horizontal;
  UpdateLayout();
  PlaceScrollBar();
  redraw();
}

bool TKXThumbnail2::CheckState(int index) const {
  return index >= 0 && size_t(index) < CheckStates.size() && CheckStates[size_t(index)];
}

void TKXThumbnail2::SetCheckState(int index, bool value) {
  if (index < 0 || size_t(index) >= CheckStates.size()) return;
  CheckStates[size_t(index)] = value;
  redraw();
}

const TBitmap32& TKXThumbnail2::Thumbnail(int index) const {
  static const TBitmap32 none;
  return index >= 0 && size_t(index) < m_thumbs.size() ? m_thumbs[size_t(index)] : none;
}

bool TKXThumbnail2::Placeholder(int index) const {
  return index >= 0 && size_t(index) < m_failed.size() && m_failed[size_t(index)];
}

// ---------------------------------------------------------------- layout

void TKXThumbnail2::SetItems(const std::vector<std::string>& paths) {
  StopWorker();
  m_pictures = paths;
  m_hasPictures = true;
  if (CheckStates.size() < m_pictures.size()) CheckStates.resize(m_pictures.size(), false);
  UpdateLayout();
  redraw();
  LoadThumbnails();
}

void TKXThumbnail2::UpdateLayout() {
  if (!m_hasPictures) return;
  m_colWidth = std::max(1, m_pictureWidth + 20);
  m_rowHeight = std::max(1, m_pictureHeight + 20 + (m_showTitle ? 30 : 0));
  const int count = int(std::min<size_t>(m_pictures.size(), size_t(INT32_MAX)));
  int cols, rows;
  if (m_multiRows) {
    cols = std::max(1, w() / m_colWidth);
    rows = count / cols + (count % cols ? 1 : 0);
    // The vertical bar takes its width from the cells' room: when it shows,
    // only the columns that fit beside it are laid out, so it never hides
    // part of the last column's pictures and check boxes.
    const int innerW = std::max(0, w() - 2 * kBorder), innerH = std::max(0, h() - 2 * kBorder);
    const bool barAllowed = m_scrollBars == TScrollBars::Vertical || m_scrollBars == TScrollBars::Both;
    const bool barShows = barAllowed && int64_t(std::max(1, rows)) * m_rowHeight > innerH;
    if (barShows && int64_t(cols) * m_colWidth > innerW - Fl::scrollbar_size()) {
      cols = std::max(1, (innerW - Fl::scrollbar_size()) / m_colWidth);
      rows = count / cols + (count % cols ? 1 : 0);
    }
  } else {
    cols = count;
    rows = 1;
  }
  m_rowCount = std::max(1, rows);
  m_colCount = std::max(1, cols);
  m_row = std::min(m_row, m_rowCount - 1);
  m_col = std::min(m_col, m_colCount - 1);
  PlaceScrollBar();
  ScrollIntoView();
  redraw();
}

void TKXThumbnail2::ClientRect(int& cx, int& cy, int& cw, int& ch) const {
  cx = x() + kBorder;
  cy = y() + kBorder;
  cw = std::max(0, w() - 2 * kBorder);
  ch = std::max(0, h() - 2 * kBorder);
  if (m_bar->visible()) {
    if (m_bar->type() == FL_VERTICAL) cw = std::max(0, cw - m_bar->w());
    else ch = std::max(0, ch - m_bar->h());
  }
}

bool TKXThumbnail2::ScrollBarVisible() const { return m_bar->visible() != 0; }

void TKXThumbnail2::PlaceScrollBar() {
  const int size = Fl::scrollbar_size();
  const int cx = x() + kBorder, cy = y() + kBorder;
  const int cw = std::max(0, w() - 2 * kBorder), ch = std::max(0, h() - 2 * kBorder);
  const bool vertical = m_multiRows;
  const bool allowed = m_scrollBars == TScrollBars::Both ||
                       (vertical ? m_scrollBars == TScrollBars::Vertical : m_scrollBars == TScrollBars::Horizontal);
  bool show = false;
  if (allowed && m_hasPictures) {
    if (vertical) show = int64_t(m_rowCount) * m_rowHeight > ch;
    else show = int64_t(m_colCount) * m_colWidth > cw;
  }
  m_bar->type(vertical ? FL_VERTICAL : FL_HORIZONTAL);
  if (vertical) m_bar->resize(cx + std::max(0, cw - size), cy, std::min(size, cw), ch);
  else m_bar->resize(cx, cy + std::max(0, ch - size), cw, std::min(size, ch));
  if (show) m_bar->show();
  else m_bar->hide();
  ClampScroll();
}

int TKXThumbnail2::FullyVisibleRows() const {
  int cx, cy, cw, ch;
  ClientRect(cx, cy, cw, ch);
  return std::max(1, ch / m_rowHeight);
}

int TKXThumbnail2::FullyVisibleCols() const {
  int cx, cy, cw, ch;
  ClientRect(cx, cy, cw, ch);
  return std::max(1, cw / m_colWidth);
}

void TKXThumbnail2::ClampScroll() {
  m_topRow = std::clamp(m_topRow, 0, std::max(0, m_rowCount - FullyVisibleRows()));
  m_leftCol = std::clamp(m_leftCol, 0, std::max(0, m_colCount - FullyVisibleCols()));
  if (m_multiRows) m_leftCol = 0;  // a multi-row grid never scrolls sideways
  else m_topRow = 0;
  if (m_bar->type() == FL_VERTICAL) m_bar->value(m_topRow, FullyVisibleRows(), 0, m_rowCount);
  else m_bar->value(m_leftCol, FullyVisibleCols(), 0, m_colCount);
  RequestView(false);  // every move of the view settles here
}

void TKXThumbnail2::ScrollIntoView() {
  const int rows = FullyVisibleRows(), cols = FullyVisibleCols();
  if (m_row < m_topRow) m_topRow = m_row;
  else if (m_row >= m_topRow + rows) m_topRow = m_row - rows + 1;
  if (m_col < m_leftCol) m_leftCol = m_col;
  else if (m_col >= m_leftCol + cols) m_leftCol = m_col - cols + 1;
  ClampScroll();
}

void TKXThumbnail2::resize(int nx, int ny, int nw, int nh) {
  const bool sized = nw != w() || nh != h();
  Fl_Widget::resize(nx, ny, nw, nh);
  PlaceScrollBar();
  if (sized) UpdateLayout();
  redraw();
}

void TKXThumbnail2::ScrollBarCallback(Fl_Widget* w, void* data) {
  auto* g = static_cast<TKXThumbnail2*>(data);
  auto* bar = static_cast<Fl_Scrollbar*>(w);
  if (bar->type() == FL_VERTICAL) g->m_topRow = bar->value();
  else g->m_leftCol = bar->value();
  g->ClampScroll();
  g->redraw();
}

// ---------------------------------------------------------------- cells

void TKXThumbnail2::CellRect(int col, int row, int& l, int& t, int& r, int& b) const {
  l = x() + kBorder + (col - m_leftCol) * m_colWidth;
  t = y() + kBorder + (row - m_topRow) * m_rowHeight;
  r = l + m_colWidth;
  b = t + m_rowHeight;
}

bool TKXThumbnail2::CellAt(int px, int py, int& col, int& row) const {
  int cx, cy, cw, ch;
  ClientRect(cx, cy, cw, ch);
  if (px < cx || py < cy || px >= cx + cw || py >= cy + ch) return false;
  col = m_leftCol + (px - cx) / m_colWidth;
  row = m_topRow + (py - cy) / m_rowHeight;
  return col < m_colCount && row < m_rowCount;
}

int TKXThumbnail2::CheckBoxAt(int px, int py) const {
  if (!m_hasPictures) return -1;
  int c, r;
  if (!CellAt(px, py, c, r)) return -1;
  const int64_t i = int64_t(r) * m_colCount + c;
  if (i >= int64_t(m_pictures.size())) return -1;
  int l, t, rr, b;
  CellRect(c, r, l, t, rr, b);
  const int ph = m_pictureHeight;
  if (px >= l + 13 && px <= l + 24 && py >= t + ph + 6 && py <= t + ph + 17) return int(i);
  return -1;
}

TCursorKind TKXThumbnail2::CursorAt(int px, int py) const {
  if (!m_showCheckBox) return Cursor;
  return CheckBoxAt(px, py) >= 0 ? TCursorKind::HandPoint : TCursorKind::Arrow;
}

// ---------------------------------------------------------------- selection

void TKXThumbnail2::MoveTo(int col, int row) {
  int64_t i = int64_t(row) * m_colCount + col;
  const int64_t count = m_hasPictures ? int64_t(m_pictures.size()) : 0;
  if (i >= count) i = count - 1;
  if (i < 0) i = 0;
  if (OnSelectItem) OnSelectItem(nullptr, int(std::min<int64_t>(i, INT32_MAX)));
  m_col = col;
  m_row = row;
  ScrollIntoView();
  redraw();
}

void TKXThumbnail2::SelectItem(int index) {
  const int row = std::clamp(index / m_colCount, 0, m_rowCount - 1);
  const int col = std::clamp(index % m_colCount, 0, m_colCount - 1);
  if (row != m_row) MoveTo(m_col, row);
  if (col != m_col) MoveTo(col, m_row);
}

// ---------------------------------------------------------------- drawing

void TKXThumbnail2::draw() {
  if (!(damage() & ~FL_DAMAGE_CHILD)) {
    if (m_bar->visible()) update_child(*m_bar);
    return;
  }
  const TPixel g = Color;
  fl_draw_box(FL_DOWN_FRAME, x(), y(), w(), h(), FlColor(g));
  int cx, cy, cw, ch;
  ClientRect(cx, cy, cw, ch);
  fl_push_clip(cx, cy, cw, ch);
  fl_color(FlColor(g));
  fl_rectf(cx, cy, cw, ch);
  if (m_hasPictures) {
    for (int r = m_topRow; r < m_rowCount; ++r) {
      int l, t, rr, b;
      CellRect(0, r, l, t, rr, b);
      if (t >= cy + ch) break;
      for (int c = m_leftCol; c < m_colCount; ++c) {
        CellRect(c, r, l, t, rr, b);
        if (l >= cx + cw) break;
        DrawCell(c, r, l, t, rr, b);
      }
    }
  }
  fl_pop_clip();
  if (m_bar->visible()) draw_child(*m_bar);
}

void TKXThumbnail2::DrawCell(int c, int r, int l, int t, int rr, int b) {
  const TPixel g = Color;
  const int pw = m_pictureWidth, ph = m_pictureHeight;
  fl_push_clip(l, t, rr - l, b - t);
  fl_color(FlColor(g));
  fl_rectf(l, t, rr - l, b - t);
  const int64_t i = int64_t(r) * m_colCount + c;
  if (i < int64_t(m_pictures.size())) {
    const bool selected = c == m_col && r == m_row;
    // The frame covers (L+10, T+10) to (L+PW+19, T+PH+19). Selected, the
    // rectangle from (L+11, T+11) with a pen of width 2 covers the same
    // outer pixels with a frame two pixels wide.
    fl_color(FlColor(ShadeColor(kBlack, g, selected ? 10 : 5)));
    fl_rectf(l + 10, t + 10, pw + 10, ph + 10);
    fl_color(FlColor(selected ? ShadeColor(Highlight(), g, 100) : ShadeColor(kBlack, g, 20)));
    fl_rect(l + 10, t + 10, pw + 10, ph + 10);
    if (selected) fl_rect(l + 11, t + 11, pw + 8, ph + 8);

    const TBitmap32& thumb = Thumbnail(int(i));
    if (!thumb.Empty()) DrawBitmap(thumb, l + (rr - l + 10 - pw) / 2, t + 15);
    else if (Placeholder(int(i)) && size_t(i) < Titles.size())
      DrawPlaceholder(Titles[size_t(i)], l + 12, t + 12, l + pw + 18, t + ph + 18);

    if (m_showCheckBox)
      DrawCheckBox(l + 13, t + ph + 6, CheckState(int(i)),
                   selected ? ShadeColor(Highlight(), g, 100) : ShadeColor(kBlack, g, 30), g);
    if (m_showTitle && size_t(i) < Titles.size())
      DrawTitle(Titles[size_t(i)], l + 10, t + ph + 24, rr, b, selected);
  }
  fl_pop_clip();
}

// Broken into lines at word boundaries, each centred, on an opaque
// background: the brush fills behind each line's text.
void TKXThumbnail2::DrawTitle(const std::string& text, int l, int t, int r, int b, bool selected) {
  if (text.empty() || r <= l || b <= t) return;
  TFontDesc font = Font;
  if (selected) font.Color = HighlightText();
  const TPixel brush = selected ? Highlight() : Color;
  fl_push_clip(l, t, r - l, b - t);
  fl_font(FlFont(font), FlFontSize(font));
  const int lineHeight = fl_height(), descent = fl_descent();
  int y = t;
  for (const std::string& line : WrapText(text, r - l)) {
    if (y >= b) break;
    const int width = int(fl_width(line.c_str()));
    const int x = l + (r - l - width) / 2;
    fl_color(FlColor(brush));
    fl_rectf(x, y, width, lineHeight);
    SetFlFont(font);
    DrawFontText(font, line, x, y + lineHeight - descent);
    y += lineHeight;
  }
  fl_pop_clip();
}

// A picture that could not be made into a thumbnail: its name, in the
// grid's font, broken into lines and centred inside the frame.
void TKXThumbnail2::DrawPlaceholder(const std::string& name, int l, int t, int r, int b) {
  if (name.empty() || r <= l || b <= t) return;
  fl_push_clip(l, t, r - l, b - t);
  SetFlFont(Font);
  const std::vector<std::string> lines = WrapText(name, r - l);
  const int lineHeight = fl_height(), descent = fl_descent();
  int y = t + std::max(0, (b - t - lineHeight * int(lines.size())) / 2);
  for (const std::string& line : lines) {
    if (y >= b) break;
    const int x = l + (r - l - int(fl_width(line.c_str()))) / 2;
    DrawFontText(Font, line, x, y + lineHeight - descent);
    y += lineHeight;
  }
  fl_pop_clip();
}

// ---------------------------------------------------------------- events

int TKXThumbnail2::handle(int event) {
  switch (event) {
    case FL_PUSH: {
      if (m_bar->visible() && Fl::event_inside(m_bar)) return Fl_Group::handle(event);
      if (Fl::focus() != this) Fl::focus(this);
      if (Fl::event_button() != FL_LEFT_MOUSE) return 1;
      const int ex = Fl::event_x(), ey = Fl::event_y();
      if (m_showCheckBox) {
        // The cursor at the press point decides, as if the pointer had moved there.
        const int i = CheckBoxAt(ex, ey);
        if (Fl_Window* win = window()) win->cursor(FlCursor(i >= 0 ? TCursorKind::HandPoint : TCursorKind::Arrow));
        if (i >= 0) SetCheckState(i, !CheckState(i));
      }
      int c, r;
      if (CellAt(ex, ey, c, r)) {
        m_selecting = true;
        MoveTo(c, r);
      }
      return 1;
    }
    case FL_DRAG: {
      if (!m_selecting) return 1;
      int c, r;
      if (CellAt(Fl::event_x(), Fl::event_y(), c, r) && (c != m_col || r != m_row)) MoveTo(c, r);
      return 1;
    }
    case FL_RELEASE:
      m_selecting = false;
      return 1;
    case FL_ENTER:
    case FL_MOVE:
      if (m_showCheckBox)
        if (Fl_Window* win = window()) win->cursor(FlCursor(CursorAt(Fl::event_x(), Fl::event_y())));
      Fl_Group::handle(event);
      return 1;
    case FL_LEAVE:
      if (m_showCheckBox)
        if (Fl_Window* win = window()) win->cursor(FL_CURSOR_DEFAULT);
      return Fl_Group::handle(event);
    case FL_FOCUS:
    case FL_UNFOCUS:
      return 1;
    case FL_MOUSEWHEEL: {
      const int d = Fl::event_dy() ? Fl::event_dy() : Fl::event_dx();
      if (m_multiRows) m_topRow += d;
      else m_leftCol += d;
      ClampScroll();
      redraw();
      return 1;
    }
    case FL_KEYBOARD: {
      const bool ctrl = Fl::event_state(FL_CTRL) != 0;
      int c = m_col, r = m_row;
      switch (Fl::event_key()) {
        case FL_Left: --c; break;
        case FL_Right: ++c; break;
        case FL_Up: --r; break;
        case FL_Down: ++r; break;
        case FL_Home:
          c = 0;
          if (ctrl) r = 0;
          break;
        case FL_End:
          c = m_colCount - 1;
          if (ctrl) r = m_rowCount - 1;
          break;
        case FL_Page_Up: r -= FullyVisibleRows(); break;
        case FL_Page_Down: r += FullyVisibleRows(); break;
        default: return 0;
      }
      c = std::clamp(c, 0, m_colCount - 1);
      r = std::clamp(r, 0, m_rowCount - 1);
      if (c != m_col || r != m_row) MoveTo(c, r);
      return 1;
    }
    default:
      return Fl_Group::handle(event);
  }
}

// ---------------------------------------------------------------- thumbnails

TThumbnailView TKXThumbnail2::VisibleCells() const {
  int cx, cy, cw, ch;
  ClientRect(cx, cy, cw, ch);
  // Partly shown cells count: they are drawn.
  if (m_multiRows) {
    const int64_t rows = std::max(1, (ch + m_rowHeight - 1) / m_rowHeight);
    return {size_t(m_topRow) * size_t(m_colCount), size_t(rows) * size_t(m_colCount)};
  }
  return {size_t(m_leftCol), size_t(std::max(1, (cw + m_colWidth - 1) / m_colWidth))};
}

size_t TKXThumbnail2::HeldCap() const {
  const int64_t bytes = std::max<int64_t>(1, int64_t(m_pictureWidth) * m_pictureHeight * 4);
  const size_t byBytes = size_t(std::max<int64_t>(1, kHeldThumbnailBytes / bytes));
  return std::max(std::min(kMaxHeldThumbnails, byBytes), 2 * VisibleCells().Count);
}

size_t TKXThumbnail2::HeldThumbnails() const {
  return size_t(std::count_if(m_thumbs.begin(), m_thumbs.end(), [](const TBitmap32& b) { return !b.Empty(); }));
}

void TKXThumbnail2::LoadThumbnails() {
  StopWorker();
  m_lazy = false;
  if (!m_hasPictures) return;
  const size_t n = m_pictures.size();
  m_thumbs.assign(n, TBitmap32());
  m_failed.assign(n, false);
  Titles.assign(n, std::string());
  redraw();
  if (n > kThreadedLoadThreshold) {
    m_lazy = true;
    m_plan = TThumbnailPlan(n, HeldCap());
    m_seen.assign(n, false);
    m_loader.Start(m_pictures, m_pictureWidth, m_pictureHeight, [this] { PickUpThumbnails(); });
    RequestView(true);
    return;
  }
  std::string firstError;
  for (size_t i = 0; i < n; ++i) {
    TThumbnail r = LoadThumbnailOrPlaceholder(m_pictures[i], m_pictureWidth, m_pictureHeight);
    m_thumbs[i] = std::move(r.Bitmap);
    Titles[i] = std::move(r.Title);
    m_failed[i] = !r.Dropped.empty();
    if (!r.HeaderError.empty()) ShowMessageBox(r.HeaderError, TMessageKind::Error);
    if (firstError.empty()) firstError = std::move(r.Dropped);
  }
  if (!firstError.empty()) throw std::runtime_error(firstError);
}

void TKXThumbnail2::RequestView(bool force) {
  if (!m_lazy) return;
  const TThumbnailView view = VisibleCells();
  if (!force && view == m_view) return;
  m_view = view;
  for (size_t i : m_plan.Trim(view)) m_thumbs[i] = TBitmap32();
  m_loader.Request(m_plan.Wanted(view));
}

bool TKXThumbnail2::Loading() const { return m_loader.Loading(); }

void TKXThumbnail2::WaitForThumbnails() {
  RequestView(false);
  m_loader.Wait();
  PickUpThumbnails();
}

void TKXThumbnail2::PickUpThumbnails() {
  bool any = false;
  m_loader.Take([&](size_t i, TThumbnail& r) {
    any = true;
    if (i >= m_thumbs.size()) return;
    m_thumbs[i] = std::move(r.Bitmap);
    Titles[i] = std::move(r.Title);
    m_failed[i] = !r.Dropped.empty();
    if (m_lazy) m_plan.Hold(i);
    // A picture decoded again after it was dropped has told its error already.
    if (i < m_seen.size() && m_seen[i]) return;
    if (i < m_seen.size()) m_seen[i] = true;
    if (!r.HeaderError.empty()) m_pendingReports.push_back(std::move(r.HeaderError));
    if (!r.Dropped.empty() && Errors) Errors->Report("thumbnail", r.Dropped);
  });
  if (m_lazy)
    for (size_t i : m_plan.Trim(m_view)) m_thumbs[i] = TBitmap32();
  if (any) redraw();
  ReportHeaderErrors();
}

// Boxes run a modal loop, in which further pick-ups may arrive: they queue
// their messages for the loop already showing them.
void TKXThumbnail2::ReportHeaderErrors() {
  if (m_reporting) return;
  m_reporting = true;
  while (!m_pendingReports.empty()) {
    const std::string text = std::move(m_pendingReports.front());
    m_pendingReports.erase(m_pendingReports.begin());
    try {
      ShowMessageBox(text, TMessageKind::Error);
    } catch (...) {
    }
  }
  m_reporting = false;
}

void TKXThumbnail2::StopWorker() { m_loader.Stop(); }

}  // namespace kx
