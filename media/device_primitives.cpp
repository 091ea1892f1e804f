// The graphics device's primitives: rectangles, single pixels and lines in colours 0x00BBGGRR,
// at positions relative to the viewport.
#include <algorithm>

#include "media/graphics_device.h"
#include "media/pixel_format.h"
#include "media/render_target.h"

namespace {

// The pixel at viewport position (x, y), or null when it lies outside the whole target.
u16* TargetPixel(i32 x, i32 y) {
  const RenderTarget& rt = GetRenderTarget();
  const i64 absX = i64{x} + rt.viewportX, absY = i64{y} + rt.viewportY;
  if (rt.colourBuffer == nullptr || absX < 0 || absX >= rt.width || absY < 0 || absY >= rt.height) {
    return nullptr;
  }
  return rt.colourBuffer + absY * rt.width + absX;
}

// A negative extent makes the span end at the given position, inclusive. Whatever lies left of
// 0 is cut here, as the fill would cut it, so that the values handed on fit an i32.
bool NormaliseSpan(i64& pos, i64& extent) {
  if (extent < 0) {
    pos += extent + 1;
    extent = -extent;
  }
  if (pos < 0) {
    extent += pos;
    pos = 0;
  }
  extent = std::min<i64>(extent, INT32_MAX);
  return extent > 0;
}

}  // namespace

void FillRect(i32 x, i32 y, i32 w, i32 h, u32 colour) {
  i64 left = x, top = y, cw = w, ch = h;
  if (!NormaliseSpan(left, cw) || !NormaliseSpan(top, ch)) return;
  FillSurfaceRect(static_cast<i32>(left), static_cast<i32>(top), static_cast<i32>(cw),
                  static_cast<i32>(ch), ColourToPixel(colour));
}

void SetPixel(i32 x, i32 y, u32 colour) {
  if (u16* pixel = TargetPixel(x, y)) GetRenderTarget().plot(pixel, ColourToPixel(colour));
}

u32 GetPixel(i32 x, i32 y) {
  const u16* pixel = TargetPixel(x, y);
  const u16 p = pixel != nullptr ? *pixel : 0;
  return u32{PixelRed8(p)} | u32{PixelGreen8(p)} << 8 | u32{PixelBlue8(p)} << 16;
}

void DrawLine(i32 x0, i32 y0, i32 x1, i32 y1, u32 colour) {
  GetRenderTarget().PlotLine(x0, y0, x1, y1, ColourToPixel(colour));
}
