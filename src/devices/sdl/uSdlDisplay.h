// The saver display on SDL2: a borderless window over the whole screen for the
// plain path, SDL's full-screen mode for the exclusive path, frames uploaded to
// a streaming texture. A frame identical to what the window already shows is
// not uploaded again unless the window needs a repaint.
#pragma once

#include <memory>

#include "devices/uDisplay.h"

struct SDL_Window;
struct SDL_Renderer;
struct SDL_Texture;

namespace kx {

class TSdlDisplay final : public ISaverDisplay {
 public:
  // SDL's video starts with the first window, so a show that opens none (a
  // project without pictures) needs no display; opening the plain window
  // throws std::runtime_error when there is none.
  TSdlDisplay();
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
  void SetCursorVisible(bool visible) override;
  void SetTitle(const std::string& title) override;
  void Close() override;

 private:
  void StartVideo();
  bool OpenWindow(bool exclusive);
  void Upload(const TBitmap32& bitmap);
  bool Unchanged(const TBitmap32& frame, int32_t x, int32_t y) const;

  int32_t m_width = 0, m_height = 0;
  bool m_videoStarted = false;
  bool m_exclusive = false;
  bool m_needsRepaint = true;
  SDL_Window* m_window = nullptr;
  SDL_Renderer* m_renderer = nullptr;
  SDL_Texture* m_texture = nullptr;
  int32_t m_textureWidth = 0, m_textureHeight = 0;
  TBitmap32 m_content;
};

}  // namespace kx
