// The multi-line text box of window definitions. Its content is lines of
// text; Text gives them as one string, each line followed by CR LF, and
// takes a string apart at CR LF, CR or LF.
//
// It is an Fl_Text_Editor: that widget has word wrap at the box's width and
// scroll bars, which a memo of licence or description text needs; FLTK's
// multi-line input has neither. A read-only memo still lets the text be
// selected and copied. Alignment is accepted and kept; the text is drawn
// from the left.
#pragma once

#include <FL/Fl_Text_Buffer.H>
#include <FL/Fl_Text_Editor.H>

#include <string>
#include <string_view>
#include <vector>

#include "ui/uComponent.h"

namespace kx {

enum class TScrollStyle { NoBars, Horizontal, Vertical, Both };
enum class TMemoAlignment { LeftJustify, RightJustify, Center };

namespace detail {
// The memo's text, made before the editor that shows it and freed after.
struct TMemoBufferHolder {
  Fl_Text_Buffer Buffer;
};
}  // namespace detail

class TMyMemo : private detail::TMemoBufferHolder, public Fl_Text_Editor, public TComponent {
 public:
  TMyMemo();
  Fl_Widget* Widget() override { return this; }
  bool SetProperty(std::string_view name, const TFormValue& value) override;
  void Loaded() override;
  int handle(int event) override;

  std::string Text() const;
  void SetText(std::string_view text);
  std::vector<std::string> Lines() const;
  void SetLines(const std::vector<std::string>& lines);

  bool ReadOnly() const { return m_readOnly; }
  void SetReadOnly(bool v);
  bool WordWrap() const { return m_wordWrap; }
  void SetWordWrap(bool v);
  TScrollStyle ScrollBars() const { return m_scrollBars; }
  void SetScrollBars(TScrollStyle v);
  TMemoAlignment Alignment = TMemoAlignment::LeftJustify;
  // Characters the user may type in all; 0 for no limit. Text set by the
  // program is not cut.
  int32_t MaxLength = 0;

 private:
  int Room() const;  // characters that may still be typed over the selection

  bool m_readOnly = false;
  bool m_wordWrap = true;
  TScrollStyle m_scrollBars = TScrollStyle::NoBars;
};

}  // namespace kx
