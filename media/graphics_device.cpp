// The graphics device's tables: construction and release, slot lookup, clearing, fonts, the
// transparent colour, the viewport, and the active flag that the shell command switches.
#include "media/graphics_device.h"

#include <algorithm>

#include "core/float_convert.h"
#include "core/runtime_error.h"
#include "media/render_target.h"
#include "media/textured_quads.h"
#include "render/soft_render_context.h"

namespace {

bool HookedIsActive() { return activeFlagDevice != nullptr && activeFlagDevice->active != 0; }

void HookedSetActive(bool on) {
  if (activeFlagDevice == nullptr) return;
  if (on) {
    activeFlagDevice->Activate();
  } else {
    activeFlagDevice->Deactivate();
  }
}

}  // namespace

void EmptyGraphicsHook() {}

OpenGLRainbows::OpenGLRainbows()
    : spriteInfo(new SpriteInfo[kSpriteSlotCount]()),
      sprites(new Surface[kSpriteSlotCount]),
      fonts(new Font[kFontSlotCount]) {
  for (i32 i = 0; i < kSpriteSlotCount; ++i) ClearSprite(i);
  for (Surface& screen : screens) screen.Clear();
  activeFlagDevice = this;
  SetDeviceActiveHooks({HookedIsActive, HookedSetActive});
}

OpenGLRainbows::~OpenGLRainbows() {
  EndOffscreenDraw(this);
  ClearSlots();
  ForgetPolygonDevice(this);
  if (activeFlagDevice == this) {
    activeFlagDevice = nullptr;
    SetDeviceActiveHooks({});
  }
}

Surface* OpenGLRainbows::Sprite(i32 i) {
  return i >= 0 && i < kSpriteSlotCount ? &sprites[i] : nullptr;
}

SpriteInfo* OpenGLRainbows::Info(i32 i) {
  return i >= 0 && i < kSpriteSlotCount ? &spriteInfo[i] : nullptr;
}

Surface* OpenGLRainbows::Screen(i32 i) {
  return i >= 0 && i < kScreenSlotCount ? &screens[i] : nullptr;
}

Font* OpenGLRainbows::FontSlot(i32 i) { return i >= 0 && i < kFontSlotCount ? &fonts[i] : nullptr; }

void OpenGLRainbows::ReleaseTextureOf(i32 i) {
  SoftRenderContext& renderer = GetSoftRenderContext();
  const Surface* sprite = Sprite(i);
  if (sprite != nullptr && sprite->pixels != nullptr && renderer.texture == sprite->pixels) {
    renderer.SetTexture(nullptr, 0, 0);
  }
}

void OpenGLRainbows::ClearSprite(i32 i) {
  SpriteInfo* info = Info(i);
  if (info == nullptr) return;
  if (initialised != 0) info->reserved0 = info->reserved1 = 0;
  info->loadedWidth = info->loadedHeight = -1;
  info->width = info->height = 0;
  ReleaseTextureOf(i);
  sprites[i].Clear();
}

void OpenGLRainbows::ClearScreenSlot(i32 i) {
  if (Surface* screen = Screen(i)) screen->Clear();
}

void OpenGLRainbows::ClearSlots() {
  for (i32 i = 0; i < kSpriteSlotCount; ++i) ClearSprite(i);
  for (Surface& screen : screens) screen.Clear();
}

void OpenGLRainbows::PrintText(i32 font, const char* text, f32 x, f32 y) {
  if (Font* f = FontSlot(font)) {
    f->DrawText(reinterpret_cast<const u8*>(text), TruncToI32(x), TruncToI32(y));
  }
}

i32 OpenGLRainbows::LoadFont(i32 font, const char* name) {
  Font* f = FontSlot(font);
  return f != nullptr ? f->Load(name, fontKeyColour) : 0;
}

void OpenGLRainbows::SetTransparentColour(u32 colour) {
  transparentColour = colour;
  fontKeyColour = colour;
}

SizePair OpenGLRainbows::GetSpriteSize(i32 i) {
  const Surface* sprite = Sprite(i);
  return sprite != nullptr ? SizePair{sprite->width, sprite->height} : SizePair{};
}

SizePair OpenGLRainbows::GetFontSize(i32 font) {
  const Font* f = FontSlot(font);
  return f != nullptr ? SizePair{f->charWidth, f->charHeight} : SizePair{};
}

void OpenGLRainbows::SetViewport(i32 x, i32 y, i32 w, i32 h) {
  RenderTarget& rt = GetRenderTarget();
  if (w <= 0 || h <= 0) {
    w = rt.width;
    h = rt.height;
  }
  viewportX = x;
  viewportY = y;
  viewportWidth = w;
  viewportHeight = h;
  // A negative origin moves to the edge without shortening the size; only the far edges are cut.
  rt.viewportX = std::max(x, 0);
  rt.viewportY = std::max(y, 0);
  rt.viewportWidth = i64{rt.viewportX} + w > rt.width ? rt.width - rt.viewportX : w;
  rt.viewportHeight = i64{rt.viewportY} + h > rt.height ? rt.height - rt.viewportY : h;

  SoftRenderContext& renderer = GetSoftRenderContext();
  renderer.SetCullFace(kCullFrontFaces);
  renderer.LoadIdentity();
  renderer.SetDepthTest(0);
  renderer.SetViewport(x, y, w, h);
  renderer.Ortho(0, w, h, 0, -1.0f, 1.0f);
}

void OpenGLRainbows::SetScreenSize(i32 w, i32 h) {
  width = w;
  height = h;
  SetViewport(0, 0, 0, 0);
}

i32 OpenGLRainbows::Activate() {
  active = 1;
  return 1;
}

i32 OpenGLRainbows::Deactivate() {
  active = 0;
  return 1;
}
