// The desktop stand-in for the handheld's buttons: the keyboard. Each PC key sets the button
// that answers that key's own code in the key-code table, so a program asking for a key code
// sees the key of that name:
//   arrows: the d-pad (two neighbouring arrows give the diagonal); Return: start; Tab: select;
//   A or Z: A; D or X: B; S or left Ctrl: X; W or Caps Lock: Y; left Shift: L; right Shift: R;
//   Space: stick click; Page Up: volume up; Page Down: volume down.
// Escape is not mapped: it stays the window's quit key.
#pragma once

#include "core/types.h"
#include "media/button_sources.h"

// The button word for a keyboard state (indexed by SDL key symbol, count entries, non-zero =
// held).
u32 KeyboardButtonWord(const u8* keys, int count);

// Reads SDL's keyboard state after pumping the window's events; never prints.
class KeyboardButtonSource : public ButtonSource {
 public:
  u32 ReadWord() override;
};
