// Drawing into a sprite. There is no second render target: the top-left area of the screen, of
// the sprite's size, is the canvas. Beginning saves that area in a reserved sprite, fills it with
// the transparent colour and draws the sprite's present content onto it; the viewport then keeps
// all drawing inside it. Ending captures the canvas into the sprite (pixels still of the
// transparent colour become transparent), blacks the area out and draws the saved screen back
// with its key, so saved pixels of the transparent colour come back black.
#include "media/graphics_device.h"
#include "media/rgba_image.h"

namespace {

// The largest logical side whose texture side (the next power of two) still fits the record's
// 16 bits.
constexpr i32 kMaxOffscreenSide = 16384;

bool OffscreenSlotValid(i32 slot) { return slot >= 0 && slot < kOffscreenSlotCount; }

// The smallest power of two that is at least n and at least 2 (n at most kMaxOffscreenSide).
i32 TextureSide(i32 n) {
  i32 side = 2;
  while (side < n) side *= 2;
  return side;
}

}  // namespace

void CreateOffscreenSprite(OpenGLRainbows* gfx, i32 slot, i32 sprite, i32 w, i32 h) {
  if (gfx == nullptr || !OffscreenSlotValid(slot) || gfx->Info(sprite) == nullptr) return;
  if (w < 0 || h < 0 || w > kMaxOffscreenSide || h > kMaxOffscreenSide) return;
  const i32 tw = TextureSide(w), th = TextureSide(h);
  gfx->ClearSprite(sprite);
  OwnedRgbaImage blank;  // all zero: every pixel transparent
  if (!SizeRgbaImage(blank.image, tw, th)) return;
  Surface& surface = gfx->sprites[sprite];
  surface.FromRgba(blank.image, gfx->transparentColour, nullptr);
  if (surface.pixels == nullptr) return;
  gfx->offscreen[slot].sprite = sprite;
  SpriteInfo& info = gfx->spriteInfo[sprite];
  info.loadedWidth = static_cast<i16>(tw);
  info.loadedHeight = static_cast<i16>(th);
  info.width = static_cast<i16>(w);
  info.height = static_cast<i16>(h);
}

void BeginOffscreenDraw(OpenGLRainbows* gfx, i32 slot) {
  if (gfx == nullptr || !OffscreenSlotValid(slot)) return;
  // Also when the same slot is current: beginning again would save the canvas over the saved
  // screen, and the screen could never be restored.
  if (gfx->currentOffscreen >= 0) EndOffscreenDraw(gfx);
  const i32 s = gfx->offscreen[slot].sprite;
  const SpriteInfo* info = gfx->Info(s);
  if (info == nullptr) return;
  gfx->currentOffscreen = slot;
  const i32 w = info->width, h = info->height;
  gfx->SetViewport(0, 0, w, h);
  gfx->GrabSprite(kSavedScreenSprite, 0, 0, w, h);
  FillRect(0, 0, w, h, gfx->transparentColour);
  gfx->DrawSprite(s, 0, 0);
}

void EndOffscreenDraw(OpenGLRainbows* gfx) {
  if (gfx == nullptr) return;
  if (OffscreenSlotValid(gfx->currentOffscreen)) {
    const i32 s = gfx->offscreen[gfx->currentOffscreen].sprite;
    if (const SpriteInfo* info = gfx->Info(s)) {
      gfx->GrabSprite(s, 0, 0, info->width, info->height);
      FillRect(0, 0, info->loadedWidth, info->loadedHeight, 0);
      gfx->DrawSprite(kSavedScreenSprite, 0, 0);
    }
  }
  gfx->SetViewport(0, 0, 0, 0);
  gfx->currentOffscreen = -1;
}
