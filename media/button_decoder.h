// The handheld's button word and its decoded, joystick-style state. The button device delivers
// one 32-bit word of button bits per read; DecodeButtonWord turns it into a JoyState, which the
// key queries answer from (through the key-code table) and the joystick queries read directly.
#pragma once

#include "core/types.h"

// Bits of the button word (bits 19..31 are ignored).
enum ButtonBit : u32 {
  kButtonUp = 1u << 0,
  kButtonUpLeft = 1u << 1,
  kButtonLeft = 1u << 2,
  kButtonDownLeft = 1u << 3,
  kButtonDown = 1u << 4,
  kButtonDownRight = 1u << 5,
  kButtonRight = 1u << 6,
  kButtonUpRight = 1u << 7,
  kButtonStart = 1u << 8,
  kButtonSelect = 1u << 9,
  kButtonL = 1u << 10,
  kButtonR = 1u << 11,
  kButtonA = 1u << 12,
  kButtonB = 1u << 13,
  kButtonX = 1u << 14,
  kButtonY = 1u << 15,
  kButtonVolumeUp = 1u << 16,
  kButtonVolumeDown = 1u << 17,
  kButtonStick = 1u << 18,
};
constexpr int kButtonBitCount = 19;

// Indices of the button bytes that the decoder fills.
enum JoyButtonIndex : int {
  kJoyA = 0,
  kJoyB = 1,
  kJoyX = 2,
  kJoyY = 3,
  kJoyStick = 4,
  kJoyStart = 5,
  kJoySelect = 6,
  kJoyVolumeDown = 7,
  kJoyVolumeUp = 8,
  kJoyL = 9,
  kJoyR = 10,
};
constexpr int kJoyDecodedButtons = 11;

// A held direction reads as full deflection, so the joystick readers (which scale for an analog
// range) and the blocking waits see it.
constexpr i32 kJoyFullDeflection = 32767;
// The four directions of a hat word, and the word of a pad with no hat: none of them.
constexpr i32 kJoyHatUp = 0;
constexpr i32 kJoyHatRight = 9000;
constexpr i32 kJoyHatDown = 18000;
constexpr i32 kJoyHatLeft = 27000;
constexpr i32 kJoyHatCentred = -1;

struct JoyState {
  i32 x = 0;      // -32767 left, 0, +32767 right
  i32 y = 0;      // -32767 up, 0, +32767 down
  i32 axis3 = 0;  // not on the handheld: always at rest
  i32 z = 0;      // R minus L, at full deflection
  i32 axis5 = 0;  // not on the handheld: always at rest
  i32 w = 0;      // volume down minus volume up, at full deflection
  i32 extra[2] = {0, 0};
  i32 hat[4] = {kJoyHatCentred, kJoyHatCentred, kJoyHatCentred, kJoyHatCentred};
  u8 buttons[32] = {};
};

// Decodes a button word. The whole state is written: the words the handheld has no source for
// hold their rest values. A straight direction held together with a neighbouring diagonal gives
// the straight direction; two diagonals, or straight directions on both axes, stay diagonal.
JoyState DecodeButtonWord(u32 bits);
