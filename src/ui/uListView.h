// A one-column list of texts with a header, whole-row selection and grid
// lines; the texts are shown as they are (no formatting characters).
#pragma once

#include <FL/Fl_Group.H>
#include <FL/Fl_Hold_Browser.H>

#include <string>
#include <vector>

namespace kx {

class TListView : public Fl_Group {
 public:
  // column: the header's caption.
  TListView(int x, int y, int w, int h, const char* column);
  std::vector<std::string> Rows() const;
  void AddRow(const std::string& text);
  void DeleteRow(int row);  // 0-based; nothing for a row that is not there
  int Selected() const;     // 0-based, -1 for none
  void Select(int row);
  int Count() const;

 private:
  class TRows : public Fl_Hold_Browser {
   public:
    TRows(int x, int y, int w, int h);

   protected:
    int item_height(void* item) const override;
    void item_draw(void* item, int x, int y, int w, int h) const override;
  };
  TRows* m_rows;  // a child of the group
};

}  // namespace kx
