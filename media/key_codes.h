// The runtime's key codes: PC keyboard scan codes (set 1; an extended key is 128 plus its code)
// that programs pass to the key queries. On the handheld each code is answered by a button or a
// stick direction of the decoded button state; codes without an answer are never down.
#pragma once

#include "core/types.h"
#include "media/button_decoder.h"

// The codes the table answers, under the names of their PC keys.
enum KeyCode : i32 {
  kKeyEscape = 1,  // volume down and volume up held together
  kKeyTab = 15,
  kKeyW = 17,
  kKeyEnter = 28,
  kKeyLeftCtrl = 29,
  kKeyA = 30,
  kKeyS = 31,
  kKeyD = 32,
  kKeyLeftShift = 42,
  kKeyZ = 44,
  kKeyX = 45,
  kKeyRightShift = 54,
  kKeySpace = 57,
  kKeyCapsLock = 58,
  kKeyUp = 200,
  kKeyPageUp = 201,
  kKeyLeft = 203,
  kKeyRight = 205,
  kKeyDown = 208,
  kKeyPageDown = 209,
};

// The codes that a scan for any held key looks at: 0 to 254.
constexpr i32 kScannedKeyCodes = 255;

// Whether the key code counts as down in the state. Only the low eight bits of the code count.
bool IsKeyCodeDown(const JoyState& state, i32 code);

// The character a key code types: Enter and keypad Enter give 10, Backspace 8, the modifier and
// lock keys 0, every other code its own value (low eight bits); any result below 32 other than 8
// and 10 becomes 0.
u8 KeyCodeToChar(i32 code);
