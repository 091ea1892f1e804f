// The free list of renderer batches given back by dropped meshes.
#include "scene3d/batch_recycling.h"

#include <algorithm>
#include <vector>

#include "render/soft_render_context.h"

namespace {

struct FreeBatches {
  std::vector<i32> indices;
  i32 tableCount = 0;  // the renderer's batch count when the list last looked
};

// The list of the renderer's one table; like the renderer's context, it is never destroyed, since
// meshes may still be dropped while static destructors run.
FreeBatches& CurrentFreeBatches() {
  static FreeBatches* const list = new FreeBatches();
  // The table only grows, except when a new render target discards it: what the list held then
  // names nothing.
  const i32 count = GetSoftRenderContext().batches.count;
  if (count < list->tableCount) list->indices.clear();
  list->tableCount = count;
  return *list;
}

bool NamesBatchesOf(const GrowVector<i32>& frameBatches, i32 tableCount) {
  return std::all_of(frameBatches.begin(), frameBatches.end(),
                     [&](i32 index) { return index >= 0 && index < tableCount; });
}

// Gives back the batches from `keep` on and shortens the list to them.
void GiveBackFrom(FreeBatches& list, GrowVector<i32>& frameBatches, i32 keep) {
  if (!NamesBatchesOf(frameBatches, list.tableCount)) {
    frameBatches.count = 0;  // recorded into a table that was discarded since
    return;
  }
  for (i32 i = keep; i < frameBatches.count; ++i) list.indices.push_back(frameBatches[i]);
  frameBatches.count = std::min(frameBatches.count, keep);
}

}  // namespace

void AssignFrameBatches(GrowVector<i32>& frameBatches, i32 parts) {
  FreeBatches& list = CurrentFreeBatches();
  GiveBackFrom(list, frameBatches, std::max(parts, 0));
  while (frameBatches.count < parts && !list.indices.empty()) {
    frameBatches.Append(list.indices.back());
    list.indices.pop_back();
  }
  if (frameBatches.count < parts) {
    SoftRenderContext& renderer = GetSoftRenderContext();
    const i32 missing = parts - frameBatches.count;
    const i32 first = renderer.AllocBatches(missing);
    for (i32 k = 0; k < missing; ++k) frameBatches.Append(first + k);
    list.tableCount = renderer.batches.count;
  }
}

void ReleaseFrameBatches(GrowVector<i32>& frameBatches) {
  GiveBackFrom(CurrentFreeBatches(), frameBatches, 0);
}
