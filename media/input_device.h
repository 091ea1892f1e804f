// InputDevice: the runtime's one input object. It reads the button word from its button source
// (the handheld's button device or a stand-in, button_sources.h), decodes it into a JoyState,
// types characters from held buttons and samples the pointer. Start-up creates and opens it, the
// frame step and the key, pointer and joystick queries read it, the end of program closes and
// deletes it. Main thread only.
#pragma once

#include <memory>

#include "core/types.h"
#include "media/button_decoder.h"
#include "media/button_sources.h"
#include "media/pointer.h"

class InputDevice {
 public:
  InputDevice() = default;
  InputDevice(const InputDevice&) = delete;
  InputDevice& operator=(const InputDevice&) = delete;

  // Opens the button source for this machine unless one was installed before (the grab flag
  // is not used); then no button held, hides the mouse cursor, state 1.
  void Open(bool grab);
  // Closes the button source; state -1.
  void Close();
  // buttonBits := one read of the button source.
  void ReadButtons();
  // Called by the frame step once per frame (a scripted source moves to its next word).
  void NextFrame();
  i32 GetJoystickCount() const { return joystickCount; }
  // "WIZ" for 0 <= index < joystickCount, else the empty text (out holds at least 4 bytes).
  void GetJoystickName(i32 index, char* out) const;
  // Does nothing on this platform.
  void Update(i32 a, i32 b, i32 c, i32 d) const;
  // One pointer read (pointer.h): 1 when out holds a sample, 0 when the device is not open.
  i32 ReadMouse(MouseSample& out);
  // 1 when a pointer button is down.
  i32 AnyMouseButton();
  // The character typed since the last query, or 0: the first key code (0..254) that is down
  // and types a character; upper case for letters while L or R is held; a held button types
  // once, and again after a release.
  u8 ReadKeyChar();
  i32 AnyKeyTyped() { return ReadKeyChar() != 0 ? 1 : 0; }

  // Installs a button source (tests; also kept by a later Open).
  void SetButtonSource(std::unique_ptr<ButtonSource> source) { source_ = std::move(source); }

  PointerPosition pointer;     // mouseX, mouseY (100, 100 at construction) and the last sample
  u32 buttonBits = 0;          // the last word read
  i32 state = -1;              // 1 while open, -1 before and after
  u8 closed = 0;               // set by Close and SetInputFlagCommand; nothing depends on it
  i32 joystickCount = 0;       // 1 once open
  u8 relativeMouse = 1;        // set by the frame step and AnyMouseButton; nothing depends on it

 private:
  std::unique_ptr<ButtonSource> source_;
};

// The decoded state of the device's last button word (the joystick index is not used).
void DecodeButtons(const InputDevice& device, JoyState& out, i32 joystick);

// mouseX, mouseY := x, y; later pointer samples are jump-tested against it.
void SetMousePositionCommand(i32 x, i32 y);
// The device's closed flag := (v != 0).
void SetInputFlagCommand(f32 v);

// Forgets the last typed character (tests).
void ResetTypedCharStateForTests();
// The comparison value of the last typed character: a held button types once. Process-wide, as
// the pointer state is, so it survives the device (defined with the runtime's globals).
extern u8 lastTypedChar;
