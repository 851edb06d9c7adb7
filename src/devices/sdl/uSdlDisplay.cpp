#include "devices/sdl/uSdlDisplay.h"

#include "devices/sdl/uSdlKeys.h"
#include "devices/uWindowSystem.h"
#include "devices/uWorkingSize.h"
#include "raster/uDirtyRects.h"
#include "raster/uScaleDraw.h"

#include <SDL.h>

#include <algorithm>
#include <cstring>
#include <stdexcept>
#include <string>
#include <utility>

namespace kx {
namespace {

const TPixel kBlack = MakePixel(0, 0, 0);
const char* const kNoSeat = "the Wayland compositor has no input seat (no keyboard, no pointer)";

// The window systems a show can be seen on. SDL falls back to stand-ins
// (an off-screen or dummy driver) when there is none: a show there would run
// unseen and never end.
bool RealVideoDriver(const char* name) {
  if (!name) return false;
  const std::string driver = name;
  return driver == "x11" || driver == "wayland" || driver == "windows";
}

// SDL 2's Wayland driver takes the compositor's input seat for granted: on
// one without a seat (Weston's headless backend offers none) it reads
// through a null pointer while it starts. A show there could not be ended
// by any input either. Without a driver chosen, SDL 2 tries X11 before
// Wayland, so it is kept on X11 for the start that follows, and true is
// returned (X11 may be missing too: then there is no display at all); a
// choice of Wayland meets no display.
bool KeepOffSeatlessWayland() {
  const char* chosen = SDL_GetHint(SDL_HINT_VIDEODRIVER);
  const std::string drivers = chosen ? chosen : "";
  // SDL_VIDEODRIVER names a driver, or several separated by commas; no
  // other driver's name holds Wayland's.
  if (!drivers.empty() && drivers.find("wayland") == std::string::npos) return false;
  const TWaylandSession session = ProbeWaylandSession();
  if (!session.Reachable || session.Seat) return false;
  if (!drivers.empty()) throw TDisplayUnavailable(std::string("no display: ") + kNoSeat);
  // Over the environment's SDL_VIDEODRIVER, which may be set and empty.
  SDL_SetHintWithPriority(SDL_HINT_VIDEODRIVER, "x11", SDL_HINT_OVERRIDE);
  return true;
}

}  // namespace

TSdlDisplay::TSdlDisplay(std::vector<TRect> monitors) : m_monitors(std::move(monitors)) {}

TSdlDisplay::~TSdlDisplay() {
  Close();
  if (m_videoStarted) SDL_QuitSubSystem(SDL_INIT_VIDEO);
}

void TSdlDisplay::StartVideo() {
  if (m_videoStarted) return;
  const bool keptOffWayland = KeepOffSeatlessWayland();
  const int started = SDL_InitSubSystem(SDL_INIT_VIDEO);
  // The choice served this start only; a later one asks the session anew.
  if (keptOffWayland) SDL_ResetHint(SDL_HINT_VIDEODRIVER);
  if (started != 0) {
    if (keptOffWayland) throw TDisplayUnavailable(std::string("no display: ") + kNoSeat + ", and X11 has none");
    throw TDisplayUnavailable(std::string("no display: ") + SDL_GetError());
  }
  if (!RealVideoDriver(SDL_GetCurrentVideoDriver())) {
    const std::string driver = SDL_GetCurrentVideoDriver() ? SDL_GetCurrentVideoDriver() : "none";
    SDL_QuitSubSystem(SDL_INIT_VIDEO);
    throw TDisplayUnavailable("no display: only the \"" + driver + "\" video driver is available");
  }
  m_videoStarted = true;
  // The list given is the X server's, which on Wayland is the compatibility
  // server: its coordinates need not be the compositor's. There, and
  // without a list of the window system's own, SDL's displays.
  m_wayland = std::string(SDL_GetCurrentVideoDriver()) == "wayland";
  if (m_wayland) m_monitors.clear();
  if (m_monitors.empty())
    for (int i = 0; i < SDL_GetNumVideoDisplays(); ++i) {
      SDL_Rect r{};
      if (SDL_GetDisplayBounds(i, &r) == 0 && r.w > 0 && r.h > 0) m_monitors.push_back({r.x, r.y, r.x + r.w, r.y + r.h});
    }
  if (m_monitors.empty()) throw TDisplayUnavailable(std::string("no display mode: ") + SDL_GetError());
  const TPoint size = WorkingSize({m_monitors[0].Width(), m_monitors[0].Height()});
  m_width = size.X;
  m_height = size.Y;
}

bool TSdlDisplay::OpenSurface(TSurface& surface, bool fullScreen) {
  const TRect& b = surface.Bounds;
  // A Wayland compositor places a plain window where it likes: a window
  // covers its output there only as a full-screen one, which SDL puts on
  // the output under the window's position.
  const Uint32 plain = m_wayland ? Uint32(SDL_WINDOW_FULLSCREEN_DESKTOP) : Uint32(SDL_WINDOW_BORDERLESS);
  const Uint32 flags = fullScreen ? Uint32(SDL_WINDOW_FULLSCREEN) : plain;
  surface.Window = SDL_CreateWindow(" ", b.Left, b.Top, b.Width(), b.Height(), flags | SDL_WINDOW_SHOWN);
  if (!surface.Window || !SDL_GetWindowSurface(surface.Window)) return false;
  if (flags == SDL_WINDOW_BORDERLESS) SDL_SetWindowAlwaysOnTop(surface.Window, SDL_TRUE);
  return true;
}

bool TSdlDisplay::OpenWindow(bool exclusive) {
  StartVideo();
  Close();
  // A window surface of plain memory: SDL would otherwise back it with an
  // OpenGL texture, which without a GPU is the most expensive way there is.
  // SDL's Wayland driver has no surface of plain memory: a texture is its
  // only window surface, which this choice would take away.
  SDL_SetHint(SDL_HINT_FRAMEBUFFER_ACCELERATION, m_wayland ? "1" : "0");
  for (const TRect& monitor : m_monitors) {
    TSurface& surface = m_surfaces.emplace_back();
    surface.Bounds = monitor;
    // The exclusive mode takes the primary monitor; the others get plain windows.
    if (!OpenSurface(surface, exclusive && m_surfaces.size() == 1)) {
      Close();
      return false;
    }
  }
  SDL_RaiseWindow(m_surfaces[0].Window);
  m_exclusive = exclusive;
  m_needsRepaint = true;
  m_content.SetSize(m_width, m_height, kBlack);
  Upload(m_content, nullptr);
  return true;
}

bool TSdlDisplay::StartExclusive() {
  try {
    return OpenWindow(true);
  } catch (const TDisplayUnavailable&) {
    return false;  // the plain window reports what is missing
  }
}

void TSdlDisplay::StartPlain() {
  if (!OpenWindow(false)) throw TDisplayUnavailable(std::string("cannot open the window: ") + SDL_GetError());
}

void TSdlDisplay::Draw(const TBitmap32& frame, int32_t x, int32_t y, TFrameChange change) {
  if (!Open()) return;
  m_stats.Given();
  if (m_exclusive) {
    x = y = 0;
    if (frame.Width() != m_content.Width() || frame.Height() != m_content.Height()) {
      m_content = frame;  // a back surface of another size: all of it is new
      Upload(m_content, nullptr);
      return;
    }
  }
  if (m_needsRepaint || change == TFrameChange::Whole) {
    m_content.Draw(x, y, frame);
    Upload(m_content, nullptr);
    return;
  }
  const std::vector<TRect> changed = ChangedRects(m_content, frame, x, y);
  if (changed.empty()) return;
  CopyRects(m_content, frame, x, y, changed);
  Upload(m_content, &changed);
}

void TSdlDisplay::Clear() {
  if (!Open()) return;
  m_content.Fill(kBlack);
  Upload(m_content, nullptr);
}

void TSdlDisplay::Upload(const TBitmap32& bitmap, const std::vector<TRect>* changed) {
  if (bitmap.Empty()) return;
  for (size_t i = 0; i < m_surfaces.size(); ++i) Present(m_surfaces[i], bitmap, i == 0, changed);
  m_needsRepaint = false;
  m_stats.Presented(bitmap.BoundsRect(), changed);
}

// The primary monitor shows the frame over its whole window (the exclusive
// back surface scaled up, the plain frame at its own size); another monitor
// shows it fitted in proportion and centred on black. With `changed`, only
// the parts of the window those rectangles of the bitmap reach are drawn and
// sent to the window system.
void TSdlDisplay::Present(TSurface& s, const TBitmap32& bitmap, bool primary, const std::vector<TRect>* changed) {
  SDL_Surface* window = SDL_GetWindowSurface(s.Window);  // anew each time: a resize replaces it
  if (!window) return;
  const int32_t w = window->w, h = window->h;
  TRect to{0, 0, w, h};
  if (!primary) {
    const bool wider = int64_t(bitmap.Width()) * h > int64_t(bitmap.Height()) * w;
    const int32_t fw = int32_t(wider ? w : int64_t(bitmap.Width()) * h / bitmap.Height());
    const int32_t fh = int32_t(wider ? int64_t(bitmap.Height()) * w / bitmap.Width() : h);
    to = TRect{(w - fw) / 2, (h - fh) / 2, (w - fw) / 2 + fw, (h - fh) / 2 + fh};
  }
  const bool native = window->format->BytesPerPixel == 4 && window->format->Rmask == 0xFF0000 &&
                      window->format->Gmask == 0xFF00 && window->format->Bmask == 0xFF;
  if (SDL_MUSTLOCK(window) && SDL_LockSurface(window) != 0) return;
  std::vector<TRect> covers;
  if (native && changed) {
    for (const TRect& r : *changed) {
      const TRect c = ScaledCover(r, bitmap.Width(), bitmap.Height(), to);
      if (!c.Empty()) covers.push_back(c);
    }
    DrawScaled(bitmap, static_cast<TPixel*>(window->pixels), w, h, size_t(window->pitch), to, &covers);
  } else if (native) {
    if (to != TRect{0, 0, w, h}) SDL_FillRect(window, nullptr, 0);
    DrawScaled(bitmap, static_cast<TPixel*>(window->pixels), w, h, size_t(window->pitch), to);
  } else {
    // Another pixel layout: compose in ours, then let SDL convert.
    TBitmap32 frame(w, h, kBlack);
    DrawScaled(bitmap, frame.Bits(), w, h, frame.StrideBytes(), to);
    SDL_ConvertPixels(w, h, SDL_PIXELFORMAT_ARGB8888, frame.Bits(), int(frame.StrideBytes()), window->format->format,
                      window->pixels, window->pitch);
  }
  if (SDL_MUSTLOCK(window)) SDL_UnlockSurface(window);
  if (native && changed) {
    std::vector<SDL_Rect> rects;
    for (const TRect& c : covers) rects.push_back({c.Left, c.Top, c.Width(), c.Height()});
    if (!rects.empty()) SDL_UpdateWindowSurfaceRects(s.Window, rects.data(), int(rects.size()));
  } else {
    SDL_UpdateWindowSurface(s.Window);
  }
}

// Events an application registered (SDL_USEREVENT and above) stay queued
// for the device that registered them, such as the music player's end of
// track. Mouse positions are given on the desktop, so a move from one
// monitor's window to another's is measured as the pointer went. The move
// SDL reports with a window's enter event is no move of the mouse: a window
// opened or raised under a still pointer reports one too, and a show on
// many monitors would otherwise end by itself while its windows open.
void TSdlDisplay::PumpEvents(std::vector<TInputEvent>& input) {
  SDL_Event e;
  SDL_PumpEvents();
  uint32_t entered = 0;  // the window whose enter event came just before
  while (SDL_PeepEvents(&e, 1, SDL_GETEVENT, SDL_FIRSTEVENT, SDL_USEREVENT - 1) > 0) {
    const uint32_t justEntered = std::exchange(entered, 0);
    switch (e.type) {
      case SDL_MOUSEMOTION: {
        if (justEntered != 0 && e.motion.windowID == justEntered) break;
        const TPoint p = OnDesktop(e.motion.windowID, e.motion.x, e.motion.y);
        input.push_back({TInputKind::MouseMove, p.X, p.Y, 0});
        break;
      }
      case SDL_MOUSEBUTTONDOWN:
      case SDL_MOUSEBUTTONUP: {
        const TPoint p = OnDesktop(e.button.windowID, e.button.x, e.button.y);
        input.push_back({e.type == SDL_MOUSEBUTTONDOWN ? TInputKind::MouseDown : TInputKind::MouseUp, p.X, p.Y, 0});
        break;
      }
      case SDL_KEYDOWN:
      case SDL_TEXTINPUT:
        TranslateKeyEvent(e, input);
        break;
      case SDL_WINDOWEVENT:
        if (e.window.event == SDL_WINDOWEVENT_ENTER) entered = e.window.windowID;
        if (e.window.event == SDL_WINDOWEVENT_SIZE_CHANGED)
          FollowSize(e.window.windowID, e.window.data1, e.window.data2);
        if (e.window.event == SDL_WINDOWEVENT_EXPOSED || e.window.event == SDL_WINDOWEVENT_RESTORED ||
            e.window.event == SDL_WINDOWEVENT_SIZE_CHANGED)
          m_needsRepaint = true;
        break;
      case SDL_QUIT:
        // The window system asks the show to end, as a key would.
        input.push_back({TInputKind::KeyPress, 0, 0, 27});
        break;
      default:
        break;
    }
  }
  if (m_needsRepaint && Open()) Upload(m_content, nullptr);
}

TPoint TSdlDisplay::OnDesktop(uint32_t windowId, int32_t x, int32_t y) const {
  for (const TSurface& s : m_surfaces)
    if (SDL_GetWindowID(s.Window) == windowId) return {s.Bounds.Left + x, s.Bounds.Top + y};
  return {x, y};
}

// The show's own window (the primary monitor's) took another size: the
// screen is that size from now on, black until the show presents its
// picture fitted anew. The exclusive back surface keeps its size.
void TSdlDisplay::FollowSize(uint32_t windowId, int32_t width, int32_t height) {
  if (m_exclusive || !Open() || SDL_GetWindowID(m_surfaces[0].Window) != windowId) return;
  if (width <= 0 || height <= 0) return;
  const TPoint size = WorkingSize({width, height});
  if (size.X == m_width && size.Y == m_height) return;
  m_width = size.X;
  m_height = size.Y;
  m_content.SetSize(m_width, m_height, kBlack);
}

// SDL waits on the window system's connection and is woken by events other
// threads push (the music's end of track).
void TSdlDisplay::WaitEvents(uint32_t ms) {
  if (!m_videoStarted) return SDL_Delay(ms);
  SDL_WaitEventTimeout(nullptr, int(std::min<uint32_t>(ms, 1u << 30)));
}

void TSdlDisplay::SetCursorVisible(bool visible) { SDL_ShowCursor(visible ? SDL_ENABLE : SDL_DISABLE); }

void TSdlDisplay::SetTitle(const std::string& title) {
  for (TSurface& s : m_surfaces) SDL_SetWindowTitle(s.Window, title.c_str());
}

void TSdlDisplay::Close() {
  for (TSurface& s : m_surfaces)
    if (s.Window) SDL_DestroyWindow(s.Window);
  m_surfaces.clear();
}

}  // namespace kx
