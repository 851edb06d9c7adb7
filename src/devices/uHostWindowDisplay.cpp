#include "devices/uHostWindowDisplay.h"

#include <algorithm>

#include "devices/uWorkingSize.h"
#include "raster/uDirtyRects.h"
#include "raster/uScaleDraw.h"

namespace kx {
namespace {

const TPixel kBlack = MakePixel(0, 0, 0);
// Scaled painting goes through a buffer of about this many pixels at a time.
constexpr int64_t kBandPixels = int64_t(1) << 20;

// w x h fitted into r in proportion, centred.
TRect FitInto(int32_t w, int32_t h, const TRect& r) {
  const bool wider = int64_t(w) * r.Height() > int64_t(h) * r.Width();
  const int32_t fw = int32_t(wider ? r.Width() : int64_t(w) * r.Height() / h);
  const int32_t fh = int32_t(wider ? int64_t(h) * r.Width() / w : r.Height());
  const int32_t left = r.Left + (r.Width() - fw) / 2, top = r.Top + (r.Height() - fh) / 2;
  return {left, top, left + fw, top + fh};
}

// The parts of `whole` that none of `covered` reaches, in bands of rows.
std::vector<TRect> Uncovered(const TRect& whole, const std::vector<TRect>& covered) {
  std::vector<int32_t> ys{whole.Top, whole.Bottom};
  for (const TRect& r : covered) ys.insert(ys.end(), {std::clamp(r.Top, whole.Top, whole.Bottom),
                                                      std::clamp(r.Bottom, whole.Top, whole.Bottom)});
  std::sort(ys.begin(), ys.end());
  ys.erase(std::unique(ys.begin(), ys.end()), ys.end());
  std::vector<TRect> out;
  for (size_t i = 0; i + 1 < ys.size(); ++i) {
    const int32_t top = ys[i], bottom = ys[i + 1];
    std::vector<std::pair<int32_t, int32_t>> spans;
    for (const TRect& r : covered)
      if (r.Top <= top && r.Bottom >= bottom && r.Left < r.Right) spans.push_back({r.Left, r.Right});
    std::sort(spans.begin(), spans.end());
    int32_t x = whole.Left;
    for (const auto& [left, right] : spans) {
      if (left > x) out.push_back({x, top, std::min(left, whole.Right), bottom});
      x = std::max(x, right);
    }
    if (x < whole.Right) out.push_back({x, top, whole.Right, bottom});
  }
  std::erase_if(out, [](const TRect& r) { return r.Empty(); });
  return out;
}

}  // namespace

THostWindowDisplay::THostWindowDisplay(std::unique_ptr<IHostWindow> window, TMonitorList monitors)
    : m_window(std::move(window)), m_listMonitors(std::move(monitors)) {
  Layout();
}

void THostWindowDisplay::Layout() {
  const TPoint window = m_window->Size();
  const TRect whole{0, 0, window.X, window.Y};
  std::vector<TRect> monitors;
  if (m_listMonitors)
    for (const TRect& m : m_listMonitors()) {
      const TRect r = m.Intersect(whole);
      if (!r.Empty()) monitors.push_back(r);
    }
  if (monitors.empty()) monitors.push_back(whole);
  m_size = WorkingSize({monitors[0].Width(), monitors[0].Height()});
  m_targets.clear();
  if (m_size.X <= 0 || m_size.Y <= 0) return;
  m_targets.push_back(monitors[0]);
  for (size_t i = 1; i < monitors.size(); ++i) m_targets.push_back(FitInto(m_size.X, m_size.Y, monitors[i]));
}

void THostWindowDisplay::StartPlain() {
  m_content.SetSize(m_size.X, m_size.Y, kBlack);
  PaintAll();
}

// Only what differs from the window's content is painted, unless the whole
// frame is asked for.
void THostWindowDisplay::Draw(const TBitmap32& frame, int32_t x, int32_t y, TFrameChange change) {
  m_stats.Given();
  if (change == TFrameChange::Whole) {
    m_content.Draw(x, y, frame);
    const std::vector<TRect> drawn{frame.BoundsRect().Offset(x, y).Intersect(m_content.BoundsRect())};
    PaintContent(&drawn);
    m_stats.Presented(drawn[0], nullptr);
    return;
  }
  const std::vector<TRect> changed = ChangedRects(m_content, frame, x, y);
  if (changed.empty()) return;
  CopyRects(m_content, frame, x, y, changed);
  PaintContent(&changed);
  m_stats.Presented(m_content.BoundsRect(), &changed);
}

void THostWindowDisplay::Clear() {
  m_content.Fill(kBlack);
  PaintContent(nullptr);
}

void THostWindowDisplay::PaintAll() {
  const TPoint window = m_window->Size();
  for (const TRect& r : Uncovered({0, 0, window.X, window.Y}, m_targets)) {
    const int32_t rows = int32_t(std::clamp<int64_t>(kBandPixels / r.Width(), 1, r.Height()));
    const TBitmap32 black(r.Width(), rows, kBlack);
    const std::vector<TRect> only{r};
    for (int32_t top = r.Top; top < r.Bottom; top += rows) m_window->Paint(black, r.Left, top, &only);
  }
  PaintContent(nullptr);
}

void THostWindowDisplay::PaintContent(const std::vector<TRect>* changed) {
  if (m_content.Empty()) return;
  for (const TRect& to : m_targets) {
    if (to.Width() == m_content.Width() && to.Height() == m_content.Height()) {
      if (!changed) {
        m_window->Paint(m_content, to.Left, to.Top);
      } else {
        std::vector<TRect> parts;
        for (const TRect& r : *changed) parts.push_back(r.Offset(to.Left, to.Top));
        m_window->Paint(m_content, to.Left, to.Top, &parts);
      }
    } else {
      PaintScaled(to, changed);
    }
  }
}

void THostWindowDisplay::PaintScaled(const TRect& to, const std::vector<TRect>* changed) {
  std::vector<TRect> covers;
  if (changed)
    for (const TRect& r : *changed) {
      const TRect c = ScaledCover(r, m_content.Width(), m_content.Height(), to);
      if (!c.Empty()) covers.push_back(c);
    }
  if (changed && covers.empty()) return;
  const int32_t rows = int32_t(std::clamp<int64_t>(kBandPixels / std::max(1, to.Width()), 1, to.Height()));
  TBitmap32 band(to.Width(), rows);
  for (int32_t top = to.Top; top < to.Bottom; top += rows) {
    const int32_t h = std::min(rows, to.Bottom - top);
    const TRect bandRect{to.Left, top, to.Right, top + h};
    std::vector<TRect> parts, local;
    for (const TRect& c : covers) {
      const TRect p = c.Intersect(bandRect);
      if (p.Empty()) continue;
      parts.push_back(p);
      local.push_back(p.Offset(-to.Left, -top));
    }
    if (changed && parts.empty()) continue;
    if (band.Height() != h) band.SetSize(to.Width(), h);
    const TRect into{0, to.Top - top, to.Width(), to.Bottom - top};
    DrawScaled(m_content, band.Bits(), band.Width(), band.Height(), band.StrideBytes(), into,
               changed ? &local : nullptr);
    m_window->Paint(band, to.Left, top, changed ? &parts : nullptr);
  }
}

void THostWindowDisplay::PumpEvents(std::vector<TInputEvent>& input) {
  const TWindowEvents events = m_window->ProcessEvents();
  if (events.Resized) {
    // The window is black at its new size; the show fits its picture to the
    // new working size and presents it whole.
    Layout();
    if (!m_content.Empty()) m_content.SetSize(m_size.X, m_size.Y, kBlack);
    PaintAll();
  } else if (events.Exposed) {
    PaintAll();
  }
  if (events.Destroyed && !m_gone) {
    m_gone = true;
    input.push_back({TInputKind::KeyPress, 0, 0, 27});  // nothing left to show in: end
  }
}

void THostWindowDisplay::WaitEvents(uint32_t ms) { m_window->WaitEvents(ms); }

}  // namespace kx
