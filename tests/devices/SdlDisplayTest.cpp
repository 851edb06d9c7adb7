#include <gtest/gtest.h>

#include <cstdlib>

#include "devices/sdl/uSdlDisplay.h"
#include "devices/sdl/uSdlKeys.h"

using namespace kx;

namespace {

SDL_Event KeyDown(SDL_Keycode key) {
  SDL_Event e{};
  e.type = SDL_KEYDOWN;
  e.key.keysym.sym = key;
  return e;
}

SDL_Event Text(const char* utf8) {
  SDL_Event e{};
  e.type = SDL_TEXTINPUT;
  SDL_strlcpy(e.text.text, utf8, sizeof e.text.text);
  return e;
}

// Every key that types a character ends the show, on any layout; keys that
// type nothing do not.
TEST(SdlKeys, KeysThatTypeACharacterArePresses) {
  struct TCase {
    const char* name;
    SDL_Event event;
    std::vector<TInputEvent> expected;
  };
  const auto down = [](int32_t code) { return TInputEvent{TInputKind::KeyDown, 0, 0, code}; };
  const auto press = [](int32_t c) { return TInputEvent{TInputKind::KeyPress, 0, 0, c}; };
  const TCase cases[] = {
      {"a", KeyDown(SDLK_a), {down(0), press('a')}},
      {"a umlaut", KeyDown(SDL_Keycode(0xE4)), {down(0), press(0xE4)}},
      {"e acute", KeyDown(SDL_Keycode(0xE9)), {down(0), press(0xE9)}},
      {"sharp s", KeyDown(SDL_Keycode(0xDF)), {down(0), press(0xDF)}},
      {"keypad plus", KeyDown(SDLK_KP_PLUS), {down(0), press('+')}},
      {"keypad divide", KeyDown(SDLK_KP_DIVIDE), {down(0), press('/')}},
      {"keypad 5", KeyDown(SDLK_KP_5), {down(0), press('5')}},
      {"space", KeyDown(SDLK_SPACE), {down(0), press(' ')}},
      {"Enter", KeyDown(SDLK_RETURN), {down(0), press('\r')}},
      {"Escape", KeyDown(SDLK_ESCAPE), {down(0), press(27)}},
      {"F1", KeyDown(SDLK_F1), {down(112)}},
      {"F2", KeyDown(SDLK_F2), {down(113)}},
      {"Shift", KeyDown(SDLK_LSHIFT), {down(16)}},
      {"AltGr", KeyDown(SDLK_RALT), {down(18)}},
      {"arrow", KeyDown(SDLK_LEFT), {down(37)}},
      {"Caps Lock", KeyDown(SDLK_CAPSLOCK), {down(0)}},
      {"Delete", KeyDown(SDLK_DELETE), {down(0)}},
      {"composed text", Text("\xC3\xA9"), {press(0xE9)}},
      {"input method text", Text("\xE6\x97\xA5"), {press(0x65E5)}},
      {"broken text", Text("\xC3("), {}},
  };
  for (const TCase& c : cases) {
    std::vector<TInputEvent> input;
    TranslateKeyEvent(c.event, input);
    EXPECT_EQ(input, c.expected) << c.name;
  }
}

// Off-screen and dummy drivers show nothing: a show on them would run unseen
// and never end, so the display refuses them.
TEST(TSdlDisplay, StandInVideoDriversAreNoDisplay) {
  for (const char* driver : {"offscreen", "dummy"}) {
    ASSERT_EQ(setenv("SDL_VIDEODRIVER", driver, 1), 0);
    TSdlDisplay display;
    EXPECT_THROW(display.StartPlain(), TDisplayUnavailable) << driver;
    EXPECT_FALSE(display.StartExclusive()) << driver;
  }
  unsetenv("SDL_VIDEODRIVER");
}

}  // namespace
