// Joystick queries over the decoded button word.
#include "runtime/joystick_queries.h"

#include "core/runtime_globals.h"
#include "media/input_device.h"

namespace {

constexpr i32 kJoyNameSize = 522;

JoyState LastState() {
  JoyState state;
  if (inputDevice != nullptr) DecodeButtons(*inputDevice, state, 0);
  return state;
}

f32 AxisValue(i32 word) {
  const f64 v = static_cast<f64>(word) / kJoyFullDeflection;
  if (v > 1.0) return 1.0f;
  if (v < -1.0) return -1.0f;
  return static_cast<f32>(v);
}

}  // namespace

void ReadJoystick(f32& x, f32& y, f32& button1, f32& button2) {
  const JoyState s = LastState();
  x = static_cast<f32>(s.x / 30000);
  y = static_cast<f32>(s.y / 30000);
  button1 = static_cast<f32>(s.buttons[0]);
  button2 = static_cast<f32>(s.buttons[1]);
}

f32 GetJoyX(i32) { return AxisValue(LastState().x); }
f32 GetJoyY(i32) { return AxisValue(LastState().y); }
f32 GetJoyAxis3(i32) { return AxisValue(LastState().axis3); }
f32 GetJoyZ(i32) { return AxisValue(LastState().z); }
f32 GetJoyAxis5(i32) { return AxisValue(LastState().axis5); }
f32 GetJoyW(i32) { return AxisValue(LastState().w); }

f32 GetJoyHatX(i32) {
  const i32 hat = LastState().hat[0];
  if (hat == kJoyHatRight) return 1.0f;
  if (hat == kJoyHatLeft) return -1.0f;
  return 0.0f;
}

f32 GetJoyHatY(i32) {
  const i32 hat = LastState().hat[0];
  if (hat == kJoyHatUp) return -1.0f;
  if (hat == kJoyHatDown) return 1.0f;
  return 0.0f;
}

i32 GetJoyButton(i32, u32 button) {
  if (button >= 32) return 0;
  return LastState().buttons[button];
}

f32 GetJoystickCountCommand() {
  return inputDevice != nullptr ? static_cast<f32>(inputDevice->GetJoystickCount()) : 0.0f;
}

DynString GetJoystickNameCommand(i32 joystick) {
  DynString name;
  char* buffer = name.GetBuffer(kJoyNameSize);
  buffer[0] = '\0';
  if (inputDevice != nullptr) inputDevice->GetJoystickName(joystick, buffer);
  name.SyncLength();
  return name;
}

void UpdateInputDeviceCommand(i32 a, i32 b, i32 c, i32 d) {
  (void)b;  // the device is told 1 as its second value
  if (inputDevice != nullptr) inputDevice->Update(a, 1, c, d);
}
