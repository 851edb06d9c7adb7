#include "devices/uFrameStats.h"

#include <cstdlib>

#include "os/uFileAccess.h"

namespace kx {

TFrameStats::TFrameStats() {
  const char* path = std::getenv("KX_FRAME_STATS");
  if (!path || !*path) return;
  m_file = OpenAppendFile(path).release();
  m_start = m_lastLine = TClock::now();
}

TFrameStats::~TFrameStats() {
  if (m_file) std::fclose(m_file);
}

void TFrameStats::Given() {
  if (!m_file) return;
  ++m_given;
  WriteLine();
}

void TFrameStats::Presented(const TRect& whole, const std::vector<TRect>* changed) {
  if (!m_file) return;
  ++m_frames;
  if (changed)
    for (const TRect& r : *changed) m_pixels += uint64_t(r.Area());
  else
    m_pixels += uint64_t(whole.Area());
  WriteLine();
}

void TFrameStats::WriteLine() {
  const TClock::time_point now = TClock::now();
  if (m_written && now - m_lastLine < std::chrono::seconds(1)) return;
  m_written = true;
  m_lastLine = now;
  std::fprintf(m_file, "%.3f %llu %llu %llu\n", std::chrono::duration<double>(now - m_start).count(),
               static_cast<unsigned long long>(m_given), static_cast<unsigned long long>(m_frames),
               static_cast<unsigned long long>(m_pixels));
  std::fflush(m_file);
}

}  // namespace kx
