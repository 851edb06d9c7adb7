#include "ui/uUpDown.h"

#include <FL/Fl_Repeat_Button.H>

#include <algorithm>
#include <cstdint>
#include <optional>
#include <string>

#include "package/uIniFile.h"

namespace kx {

TUpDown::TUpDown(int x, int y, int w, int h, Fl_Input& buddy, int min, int max)
    : Fl_Group(x, y, w, h), m_buddy(buddy), m_min(min), m_max(max), m_position(min) {
  auto* up = new Fl_Repeat_Button(x, y, w, h / 2, "@-18>");
  auto* down = new Fl_Repeat_Button(x, y + h / 2, w, h - h / 2, "@-12>");
  up->callback([](Fl_Widget* b, void*) { static_cast<TUpDown*>(b->parent())->Step(1); });
  down->callback([](Fl_Widget* b, void*) { static_cast<TUpDown*>(b->parent())->Step(-1); });
  up->labelsize(7);
  down->labelsize(7);
  end();
}

void TUpDown::SetPosition(int position) {
  m_position = std::clamp(position, m_min, m_max);
  m_buddy.value(std::to_string(m_position).c_str());
}

void TUpDown::Step(int delta) {
  const std::optional<int32_t> typed = ParseInteger(m_buddy.value() ? m_buddy.value() : "");
  const int from = typed ? std::clamp<int>(*typed, m_min, m_max) : m_position;
  SetPosition(from + delta);
}

}  // namespace kx
