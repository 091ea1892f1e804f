// The work of the renderer benchmark, shared by this renderer and the peer: a 320 x 240 screen
// covered by triangles (two full-screen ones, or two per square cell), each vertex with a depth,
// a w that grows across the screen (so the perspective path has something to correct), texture
// coordinates that repeat the 64 x 64 texture every 64 pixels, and a colour.
#pragma once

#include <array>
#include <vector>

#include "core/types.h"

constexpr i32 kBenchWidth = 320, kBenchHeight = 240, kBenchTexture = 64;
constexpr u16 kBenchMask = 0xF81F;  // the peer's mask colour in 16 bits, used as our key too

struct BenchVertex {
  f32 x, y;  // pixels
  f32 w;     // 1.0 .. 2.0; the depth is proportional to it
  f32 u, v;  // texels
  f32 r, g, b;
};
using BenchTriangle = std::array<BenchVertex, 3>;

inline BenchVertex BenchAt(f32 x, f32 y) {
  return {x, y, 1.0f + x / 640.0f + y / 480.0f, x, y, x / kBenchWidth, y / kBenchHeight, 0.5f};
}

// Triangles over the screen in cells of `cell` pixels (0: the whole screen), each cell split
// along its diagonal; vertices in the order (top left, bottom left, bottom right) and (top left,
// bottom right, top right).
inline std::vector<BenchTriangle> BenchTriangles(i32 cell) {
  const i32 cw = cell > 0 ? cell : kBenchWidth, ch = cell > 0 ? cell : kBenchHeight;
  std::vector<BenchTriangle> out;
  for (i32 y = 0; y < kBenchHeight; y += ch) {
    for (i32 x = 0; x < kBenchWidth; x += cw) {
      const BenchVertex tl = BenchAt(x, y), bl = BenchAt(x, y + ch), br = BenchAt(x + cw, y + ch),
                        tr = BenchAt(x + cw, y);
      out.push_back({tl, bl, br});
      out.push_back({tl, br, tr});
    }
  }
  return out;
}

// A 64 x 64 RGB565 texture with a pattern and a few masked texels.
inline std::vector<u16> BenchTexture() {
  std::vector<u16> texels(kBenchTexture * kBenchTexture);
  for (i32 y = 0; y < kBenchTexture; ++y) {
    for (i32 x = 0; x < kBenchTexture; ++x) {
      const bool masked = (x / 8 + y / 8) % 7 == 0;
      texels[y * kBenchTexture + x] =
          masked ? kBenchMask : static_cast<u16>(((x * 4) << 11) ^ ((y * 8) << 5) ^ (x + y));
    }
  }
  return texels;
}

// How the peer draws the triangles: affine or perspective masked texture with a z-buffer, or
// interpolated colour.
enum class BenchMode { kAffine, kPerspective, kColour };
