#include "devices/x11/uX11HostDisplay.h"

namespace kx {

TX11HostDisplay::TX11HostDisplay(uint64_t id) : m_window(id), m_size(m_window.Size()) {}

void TX11HostDisplay::StartPlain() {
  m_content.SetSize(m_size.X, m_size.Y, MakePixel(0, 0, 0));
  m_window.Paint(m_content, 0, 0);
}

void TX11HostDisplay::Draw(const TBitmap32& frame, int32_t x, int32_t y, TFrameChange) {
  m_content.Draw(x, y, frame);
  m_window.Paint(frame, x, y);
}

void TX11HostDisplay::Clear() {
  m_content.Fill(MakePixel(0, 0, 0));
  m_window.Paint(m_content, 0, 0);
}

void TX11HostDisplay::PumpEvents(std::vector<TInputEvent>& input) {
  bool destroyed = false;
  if (m_window.ProcessEvents(destroyed)) {
    // The next picture is fitted to the new size; until then the frame keeps its place.
    m_size = m_window.Size();
    TBitmap32 resized(m_size.X, m_size.Y, MakePixel(0, 0, 0));
    resized.Draw(0, 0, m_content);
    m_content = std::move(resized);
    m_window.Paint(m_content, 0, 0);
  }
  if (destroyed && !m_gone) {
    m_gone = true;
    input.push_back({TInputKind::KeyPress, 0, 0, 27});  // nothing left to show in: end
  }
}

}  // namespace kx
