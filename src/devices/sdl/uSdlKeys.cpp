#include "devices/sdl/uSdlKeys.h"

namespace kx {
namespace {

// The first code point of UTF-8 text; 0 for empty or malformed text.
int32_t FirstCodePoint(const char* text) {
  const auto* s = reinterpret_cast<const unsigned char*>(text);
  if (s[0] < 0x80) return s[0];
  const int length = s[0] >= 0xF0 ? 4 : s[0] >= 0xE0 ? 3 : s[0] >= 0xC0 ? 2 : 0;
  if (length == 0) return 0;
  int32_t c = s[0] & (0x7F >> length);
  for (int i = 1; i < length; ++i) {
    if ((s[i] & 0xC0) != 0x80) return 0;
    c = c << 6 | (s[i] & 0x3F);
  }
  return c;
}

}  // namespace

int32_t KeyCode(SDL_Keycode key) {
  if (key >= SDLK_F1 && key <= SDLK_F12) return 112 + int32_t(key - SDLK_F1);
  switch (key) {
    case SDLK_LSHIFT: case SDLK_RSHIFT: return 16;
    case SDLK_LCTRL: case SDLK_RCTRL: return 17;
    case SDLK_LALT: case SDLK_RALT: return 18;
    case SDLK_LEFT: return 37;
    case SDLK_UP: return 38;
    case SDLK_RIGHT: return 39;
    case SDLK_DOWN: return 40;
    default: return 0;
  }
}

int32_t KeyCharacter(SDL_Keycode key) {
  switch (key) {
    case SDLK_RETURN: case SDLK_KP_ENTER: return '\r';
    case SDLK_ESCAPE: return 27;
    case SDLK_BACKSPACE: return 8;
    case SDLK_TAB: return '\t';
    case SDLK_DELETE: return 0;
    case SDLK_KP_DIVIDE: return '/';
    case SDLK_KP_MULTIPLY: return '*';
    case SDLK_KP_MINUS: return '-';
    case SDLK_KP_PLUS: return '+';
    case SDLK_KP_PERIOD: return '.';
    case SDLK_KP_COMMA: return ',';
    case SDLK_KP_EQUALS: return '=';
    case SDLK_KP_0: return '0';
    default: break;
  }
  if (key >= SDLK_KP_1 && key <= SDLK_KP_9) return '1' + int32_t(key - SDLK_KP_1);
  // Keys without a character of their own are scancodes with SDL's mask bit.
  if ((key & SDLK_SCANCODE_MASK) == 0 && key >= SDLK_SPACE) return int32_t(key);
  return 0;
}

void TranslateKeyEvent(const SDL_Event& event, std::vector<TInputEvent>& input) {
  if (event.type == SDL_KEYDOWN) {
    input.push_back({TInputKind::KeyDown, 0, 0, KeyCode(event.key.keysym.sym)});
    if (const int32_t c = KeyCharacter(event.key.keysym.sym)) input.push_back({TInputKind::KeyPress, 0, 0, c});
  } else if (event.type == SDL_TEXTINPUT) {
    if (const int32_t c = FirstCodePoint(event.text.text)) input.push_back({TInputKind::KeyPress, 0, 0, c});
  }
}

}  // namespace kx
