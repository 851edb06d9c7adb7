#include "devices/sdl/uSdlMessageBox.h"

#include <SDL.h>

#include "devices/uMessageBox.h"

namespace kx {

void ShowSdlMessageBox(const std::string& text) {
  if (SDL_ShowSimpleMessageBox(SDL_MESSAGEBOX_INFORMATION, " ", text.c_str(), nullptr) != 0) PrintMessageBox(text);
}

}  // namespace kx
