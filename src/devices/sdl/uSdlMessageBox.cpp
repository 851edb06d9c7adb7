#include "devices/sdl/uSdlMessageBox.h"

#include <SDL.h>

#include "devices/uMessageBox.h"

namespace kx {

void ShowSdlMessageBox(const std::string& text, TMessageKind kind) {
  // Over the show's own window when there is one, so a full-screen window
  // cannot hide the box.
  SDL_Window* parent = SDL_WasInit(SDL_INIT_VIDEO) ? SDL_GetKeyboardFocus() : nullptr;
  const Uint32 flags = kind == TMessageKind::Error     ? SDL_MESSAGEBOX_ERROR
                       : kind == TMessageKind::Warning ? SDL_MESSAGEBOX_WARNING
                                                       : SDL_MESSAGEBOX_INFORMATION;
  if (SDL_ShowSimpleMessageBox(flags, " ", text.c_str(), parent) != 0) PrintMessageBox(text);
}

}  // namespace kx
