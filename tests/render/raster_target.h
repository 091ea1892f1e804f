// A small drawing target for pixel tests: colour and depth buffers filled with sentinels and bound
// to a rendering context of their own (clip rectangle over the whole target), the configuration's
// members installed; hashes of each buffer for golden values and an ASCII picture for failures.
#pragma once

#include <initializer_list>
#include <memory>
#include <string>
#include <vector>

#include "render/shader_selection.h"
#include "render/soft_render_context.h"

constexpr i32 kOne = 0x10000;
constexpr u16 kColourSentinel = 0x1234;
constexpr i16 kDepthSentinel = 0x7F7F;

// A projected vertex: 28.4 position, then the varyings; depth and w as given.
inline ClipVertex V(i32 x, i32 y, std::initializer_list<i32> varyings = {}, i32 z = 0,
                    i32 w = kOne) {
  ClipVertex v{x, y, z, w, {}};
  i32 k = 0;
  for (i32 value : varyings) v.varyings[k++] = value;
  return v;
}

struct RasterTarget {
  explicit RasterTarget(i32 width = 32, i32 height = 24)
      : w(width), h(height), colour(width * height, kColourSentinel),
        depth(width * height, kDepthSentinel) {
    ctx->BindTargets(colour.data(), depth.data(), w, h);
    ctx->SetViewport(0, 0, w, h);
  }
  void Select(u32 configuration) {
    const ShaderConfiguration& s = ShaderConfigurationOf(configuration);
    ctx->rasterizer.SelectShader(s.varyingCount, s.triangle, s.line, s.point);
  }
  void Triangle(const ClipVertex& a, const ClipVertex& b, const ClipVertex& c) {
    ctx->rasterizer.DrawTriangle(&a, &b, &c);
  }
  void Clear() {
    colour.assign(colour.size(), kColourSentinel);
    depth.assign(depth.size(), kDepthSentinel);
  }
  u16& At(i32 x, i32 y) { return colour[y * w + x]; }
  // FNV-1a over the buffer's bytes.
  template <class T>
  static u64 Hash(const std::vector<T>& buffer) {
    u64 hash = 14695981039346656037ull;
    for (T value : buffer) {
      for (size_t i = 0; i < sizeof(T); ++i) {
        hash = (hash ^ ((static_cast<u64>(static_cast<u16>(value)) >> (8 * i)) & 0xFF)) *
               1099511628211ull;
      }
    }
    return hash;
  }
  // One character a pixel: '.' for the sentinel, else a hexadecimal digit of its top four bits.
  std::string Picture() const {
    std::string out = "\n";
    for (i32 y = 0; y < h; ++y) {
      for (i32 x = 0; x < w; ++x) {
        const u16 c = colour[y * w + x];
        out += c == kColourSentinel ? '.' : "0123456789abcdef"[c >> 12];
      }
      out += '\n';
    }
    return out;
  }

  i32 w, h;
  std::vector<u16> colour;
  std::vector<i16> depth;
  std::unique_ptr<SoftRenderContext> ctx = std::make_unique<SoftRenderContext>();
};
