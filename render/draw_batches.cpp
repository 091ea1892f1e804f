// The batch table and batch rendering: records are appended, filled by float-mesh submission while
// selected, and replayed any number of times, each replay choosing its shader configuration afresh
// from the batch's flags and the context's switches.
#include <algorithm>

#include "core/runtime_error.h"
#include "render/shader_selection.h"
#include "render/soft_render_context.h"

i32 SoftRenderContext::AllocBatches(i32 n) {
  const i32 first = batches.count;
  const i64 needed = i64{first} + std::max(n, 0);
  if (needed > INT32_MAX) FatalError(kErrStorage);  // a table no storage can hold
  batches.SetCount(static_cast<i32>(needed));
  // The storage past the old count has never held a record, but the new ones must be empty.
  for (i32 i = first; i < batches.count; ++i) batches[i] = DrawBatch{};
  return first;
}

void SoftRenderContext::SelectBatch(i32 index) {
  if (index < 0 || index >= batches.count) return;
  batches[index].vertices.Clear();
  batches[index].indices.Clear();
  currentBatch = index;
}

void SoftRenderContext::UnselectBatch() { currentBatch = -1; }

void SoftRenderContext::RenderBatch(const DrawBatch* batch) {
  if (batch == nullptr || batch->indices.count <= 0) return;
  const u32 configuration =
      ChooseConfiguration(batch->textured != 0 && HasTexture(), batch->coloured != 0,
                          batch->lit != 0 && lightingEnabled != 0, depthTestEnabled != 0);
  const ShaderConfiguration& shader = ShaderConfigurationOf(configuration);
  pipeline.vertexProcessor = shader.processor;
  rasterizer.SelectShader(shader.varyingCount, shader.triangle, shader.line, shader.point);
  pipeline.SetAttribStream(0, sizeof(FixedVertex), batch->vertices.data);
  UpdateCombined();
  // One triangle at a time: each is transformed, clipped, projected and drawn before the next,
  // and one or two trailing indices make no triangle. The processors read the vertex list without
  // an upper bound, so a triangle naming a vertex the batch does not hold is skipped.
  const i32 vertexCount = batch->vertices.count;
  const i32* indices = batch->indices.data;
  for (i32 k = 0; k + 3 <= batch->indices.count; k += 3) {
    const bool held = std::all_of(indices + k, indices + k + 3,
                                  [vertexCount](i32 i) { return i >= 0 && i < vertexCount; });
    if (held) pipeline.DrawIndexed(3, indices + k);
  }
}

void SoftRenderContext::RenderBatches(i32 first, i32 count) {
  const i64 end = std::min(i64{first} + count, i64{batches.count});
  for (i64 i = std::max(first, 0); i < end; ++i) RenderBatch(&batches[static_cast<i32>(i)]);
}
