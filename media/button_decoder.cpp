// Decoding the button word into a JoyState.
#include "media/button_decoder.h"

namespace {

i32 Held(u32 bits, u32 mask) { return (bits & mask) != 0 ? 1 : 0; }

u8 ButtonByte(u32 bits, u32 mask) { return static_cast<u8>(Held(bits, mask)); }

}  // namespace

JoyState DecodeButtonWord(u32 bits) {
  JoyState s;
  i32 x = Held(bits, kButtonUpRight | kButtonRight | kButtonDownRight) -
          Held(bits, kButtonUpLeft | kButtonLeft | kButtonDownLeft);
  i32 y = Held(bits, kButtonDownLeft | kButtonDown | kButtonDownRight) -
          Held(bits, kButtonUp | kButtonUpLeft | kButtonUpRight);
  if (x != 0 && y != 0) {
    const bool vertical = (bits & (kButtonUp | kButtonDown)) != 0;
    const bool horizontal = (bits & (kButtonLeft | kButtonRight)) != 0;
    if (vertical && !horizontal) x = 0;
    if (horizontal && !vertical) y = 0;
  }
  s.x = x * kJoyFullDeflection;
  s.y = y * kJoyFullDeflection;
  s.z = (Held(bits, kButtonR) - Held(bits, kButtonL)) * kJoyFullDeflection;
  s.w = (Held(bits, kButtonVolumeDown) - Held(bits, kButtonVolumeUp)) * kJoyFullDeflection;

  s.buttons[kJoyA] = ButtonByte(bits, kButtonA);
  s.buttons[kJoyB] = ButtonByte(bits, kButtonB);
  s.buttons[kJoyX] = ButtonByte(bits, kButtonX);
  s.buttons[kJoyY] = ButtonByte(bits, kButtonY);
  s.buttons[kJoyStick] = ButtonByte(bits, kButtonStick);
  s.buttons[kJoyStart] = ButtonByte(bits, kButtonStart);
  s.buttons[kJoySelect] = ButtonByte(bits, kButtonSelect);
  s.buttons[kJoyVolumeDown] = ButtonByte(bits, kButtonVolumeDown);
  s.buttons[kJoyVolumeUp] = ButtonByte(bits, kButtonVolumeUp);
  s.buttons[kJoyL] = ButtonByte(bits, kButtonL);
  s.buttons[kJoyR] = ButtonByte(bits, kButtonR);
  return s;
}
