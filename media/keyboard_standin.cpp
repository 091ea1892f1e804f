// The keyboard stand-in for the button device.
#include "media/keyboard_standin.h"

#include <SDL.h>

#include "media/button_decoder.h"

namespace {

struct KeyButton {
  SDLKey key;
  u32 bit;
};

constexpr KeyButton kKeyButtons[] = {
    {SDLK_RETURN, kButtonStart},     {SDLK_TAB, kButtonSelect},       {SDLK_a, kButtonA},
    {SDLK_z, kButtonA},              {SDLK_d, kButtonB},              {SDLK_x, kButtonB},
    {SDLK_s, kButtonX},              {SDLK_LCTRL, kButtonX},          {SDLK_w, kButtonY},
    {SDLK_CAPSLOCK, kButtonY},       {SDLK_LSHIFT, kButtonL},         {SDLK_RSHIFT, kButtonR},
    {SDLK_SPACE, kButtonStick},      {SDLK_PAGEUP, kButtonVolumeUp},
    {SDLK_PAGEDOWN, kButtonVolumeDown},
};

// The d-pad has one bit per direction, the diagonals included: indexed [dy + 1][dx + 1].
constexpr u32 kPadBits[3][3] = {
    {kButtonUpLeft, kButtonUp, kButtonUpRight},
    {kButtonLeft, 0, kButtonRight},
    {kButtonDownLeft, kButtonDown, kButtonDownRight},
};

bool Held(const u8* keys, int count, SDLKey key) {
  return static_cast<int>(key) < count && keys[key] != 0;
}

}  // namespace

u32 KeyboardButtonWord(const u8* keys, int count) {
  if (keys == nullptr) return 0;
  u32 word = 0;
  for (const KeyButton& kb : kKeyButtons) {
    if (Held(keys, count, kb.key)) word |= kb.bit;
  }
  // Opposite arrows cancel, as they cannot both be pressed on a d-pad.
  const int dx = (Held(keys, count, SDLK_RIGHT) ? 1 : 0) - (Held(keys, count, SDLK_LEFT) ? 1 : 0);
  const int dy = (Held(keys, count, SDLK_DOWN) ? 1 : 0) - (Held(keys, count, SDLK_UP) ? 1 : 0);
  return word | kPadBits[dy + 1][dx + 1];
}

u32 KeyboardButtonSource::ReadWord() {
  SDL_PumpEvents();
  int count = 0;
  const u8* keys = SDL_GetKeyState(&count);
  return KeyboardButtonWord(keys, count);
}
