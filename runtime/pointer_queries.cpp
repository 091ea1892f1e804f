// Pointer queries over the input device.
#include "runtime/pointer_queries.h"

#include <algorithm>

#include "core/runtime_globals.h"
#include "media/graphics_device.h"
#include "media/input_device.h"

PointerReading ReadPointerClamped() {
  PointerReading reading;
  if (inputDevice == nullptr) return reading;
  MouseSample sample;
  inputDevice->ReadMouse(sample);
  PointerPosition& p = inputDevice->pointer;
  const i32 width = graphicsDevice != nullptr ? graphicsDevice->width : 0;
  const i32 height = graphicsDevice != nullptr ? graphicsDevice->height : 0;
  p.mouseX = std::max(std::min(p.mouseX, width - 1), 0);
  p.mouseY = std::max(std::min(p.mouseY, height - 1), 0);
  reading.x = p.mouseX;
  reading.y = p.mouseY;
  reading.button1 = sample.button1 != 0;
  reading.button2 = sample.button2 != 0;
  return reading;
}

void GetMouseState(f32& x, f32& y, f32& button1, f32& button2) {
  const PointerReading r = ReadPointerClamped();
  x = static_cast<f32>(r.x);
  y = static_cast<f32>(r.y);
  button1 = r.button1 ? 1.0f : 0.0f;
  button2 = r.button2 ? 1.0f : 0.0f;
}

void ReadMouseClamped(i32& x, i32& y, i32& button1, i32& button2) {
  const PointerReading r = ReadPointerClamped();
  x = r.x;
  y = r.y;
  button1 = r.button1 ? 1 : 0;
  button2 = r.button2 ? 1 : 0;
}

i32 GetMouseAxis(i32 axis) {
  if (inputDevice == nullptr) return 0;
  MouseSample s;
  if (inputDevice->ReadMouse(s) == 0) return 0;
  switch (axis) {
    case 0:
      return s.dx;
    case 1:
      return s.dy;
    case 2:
      return s.dz;
    case 3:
      return s.button1 != 0 ? 1 : 0;
    case 4:
      return s.button2 != 0 ? 1 : 0;
    case 5:
      return s.button3 != 0 ? 1 : 0;
    default:
      return 0;
  }
}

void SetMousePosition(i32 x, i32 y) { SetMousePositionCommand(x, y); }
