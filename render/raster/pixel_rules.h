// The pixel rule of each shader configuration, shared by its triangle, span, line and point
// members: the depth step, the texel fetch with the colour key, and the shading rule.
//
// - Depth (depth-test configurations): the pixel passes when the stored signed 16-bit depth is at
//   least z >> 16 (smaller is nearer, equal passes); a passing pixel stores the low 16 bits of
//   z >> 16 at once, so a texel the colour key rejects still updates the depth.
// - Texel: only the fractions of u and v count, so coordinates wrap; the scale is W - 1 and H - 1,
//   so u reaches columns 0 to W - 2 and v = 0 is the last row in memory. The key is tested on the
//   raw texel.
// - Shading: channels are products of 32-bit unsigned values and summed into the pixel without
//   masking, so a colour above 1.0 carries into the neighbouring field; the light is clamped to
//   0..255 (255 full). A colour factor below 0 counts as 0: interpolation rounds a little below 0
//   next to a black vertex, and the unsigned product of a negative factor would paint a bright
//   speckle there. Texture + light writes the texel unlit.
#pragma once

#include <algorithm>
#include <cstddef>

#include "core/types.h"
#include "render/fixed_point.h"
#include "render/raster/shader_traits.h"
#include "render/soft_render_context.h"

// What the pixel rules read of the context, gathered once per primitive.
struct PixelSource {
  u16* colour = nullptr;
  i16* depth = nullptr;
  i32 pitch = 0;
  const u16* texels = nullptr;
  const u16* lastRow = nullptr;  // the texture's last row in memory, where v = 0 reads
  u32 width = 0;
  u32 widthLess1 = 0;
  u32 heightLess1 = 0;
  u32 key = 0;  // above 0xFFFF while the key is off, so no texel equals it

  // False when the configuration cannot draw into the context as it stands (no buffers, or no
  // texture for a texture configuration); nothing is drawn then.
  template <class S>
  bool Load(const SoftRenderContext& ctx) {
    colour = ctx.colourBuffer;
    depth = ctx.depthBuffer;
    pitch = ctx.pitch;
    if (colour == nullptr || (S::kDepth && depth == nullptr)) return false;
    if constexpr (S::kTexture) {
      if (!ctx.HasTexture()) return false;
      width = static_cast<u32>(ctx.textureWidth);
      widthLess1 = width - 1;
      heightLess1 = static_cast<u32>(ctx.textureHeight) - 1;
      texels = ctx.texture;
      lastRow = texels + static_cast<std::size_t>(heightLess1) * width;
      key = ctx.colourKeyEnabled != 0 ? ctx.colourKey : 0x10000u;
    }
    return true;
  }
  u16* ColourRow(i32 y) const { return colour + static_cast<std::ptrdiff_t>(y) * pitch; }
  // Only depth-test members may ask: the depth buffer of the others may be absent.
  i16* DepthRow(i32 y) const { return depth + static_cast<std::ptrdiff_t>(y) * pitch; }
};

namespace pixel_detail {

// A colour factor, below 0 counted as 0.
STAKKO_ALWAYS_INLINE u32 Factor(i32 v) { return static_cast<u32>(v & ~(v >> 31)); }
// The light's integer part clamped to 0..255.
STAKKO_ALWAYS_INLINE u32 Light(i32 light) {
  return static_cast<u32>(std::clamp(light >> 16, 0, 255));
}
STAKKO_ALWAYS_INLINE u32 Times255(u32 x) { return (x << 8) - x; }

// 8-bit channels scaled by an 8-bit light (255 full) into RGB565.
STAKKO_ALWAYS_INLINE u32 Lit565(u32 l, u32 r, u32 g, u32 b) {
  return (((l * r) >> 11) << 11) + (((l * g) >> 10) << 5) + ((l * b) >> 11);
}

// The colour of a configuration without texture, from its varyings.
template <class S>
STAKKO_ALWAYS_INLINE u32 Untextured(const i32* v) {
  if constexpr (S::kColour) {
    const u32 r = Factor(v[S::kColourAt]), g = Factor(v[S::kColourAt + 1]),
              b = Factor(v[S::kColourAt + 2]);
    if constexpr (S::kLight) {
      return Lit565(Light(v[S::kLightAt]), Times255(r) >> 16, Times255(g) >> 16, Times255(b) >> 16);
    } else {
      return ((Times255(r) >> 19) << 11) + ((Times255(g) >> 18) << 5) + (Times255(b) >> 19);
    }
  } else if constexpr (S::kLight) {
    const u32 c = Times255(Light(v[S::kLightAt]));
    return ((c >> 11) << 11) + ((c >> 10) << 5) + (c >> 11);
  } else {
    return 0xFFFF;
  }
}

// A texel as the configuration shades it.
template <class S>
STAKKO_ALWAYS_INLINE u32 Textured(u32 t, const i32* v) {
  if constexpr (S::kColour) {
    const u32 r8 = (t >> 11) << 3, g8 = ((t >> 5) & 63) << 2, b8 = (t & 31) << 3;
    const u32 r = Factor(v[S::kColourAt]), g = Factor(v[S::kColourAt + 1]),
              b = Factor(v[S::kColourAt + 2]);
    if constexpr (S::kLight) {
      return Lit565(Light(v[S::kLightAt]), (r * r8) >> 16, (g * g8) >> 16, (b * b8) >> 16);
    } else {
      return (((r * r8) >> 19) << 11) + (((g * g8) >> 18) << 5) + ((b * b8) >> 19);
    }
  } else {
    return t;  // texture, and texture + light
  }
}

}  // namespace pixel_detail

// The texel at (u, v).
STAKKO_ALWAYS_INLINE u32 FetchTexel(const PixelSource& src, i32 u, i32 v) {
  const u32 column = (src.widthLess1 * (static_cast<u32>(u) & 0xFFFF)) >> 16;
  const u32 rowsUp = (src.heightLess1 * (static_cast<u32>(v) & 0xFFFF)) >> 16;
  return (src.lastRow - static_cast<std::size_t>(rowsUp) * src.width)[column];
}

// One pixel of configuration S at the given colour and depth elements, with its depth (16.16)
// and varyings.
template <class S>
STAKKO_ALWAYS_INLINE void ShadePixel(const PixelSource& src, u16* colour, i16* depth, i32 z,
                                     const i32* v) {
  if constexpr (S::kDepth) {
    const i32 d = z >> 16;
    if (*depth < d) return;
    *depth = static_cast<i16>(d);
  }
  if constexpr (S::kTexture) {
    const u32 t = FetchTexel(src, v[0], v[1]);
    if (t == src.key) return;
    *colour = static_cast<u16>(pixel_detail::Textured<S>(t, v));
  } else {
    *colour = static_cast<u16>(pixel_detail::Untextured<S>(v));
  }
  (void)depth;
  (void)z;
}
