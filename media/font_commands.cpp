// Fonts and text.
#include "media/font_commands.h"

#include <algorithm>

#include "core/runtime_globals.h"
#include "files/file_resolver.h"
#include "media/builtin_font.h"
#include "media/graphics_device.h"
#include "media/image_commands.h"

i32 ClampFontSlot(i32 font) { return std::clamp(font, 0, kLastFontSlot); }

void SetCurrentFont(i32 font) { currentFont = ClampFontSlot(font); }

void LoadFontFile(const DynString& name, i32 font) {
  const i32 f = ClampFontSlot(font);
  currentFont = f;
  OpenGLRainbows* gfx = graphicsDevice;
  if (gfx == nullptr) return;
  char path[kResolvedPathSize];
  if (ResolveImageName(name.CStr(), path) && gfx->LoadFont(f, path) != 0) return;
  LoadDefaultFont(gfx, f);
}

void PrintTextCommand(const DynString& text, f32 x, f32 y) {
  if (graphicsDevice != nullptr) graphicsDevice->PrintText(currentFont, text.CStr(), x, y);
}

void GetFontSizeCommand(i32* w, i32* h) {
  SizePair size;
  if (graphicsDevice != nullptr) size = graphicsDevice->GetFontSize(currentFont);
  *w = size.width;
  *h = size.height;
}

void GetFontSizeCommand(f32* w, f32* h) {
  i32 iw = 0;
  i32 ih = 0;
  GetFontSizeCommand(&iw, &ih);
  *w = static_cast<f32>(iw);
  *h = static_cast<f32>(ih);
}
