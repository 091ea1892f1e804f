// The vertex pipeline through a recording rasterizer: projection, clipping by each plane, culling,
// lines and points, the post-transform cache, and the vertex processors' outputs.
#include "render/vertex_pipeline.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <memory>
#include <vector>

#include "render/fixed_matrix.h"
#include "render/shader_format.h"
#include "render/soft_render_context.h"
#include "tests/render/recording_rasterizer.h"

namespace {

constexpr i32 kOne = 0x10000;
constexpr i32 kFar = 0x1FFFFFFF;  // depth of z = 0 with the default depth range

// A vertex at clip-space (x, y, z) in 1/2 units; the identity transform gives w = 1.0.
FixedVertex At(i32 halfX, i32 halfY, i32 halfZ = 0) {
  return FixedVertex{.x = halfX * kOne / 2, .y = halfY * kOne / 2, .z = halfZ * kOne / 2};
}

// 28.4 screen vertex with its depth and w.
ClipVertex Screen(i32 x, i32 y, i32 z = kFar) { return ClipVertex{x, y, z, kOne, {}}; }

class Pipeline : public testing::Test {
 protected:
  void SetUp() override {
    ctx->pipeline.SetViewport(0, 0, 64, 64);
    ctx->pipeline.SetCullMode(0);
    ctx->pipeline.rasterizer = &recorder;
    IdentityMatrix(ctx->combined);
  }
  void Draw(const std::vector<FixedVertex>& vertices, std::vector<i32> order = {0, 1, 2},
            u32 format = 0, void (VertexPipeline::*entry)(u32, const i32*) =
                                &VertexPipeline::DrawIndexed) {
    recorder.varyingCount = FormatVaryingCount(format);
    p.vertexProcessor = VertexPipeline::ProcessorFor(format);
    p.SetAttribStream(0, sizeof(FixedVertex), vertices.data());
    (p.*entry)(static_cast<u32>(order.size()), order.data());
  }
  // Puts clip-space vertices into the pool as one batch of triangles, without processing them.
  void Batch(const std::vector<ClipVertex>& vertices) {
    for (const ClipVertex& v : vertices) *p.AllocClipVertex() = v;
    for (i32 i = 0; i < static_cast<i32>(vertices.size()); ++i) p.indices[p.indexCount++] = i;
  }
  std::vector<i32> Indices() const { return {p.indices, p.indices + p.indexCount}; }

  std::unique_ptr<SoftRenderContext> ctx = std::make_unique<SoftRenderContext>();
  VertexPipeline& p = ctx->pipeline;
  RecordingRasterizer recorder;
};

TEST_F(Pipeline, EachPlaneCutsFromTheOutsideEndAtTheExactCrossing) {
  recorder.varyingCount = 2;
  for (i32 plane = 0; plane < 6; ++plane) {
    const i32 axis = plane / 2, side = plane % 2 == 0 ? 1 : -1, other = (axis + 1) % 3;
    // a at distance -1.0 from the plane, b and c at 2.0: the cuts are a third of the way from a.
    ClipVertex a{0, 0, 0, kOne, {kOne, 0}}, b{0, 0, 0, kOne, {0, kOne}}, c = a;
    (&a.x)[axis] = 2 * side * kOne;
    (&b.x)[axis] = (&c.x)[axis] = -side * kOne;
    (&b.x)[other] = kOne / 2;
    (&c.x)[other] = -kOne / 2;
    p.vertexCount = p.indexCount = 0;
    Batch({a, b, c});
    p.ClipTriangles();
    EXPECT_EQ((std::vector{3, 1, 2, 3, 2, 4}), Indices()) << plane;
    // t = 0x555500 from a; measured from the inside end it would be 0xAAAA00 and land elsewhere.
    ClipVertex ab{0, 0, 0, kOne, {43691, 21845}}, ca{0, 0, 0, kOne, {kOne, 0}};
    (&ab.x)[axis] = (&ca.x)[axis] = side * (kOne + 1);  // a unit past the plane
    (&ab.x)[other] = 10922;
    (&ca.x)[other] = -10923;
    EXPECT_EQ(ab, p.pool[3]) << plane;
    EXPECT_EQ(ca, p.pool[4]) << plane;
  }
}

TEST_F(Pipeline, NearPlaneLeavesOneOrTwoTrianglesAndVerticesOnAPlaneRepeat) {
  const ClipVertex in{0, 0, 0, kOne, {}}, behind{kOne / 2, 0, -3 * kOne, kOne, {}};
  ClipVertex behind2 = behind, side = in, onRight = in, out = in;
  behind2.x = -kOne / 2;
  side.y = kOne / 2;
  onRight.x = kOne;  // distance 0 from the right plane
  out.x = 3 * kOne;
  Batch({in, behind, behind2});
  p.ClipTriangles();
  EXPECT_EQ((std::vector{0, 3, 4}), Indices());
  p.vertexCount = p.indexCount = 0;
  // The second triangle puts the right plane into the batch, so the first one's vertex on it is
  // output once more from each neighbouring edge.
  Batch({onRight, side, in, out, out, out});
  p.ClipTriangles();
  EXPECT_EQ((std::vector{0, 6, 1, -1, -1, -1, 0, 1, 2, 0, 2, 7}), Indices());
  EXPECT_EQ(onRight, p.pool[6]);
  EXPECT_EQ(onRight, p.pool[7]);
}

TEST_F(Pipeline, AFullBatchOfTrianglesCutByEveryPlaneDrawsWhatThePoolAndIndexListHold) {
  // A triangle in the plane x + y + z = 0 that cuts three corners off the cube's hexagonal
  // section: a nine-sided polygon, seven fan triangles, each from a crossing of all six planes.
  // 96 indices, and the fans of all 32 behind them.
  const i32 r = kOne * 1838 / 1000;
  std::vector<i32> order;
  for (i32 k = 0; k < 32; ++k) order.insert(order.end(), {0, 1, 2});
  Draw({{-r, r, 0}, {0, -r, r}, {r, 0, -r}}, order);
  EXPECT_EQ(32 * 7u, recorder.calls.size());
  // Clip-space vertices (0, 0, 0, 2), (2, 2, 2, 2) and (0, 1, 0, -2): the reciprocals of the
  // tiny distances wrap, vertices on planes repeat, and each copy is cut into a 32-sided polygon
  // with 30 new vertices. The fans of 13 fit the index list, the 14th's is dropped; the pool has
  // room for the new vertices of 15, the 16th and later are dropped.
  recorder.calls.clear();
  const i32 degenerate[16] = {2, 0, 0, 0, 2, 1, 0, 0, 2, 0, 0, 0, 0, -4, 0, 2};
  std::copy_n(degenerate, 16, ctx->combined);
  Draw({{0, 0, 0}, {kOne, 0, 0}, {0, kOne, 0}}, order);
  EXPECT_EQ(13 * 30u, recorder.calls.size());
  // Clip-space (2, 2, 2, 2), (0, 0, 0, 0) and (0, 0, 0, 2): no plane has any of them outside, but
  // the second triangle, wholly beyond all six, has every plane visited. The vertices on the
  // planes repeat into 33 vertices, more than the working polygon holds: the triangle is dropped.
  recorder.calls.clear();
  const i32 onThePlanes[16] = {2, 0, 0, 0, 2, 0, 0, 0, 2, 0, 0, 0, 0, -2, -3, 2};
  std::copy_n(onThePlanes, 16, ctx->combined);
  Draw({{0, 0, 0}, {kOne, 0, 0}, {0, kOne, 0}, {0, 0, kOne}}, {1, 2, 0, 3, 3, 3});
  EXPECT_EQ(0u, recorder.calls.size());
}

TEST_F(Pipeline, TrianglesAreProjectedOntoTheViewportAndCulledToANonNegativeWinding) {
  // d lies on the right and top planes, which nothing crosses: no clipping.
  const FixedVertex a = At(-1, -1), b = At(1, -1, 1), c = At(0, 1, -1), d = At(2, 2);
  // Cull mode, then what is drawn of a positive, a negative and a zero-area triangle.
  for (auto [mode, positive, negative, zero] : {std::tuple{0, true, true, true},
                                               {1, false, true, true}, {2, true, false, false}}) {
    ctx->SetCullFace(mode == 0 ? 7 : mode == 1 ? 1029 : 1028);
    EXPECT_EQ(mode, p.cullMode);
    recorder.calls.clear();
    Draw({a, b, c, a, c, b, a, a, d}, {0, 1, 2, 3, 4, 5, 6, 7, 8});
    std::vector<std::vector<ClipVertex>> expected;
    // x = 32 + 32 x', y = 32 - 32 y' in pixels (x 16); z = 0.5 is half way to the far plane.
    const ClipVertex sa = Screen(256, 768), sb = Screen(768, 768, kFar + kFar / 2),
                     sc = Screen(512, 256, kFar - kFar / 2 - 1);
    if (positive) expected.push_back({sa, sb, sc});
    if (negative) expected.push_back({sb, sc, sa});  // handed over as c, b, a
    if (zero) expected.push_back({Screen(1024, 0), sa, sa});
    EXPECT_EQ(expected, recorder.calls) << mode;
    EXPECT_EQ(0, p.vertexCount + p.indexCount);
  }
}

TEST_F(Pipeline, LinesAreShortenedOrDroppedAndPointsAreWhollyInOrOut) {
  Draw({At(0, 0), At(0, 0, -6), At(-4, 1), At(1, 4)}, {0, 1, 2, 3, 0},
       0, &VertexPipeline::DrawIndexedLines);
  ASSERT_EQ(1u, recorder.calls.size());  // the second line passes outside a corner; 0 is unpaired
  EXPECT_EQ(Screen(512, 512), recorder.calls[0][0]);
  EXPECT_NEAR(0, recorder.calls[0][1].z, 1 << 15);  // cut at the near plane: depth 0
  recorder.calls.clear();
  FixedVertex edge = At(2, 0), beyond = edge;
  beyond.x += 1;
  Draw({edge, beyond}, {0, 1}, 0, &VertexPipeline::DrawIndexedPoints);
  ASSERT_EQ(1u, recorder.calls.size());
  EXPECT_EQ(Screen(1024, 512), recorder.calls[0][0]);
}

TEST_F(Pipeline, TheVertexCacheEvictsByLowBitsAndEmptiesAtAFlush) {
  std::vector<FixedVertex> vertices(20, At(0, 0));
  vertices[19] = At(1, 1);
  const ClipVertex sentinel{1, 2, 3, 4, {}};
  for (auto [order, transformed] : {std::pair{std::vector{3, 19, 3}, true}, {{3, 3, 4}, false}}) {
    p.pool[2] = sentinel;
    Draw(vertices, order);
    EXPECT_EQ(transformed ? p.pool[0] : sentinel, p.pool[2]) << order[1];
  }
  recorder.calls.clear();
  vertices = {At(-1, -1), At(1, -1), At(0, 1), At(1, 1)};
  std::vector<i32> order;
  for (i32 k = 0; k < 32; ++k) order.insert(order.end(), {0, 1, 2});  // then the batch flushes
  order.insert(order.end(), {0, 1, 3});  // 0 and 1 are transformed again into the new batch
  Draw(vertices, order);
  ASSERT_EQ(33u, recorder.calls.size());
  EXPECT_EQ((std::vector{Screen(256, 768), Screen(768, 768), Screen(768, 256)}),
            recorder.calls[32]);
}

TEST_F(Pipeline, VertexProcessorsTransformAndCarryTheirFormatsVaryings) {
  const FixedVertex v{1, 2, 3, 0, 0, kOne, 4, 5, 6, 7, 8};
  const void* records[3] = {&v, nullptr, nullptr};
  ClipVertex out;
  ctx->SetLightDirection(0, 0, 1);
  p.ShadeVertex<7>(records, &out);
  EXPECT_EQ((ClipVertex{1, 2, 3, kOne, {7, 8, 4, 5, 6, 0x1F0000}}), out);
  // Each component of the normal meets its own component of the light.
  const FixedVertex up{1, 2, 3, 0, kOne, 0, 4, 5, 6, 7, 8};
  for (auto [normal, x, y, z, light] : {std::tuple{&v, 0.0f, 0.0f, -1.0f, 0},
                                        {&v, 1.0f, 0.0f, 0.0f, 0xF8000},
                                        {&up, 0.0f, 1.0f, 0.0f, 0x1F0000}}) {
    records[0] = normal;
    ctx->SetLightDirection(x, y, z);
    p.ShadeVertex<kFormatLight>(records, &out);
    EXPECT_EQ(light, out.varyings[0]);
  }
}

}  // namespace
