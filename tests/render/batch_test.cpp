// The batch table, float-mesh recording and batch rendering's shader choice and triangle order.
#include <gtest/gtest.h>

#include <array>
#include <climits>
#include <memory>
#include <tuple>
#include <vector>

#include "render/fixed_matrix.h"
#include "render/float_mesh.h"
#include "render/shader_selection.h"
#include "render/soft_render_context.h"
#include "tests/render/recording_rasterizer.h"

namespace {

constexpr i32 kOne = 0x10000;

class Batches : public testing::Test {
 protected:
  void SetUp() override {
    IdentityMatrix(ctx->projection);
    ctx->LoadIdentity();
    ctx->pipeline.SetViewport(0, 0, 64, 64);
    ctx->pipeline.SetCullMode(0);
    ctx->pipeline.rasterizer = &recorder;
  }
  // Records the floats as a mesh of the mode into a new batch and returns its record.
  const DrawBatch& Record(i32 mode, i32 count, const std::vector<f32>& floats, u32 hasZ = 0,
                          u32 lit = 0, u32 textured = 0, u32 coloured = 0, u32 slot = 0) {
    const i32 index = ctx->AllocBatches(1);
    ctx->SelectBatch(index);
    ctx->SubmitFloatMesh(mode, count, floats.data(), hasZ, lit, textured, coloured, slot);
    ctx->UnselectBatch();
    return ctx->batches[index];
  }
  static std::vector<i32> Indices(const DrawBatch& b) { return {b.indices.begin(), b.indices.end()}; }

  std::unique_ptr<SoftRenderContext> ctx = std::make_unique<SoftRenderContext>();
  RecordingRasterizer recorder;
};

TEST_F(Batches, TheTableGrowsByTheListRuleAndKeepsItsRecords) {
  // n, then the first index returned, the count and the capacity after.
  for (auto [n, first, count, capacity] :
       {std::tuple{0, 0, 0, 512}, {3, 0, 3, 512}, {3, 3, 6, 512}, {-5, 6, 6, 512}}) {
    EXPECT_EQ(first, ctx->AllocBatches(n)) << n;
    EXPECT_EQ(std::pair(count, capacity), std::pair(ctx->batches.count, ctx->batches.capacity));
  }
  const std::vector<f32> quad(4 * 6, 0.5f);  // x, y, nx, ny, u, v
  Record(kMeshTriangleFan, 4, quad, 0, 1, 1, 0, 0);  // record 6
  EXPECT_EQ(7, ctx->AllocBatches(600));
  ASSERT_EQ(640, ctx->batches.capacity);  // (607 / 128 + 1) x 128
  const DrawBatch& kept = ctx->batches[6];
  EXPECT_EQ((std::vector{0, 1, 2, 0, 2, 3}), Indices(kept));
  EXPECT_EQ(kOne / 2, kept.vertices[3].u);
  EXPECT_EQ(std::tuple(1u, 0u, 1u), std::tuple(kept.textured, kept.coloured, kept.lit));
  EXPECT_EQ(0, ctx->batches[7].vertices.count + ctx->batches[606].indices.count);
}

TEST_F(Batches, EachModeBuildsItsTrianglesAndOtherCountsBuildNone) {
  const std::vector<f32> floats(7 * 4, 0.0f);
  for (auto [mode, count, indices] :
       {std::tuple{kMeshTriangles, 7, std::vector{0, 1, 2, 3, 4, 5}},
        {kMeshTriangleStrip, 5, {0, 1, 2, 2, 1, 3, 2, 3, 4}},
        {kMeshTriangleFan, 4, {0, 1, 2, 0, 2, 3}},
        {kMeshTriangleFan, 2, {}},
        {7, 7, {}},
        {kMeshTriangles, 0, {}},
        {kMeshTriangles, -3, {}}}) {
    const DrawBatch& b = Record(mode, count, floats);
    EXPECT_EQ(indices, Indices(b)) << mode << " " << count;
    EXPECT_EQ(std::max(count, 0), b.vertices.count) << mode << " " << count;
  }
}

TEST_F(Batches, TheLayoutFollowsTheFlagsAndLeftOutFieldsAreZeroOrWhite) {
  auto fields = [](const FixedVertex& v) {
    return std::vector{v.x, v.y, v.z, v.nx, v.ny, v.nz, v.r, v.g, v.b, v.u, v.v};
  };
  const i32 k = kOne;
  // hasZ, lit, textured, coloured, colour slot; two vertices; the fields of the second.
  for (auto [flags, floats, expected] : {
           // The 3D engine's full vertex.
           std::tuple{std::array{1u, 1u, 1u, 1u, 1u},
                      std::vector<f32>{0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0,  //
                                       1, 2, 3, 4, 5, 6, 0.25f, 0.5f, 0.5f, 1, 2, 9},
                      std::vector{k, 2 * k, 3 * k, 4 * k, 5 * k, 6 * k, k / 2, k, 2 * k, k / 4,
                                  k / 2}},
           // Lit without z: no nz; not textured: u, v skipped; not coloured: white.
           {{0, 1, 0, 0, 0},
            {0, 0, 0, 0, 0, 0, 1, 2, 3, 4, 0.5f, 0.5f},
            {k, 2 * k, 0, 3 * k, 4 * k, 0, k, k, k, 0, 0}},
           // A 2D corner with an unused colour slot.
           {{0, 0, 1, 0, 1},
            {0, 0, 0, 0, 0, 0, 0, 0, 5, 6, 0.5f, 0.25f, 7, 7, 7, 7},
            {5 * k, 6 * k, 0, 0, 0, 0, k, k, k, k / 2, k / 4}}}) {
    const DrawBatch& b = Record(kMeshTriangles, 2, floats, flags[0], flags[1], flags[2],
                                flags[3], flags[4]);
    EXPECT_EQ(expected, fields(b.vertices[1])) << flags[0] << flags[1] << flags[2];
  }
}

TEST_F(Batches, ASelectedRecordKeepsOnlyTheLastMeshAndBadNumbersAreIgnored) {
  const std::vector<f32> floats(6 * 4, 0.0f);
  const i32 index = ctx->AllocBatches(2);
  ctx->SelectBatch(index);
  ctx->SubmitFloatMesh(kMeshTriangles, 6, floats.data(), 0, 0, 1, 0, 0);
  ctx->SubmitFloatMesh(kMeshTriangleFan, 3, floats.data(), 0, 0, 0, 1, 1);
  EXPECT_EQ((std::vector{0, 1, 2}), Indices(ctx->batches[index]));
  EXPECT_EQ(std::pair(0u, 1u), std::pair(ctx->batches[index].textured, ctx->batches[index].coloured));
  for (i32 bad : {-1, 2, INT_MIN, INT_MAX}) ctx->SelectBatch(bad);
  EXPECT_EQ(index, ctx->currentBatch);
  ctx->SelectBatch(index);  // empties the lists, keeps the storage
  EXPECT_EQ(0, ctx->batches[index].indices.count + ctx->batches[index].vertices.count);
  EXPECT_EQ(512, ctx->batches[index].indices.capacity);
  ctx->UnselectBatch();
  EXPECT_EQ(-1, ctx->currentBatch);
}

// A triangle inside the view volume, as floats x, y, z, u, v.
const std::vector<f32> kTriangle = {0, 0, 0, 0, 0, 0.5f, 0, 0, 0, 0, 0, 0.5f, 0, 0, 0};

TEST_F(Batches, RenderingDrawsWholeTrianglesInOrderAndSkipsForeignIndices) {
  const DrawBatch& b = Record(kMeshTriangles, 3, kTriangle, 1);
  DrawBatch seven = b;
  seven.indices.count = 0;
  for (i32 i : {0, 1, 2, 2, 1, 0, 1}) seven.indices.Append(i);
  ctx->RenderBatch(&seven);
  ASSERT_EQ(2u, recorder.calls.size());  // the seventh index makes no triangle
  EXPECT_EQ(recorder.calls[0], recorder.calls[1]);  // the other winding comes back as c, b, a
  DrawBatch foreign = seven;
  foreign.indices.count = 6;
  for (i32 bad : {3, -1}) {
    foreign.indices[4] = bad;
    recorder.calls.clear();
    ctx->RenderBatch(&foreign);
    EXPECT_EQ(1u, recorder.calls.size()) << bad;
  }
  recorder.calls.clear();
  ctx->AllocBatches(1);
  ctx->RenderBatches(-2, 4);  // records 0 and 1 of 2: the others do not exist
  ctx->RenderBatches(0, INT_MAX);
  ctx->RenderBatches(INT_MIN, INT_MAX);
  ctx->RenderBatches(0, -1);
  EXPECT_EQ(2u, recorder.calls.size());
}

// The configuration installed by a batch with these flags, as the row number of the table.
TEST_F(Batches, TheConfigurationComesFromTheFlagsTextureLightingAndDepthTest) {
  u16 texel = 0;
  DrawBatch b = Record(kMeshTriangles, 2, kTriangle, 1);  // two indices: installs, draws nothing
  b.indices.count = 2;
  for (u32 row = 0; row < kConfigurationCount; ++row) {
    for (const bool fallback : {false, true}) {
      const u32 format = FormatOf(row);
      b.textured = FormatHasTexture(format) ? 1 : 0;
      b.coloured = FormatHasColour(format) ? 1 : 0;
      b.lit = FormatHasLight(format) ? 1 : 0;
      // Without texture or lighting the flags fall back to the format without them.
      ctx->SetTexture(fallback ? nullptr : &texel, 1, 1);
      ctx->SetLighting(fallback ? 0 : 1);
      ctx->SetDepthTest(DepthTestOf(row));
      const u32 expected = fallback ? row & ~((kFormatTexture | kFormatLight) << 1) : row;
      ctx->rasterizer.varyingCount = -1;
      ctx->RenderBatch(&b);
      const ShaderConfiguration& want = ShaderConfigurationOf(expected);
      EXPECT_TRUE(want.processor == ctx->pipeline.vertexProcessor &&
                  want.processor == VertexPipeline::ProcessorFor(FormatOf(expected)) &&
                  want.triangle == ctx->rasterizer.drawTriangle &&
                  want.line == ctx->rasterizer.drawLine && want.point == ctx->rasterizer.drawPoint)
          << row << " " << fallback;
      EXPECT_EQ(FormatVaryingCount(FormatOf(expected)), ctx->rasterizer.varyingCount) << row;
    }
  }
  EXPECT_TRUE(recorder.calls.empty());
  b.indices.count = 0;  // an empty list installs nothing
  ctx->rasterizer.varyingCount = -1;
  ctx->RenderBatch(&b);
  EXPECT_EQ(-1, ctx->rasterizer.varyingCount);
}

}  // namespace
