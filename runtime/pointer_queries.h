// The pointer queries. Each reads the pointer through the input device's sampler; the position
// is the device's smoothed one, kept inside the graphics device's screen.
#pragma once

#include "core/types.h"

struct PointerReading {
  i32 x = 0;
  i32 y = 0;
  bool button1 = false;
  bool button2 = false;
};

// Reads the pointer and clamps the device's position to 0..width-1 and 0..height-1 of the
// screen (upper bound first, then lower), writing it back. All zero without the devices.
PointerReading ReadPointerClamped();

void GetMouseState(f32& x, f32& y, f32& button1, f32& button2);
void ReadMouseClamped(i32& x, i32& y, i32& button1, i32& button2);
// 0 when the pointer read answers 0; axes 0, 1, 2 give dx, dy, dz; 3, 4, 5 give 1 while
// button 1, 2, 3 is down; any other axis 0.
i32 GetMouseAxis(i32 axis);
// The device's pointer position := (x, y).
void SetMousePosition(i32 x, i32 y);
