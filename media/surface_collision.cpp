// Pixel-exact collision between two surfaces placed on the screen. A surface without hasKey is
// a solid rectangle; with hasKey its key-coloured pixels are holes. Only pixels inside a surface
// are ever read: positions outside it are never solid.
#include <algorithm>

#include "media/surface.h"

namespace {

i32 CollideInRect(const Surface& a, i64 ax, i64 ay, const Surface& b, i64 bx, i64 by, i64 left,
                  i64 right, i64 top, i64 bottom) {
  if (a.pixels == nullptr || b.pixels == nullptr) return 0;
  if (a.hasKey == 0 && b.hasKey == 0) return 1;
  // b's pixels are always looked at, a's only when a has holes: cut the rectangle to them.
  left = std::max(left, bx);
  right = std::min(right, bx + b.width);
  top = std::max(top, by);
  bottom = std::min(bottom, by + b.height);
  if (a.hasKey != 0) {
    left = std::max(left, ax);
    right = std::min(right, ax + a.width);
    top = std::max(top, ay);
    bottom = std::min(bottom, ay + a.height);
  }
  for (i64 y = top; y < bottom; ++y) {
    const u16* bRow = b.pixels + (y - by) * b.width;
    for (i64 x = left; x < right; ++x) {
      if (bRow[x - bx] == b.colourKey) continue;
      if (a.hasKey == 0 || a.pixels[(y - ay) * a.width + (x - ax)] != a.colourKey) return 1;
    }
  }
  return 0;
}

// The overlap of two screen rectangles, then the collision over it; 0 when they are apart.
i32 CollideOverlap(const Surface& a, i64 ax, i64 ay, i64 aw, i64 ah, i64 aOriginX, i64 aOriginY,
                   const Surface& b, i64 bx, i64 by, i64 bw, i64 bh, i64 bOriginX, i64 bOriginY) {
  const i64 left = std::max(ax, bx), right = std::min(ax + aw, bx + bw);
  const i64 top = std::max(ay, by), bottom = std::min(ay + ah, by + bh);
  if (left > right || top > bottom) return 0;
  return CollideInRect(a, aOriginX, aOriginY, b, bOriginX, bOriginY, left, right, top, bottom);
}

}  // namespace

i32 SurfacesCollide(const Surface& a, i32 ax, i32 ay, const Surface& b, i32 bx, i32 by, i32 left,
                    i32 right, i32 top, i32 bottom) {
  return CollideInRect(a, ax, ay, b, bx, by, left, right, top, bottom);
}

i32 SurfacesCollideAt(const Surface& a, i32 ax, i32 ay, const Surface& b, i32 bx, i32 by) {
  return CollideOverlap(a, ax, ay, a.width, a.height, ax, ay, b, bx, by, b.width, b.height, bx, by);
}

i32 SurfacesCollideFrames(const Surface& a, i32 ax, i32 ay, i32 aFrameX, i32 aFrameY, i32 aWidth,
                          i32 aHeight, const Surface& b, i32 bx, i32 by, i32 bFrameX, i32 bFrameY,
                          i32 bWidth, i32 bHeight) {
  // Frame (aFrameX, aFrameY) of a lies at (ax, ay): a's own origin is that far up and left.
  return CollideOverlap(a, ax, ay, aWidth, aHeight, i64{ax} - aFrameX, i64{ay} - aFrameY, b, bx, by,
                        bWidth, bHeight, i64{bx} - bFrameX, i64{by} - bFrameY);
}
