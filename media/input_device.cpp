// The input device: button word, typed characters and the pointer.
#include "media/input_device.h"

#include <SDL.h>

#include <cstring>

#include "core/runtime_globals.h"
#include "files/ascii_case.h"
#include "media/key_codes.h"

void InputDevice::Open(bool grab) {
  (void)grab;  // kept for the interface; the grab itself is the window's business
  joystickCount = 1;
  if (!source_) source_ = OpenButtonSource();
  buttonBits = 0;
  closed = 0;
  SDL_ShowCursor(SDL_DISABLE);
  state = 1;
}

void InputDevice::Close() {
  closed = 1;
  source_.reset();
  state = -1;
}

void InputDevice::ReadButtons() { buttonBits = source_ ? source_->ReadWord() : 0; }

void InputDevice::NextFrame() {
  if (source_) source_->NextFrame();
}

void InputDevice::GetJoystickName(i32 index, char* out) const {
  if (index >= 0 && index < joystickCount) {
    std::memcpy(out, "WIZ", 4);
  } else {
    out[0] = '\0';
  }
}

void InputDevice::Update(i32 a, i32 b, i32 c, i32 d) const {
  (void)a, (void)b, (void)c, (void)d;
}

i32 InputDevice::ReadMouse(MouseSample& out) { return SamplePointer(pointer, state >= 0, out); }

i32 InputDevice::AnyMouseButton() {
  relativeMouse = 1;
  MouseSample sample;
  ReadMouse(sample);
  return (sample.button1 != 0 || sample.button2 != 0 || sample.button3 != 0) ? 1 : 0;
}

u8 InputDevice::ReadKeyChar() {
  u8 scripted = 0;
  if (source_ && source_->TakeTypedChar(scripted)) return scripted;
  ReadButtons();
  const JoyState joy = DecodeButtonWord(buttonBits);
  u8 c = 0;
  for (i32 code = 0; code < kScannedKeyCodes && c == 0; ++code) {
    if (IsKeyCodeDown(joy, code)) c = KeyCodeToChar(code);
  }
  const u8 comparison = static_cast<u8>(AsciiLower(static_cast<char>(c)));
  if (joy.buttons[kJoyL] != 0 || joy.buttons[kJoyR] != 0) {
    c = static_cast<u8>(AsciiUpper(static_cast<char>(c)));
  }
  if (comparison == lastTypedChar) return 0;
  lastTypedChar = comparison;
  return c;
}

void DecodeButtons(const InputDevice& device, JoyState& out, i32 joystick) {
  (void)joystick;  // the handheld has one pad
  out = DecodeButtonWord(device.buttonBits);
}

void SetMousePositionCommand(i32 x, i32 y) {
  if (inputDevice == nullptr) return;
  inputDevice->pointer.mouseX = x;
  inputDevice->pointer.mouseY = y;
}

void SetInputFlagCommand(f32 v) {
  if (inputDevice != nullptr) inputDevice->closed = (v != 0.0f) ? 1 : 0;
}

void ResetTypedCharStateForTests() { lastTypedChar = 0; }
