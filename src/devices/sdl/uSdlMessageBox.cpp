#include "devices/sdl/uSdlMessageBox.h"

#include <SDL.h>

#include "devices/uMessageBox.h"

namespace kx {

void ShowSdlMessageBox(const std::string& text) {
  // Over the show's own window when there is one, so a full-screen window
  // cannot hide the box.
  SDL_Window* parent = SDL_WasInit(SDL_INIT_VIDEO) ? SDL_GetKeyboardFocus() : nullptr;
  if (SDL_ShowSimpleMessageBox(SDL_MESSAGEBOX_INFORMATION, " ", text.c_str(), parent) != 0) PrintMessageBox(text);
}

}  // namespace kx
