// The key-code table and the characters that key codes type.
#include "media/key_codes.h"

bool IsKeyCodeDown(const JoyState& s, i32 code) {
  switch (code & 0xFF) {
    case kKeyEscape:
      return s.buttons[kJoyVolumeDown] != 0 && s.buttons[kJoyVolumeUp] != 0;
    case kKeyTab:
      return s.buttons[kJoySelect] != 0;
    case kKeyW:
    case kKeyCapsLock:
      return s.buttons[kJoyY] != 0;
    case kKeyEnter:
      return s.buttons[kJoyStart] != 0;
    case kKeyLeftCtrl:
    case kKeyS:
      return s.buttons[kJoyX] != 0;
    case kKeyA:
    case kKeyZ:
      return s.buttons[kJoyA] != 0;
    case kKeyD:
    case kKeyX:
      return s.buttons[kJoyB] != 0;
    case kKeyLeftShift:
      return s.buttons[kJoyL] != 0;
    case kKeyRightShift:
      return s.buttons[kJoyR] != 0;
    case kKeySpace:
      return s.buttons[kJoyStick] != 0;
    case kKeyUp:
      return s.y < 0;
    case kKeyPageUp:
      return s.buttons[kJoyVolumeUp] != 0;
    case kKeyLeft:
      return s.x < 0;
    case kKeyRight:
      return s.x > 0;
    case kKeyDown:
      return s.y > 0;
    case kKeyPageDown:
      return s.buttons[kJoyVolumeDown] != 0;
    default:
      return false;
  }
}

u8 KeyCodeToChar(i32 code) {
  u8 c;
  switch (code & 0xFF) {
    case 28:   // Enter
    case 156:  // keypad Enter
      c = 10;
      break;
    case 14:  // Backspace
      c = 8;
      break;
    case 29:   // Ctrl
    case 42:   // left Shift
    case 54:   // right Shift
    case 56:   // Alt
    case 58:   // Caps Lock
    case 69:   // Num Lock
    case 221:  // the menu key
      c = 0;
      break;
    default:
      c = static_cast<u8>(code & 0xFF);
      break;
  }
  if (c < 32 && c != 8 && c != 10) c = 0;
  return c;
}
