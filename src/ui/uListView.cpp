#include "ui/uListView.h"

#include <FL/Fl_Box.H>
#include <FL/fl_draw.H>

namespace kx {

TListView::TRows::TRows(int x, int y, int w, int h) : Fl_Hold_Browser(x, y, w, h) {
  box(FL_FLAT_BOX);
  color(FL_WHITE);
  // Texts are shown as they are: no "@" formatting, no columns.
  format_char(0);
  column_char(0);
}

int TListView::TRows::item_height(void* item) const { return Fl_Hold_Browser::item_height(item) + 1; }

void TListView::TRows::item_draw(void* item, int x, int y, int w, int h) const {
  Fl_Hold_Browser::item_draw(item, x, y, w, h - 1);
  fl_color(FL_LIGHT1);
  fl_xyline(this->x(), y + h - 1, this->x() + this->w() - 1);
}

TListView::TListView(int x, int y, int w, int h, const char* column) : Fl_Group(x, y, w, h) {
  box(FL_DOWN_BOX);
  color(FL_WHITE);
  constexpr int kHeaderH = 18;
  auto* header = new Fl_Box(x + 2, y + 2, w - 4, kHeaderH, column);
  header->box(FL_THIN_UP_BOX);
  header->align(FL_ALIGN_LEFT | FL_ALIGN_INSIDE);
  m_rows = new TRows(x + 2, y + 2 + kHeaderH, w - 4, h - 4 - kHeaderH);
  resizable(m_rows);
  end();
}

std::vector<std::string> TListView::Rows() const {
  std::vector<std::string> rows;
  rows.reserve(size_t(m_rows->size()));
  for (int i = 1; i <= m_rows->size(); ++i) rows.emplace_back(m_rows->text(i) ? m_rows->text(i) : "");
  return rows;
}

void TListView::AddRow(const std::string& text) { m_rows->add(text.c_str()); }

void TListView::DeleteRow(int row) {
  if (row >= 0 && row < m_rows->size()) m_rows->remove(row + 1);
}

int TListView::Selected() const { return m_rows->value() - 1; }

void TListView::Select(int row) { m_rows->value(row >= 0 && row < m_rows->size() ? row + 1 : 0); }

int TListView::Count() const { return m_rows->size(); }

}  // namespace kx
