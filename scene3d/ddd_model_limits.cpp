// Counting a mesh's storage against the model limit.
#include "scene3d/ddd_model_limits.h"

#include <algorithm>

#include "scene3d/mesh_model.h"

namespace {

// Every part holds storage for at least this many vertices, however few it has.
const i64 kPartMinimum = MeshPart().sourceVertices.minimum;

}  // namespace

bool DddStorageBudget::Add(i64 frames, i64 vertices) {
  // A frame past the limit is over it whatever the others hold, so the product stays small.
  const bool fits = DddCountFits(frames) && vertices >= 0 &&
                    (frames == 0 || vertices <= kMaxDddMeshVertices);
  if (!fits) over_ = true;
  if (!over_) used_ += frames * std::max(vertices, kPartMinimum);
  over_ = over_ || used_ > kMaxDddMeshVertices;
  return !over_;
}

bool DddStorageBudget::FramesFit(i64 frames) {
  return DddCountFits(frames) && frames * kPartMinimum <= kMaxDddMeshVertices;
}
