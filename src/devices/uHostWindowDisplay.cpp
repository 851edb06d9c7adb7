#include "devices/uHostWindowDisplay.h"

#include "raster/uDirtyRects.h"

namespace kx {

THostWindowDisplay::THostWindowDisplay(std::unique_ptr<IHostWindow> window)
    : m_window(std::move(window)), m_size(m_window->Size()) {}

void THostWindowDisplay::StartPlain() {
  m_content.SetSize(m_size.X, m_size.Y, MakePixel(0, 0, 0));
  m_window->Paint(m_content, 0, 0);
}

// Only what differs from the window's content is painted, unless the whole
// frame is asked for.
void THostWindowDisplay::Draw(const TBitmap32& frame, int32_t x, int32_t y, TFrameChange change) {
  m_stats.Given();
  if (change == TFrameChange::Whole) {
    m_content.Draw(x, y, frame);
    m_window->Paint(frame, x, y);
    m_stats.Presented(frame.BoundsRect().Offset(x, y).Intersect(m_content.BoundsRect()), nullptr);
    return;
  }
  const std::vector<TRect> changed = ChangedRects(m_content, frame, x, y);
  if (changed.empty()) return;
  CopyRects(m_content, frame, x, y, changed);
  m_window->Paint(frame, x, y, &changed);
  m_stats.Presented(m_content.BoundsRect(), &changed);
}

void THostWindowDisplay::Clear() {
  m_content.Fill(MakePixel(0, 0, 0));
  m_window->Paint(m_content, 0, 0);
}

void THostWindowDisplay::PumpEvents(std::vector<TInputEvent>& input) {
  const TWindowEvents events = m_window->ProcessEvents();
  if (events.Resized) {
    // The next picture is fitted to the new size; until then the frame keeps its place.
    m_size = m_window->Size();
    TBitmap32 resized(m_size.X, m_size.Y, MakePixel(0, 0, 0));
    resized.Draw(0, 0, m_content);
    m_content = std::move(resized);
  }
  if (events.Resized || events.Exposed) m_window->Paint(m_content, 0, 0);
  if (events.Destroyed && !m_gone) {
    m_gone = true;
    input.push_back({TInputKind::KeyPress, 0, 0, 27});  // nothing left to show in: end
  }
}

void THostWindowDisplay::WaitEvents(uint32_t ms) { m_window->WaitEvents(ms); }

}  // namespace kx
