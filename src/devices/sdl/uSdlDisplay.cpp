#include "devices/sdl/uSdlDisplay.h"

#include "devices/sdl/uSdlKeys.h"

#include <SDL.h>

#include <cstring>
#include <stdexcept>
#include <string>

namespace kx {
namespace {

const TPixel kBlack = MakePixel(0, 0, 0);

// The window systems a show can be seen on. SDL falls back to stand-ins
// (an off-screen or dummy driver) when there is none: a show there would run
// unseen and never end.
bool RealVideoDriver(const char* name) {
  if (!name) return false;
  const std::string driver = name;
  return driver == "x11" || driver == "wayland" || driver == "windows";
}

}  // namespace

TSdlDisplay::TSdlDisplay() = default;

TSdlDisplay::~TSdlDisplay() {
  Close();
  if (m_videoStarted) SDL_QuitSubSystem(SDL_INIT_VIDEO);
}

void TSdlDisplay::StartVideo() {
  if (m_videoStarted) return;
  if (SDL_InitSubSystem(SDL_INIT_VIDEO) != 0) throw TDisplayUnavailable(std::string("no display: ") + SDL_GetError());
  if (!RealVideoDriver(SDL_GetCurrentVideoDriver())) {
    const std::string driver = SDL_GetCurrentVideoDriver() ? SDL_GetCurrentVideoDriver() : "none";
    SDL_QuitSubSystem(SDL_INIT_VIDEO);
    throw TDisplayUnavailable("no display: only the \"" + driver + "\" video driver is available");
  }
  m_videoStarted = true;
  SDL_DisplayMode mode{};
  if (SDL_GetDesktopDisplayMode(0, &mode) != 0)
    throw TDisplayUnavailable(std::string("no display mode: ") + SDL_GetError());
  m_width = mode.w;
  m_height = mode.h;
}

bool TSdlDisplay::OpenWindow(bool exclusive) {
  StartVideo();
  Close();
  SDL_SetHint(SDL_HINT_RENDER_SCALE_QUALITY, "1");
  const Uint32 flags = exclusive ? SDL_WINDOW_FULLSCREEN : SDL_WINDOW_BORDERLESS;
  m_window = SDL_CreateWindow(" ", 0, 0, m_width, m_height, flags | SDL_WINDOW_SHOWN);
  if (m_window) m_renderer = SDL_CreateRenderer(m_window, -1, SDL_RENDERER_PRESENTVSYNC);
  if (!m_window || !m_renderer) {
    Close();
    return false;
  }
  if (!exclusive) SDL_SetWindowAlwaysOnTop(m_window, SDL_TRUE);
  SDL_RaiseWindow(m_window);
  m_exclusive = exclusive;
  m_needsRepaint = true;
  m_content.SetSize(m_width, m_height, kBlack);
  Upload(m_content);
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

bool TSdlDisplay::Unchanged(const TBitmap32& frame, int32_t x, int32_t y) const {
  if (m_exclusive) return frame == m_content;
  const TRect r = frame.BoundsRect().Offset(x, y).Intersect(m_content.BoundsRect());
  for (int32_t row = r.Top; row < r.Bottom; ++row)
    if (std::memcmp(m_content.Row(row) + r.Left, frame.Row(row - y) + (r.Left - x),
                    size_t(r.Width()) * sizeof(TPixel)) != 0)
      return false;
  return true;
}

void TSdlDisplay::Draw(const TBitmap32& frame, int32_t x, int32_t y, TFrameChange change) {
  if (!m_renderer) return;
  if (change == TFrameChange::Unknown && !m_needsRepaint && Unchanged(frame, x, y)) return;
  if (m_exclusive) m_content = frame;
  else m_content.Draw(x, y, frame);
  Upload(m_content);
}

void TSdlDisplay::Clear() {
  if (!m_renderer) return;
  m_content.Fill(kBlack);
  Upload(m_content);
}

void TSdlDisplay::Upload(const TBitmap32& bitmap) {
  if (bitmap.Empty()) return;
  if (!m_texture || m_textureWidth != bitmap.Width() || m_textureHeight != bitmap.Height()) {
    if (m_texture) SDL_DestroyTexture(m_texture);
    m_texture = SDL_CreateTexture(m_renderer, SDL_PIXELFORMAT_ARGB8888, SDL_TEXTUREACCESS_STREAMING,
                                  bitmap.Width(), bitmap.Height());
    if (!m_texture) return;
    SDL_SetTextureBlendMode(m_texture, SDL_BLENDMODE_NONE);  // frames are opaque
    m_textureWidth = bitmap.Width();
    m_textureHeight = bitmap.Height();
  }
  SDL_UpdateTexture(m_texture, nullptr, bitmap.Bits(), int(bitmap.StrideBytes()));
  SDL_RenderCopy(m_renderer, m_texture, nullptr, nullptr);  // the back surface fills the screen
  SDL_RenderPresent(m_renderer);
  m_needsRepaint = false;
}

// Events an application registered (SDL_USEREVENT and above) stay queued
// for the device that registered them, such as the music player's end of
// track.
void TSdlDisplay::PumpEvents(std::vector<TInputEvent>& input) {
  SDL_Event e;
  SDL_PumpEvents();
  while (SDL_PeepEvents(&e, 1, SDL_GETEVENT, SDL_FIRSTEVENT, SDL_USEREVENT - 1) > 0) {
    switch (e.type) {
      case SDL_MOUSEMOTION:
        input.push_back({TInputKind::MouseMove, e.motion.x, e.motion.y, 0});
        break;
      case SDL_MOUSEBUTTONDOWN:
        input.push_back({TInputKind::MouseDown, e.button.x, e.button.y, 0});
        break;
      case SDL_MOUSEBUTTONUP:
        input.push_back({TInputKind::MouseUp, e.button.x, e.button.y, 0});
        break;
      case SDL_KEYDOWN:
      case SDL_TEXTINPUT:
        TranslateKeyEvent(e, input);
        break;
      case SDL_WINDOWEVENT:
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
  if (m_needsRepaint && m_renderer) Upload(m_content);
}

void TSdlDisplay::SetCursorVisible(bool visible) { SDL_ShowCursor(visible ? SDL_ENABLE : SDL_DISABLE); }

void TSdlDisplay::SetTitle(const std::string& title) {
  if (m_window) SDL_SetWindowTitle(m_window, title.c_str());
}

void TSdlDisplay::Close() {
  if (m_texture) SDL_DestroyTexture(m_texture);
  if (m_renderer) SDL_DestroyRenderer(m_renderer);
  if (m_window) SDL_DestroyWindow(m_window);
  m_texture = nullptr;
  m_renderer = nullptr;
  m_window = nullptr;
  m_textureWidth = m_textureHeight = 0;
}

}  // namespace kx
