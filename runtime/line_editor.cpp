// InputLine and the editors built on it.
#include "runtime/line_editor.h"

#include "core/runtime_globals.h"
#include "runtime/frame_step.h"
#include "media/graphics_device.h"
#include "media/input_device.h"

namespace {

constexpr i32 kBackgroundSlot = 3;
constexpr i32 kBlinkAfterFrames = 20;

void DrawEditedText(OpenGLRainbows* gfx, const DynString& text, bool cursor, i32 x, i32 y) {
  gfx->DrawScreenSlot(kBackgroundSlot);
  DynString shown(text);
  if (cursor) shown.AppendCString("_");
  gfx->PrintText(currentFont, shown.CStr(), static_cast<f32>(x), static_cast<f32>(y));
}

void RemoveLastChar(DynString& text) {
  if (text.Length() > 0) text = DynString::FromBytes(text.CStr(), text.Length() - 1);
}

}  // namespace

void InputLine(DynString& text, i32 x, i32 y) {
  OpenGLRainbows* gfx = graphicsDevice;
  if (gfx == nullptr || inputDevice == nullptr) return;
  gfx->GrabScreenSlot(kBackgroundSlot);
  gfx->DrawScreenSlot(kBackgroundSlot);
  gfx->PrintText(currentFont, text.CStr(), static_cast<f32>(x), static_cast<f32>(y));
  FlipFrame();
  bool cursor = false;
  i32 idle = 0;
  for (;;) {
    const u8 c = inputDevice->ReadKeyChar();
    if (c == 0) {
      if (++idle > kBlinkAfterFrames) {
        cursor = !cursor;
        idle = 0;
      }
    } else if (c == 10) {
      gfx->ClearScreenSlot(kBackgroundSlot);
      return;
    } else if (c == 8) {
      RemoveLastChar(text);
    } else {
      const char typed = static_cast<char>(c);
      text.AppendString(DynString::FromBytes(&typed, 1));
    }
    DrawEditedText(gfx, text, cursor, x, y);
    FlipFrame();
  }
}

void InputNumber(i32& result, i32 x, i32 y) {
  DynString text;
  InputLine(text, x, y);
  result = DynStringToInt(text);
}

void InputDecimal(f32& result, i32 x, i32 y) {
  DynString text;
  InputLine(text, x, y);
  result = text.ToNumber();
}

DynString RequestFileName() {
  DynString text("File:");
  InputLine(text, 0, 100);
  return text;
}
