// The drawing, sprite, primitive, viewport and device commands.
#include "media/graphics_commands.h"

#include <algorithm>
#include <cmath>

#include "core/float_convert.h"
#include "core/runtime_globals.h"
#include "media/graphics_device.h"
#include "media/render_target.h"
#include "media/sprite_image_files.h"
#include "media/textured_quads.h"

namespace {

// The largest blend value that survives the cut to 16 signed bits unchanged.
constexpr f64 kBlendLimit = 32767.0;

OpenGLRainbows* Device() { return graphicsDevice; }

bool ValidSprite(i32 sprite) { return sprite >= 0 && sprite < kSpriteSlotCount; }

// A position that passes through a 32-bit float on its way, as every screen coordinate does.
i32 ThroughFloat(i32 v) { return TruncToI32(static_cast<f32>(v)); }

void DeviceOptionHook(bool flag) { (void)flag; }

}  // namespace

void ResetDrawState() {
  if (Device() != nullptr) Device()->ClearScreenSlot(0);
  GetRenderTarget().ClearColour();
}

i32 BlendValueForMode(f32 mode) {
  if (std::isnan(mode) || mode == 0.0f) return 0;
  const i32 v = TruncToI32(std::clamp(static_cast<f64>(mode) * 255.0, -kBlendLimit, kBlendLimit));
  return mode < 0.0f ? std::min(v, -1) : std::max(v, 1);
}

void SetBlendMode(f32 mode) {
  GetRenderTarget().SetBlend(BlendValueForMode(mode));
  if (Device() == nullptr) return;
  const bool plain = std::isnan(mode) || mode == 0.0f;
  Device()->blendAlpha = plain ? 1.0f : std::min(std::fabs(mode), 1.0f);
}

void DrawSpriteCommand(i32 sprite, i32 x, i32 y) {
  if (Device() != nullptr) Device()->DrawSprite(sprite, ThroughFloat(x), ThroughFloat(y));
}

void DrawAnimFrameCommand(i32 sprite, i32 frame, i32 x, i32 y) {
  if (Device() != nullptr) Device()->DrawAnimFrame(sprite, frame, x, y);
}

void StretchSpriteCommand(i32 sprite, i32 x, i32 y, f32 scaleX, f32 scaleY) {
  if (Device() == nullptr || !ValidSprite(sprite)) return;
  const SpriteInfo& info = *Device()->Info(sprite);
  const f32 w = static_cast<f32>(info.width);
  const f32 h = static_cast<f32>(info.height);
  const f32 fw = w * scaleX;
  const f32 fh = h * scaleY;
  const i32 left = TruncToI32(static_cast<f32>(x) + (fw - w) * -0.5f);
  const i32 top = TruncToI32(static_cast<f32>(y) + (fh - h) * -0.5f);
  Device()->StretchSprite(sprite, left, top, TruncToI32(fw), TruncToI32(fh));
}

void StretchSpriteRectCommand(i32 sprite, i32 x, i32 y, i32 w, i32 h) {
  if (Device() != nullptr) Device()->StretchSprite(sprite, x, y, w, h);
}

void RotateSpriteCommand(i32 sprite, i32 x, i32 y, f32 angle) {
  if (Device() != nullptr) Device()->DrawSpriteRotoZoom(sprite, x, y, angle, 1.0f);
}

void RotoZoomSpriteCommand(i32 sprite, i32 x, i32 y, f32 angle, f32 zoom) {
  if (Device() != nullptr) Device()->DrawSpriteRotoZoom(sprite, x, y, angle, zoom);
}

void DrawSpriteQuadRotoZoomCommand(i32 sprite, i32 frame, i32 x, i32 y, f32 angle, f32 scale) {
  if (Device() != nullptr) DrawSpriteQuadRotoZoom(Device(), sprite, frame, x, y, angle, scale);
}

void DrawSpriteQuadFrameCommand(i32 sprite, i32 frame, i32 x, i32 y, i32 w, i32 h) {
  if (Device() != nullptr) DrawSpriteQuadFrame(Device(), sprite, frame, x, y, w, h);
}

i32 SpritesCollideCommand(i32 a, i32 aFrame, i32 ax, i32 ay, i32 b, i32 bFrame, i32 bx, i32 by) {
  if (Device() == nullptr) return 0;
  return Device()->SpritesCollide(a, aFrame, ax, ay, b, bFrame, bx, by);
}

i32 SpriteCollisionCommand(i32 a, i32 ax, i32 ay, i32 b, i32 bx, i32 by) {
  if (Device() == nullptr) return 0;
  return Device()->SpritesCollideAt(a, b, ax, ay, bx, by);
}

void GrabSpriteCommand(i32 sprite, i32 x, i32 y, i32 w, i32 h) {
  if (Device() != nullptr) Device()->GrabSprite(sprite, x, y, w, h);
}

void GrabBackgroundCommand() {
  if (Device() != nullptr) Device()->GrabScreenSlot(0);
}

u32 GetSpriteInfoWordCommand(i32 sprite) {
  if (Device() == nullptr || !ValidSprite(sprite)) return 0;
  return Device()->Info(sprite)->reserved0;
}

void GetSpriteSizeCommand(i32 sprite, i32* w, i32* h) {
  SizePair size;
  if (Device() != nullptr) size = Device()->GetSpriteSize(sprite);
  *w = size.width;
  *h = size.height;
}

void GetSpriteSizeCommand(f32 sprite, f32* w, f32* h) {
  i32 iw = 0;
  i32 ih = 0;
  GetSpriteSizeCommand(TruncToI32(sprite), &iw, &ih);
  *w = static_cast<f32>(iw);
  *h = static_cast<f32>(ih);
}

void SetTransparentColourCommand(u32 colour) {
  if (Device() != nullptr) Device()->SetTransparentColour(colour);
}

void SetPixelCommand(i32 x, i32 y, u32 colour) { SetPixel(x, y, colour); }

u32 GetPixelCommand(i32 x, i32 y) { return GetPixel(x, y); }

void DrawLineCommand(i32 x0, i32 y0, i32 x1, i32 y1, u32 colour) {
  DrawLine(x0, y0, x1, y1, colour);
}

void FillRectCommand(i32 x, i32 y, i32 w, i32 h, u32 colour) { FillRect(x, y, w, h, colour); }

void SetViewportCommand(i32 x, i32 y, i32 w, i32 h) {
  if (Device() != nullptr) Device()->SetViewport(x, y, w, h);
}

void GetViewportCommand(i32* x, i32* y, i32* w, i32* h) {
  const OpenGLRainbows* d = Device();
  *x = d != nullptr ? d->viewportX : 0;
  *y = d != nullptr ? d->viewportY : 0;
  *w = d != nullptr ? d->viewportWidth : 0;
  *h = d != nullptr ? d->viewportHeight : 0;
}

void GetViewportCommand(f32* x, f32* y, f32* w, f32* h) {
  i32 v[4];
  GetViewportCommand(&v[0], &v[1], &v[2], &v[3]);
  *x = static_cast<f32>(v[0]);
  *y = static_cast<f32>(v[1]);
  *w = static_cast<f32>(v[2]);
  *h = static_cast<f32>(v[3]);
}

void GetScreenSizeCommand(i32* w, i32* h) {
  *w = Device() != nullptr ? Device()->width : 0;
  *h = Device() != nullptr ? Device()->height : 0;
}

void GetScreenSizeCommand(f32* w, f32* h) {
  i32 iw = 0;
  i32 ih = 0;
  GetScreenSizeCommand(&iw, &ih);
  *w = static_cast<f32>(iw);
  *h = static_cast<f32>(ih);
}

void CreateOffscreenSpriteCommand(i32 screen, i32 sprite, i32 width, i32 height) {
  if (Device() == nullptr || screen < 0 || screen >= kOffscreenSlotCount || !ValidSprite(sprite)) {
    return;
  }
  CreateOffscreenSprite(Device(), screen, sprite, width, height);
}

void SelectOffscreenCommand(i32 screen) {
  if (Device() == nullptr) return;
  if (screen < 0) {
    EndOffscreenDraw(Device());
  } else if (screen < kOffscreenSlotCount) {
    BeginOffscreenDraw(Device(), screen);
  }
}

void BeginTexturedPolygonCommand(i32 sprite) {
  if (Device() != nullptr) BeginTexturedPolygon(Device(), sprite);
}

void AddPolyVertexCommand(i32 x, i32 y, i32 u, i32 v, u32 colour) {
  if (Device() != nullptr) {
    AddPolyVertex(Device(), x, y, static_cast<f32>(u), static_cast<f32>(v), colour);
  }
}

void EndTexturedPolygonCommand() {
  if (Device() != nullptr) EndTexturedPolygon();
}

void SetFrameRateLimit(f32 fps) {
  if (Device() != nullptr) Device()->SetFrameRate(TruncToI32(fps));
}

u8 IsWindowActiveCommand() { return Device() != nullptr ? Device()->active : 0; }

void SetDeviceOptionCommand(i32 flag) { DeviceOptionHook(flag != 0); }

void SaveScreenImageCommand(const DynString& name) {
  if (Device() != nullptr) SaveScreenImage(Device(), name.CStr());
}

void SaveSpriteCommand(const DynString& name, i32 sprite) {
  if (Device() != nullptr) Device()->SaveSprite(sprite, name.CStr());
}

void EmptyGraphicsCommand() {}
