// The joystick queries: the handheld's buttons seen as one pad. They decode the button word of
// the last read without reading the device again; the joystick index is accepted and not used.
// Directions read at full deflection, so the axis getters give -1, 0 or 1.
#pragma once

#include "core/dyn_string.h"
#include "core/types.h"

// x and y as whole numbers (word / 30000, truncated), and buttons A and B.
void ReadJoystick(f32& x, f32& y, f32& button1, f32& button2);
// Each axis word / 32767, limited to -1..1.
f32 GetJoyX(i32 joystick);
f32 GetJoyY(i32 joystick);
f32 GetJoyAxis3(i32 joystick);
f32 GetJoyZ(i32 joystick);
f32 GetJoyAxis5(i32 joystick);
f32 GetJoyW(i32 joystick);
// 1.0 right, -1.0 left, else 0.0; 1.0 down, -1.0 up, else 0.0.
f32 GetJoyHatX(i32 joystick);
f32 GetJoyHatY(i32 joystick);
// The button byte 0..31 (0 or 1); 0 for any larger number.
i32 GetJoyButton(i32 joystick, u32 button);
f32 GetJoystickCountCommand();
DynString GetJoystickNameCommand(i32 joystick);
// Hands the values to the input device's update, which does nothing on this platform.
void UpdateInputDeviceCommand(i32 a, i32 b, i32 c, i32 d);
