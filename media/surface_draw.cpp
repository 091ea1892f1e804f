// Drawing surfaces into the render target: windows of a surface, stretched surfaces and the
// frame background. Everything is clipped to the viewport before a pixel is read or written.
#include <algorithm>
#include <cstring>

#include "media/pixel_writer.h"
#include "media/render_target.h"
#include "media/surface.h"

void Surface::Draw(i32 x, i32 y, i32 srcLeft, i32 srcTop, i32 srcRight, i32 srcBottom) const {
  const RenderTarget& rt = GetRenderTarget();
  if (pixels == nullptr || rt.colourBuffer == nullptr) return;
  i64 left = srcLeft, top = srcTop;
  i64 right = std::min<i64>(srcRight, width), bottom = std::min<i64>(srcBottom, height);
  // Source pixel (sx, sy) lands at viewport position (sx + dx, sy + dy).
  const i64 dx = i64{x} - srcLeft, dy = i64{y} - srcTop;
  if (x < 0) left -= x;
  if (y < 0) top -= y;
  // A window starting before the surface (a negative animation frame, say) is cut to it; the
  // offsets stay, so the visible part does not move.
  left = std::max<i64>(left, 0);
  top = std::max<i64>(top, 0);
  if (right + dx > rt.viewportWidth) right = rt.viewportWidth - dx;
  if (bottom + dy > rt.viewportHeight) bottom = rt.viewportHeight - dy;
  if (right <= left || bottom <= top) return;

  const i64 count = right - left;
  const u16* srcRow = pixels + top * width + left;
  u16* dstRow = rt.colourBuffer + (top + dy + rt.viewportY) * rt.width + (left + dx + rt.viewportX);
  const u16 key = colourKey;
  if (rt.blend == 0) {
    for (i64 sy = top; sy < bottom; ++sy, srcRow += width, dstRow += rt.width) {
      if (hasKey == 0 || rowHasKey[sy] == 0) {
        std::memcpy(dstRow, srcRow, sizeof(u16) * count);
      } else {
        for (i64 i = 0; i < count; ++i) {
          if (srcRow[i] != key) dstRow[i] = srcRow[i];
        }
      }
    }
    return;
  }
  WithPlotWriter(rt, [&](auto write) {
    for (i64 sy = top; sy < bottom; ++sy, srcRow += width, dstRow += rt.width) {
      const bool skipKey = hasKey != 0 && rowHasKey[sy] != 0;
      for (i64 i = 0; i < count; ++i) {
        if (!(skipKey && srcRow[i] == key)) write(dstRow + i, srcRow[i]);
      }
    }
  });
}

void Surface::DrawStretched(i32 x0, i32 y0, i32 x1, i32 y1) const {
  const RenderTarget& rt = GetRenderTarget();
  if (pixels == nullptr || rt.colourBuffer == nullptr) return;
  const i64 left = std::min(x0, x1), right = std::max(x0, x1);
  const i64 top = std::min(y0, y1), bottom = std::max(y0, y1);
  const i64 w = right - left, h = bottom - top;
  if (w == 0 || h == 0) return;  // no row, or no column to draw
  const i64 colStart = std::max<i64>(0, -left);
  const i64 colEnd = right > rt.viewportWidth ? rt.viewportWidth - left : w;
  const i64 rowStart = std::max<i64>(0, -top);
  const i64 rowEnd = bottom > rt.viewportHeight ? rt.viewportHeight - top : h;
  if (colStart >= colEnd || rowStart >= rowEnd) return;
  // 16.16 steps of one destination pixel; source = (step * position * size) >> 16.
  const i64 stepX = 0x10000 / w, stepY = 0x10000 / h;
  const u16 key = colourKey;
  // A surface without hasKey draws its key-coloured pixels too, blended or not, as Draw does.
  const bool skipKey = hasKey != 0;
  WithPlotWriter(rt, [&](auto write) {
    for (i64 row = rowStart; row < rowEnd; ++row) {
      const u16* src = pixels + ((stepY * row * height) >> 16) * width;
      u16* dst =
          rt.colourBuffer + (top + row + rt.viewportY) * rt.width + left + rt.viewportX + colStart;
      for (i64 col = colStart; col < colEnd; ++col, ++dst) {
        const u16 p = src[(stepX * col * width) >> 16];
        if (!(skipKey && p == key)) write(dst, p);
      }
    }
  });
}

void DrawBackground(const Surface& surface) {
  const RenderTarget& rt = GetRenderTarget();
  if (surface.pixels == nullptr || rt.colourBuffer == nullptr) return;
  if (surface.width == rt.width && surface.height == rt.height) {
    std::memcpy(rt.colourBuffer, surface.pixels, sizeof(u16) * static_cast<size_t>(rt.pixelCount));
    return;
  }
  surface.Draw(0, 0, 0, 0, surface.width, surface.height);
}
