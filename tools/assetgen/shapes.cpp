// The bevelled block, the panel and the ordered dither.
#include "tools/assetgen/shapes.h"

#include <algorithm>
#include <cstdlib>

namespace {

// How much lighter (> 0) or darker (< 0) block pixel (i, j) of a block of side n is.
f32 BlockLight(i32 i, i32 j, i32 n) {
  const i32 last = n - 1;
  if (i == 0 && j == 0) return 0.7f;
  if (i == last && j == last) return -0.6f;
  if (j == 0) return i == last ? 0.1f : 0.55f;
  if (i == 0) return j == last ? -0.15f : 0.4f;
  if (j == last) return -0.5f;
  if (i == last) return -0.4f;
  const bool gleam = n >= 6 && ((i == 2 && j == 2) || (i == 3 && j == 2) || (i == 2 && j == 3));
  if (gleam) return 0.55f;
  const f32 t = static_cast<f32>(i + j) / static_cast<f32>(2 * last);
  return 0.15f - 0.35f * t;
}

constexpr i32 kBayer4[4][4] = {{0, 8, 2, 10}, {12, 4, 14, 6}, {3, 11, 1, 9}, {15, 7, 13, 5}};

// Adds up to one screen step (8 for 5-bit channels, 4 for 6-bit) following the pattern, so the
// screen's truncation rounds up on the matching share of pixels.
u8 Dithered(u8 value, i32 step, i32 threshold) {
  const i32 v = value + (threshold * step) / 16;
  return static_cast<u8>(std::min(v, 255));
}

}  // namespace

void DrawBevelBlock(Canvas& canvas, i32 x, i32 y, i32 size, Rgb base) {
  for (i32 j = 0; j < size; ++j) {
    for (i32 i = 0; i < size; ++i) canvas.Set(x + i, y + j, Shade(base, BlockLight(i, j, size)));
  }
}

void DrawPanel(Canvas& canvas, i32 x, i32 y, i32 w, i32 h, const PanelStyle& style) {
  const i32 cut = style.cornerCut;
  for (i32 j = 0; j < h; ++j) {
    for (i32 i = 0; i < w; ++i) {
      const i32 dx = std::min(i, w - 1 - i);
      const i32 dy = std::min(j, h - 1 - j);
      if (dx + dy < cut) continue;  // cut corner
      const bool ring = dx == 0 || dy == 0 || dx + dy == cut;
      if (ring) {
        canvas.Set(x + i, y + j, style.outline);
        continue;
      }
      Rgb face = Mix(style.top, style.bottom, static_cast<f32>(j) / static_cast<f32>(h - 1));
      if (j == 1 || dx + dy == cut + 1) {
        face = j < h / 2 ? Shade(face, style.rimLight) : Shade(face, -style.rimDark);
      }
      if (j == h - 2) face = Shade(face, -style.rimDark);
      canvas.Set(x + i, y + j, face);
    }
  }
}

void DitherFor16Bit(Canvas& canvas) {
  for (i32 y = 0; y < canvas.height(); ++y) {
    for (i32 x = 0; x < canvas.width(); ++x) {
      if (!canvas.IsOpaque(x, y)) continue;
      const i32 t = kBayer4[y & 3][x & 3];
      const Rgb c = canvas.Get(x, y);
      canvas.Set(x, y, {Dithered(c.r, 8, t), Dithered(c.g, 4, t), Dithered(c.b, 8, t)});
    }
  }
}
