// Golden pixels: every configuration, on the affine and on the perspective path, draws a quad, a
// fan (reaching in front of the quad and behind it, one vertex beyond the near plane) and a strip
// through float-mesh submission, immediately and from recorded batches rendered twice; colour and
// depth hashes frozen after the hand-computed cases of the other tests had passed, and after the
// perspective pictures were seen to match the affine ones within rounding (w is 1 everywhere). A
// change here is a change of interpretation.
#include <gtest/gtest.h>

#include <cmath>
#include <utility>
#include <vector>

#include "render/float_mesh.h"
#include "render/shader_format.h"
#include "tests/render/raster_target.h"

namespace {

// Floats of a vertex at pixel (x, y), depth z, colour (r, g, b): hasZ, lit (a normal tilting
// with x), texture coordinates from the position, colour slot.
void Vertex(std::vector<f32>& out, bool lit, f32 x, f32 y, f32 z, f32 r, f32 g, f32 b) {
  out.insert(out.end(), {x, y, z});
  if (lit) out.insert(out.end(), {x / 40.0f, 0.3f, 0.9f});
  out.insert(out.end(), {x / 24.0f - 0.1f, 1.0f - y / 20.0f, r, g, b, 1.0f});
}

TEST(Golden, EveryConfigurationThroughAQuadAFanAndAStrip) {
  // Colour hashes by configuration, the same on both paths; depth hashes without the depth test,
  // and with it on the affine and on the perspective path.
  const u64 colourHashes[kConfigurationCount] = {
      7928910315484996557u,  7928910315484996557u,  11439428494038137793u, 11439428494038137793u,
      10533171271183697001u, 16205756366212109967u, 12014379613607797783u, 4942696500956736288u,
      16917232475739080212u, 16917232475739080212u, 16917232475739080212u, 16917232475739080212u,
      15863927663514013853u, 2299566114952424988u,  17303963394530087586u, 13804742559778102129u};
  const u64 depthHashes[3] = {273788590179766565u, 650674727631918324u, 317299275344164740u};
  u16 texels[16];
  for (i32 i = 0; i < 16; ++i) texels[i] = static_cast<u16>(0x1F0F * (i + 3) + 0x0841 * i);
  texels[5] = kRendererDefaultKey;
  for (u32 run = 0; run < 2 * kConfigurationCount; ++run) {
    const u32 configuration = run % kConfigurationCount;
    const bool perspective = run >= kConfigurationCount;
    const u32 format = FormatOf(configuration), tex = FormatHasTexture(format),
              col = FormatHasColour(format), lit = FormatHasLight(format);
    struct Mesh {
      i32 mode, count;
      std::vector<f32> floats;
    } meshes[3] = {
        {kMeshTriangleFan, 4, {}}, {kMeshTriangleFan, 8, {}}, {kMeshTriangleStrip, 6, {}}};
    for (auto [x, y] : {std::pair{2, 2}, {2, 14}, {18, 14}, {18, 2}}) {
      Vertex(meshes[0].floats, lit, x, y, 0.0f, 1.0f, x / 20.0f, 0.2f);
    }
    Vertex(meshes[1].floats, lit, 16, 12, 0.6f, 0.1f, 1.0f, 0.1f);
    for (i32 k = 0; k <= 6; ++k) {
      const f32 c = std::cos(k * 1.0472f), s = std::sin(k * 1.0472f);
      Vertex(meshes[1].floats, lit, 16 + 11 * c, 12 + 9 * s, k == 2 ? 1.5f : 0.6f * c, 0.5f - s / 2,
             0.8f, c);
    }
    for (i32 k = 0; k < 6; ++k) {
      Vertex(meshes[2].floats, lit, 3.0f + 5.3f * k, k % 2 ? 23.5f : 15.25f, 0.3f, 0, k / 5.0f, 1);
    }
    RasterTarget t;
    SoftRenderContext& ctx = *t.ctx;
    ctx.Ortho(0, 32, 24, 0, -1.0f, 1.0f);
    ctx.LoadIdentity();
    ctx.SetCullFace(0);
    ctx.SetDepthTest(DepthTestOf(configuration));
    ctx.SetLighting(1);
    ctx.SetLightDirection(0.0f, 0.0f, 1.0f);
    ctx.SetTexture(texels, 4, 4);
    ctx.SetPerspectivePath(perspective ? 1 : 0, 0);
    const i32 first = ctx.AllocBatches(3);
    for (i32 k = 0; k < 3; ++k) {
      ctx.SubmitFloatMesh(meshes[k].mode, meshes[k].count, meshes[k].floats.data(), 1, lit, tex,
                          col, 1);
      ctx.SelectBatch(first + k);
      ctx.SubmitFloatMesh(meshes[k].mode, meshes[k].count, meshes[k].floats.data(), 1, lit, tex,
                          col, 1);
      ctx.UnselectBatch();
    }
    const std::pair expected(colourHashes[configuration],
                             depthHashes[DepthTestOf(configuration) ? 1 + perspective : 0]);
    EXPECT_EQ(expected, std::pair(Hash16(t.colour), Hash16(t.depth)))
        << "configuration " << configuration << " perspective " << perspective << t.Picture();
    // Clipping carries the varyings the rasterizer counts; a short count can leave no trace above.
    EXPECT_EQ(FormatVaryingCount(format), ctx.rasterizer.varyingCount) << configuration;
    const std::vector<u16> colour = t.colour;
    const std::vector<i16> depth = t.depth;
    for (i32 pass = 0; pass < 2; ++pass) {
      t.Clear();
      ctx.RenderBatches(first, 3);
      EXPECT_TRUE(colour == t.colour && depth == t.depth) << run;
    }
  }
}

}  // namespace
