// SDL's key and text events as the show's input: a key down with the show's
// key code, and a key press for every key that produces a character.
#pragma once

#include <SDL.h>

#include <cstdint>
#include <vector>

#include "devices/uDisplay.h"

namespace kx {

// Key codes as the show knows them (F1 is 112, Shift 16, arrows 37-40); 0 for
// keys it never looks at.
int32_t KeyCode(SDL_Keycode key);

// The character a key produces, or 0. A key of the layout's own characters
// carries its Unicode value in SDL (ä, é, ß as well as a or 1); the keypad's
// characters, Enter, Escape, Backspace and Tab are named keys of their own.
// Modifiers, function keys and arrows produce none.
int32_t KeyCharacter(SDL_Keycode key);

// Appends what a key-down or text-input event means to the show: a key down,
// followed by a key press when the key produces a character; typed text (a
// dead key's composition, an input method's character) as a key press.
// Other events add nothing.
void TranslateKeyEvent(const SDL_Event& event, std::vector<TInputEvent>& input);

}  // namespace kx
