// The batch table, float-mesh recording, and batch rendering's triangle order and range checks.
#include <gtest/gtest.h>

#include <array>
#include <climits>
#include <tuple>
#include <utility>

#include "render/fixed_matrix.h"
#include "render/float_mesh.h"
#include "tests/render/raster_target.h"
#include "tests/render/recording_rasterizer.h"
#include "tests/support/test_support.h"

namespace {

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
  const DrawBatch& Record(i32 mode, i32 count, const std::vector<f32>& floats,
                          std::array<u32, 5> flags = {}) {
    const i32 index = ctx->AllocBatches(1);
    ctx->SelectBatch(index);
    ctx->SubmitFloatMesh(mode, count, floats.data(), flags[0], flags[1], flags[2], flags[3],
                         flags[4]);
    ctx->UnselectBatch();
    return ctx->batches[index];
  }
  std::unique_ptr<SoftRenderContext> ctx = std::make_unique<SoftRenderContext>();
  RecordingRasterizer recorder;
};

std::vector<i32> Indices(const DrawBatch& b) { return {b.indices.begin(), b.indices.end()}; }
std::vector<i32> Fields(const FixedVertex& v) {
  return {v.x, v.y, v.z, v.nx, v.ny, v.nz, v.r, v.g, v.b, v.u, v.v};
}
// A triangle inside the view volume, as floats x, y, z, u, v.
const std::vector<f32> kTriangle = {0, 0, 0, 0, 0, 0.5f, 0, 0, 0, 0, 0, 0.5f, 0, 0, 0};

TEST_F(Batches, TheTableGrowsByTheListRuleAndKeepsItsRecords) {
  // n, then the first index returned, the count and the capacity after.
  for (auto [n, first, count, capacity] :
       {std::tuple{0, 0, 0, 512}, {3, 0, 3, 512}, {3, 3, 6, 512}, {-5, 6, 6, 512}}) {
    EXPECT_EQ(first, ctx->AllocBatches(n)) << n;
    EXPECT_EQ(std::pair(count, capacity), std::pair(ctx->batches.count, ctx->batches.capacity));
  }
  Record(kMeshTriangleFan, 4, std::vector<f32>(4 * 6, 0.5f), {0, 1, 1, 0, 0});  // record 6
  EXPECT_EQ(7, ctx->AllocBatches(600));
  EXPECT_EQ(640, ctx->batches.capacity);  // (607 / 128 + 1) x 128
  const DrawBatch& kept = ctx->batches[6];
  EXPECT_EQ((std::vector{0, 1, 2, 0, 2, 3}), Indices(kept));
  EXPECT_EQ(std::tuple(kOne / 2, 1u, 0u, 1u),
            std::tuple(kept.vertices[3].u, kept.textured, kept.coloured, kept.lit));
  EXPECT_EQ(0, ctx->batches[7].vertices.count + ctx->batches[606].indices.count);
  EXPECT_FATAL(7, ctx->AllocBatches(INT_MAX - 600));  // a table no i32 can count
  EXPECT_EQ(607, ctx->batches.count);
}

TEST_F(Batches, SubmissionBuildsEachModesTrianglesAndTheLayoutOfItsFlags) {
  // A count below 1 is an empty mesh, also one whose index count (x 3) cut to 32 bits is INT_MAX.
  for (auto [mode, count, indices] : {std::tuple{kMeshTriangles, 7, std::vector{0, 1, 2, 3, 4, 5}},
                                      {kMeshTriangleStrip, 5, {0, 1, 2, 2, 1, 3, 2, 3, 4}},
                                      {kMeshTriangleFan, 4, {0, 1, 2, 0, 2, 3}},
                                      {kMeshTriangleFan, 2, {}},
                                      {7, 7, {}},
                                      {kMeshTriangles, -3, {}},
                                      {kMeshTriangles, -715827883, {}}}) {
    const DrawBatch& b = Record(mode, count, std::vector<f32>(7 * 4, 0.0f));
    EXPECT_EQ(indices, Indices(b)) << mode << " " << count;
    EXPECT_EQ(std::max(count, 0), b.vertices.count) << mode << " " << count;
  }
  const i32 k = kOne;
  // Flags hasZ, lit, textured, coloured, colour slot; the second vertex's floats and fields (the
  // full layout shows in the golden pictures).
  for (auto [flags, floats, expected] :
       {// Lit without z: no nz; not textured: u, v skipped; not coloured: white.
        std::tuple{std::array{0u, 1u, 0u, 0u, 0u}, std::vector<f32>{1, 2, 3, 4, 0.5f, 0.5f},
                   std::vector{k, 2 * k, 0, 3 * k, 4 * k, 0, k, k, k, 0, 0}},
        // A 2D corner with an unused colour slot.
        {{0, 0, 1, 0, 1},
         {5, 6, 0.5f, 0.25f, 7, 7, 7, 7},
         {5 * k, 6 * k, 0, 0, 0, 0, k, k, k, k / 2, k / 4}}}) {
    std::vector<f32> two(floats.size(), 0.0f);
    two.insert(two.end(), floats.begin(), floats.end());
    EXPECT_EQ(expected, Fields(Record(kMeshTriangles, 2, two, flags).vertices[1])) << flags[1];
  }
}

TEST_F(Batches, ARecordKeepsTheLastMeshAndNumbersOutsideTheTableAreIgnored) {
  const i32 index = ctx->AllocBatches(2);
  ctx->SelectBatch(index);
  ctx->SubmitFloatMesh(kMeshTriangles, 6, std::vector<f32>(24).data(), 0, 0, 1, 0, 0);
  ctx->SubmitFloatMesh(kMeshTriangleFan, 3, std::vector<f32>(24).data(), 0, 0, 0, 1, 1);
  const DrawBatch& record = ctx->batches[index];
  EXPECT_EQ(std::tuple(std::vector{0, 1, 2}, 0u, 1u),
            std::tuple(Indices(record), record.textured, record.coloured));
  for (i32 bad : {-1, 2, INT_MIN, INT_MAX}) ctx->SelectBatch(bad);
  EXPECT_EQ(index, ctx->currentBatch);
  ctx->SelectBatch(index);  // empties the lists, keeps the storage
  EXPECT_EQ(std::pair(0, 512), std::pair(record.indices.count, record.indices.capacity));
  // Two triangles and one index left over; then each naming a vertex the batch does not hold.
  DrawBatch b = Record(kMeshTriangles, 3, kTriangle, {1, 0, 0, 0, 0});
  for (i32 i : {2, 1, 0, 1}) b.indices.Append(i);
  ctx->RenderBatch(&b);
  ASSERT_EQ(2u, recorder.calls.size());
  EXPECT_EQ(recorder.calls[0], recorder.calls[1]);  // the other winding comes back as c, b, a
  for (i32 bad : {3, -1}) b.indices[4] = bad, ctx->RenderBatch(&b);
  // An empty batch installs nothing: the flat configuration stays.
  DrawBatch empty;
  empty.coloured = 1;
  ctx->RenderBatch(&empty);
  EXPECT_EQ(std::pair(0, ShaderConfigurationOf(0).processor),
            std::pair(ctx->rasterizer.varyingCount, ctx->pipeline.vertexProcessor));
  // Without data a submission is an empty mesh, recorded or drawn.
  ctx->SelectBatch(index);
  ctx->SubmitFloatMesh(kMeshTriangles, 6, std::vector<f32>(24).data(), 0, 0, 0, 0, 0);
  ctx->SubmitFloatMesh(kMeshTriangles, 6, nullptr, 0, 0, 0, 0, 0);
  EXPECT_EQ(0, record.vertices.count + record.indices.count);
  ctx->UnselectBatch();
  ctx->SubmitFloatMesh(kMeshTriangles, 3, nullptr, 0, 0, 0, 0, 0);
  for (i32 i = 0; i < 3; ++i) ctx->batches[i] = b;  // one triangle each
  for (auto [first, count] :
       {std::pair{-2, 3}, {2, INT_MAX}, {INT_MIN, INT_MAX}, {0, -1}, {1, 5}}) {
    ctx->RenderBatches(first, count);
  }
  EXPECT_EQ(2u + 2 + 1 + 1 + 2, recorder.calls.size());
}

}  // namespace
