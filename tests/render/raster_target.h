// A small drawing target for pixel tests: colour and depth buffers filled with sentinels and bound
// to a rendering context of their own (clip rectangle over the whole target), a configuration's
// members installed; hashes of each buffer for golden values and an ASCII picture for failures.
#pragma once

#include <initializer_list>
#include <memory>
#include <string>
#include <vector>

#include "render/shader_selection.h"
#include "render/soft_render_context.h"
#include "tests/support/pixel_hash.h"

constexpr i32 kOne = 0x10000;
constexpr u16 kColourSentinel = 0x1234;
constexpr i16 kDepthSentinel = 0x7F7F;

// A projected vertex: 28.4 position, the varyings, depth and w.
inline ClipVertex V(i32 x, i32 y, std::initializer_list<i32> varyings = {}, i32 z = 0) {
  ClipVertex v{x, y, z, kOne, {}};
  std::copy(varyings.begin(), varyings.end(), v.varyings);
  return v;
}

struct RasterTarget {
  explicit RasterTarget(i32 width = 32, i32 height = 24) : w(width), h(height) {
    Clear();
    ctx->BindTargets(colour.data(), depth.data(), w, h);
    ctx->SetViewport(0, 0, w, h);
  }
  void Clear() {
    colour.assign(w * h, kColourSentinel);
    depth.assign(w * h, kDepthSentinel);
  }
  void Select(u32 configuration) {
    const ShaderConfiguration& s = ShaderConfigurationOf(configuration);
    ctx->rasterizer.SelectShader(s.varyingCount, s.triangle, s.line, s.point);
  }
  void Triangle(ClipVertex a, ClipVertex b, ClipVertex c) {
    ctx->rasterizer.DrawTriangle(&a, &b, &c);
  }
  u16& At(i32 x, i32 y) { return colour[y * w + x]; }
  // One character a pixel: '.' for the sentinel, else a hexadecimal digit of its top four bits.
  std::string Picture() const {
    std::string out;
    for (i32 i = 0; i < w * h; ++i) {
      out += i % w == 0 ? "\n" : "";
      out += colour[i] == kColourSentinel ? '.' : "0123456789abcdef"[colour[i] >> 12];
    }
    return out;
  }

  i32 w, h;
  std::vector<u16> colour;
  std::vector<i16> depth;
  std::unique_ptr<SoftRenderContext> ctx = std::make_unique<SoftRenderContext>();
};
