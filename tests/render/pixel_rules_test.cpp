// The pixel rules of the sixteen configurations, one point at a time, and the line drawers'
// exact stepping.
#include <gtest/gtest.h>

#include <array>
#include <set>
#include <tuple>
#include <utility>

#include "tests/render/raster_target.h"

namespace {

constexpr i32 kWhite = 0xFFFF;

TEST(PixelRules, EachConfigurationShadesAPointAsItsRuleSays) {
  // A 4 x 4 texture whose texel at column c, row r (row 0 first in memory) is 0x0841 x (4r + c),
  // except the key at column 2 of row 1 and white at column 1 of row 3.
  u16 texels[16];
  for (i32 i = 0; i < 16; ++i) texels[i] = static_cast<u16>(0x0841 * i);
  texels[6] = kRendererDefaultKey, texels[13] = kWhite;
  const i32 h = kOne / 2, q = kOne / 4;
  // Configuration, key switch, depth (16.16), varyings; the colour and depth written.
  const std::tuple<u32, u8, i32, std::array<i32, 6>, u16, i16> cases[] = {
      {1, 1, 0x7F7F * kOne, {}, 0xFFFF, 0x7F7F},     // equal depth passes
      {1, 1, 0x7F80 * kOne, {}, kColourSentinel, kDepthSentinel},
      {1, 1, -32768 * kOne, {}, 0xFFFF, -32768},
      {2, 1, 0, {128 * kOne}, 0x7BEF, kDepthSentinel},  // light 128: red 15, green 31, blue 15
      {2, 1, 0, {-kOne}, 0x0000, kDepthSentinel},
      {2, 1, 0, {300 * kOne}, 0xFFFF, kDepthSentinel},
      {4, 1, 0, {-1, 0, kOne}, 0x001F, kDepthSentinel},     // a factor below 0 counts as 0
      {4, 1, 0, {0, 2 * kOne, 0}, 0x0FE0, kDepthSentinel},  // above 1.0 carries into red
      {6, 1, 0, {kOne, kOne, kOne, 255 * kOne}, 0xFFFF, kDepthSentinel},
      {6, 1, 0, {kOne, kOne, kOne, 31 * kOne}, 0x18E3, kDepthSentinel},  // 3, 7, 3
      {6, 1, 0, {-5, kOne, kOne, 31 * kOne}, 0x00E3, kDepthSentinel},
      {8, 1, 0, {3 * q, 0}, 0x0841 * 14, kDepthSentinel},    // column 2 of the last row
      {8, 1, 0, {-q, kOne}, 0x0841 * 14, kDepthSentinel},    // -0.25 is 0.75, 1.0 is 0
      // The largest fraction: column 2, row 1.
      {8, 1, 0, {-1, -1}, kColourSentinel, kDepthSentinel},
      {9, 1, 5 * kOne, {3 * q, kOne - 1}, kColourSentinel, 5},  // the key still writes depth
      {9, 0, 5 * kOne, {3 * q, kOne - 1}, kRendererDefaultKey, 5},
      {10, 1, 0, {0, 0, -kOne}, 0x0841 * 12, kDepthSentinel},  // the light is not applied
      {12, 1, 0, {h, 0, kOne, kOne, kOne}, kWhite, kDepthSentinel},
      {14, 1, 0, {h, 0, kOne, kOne, kOne, 255 * kOne}, 0xF7DE, kDepthSentinel},  // 30, 62, 30
      {14, 1, 0, {h, 0, kOne, kOne, kOne, kOne - 1}, 0x0000, kDepthSentinel},
  };
  for (const auto& [configuration, key, z, varyings, colour, depth] : cases) {
    RasterTarget t(4, 4);
    t.Select(configuration);
    t.ctx->SetTexture(texels, 4, 4);
    t.ctx->SetColourKey(kRendererDefaultKey, key);
    ClipVertex v = V(16 + 15, 16, {}, z);
    std::copy(varyings.begin(), varyings.end(), v.varyings);
    t.ctx->rasterizer.DrawPoint(&v);
    EXPECT_EQ(std::pair(colour, depth), std::pair(t.At(1, 1), t.depth[5])) << configuration;
  }
  RasterTarget one(1, 1);  // a 1 x 1 texture gives its texel everywhere
  one.Select(8);
  one.ctx->SetTexture(&texels[9], 1, 1);
  ClipVertex anywhere = V(0, 0, {3 * q, 12345});
  one.ctx->rasterizer.DrawPoint(&anywhere);
  EXPECT_EQ(texels[9], one.At(0, 0));
}

TEST(PixelRules, NothingIsDrawnWithoutTheBuffersOrTextureTheConfigurationReads) {
  u16 texels[16] = {};
  const std::vector<u16> untouched(16, kColourSentinel);
  // Missing: 0 the colour buffer, 1 the depth buffer, 2 the texels, 3 the texture's width, 4 its
  // height. A triangle, a line and a point draw nothing when the configuration reads what is
  // missing, and draw as usual otherwise.
  for (u32 configuration = 0; configuration < kConfigurationCount; ++configuration) {
    const u32 format = FormatOf(configuration);
    for (i32 missing = 0; missing < 5; ++missing) {
      RasterTarget t(4, 4);
      t.Select(configuration);
      t.ctx->SetTexture(missing == 2 ? nullptr : texels, missing == 3 ? 0 : 4,
                        missing == 4 ? 0 : 4);
      t.ctx->SetTargets(missing == 0 ? nullptr : t.colour.data(),
                        missing == 1 ? nullptr : t.depth.data());
      const ClipVertex a = V(0, 0), b = V(0, 64), c = V(64, 64), p = V(48, 0);
      t.Triangle(a, b, c);
      t.ctx->rasterizer.DrawLine(&a, &c);
      t.ctx->rasterizer.DrawPoint(&p);
      const bool needed = missing == 0 || (missing == 1 && DepthTestOf(configuration)) ||
                          (missing >= 2 && FormatHasTexture(format));
      EXPECT_EQ(needed, t.colour == untouched) << configuration << " " << missing;
      EXPECT_TRUE(!needed || t.depth == std::vector<i16>(16, kDepthSentinel)) << configuration;
    }
  }
}

// The pixels a target holds other than the sentinel.
using Pixels = std::set<std::pair<i32, i32>>;
Pixels Drawn(RasterTarget& t) {
  Pixels out;
  for (i32 i = 0; i < t.w * t.h; ++i) {
    if (t.colour[i] != kColourSentinel) out.insert({i % t.w, i / t.w});
  }
  return out;
}

TEST(Lines, StepExactlyFromTheFirstEndpointExcludedToTheSecond) {
  // Endpoints in whole pixels (moved by a sub-pixel part that the floor drops); pixels drawn.
  for (auto [x0, y0, x1, y1, pixels] :
       {std::tuple{0, 0, 3, 0, Pixels{{1, 0}, {2, 0}, {3, 0}}},
        {0, 0, 2, 2, {{1, 1}, {2, 2}}},
        {0, 0, 1, 3, {{0, 1}, {0, 2}, {1, 3}}},  // the carry comes on the last step
        {5, 0, 2, 2, {{4, 0}, {3, 1}, {2, 2}}},
        {1, 3, 0, 0, {{0, 2}, {0, 1}, {0, 0}}},  // reversed: draws A, not B
        {-3, 1, 12, 1, {{0, 1}, {1, 1}, {2, 1}, {3, 1}, {4, 1}, {5, 1}}}}) {  // clipped
    RasterTarget t(6, 6);
    t.Select(0);
    const ClipVertex a = V(x0 * 16 + 7, y0 * 16 + 15), b = V(x1 * 16, y1 * 16 + 3);
    t.ctx->rasterizer.DrawLine(&a, &b);
    EXPECT_EQ(pixels, Drawn(t)) << x0 << "," << y0 << " to " << x1 << "," << y1 << t.Picture();
  }
  // A light going from 0 to 10.0 over (0, 0) to (1, 3): 10/3 a step with a unit carried, and
  // exactly 10.0 at the end; with depth, the last pixel takes exactly the second depth.
  RasterTarget t(4, 4);
  t.Select(3);
  const ClipVertex a = V(0, 0, {0}, 0), b = V(16, 48, {10 * kOne}, 77 * kOne + 5);
  t.ctx->rasterizer.DrawLine(&a, &b);
  EXPECT_EQ((std::array<u16, 3>{0x0000, 0x0020, 0x0841}),
            (std::array<u16, 3>{t.At(0, 1), t.At(0, 2), t.At(1, 3)}));
  EXPECT_EQ(77, t.depth[13]);
  // Points: inside the clip rectangle (left and top edges included) and on odd rows only.
  t.ctx->SetViewport(1, 1, 2, 2);
  t.ctx->SetRowFilter(1, 1);
  t.Clear();
  for (auto [x, y] : {std::pair{1, 1}, {2, 1}, {3, 1}, {1, 2}, {1, 3}, {-1, 1}}) {
    ClipVertex p = V(x * 16 + 15, y * 16, {kOne}, 0);
    p.x = x < 0 ? -1 : p.x;  // just left of 0: column -1
    t.ctx->rasterizer.DrawPoint(&p);
  }
  EXPECT_EQ((Pixels{{1, 1}, {2, 1}}), Drawn(t)) << t.Picture();
}

}  // namespace
