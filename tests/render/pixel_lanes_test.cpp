// The rows' fast forms against the single-pixel rule: runs filled in groups of eight lanes (with
// the overlapping last group, and the pixel-by-pixel fallback for textures too large for the
// lanes) give exactly the pixels of ShadePixel applied pixel by pixel, in every configuration,
// with values chosen to carry between the lanes' halves, clamp colours and lights, wrap texture
// coordinates and hit the depth test's boundary; and the paired reciprocals equal single ones.
#include <gtest/gtest.h>

#include <algorithm>
#include <climits>
#include <random>
#include <utility>
#include <vector>

#include "render/raster/pixel_run.h"
#include "render/raster/reciprocal_pair.h"
#include "tests/render/raster_target.h"

namespace {

template <u32 Configuration>
void CheckRuns(std::mt19937& rng, i32 textureWidth, i32 textureHeight) {
  using S = Shader<Configuration>;
  std::vector<u16> texels(textureWidth * textureHeight);
  for (u16& t : texels) t = rng() % 5 == 0 ? kRendererDefaultKey : static_cast<u16>(rng());
  auto value = [&] {  // full range now and then, mostly around the 16.16 colour range
    return rng() % 4 == 0 ? static_cast<i32>(rng()) : static_cast<i32>(rng() % 0x50000) - 0x18000;
  };
  for (i32 n : {1, 5, 8, 9, 16, 23}) {
    RasterTarget t(24, 1), expected(24, 1);
    for (RasterTarget* target : {&t, &expected}) {
      target->ctx->SetTexture(texels.data(), textureWidth, textureHeight);
      target->ctx->SetColourKey(kRendererDefaultKey, n % 2);
    }
    i32 z = value(), zStep = value() / 8, v[kMaxVaryings], steps[kMaxVaryings];
    for (i32 k = 0; k < kMaxVaryings; ++k) v[k] = value(), steps[k] = value() / 4;
    for (i32 x = 0; x < 24; ++x) {  // stored depths around the run's own
      t.depth[x] = expected.depth[x] =
          static_cast<i16>((AddWrap(z, MulWrap(x, zStep)) >> 16) + static_cast<i32>(rng() % 3) - 1);
    }
    PixelSource src, reference;
    ASSERT_TRUE(src.Load<S>(*t.ctx) && reference.Load<S>(*expected.ctx));
    RunFiller<S> filler(src);
    filler.SetDepthStep(zStep);
    filler.SetVaryingSteps(steps);
    filler.Fill(t.colour.data(), t.depth.data(), n, z, v);
    for (i32 x = 0; x < n; ++x, z = AddWrap(z, zStep)) {
      ShadePixel<S>(reference, &expected.At(x, 0), expected.depth.data() + x, z, v);
      for (i32 k = 0; k < kMaxVaryings; ++k) v[k] = AddWrap(v[k], steps[k]);
    }
    EXPECT_EQ(expected.colour, t.colour) << "configuration " << Configuration << " n " << n;
    EXPECT_EQ(expected.depth, t.depth) << "configuration " << Configuration << " n " << n;
  }
}

TEST(PixelGroups, RunsEqualThePixelRuleInEveryConfiguration) {
  std::mt19937 rng(15);
  for (i32 round = 0; round < 5; ++round) {
    // 7 x 5 texels fit the lanes' 16-bit indices; 300 x 300 do not and go pixel by pixel.
    for (auto [w, h] : {std::pair{7, 5}, {300, 300}}) {
      [&]<u32... C>(std::integer_sequence<u32, C...>) {
        (CheckRuns<C>(rng, w, h), ...);
      }(std::make_integer_sequence<u32, kConfigurationCount>{});
    }
  }
}

TEST(PixelGroups, TexturesJustPastTheLanesIndexRangeReadTheRowsTheyAskFor) {
  // Just over 65,536 texels: the last row in memory, where v = 0 reads, is green and the others
  // red. A textured triangle at v = 0 whose rows reach 16 pixels is green wherever it draws;
  // indices wrapped in 16-bit lanes would read the first row.
  for (auto [w, h] : {std::pair{256, 257}, {257, 256}, {1, 65537}}) {
    std::vector<u16> texels(w * h, 0xF800);
    std::fill(texels.end() - w, texels.end(), u16{0x07E0});
    RasterTarget t(16, 4);
    t.Select(8);  // texture
    t.ctx->SetTexture(texels.data(), w, h);
    t.Triangle(V(0, 0, {0, 0}), V(0, 64, {0, 0}), V(256, 0, {kOne - 1, 0}));
    EXPECT_EQ(16 + 12 + 8 + 4, std::count(t.colour.begin(), t.colour.end(), 0x07E0))
        << w << "x" << h << t.Picture();
  }
}

TEST(FixedMath, PairedReciprocalsEqualSingleOnes) {
  const i32 values[] = {INT_MIN, -0x10000, -4,      -1,      0, 1, 2, 3, 4, 5, 7, 0x8000,
                        0xC000,  0x10000,  0x12345, 0x7FFF0000, INT_MAX};
  for (i32 v0 : values) {
    for (i32 v1 : values) {
      i32 r0, r1;
      FixedReciprocalPair(v0, v1, &r0, &r1);
      EXPECT_EQ(std::pair(FixedReciprocal(v0), FixedReciprocal(v1)), std::pair(r0, r1))
          << v0 << " " << v1;
    }
  }
}

}  // namespace
