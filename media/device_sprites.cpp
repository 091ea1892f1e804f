// Sprites and screens of the graphics device: drawing (plain, stretched, as animation frames,
// rotated and zoomed), grabbing the render target into slots, and pixel collision.
//
// Positions and sizes come from programs unchecked, so sums of them are formed in 64 bits and
// brought back into the i32 range before they reach the surfaces: a clamped coordinate lies as
// far outside the viewport as the true one, and draws the same nothing.
#include <cmath>

#include "core/float_convert.h"
#include "core/int_clamp.h"
#include "media/graphics_device.h"
#include "media/render_target.h"

namespace {

// Where frame n of an animation sheet sits, and how large it is.
struct FrameRect {
  i64 left = 0;
  i64 top = 0;
  i64 width = 0;
  i64 height = 0;
};

// The collision layout: a sprite without a frame size is one frame of its whole size; a frame
// wider than the sprite counts as one frame per row, so frame n lies at (0, n * frameHeight).
FrameRect CollisionFrame(const SpriteInfo& info, i32 frame) {
  if (info.frameWidth == 0) return {0, 0, info.width, info.height};
  i64 perRow = info.width / info.frameWidth;
  if (perRow == 0) perRow = 1;
  return {(frame % perRow) * info.frameWidth, (frame / perRow) * info.frameHeight, info.frameWidth,
          info.frameHeight};
}

}  // namespace

void OpenGLRainbows::DrawSprite(i32 i, i32 x, i32 y) {
  if (const Surface* sprite = Sprite(i)) sprite->Draw(x, y, 0, 0, sprite->width, sprite->height);
}

void OpenGLRainbows::StretchSprite(i32 i, i32 x, i32 y, i32 w, i32 h) {
  if (const Surface* sprite = Sprite(i)) {
    sprite->DrawStretched(x, y, ClampToI32(i64{x} + w), ClampToI32(i64{y} + h));
  }
}

void OpenGLRainbows::SetSpriteFrameSize(i32 i, i32 frameWidth, i32 frameHeight) {
  if (SpriteInfo* info = Info(i)) {
    info->frameWidth = static_cast<i16>(frameWidth);
    info->frameHeight = static_cast<i16>(frameHeight);
  }
}

void OpenGLRainbows::DrawAnimFrame(i32 i, i32 frame, i32 x, i32 y) {
  const Surface* sprite = Sprite(i);
  if (sprite == nullptr) return;
  const SpriteInfo& info = spriteInfo[i];
  if (info.frameWidth == 0 || info.frameHeight == 0) return;
  // Unlike the collision layout, a frame wider than the sprite gives no rows: frame n is then
  // column n, so only frame 0 shows anything.
  const i64 perRow = info.width / info.frameWidth;
  const i64 column = perRow == 0 ? frame : frame % perRow;
  const i64 top = perRow == 0 ? 0 : (frame / perRow) * info.frameHeight;
  const i64 left = column * info.frameWidth;
  const i64 right = left + info.frameWidth, bottom = top + info.frameHeight;
  // A window wholly outside the surface draws nothing; this also keeps huge frame numbers from
  // reaching the surface as overflowed coordinates.
  if (left >= sprite->width || top >= sprite->height || right <= 0 || bottom <= 0) return;
  sprite->Draw(x, y, static_cast<i32>(left), static_cast<i32>(top), static_cast<i32>(right),
               static_cast<i32>(bottom));
}

void OpenGLRainbows::DrawSpriteRotoZoom(i32 i, i32 x, i32 y, f32 angleDegrees, f32 scale) {
  const Surface* sprite = Sprite(i);
  if (sprite == nullptr) return;
  // Reused from call to call; reallocated only when a larger square is needed.
  static Surface rotated;
  sprite->Rotate(angleDegrees, rotated);
  if (rotated.pixels == nullptr) return;
  const i64 side = rotated.width, w = sprite->width, h = sprite->height;
  if (scale == 1.0f) {
    rotated.Draw(ClampToI32(x - (side - w) / 2), ClampToI32(y - (side - h) / 2), 0, 0,
                 rotated.width, rotated.height);
    return;
  }
  // NaN gives 0 (nothing drawn); huge products saturate.
  const i64 size = TruncToI32(std::fabs(scale * static_cast<f32>(side)));
  const i64 left = x - (size - w) / 2, top = y - (size - h) / 2;
  rotated.DrawStretched(ClampToI32(left), ClampToI32(top), ClampToI32(left + size),
                        ClampToI32(top + size));
}

void OpenGLRainbows::DrawScreenSlot(i32 i) {
  if (const Surface* screen = Screen(i)) screen->Draw(0, 0, 0, 0, screen->width, screen->height);
}

i32 OpenGLRainbows::SpritesCollideAt(i32 a, i32 b, i32 ax, i32 ay, i32 bx, i32 by) {
  const Surface* sa = Sprite(a);
  const Surface* sb = Sprite(b);
  if (sa == nullptr || sb == nullptr) return 0;
  return SurfacesCollideAt(*sa, ax, ay, *sb, bx, by);
}

i32 OpenGLRainbows::SpritesCollide(i32 a, i32 aFrame, i32 ax, i32 ay, i32 b, i32 bFrame, i32 bx,
                                   i32 by) {
  const Surface* sa = Sprite(a);
  const Surface* sb = Sprite(b);
  if (sa == nullptr || sb == nullptr) return 0;
  const FrameRect fa = CollisionFrame(spriteInfo[a], aFrame);
  const FrameRect fb = CollisionFrame(spriteInfo[b], bFrame);
  const i32 hit = SurfacesCollideFrames(*sa, ax, ay, ClampToI32(fa.left), ClampToI32(fa.top),
                                        ClampToI32(fa.width), ClampToI32(fa.height), *sb, bx, by,
                                        ClampToI32(fb.left), ClampToI32(fb.top),
                                        ClampToI32(fb.width), ClampToI32(fb.height));
  return hit != 0 ? 1 : 0;
}

i32 OpenGLRainbows::GrabSprite(i32 i, i32 x, i32 y, i32 w, i32 h) {
  SpriteInfo* info = Info(i);
  if (info == nullptr) return 1;
  ReleaseTextureOf(i);
  Surface& sprite = sprites[i];
  sprite.Grab(x, y, ClampToI32(i64{x} + w), ClampToI32(i64{y} + h), transparentColour);
  // The record holds what the surface really is: |w| x |h|, or 0 x 0 when nothing was built.
  info->loadedWidth = info->width = static_cast<i16>(sprite.width);
  info->loadedHeight = info->height = static_cast<i16>(sprite.height);
  return 1;
}

void OpenGLRainbows::GrabScreenSlot(i32 i) {
  if (Surface* screen = Screen(i)) {
    const RenderTarget& rt = GetRenderTarget();
    screen->Grab(0, 0, rt.width, rt.height, transparentColour);
  }
}
