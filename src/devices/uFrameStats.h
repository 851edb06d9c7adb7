// Counts the frames a display is given, those it sends (a frame that matches
// what is shown is not sent) and the pixels it sends, for measuring the whole
// program from outside: when the environment variable KX_FRAME_STATS names a
// file, a line "<seconds> <frames given> <frames sent> <pixels sent>"
// (totals since the display opened) is appended to it for the first frame
// and then at most once a second: a show whose picture stands still after its
// first frame still tells it has started.
// Without the variable nothing is counted or written.
#pragma once

#include <chrono>
#include <cstdint>
#include <cstdio>
#include <vector>

#include "raster/uGeometry.h"

namespace kx {

class TFrameStats {
 public:
  TFrameStats();
  ~TFrameStats();
  TFrameStats(const TFrameStats&) = delete;
  TFrameStats& operator=(const TFrameStats&) = delete;

  // A frame was given to the display.
  void Given();
  // A frame was sent: all of `whole`, or only the `changed` parts of it.
  void Presented(const TRect& whole, const std::vector<TRect>* changed);

 private:
  using TClock = std::chrono::steady_clock;
  std::FILE* m_file = nullptr;
  TClock::time_point m_start, m_lastLine;
  bool m_written = false;
  void WriteLine();

  uint64_t m_given = 0, m_frames = 0, m_pixels = 0;
};

}  // namespace kx
