// The saver display on SDL2: a borderless window over the whole screen for the
// plain path, SDL's full-screen mode for the exclusive path. Frames are
// composed on the CPU, so they go to the window's own surface (shared-memory
// XPutImage on X11) instead of through a texture: without a GPU, as in a
// virtual machine or a remote desktop, the texture path costs most of a core.
// Only the parts of a frame that differ from what the window shows are drawn
// and sent; a frame identical to it is not presented at all, unless the
// window needs a repaint.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "devices/uDisplay.h"
#include "devices/uFrameStats.h"

struct SDL_Window;

namespace kx {

class TSdlDisplay final : public ISaverDisplay {
 public:
  // SDL's video starts with the first window, so a show that opens none (a
  // project without pictures) needs no display; opening the plain window
  // throws TDisplayUnavailable when there is none.
  //
  // monitors: the screen's monitors in global coordinates, the primary
  // first; empty means SDL's displays, its first as the primary. The show's screen is the
  // primary monitor; every other monitor gets a window of its own showing
  // the same frame fitted to its size (kept in proportion, centred), so no
  // monitor stays black. All windows are presented with each frame. The
  // screen's size is the primary's working size (devices/uWorkingSize.h):
  // a larger monitor shows the frames scaled up. When the primary's window
  // changes its size, the screen follows it.
  explicit TSdlDisplay(std::vector<TRect> monitors = {});
  ~TSdlDisplay() override;
  TSdlDisplay(const TSdlDisplay&) = delete;
  TSdlDisplay& operator=(const TSdlDisplay&) = delete;

  int32_t ScreenWidth() const override { return m_width; }
  int32_t ScreenHeight() const override { return m_height; }
  bool StartExclusive() override;
  void StartPlain() override;
  bool Exclusive() const override { return m_exclusive; }
  void Draw(const TBitmap32& frame, int32_t x, int32_t y, TFrameChange change) override;
  void Clear() override;
  const TBitmap32& Content() const override { return m_content; }
  void PumpEvents(std::vector<TInputEvent>& input) override;
  void WaitEvents(uint32_t ms) override;
  void SetCursorVisible(bool visible) override;
  void SetTitle(const std::string& title) override;
  void Close() override;

 private:
  // One window on one monitor.
  struct TSurface {
    TRect Bounds{};
    SDL_Window* Window = nullptr;
  };

  void StartVideo();
  bool OpenWindow(bool exclusive);
  bool OpenSurface(TSurface& surface, bool fullScreen);
  void Upload(const TBitmap32& bitmap, const std::vector<TRect>* changed);
  void Present(TSurface& surface, const TBitmap32& bitmap, bool primary, const std::vector<TRect>* changed);
  bool Open() const { return !m_surfaces.empty(); }
  // A position in a window of ours, on the desktop.
  TPoint OnDesktop(uint32_t windowId, int32_t x, int32_t y) const;
  void FollowSize(uint32_t windowId, int32_t width, int32_t height);

  std::vector<TRect> m_monitors;
  int32_t m_width = 0, m_height = 0;
  bool m_videoStarted = false;
  bool m_wayland = false;  // on SDL's Wayland driver
  bool m_exclusive = false;
  bool m_needsRepaint = true;
  std::vector<TSurface> m_surfaces;  // the primary monitor's first
  TBitmap32 m_content;
  TFrameStats m_stats;
};

}  // namespace kx
