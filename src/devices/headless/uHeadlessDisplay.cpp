#include "devices/headless/uHeadlessDisplay.h"

#include <algorithm>

namespace kx {

THeadlessDisplay::THeadlessDisplay(TVirtualClock& clock, int32_t width, int32_t height, uint32_t frameCostMs)
    : m_clock(clock), m_width(width), m_height(height), m_frameCost(frameCostMs) {}

bool THeadlessDisplay::StartExclusive() {
  if (!m_exclusiveAvailable) return false;
  m_exclusive = m_open = true;
  m_content.SetSize(m_width, m_height, MakePixel(0, 0, 0));
  return true;
}

void THeadlessDisplay::StartPlain() {
  m_exclusive = false;
  m_open = true;
  m_content.SetSize(m_width, m_height, MakePixel(0, 0, 0));
}

void THeadlessDisplay::Draw(const TBitmap32& frame, int32_t x, int32_t y, TFrameChange) {
  if (m_exclusive) m_content = frame;
  else m_content.Draw(x, y, frame);
  Present();
}

void THeadlessDisplay::Clear() {
  m_content.Fill(MakePixel(0, 0, 0));
  Present();
}

void THeadlessDisplay::Present() {
  ++m_presented;
  m_clock.Advance(m_frameCost);
  if (m_onPresent) m_onPresent(Screen());
}

TBitmap32 THeadlessDisplay::Screen() const {
  if (!m_exclusive || m_content.Empty() ||
      (m_content.Width() == m_width && m_content.Height() == m_height))
    return m_content;
  // The back surface is stretched over the screen, nearest pixel.
  TBitmap32 screen(m_width, m_height);
  for (int32_t y = 0; y < m_height; ++y) {
    const TPixel* src = m_content.Row(int32_t(int64_t(y) * m_content.Height() / m_height));
    TPixel* dst = screen.Row(y);
    for (int32_t x = 0; x < m_width; ++x) dst[x] = src[int64_t(x) * m_content.Width() / m_width];
  }
  return screen;
}

void THeadlessDisplay::Script(TScriptedInput input) {
  const auto at = std::upper_bound(m_script.begin(), m_script.end(), input.Tick,
                                   [](uint32_t tick, const TScriptedInput& s) { return tick < s.Tick; });
  m_script.insert(at, input);
}

void THeadlessDisplay::ScriptResize(uint32_t tick, int32_t width, int32_t height) {
  const auto at = std::upper_bound(m_resizes.begin(), m_resizes.end(), tick,
                                   [](uint32_t t, const TResize& r) { return t < r.Tick; });
  m_resizes.insert(at, {tick, width, height});
}

void THeadlessDisplay::WaitEvents(uint32_t ms) {
  const auto wakeAt = [&](uint32_t tick) {
    ms = std::min(ms, uint32_t(std::max(int32_t(tick - m_clock.Tick()), 0)));
  };
  if (!m_script.empty()) wakeAt(m_script.front().Tick);
  if (!m_resizes.empty()) wakeAt(m_resizes.front().Tick);
  if (m_music)
    if (const std::optional<uint32_t> end = m_music->EndTick()) wakeAt(*end);
  m_clock.Advance(ms);
}

void THeadlessDisplay::PumpEvents(std::vector<TInputEvent>& input) {
  ++m_pumps;
  while (!m_resizes.empty() && int32_t(m_clock.Tick() - m_resizes.front().Tick) >= 0) {
    m_width = m_resizes.front().Width;
    m_height = m_resizes.front().Height;
    m_resizes.pop_front();
    if (m_open && !m_exclusive) m_content.SetSize(m_width, m_height, MakePixel(0, 0, 0));
  }
  while (!m_script.empty() && int32_t(m_clock.Tick() - m_script.front().Tick) >= 0) {
    input.push_back(m_script.front().Event);
    m_script.pop_front();
  }
}

}  // namespace kx
