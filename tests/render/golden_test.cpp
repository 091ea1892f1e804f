// Golden pixels: every configuration draws a quad, a fan and a strip through float-mesh
// submission and batch rendering, and the colour and depth buffers are compared with hashes
// frozen after the hand-computed cases of the other tests had passed. A change here is a change
// of interpretation, never a tolerance.
#include <gtest/gtest.h>

#include <cmath>
#include <utility>
#include <vector>

#include "render/float_mesh.h"
#include "tests/render/raster_target.h"

namespace {

// Floats of one vertex at pixel (x, y) with depth z and a colour, in the layout hasZ, lit (a
// normal tilting with x), texture (u with x, v with y), colour slot.
void Vertex(std::vector<f32>& out, bool lit, f32 x, f32 y, f32 z, f32 r, f32 g, f32 b) {
  out.insert(out.end(), {x, y, z});
  if (lit) out.insert(out.end(), {x / 40.0f, 0.3f, 0.9f});
  out.insert(out.end(), {x / 24.0f - 0.1f, 1.0f - y / 20.0f, r, g, b, 1.0f});
}

// A quad, a fan reaching in front of it and behind it (one vertex beyond the near plane), and a
// strip across both: mode, vertex count and floats.
struct Mesh {
  i32 mode, count;
  std::vector<f32> floats;
};
std::vector<Mesh> Scene(bool lit) {
  std::vector<Mesh> scene = {{kMeshTriangleFan, 4, {}}, {kMeshTriangleFan, 8, {}},
                             {kMeshTriangleStrip, 6, {}}};
  for (auto [x, y] : {std::pair{2, 2}, {2, 14}, {18, 14}, {18, 2}}) {
    Vertex(scene[0].floats, lit, x, y, 0.0f, 1.0f, x / 20.0f, 0.2f);
  }
  Vertex(scene[1].floats, lit, 16, 12, 0.6f, 0.1f, 1.0f, 0.1f);
  for (i32 k = 0; k <= 6; ++k) {
    const f32 c = std::cos(k * 1.0472f), s = std::sin(k * 1.0472f);
    Vertex(scene[1].floats, lit, 16 + 11 * c, 12 + 9 * s, k == 2 ? 1.5f : 0.6f * c, 0.5f - s / 2,
           0.8f, c);
  }
  for (i32 k = 0; k < 6; ++k) {
    Vertex(scene[2].floats, lit, 3.0f + 5.3f * k, k % 2 ? 23.5f : 15.25f, 0.3f, 0.0f, k / 5.0f,
           1.0f);
  }
  return scene;
}

TEST(Golden, EveryConfigurationThroughAQuadAFanAndAStrip) {
  // Colour and depth hashes of configurations 0 to 15.
  const std::pair<u64, u64> expected[16] = {
      {7928910315484996557u, 273788590179766565u},
      {7928910315484996557u, 650674727631918324u},
      {11439428494038137793u, 273788590179766565u},
      {11439428494038137793u, 650674727631918324u},
      {10533171271183697001u, 273788590179766565u},
      {16205756366212109967u, 650674727631918324u},
      {12014379613607797783u, 273788590179766565u},
      {4942696500956736288u, 650674727631918324u},
      {16917232475739080212u, 273788590179766565u},
      {16917232475739080212u, 650674727631918324u},
      {16917232475739080212u, 273788590179766565u},
      {16917232475739080212u, 650674727631918324u},
      {15863927663514013853u, 273788590179766565u},
      {2299566114952424988u, 650674727631918324u},
      {17303963394530087586u, 273788590179766565u},
      {13804742559778102129u, 650674727631918324u},
  };
  u16 texels[16];
  for (i32 i = 0; i < 16; ++i) texels[i] = static_cast<u16>(0x1F0F * (i + 3) + 0x0841 * i);
  texels[5] = kRendererDefaultKey;
  for (u32 configuration = 0; configuration < kConfigurationCount; ++configuration) {
    RasterTarget t;
    SoftRenderContext& ctx = *t.ctx;
    ctx.Ortho(0, 32, 24, 0, -1.0f, 1.0f);
    ctx.LoadIdentity();
    ctx.SetCullFace(0);
    ctx.SetDepthTest(DepthTestOf(configuration));
    ctx.SetLighting(1);
    ctx.SetLightDirection(0.0f, 0.0f, 1.0f);
    ctx.SetTexture(texels, 4, 4);
    const u32 format = FormatOf(configuration);
    const u32 tex = FormatHasTexture(format), col = FormatHasColour(format),
              lit = FormatHasLight(format);
    const std::vector<Mesh> scene = Scene(lit);
    const i32 first = ctx.AllocBatches(3);
    for (i32 k = 0; k < 3; ++k) {
      ctx.SubmitFloatMesh(scene[k].mode, scene[k].count, scene[k].floats.data(), 1, lit, tex,
                          col, 1);
      ctx.SelectBatch(first + k);
      ctx.SubmitFloatMesh(scene[k].mode, scene[k].count, scene[k].floats.data(), 1, lit, tex,
                          col, 1);
      ctx.UnselectBatch();
    }
    EXPECT_EQ(expected[configuration], std::pair(t.Hash(t.colour), t.Hash(t.depth)))
        << "configuration " << configuration << t.Picture();
    // Recorded once, rendered twice: the same pixels each time.
    const std::vector<u16> immediate = t.colour;
    const std::vector<i16> immediateDepth = t.depth;
    for (i32 pass = 0; pass < 2; ++pass) {
      t.Clear();
      ctx.RenderBatches(first, 3);
      EXPECT_TRUE(immediate == t.colour && immediateDepth == t.depth) << configuration;
    }
  }
}

}  // namespace
