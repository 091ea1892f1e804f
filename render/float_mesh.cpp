// Float mesh submission: for now it keeps what it was given; conversion to fixed point, batch
// recording and drawing come with the vertex pipeline.
#include "render/float_mesh.h"

#include <cstddef>

namespace {

SubmittedFloatMesh& Record() {
  static SubmittedFloatMesh record;
  return record;
}

}  // namespace

i32 FloatMeshVertexFloats(u32 hasZ, u32 lit, u32 coloured, u32 hasColourSlot) {
  i32 z = hasZ != 0 ? 1 : 0;
  i32 floats = 2 + z + 2;  // x, y, (z), u, v
  if (lit != 0) floats += 2 + z;
  if (coloured != 0 || hasColourSlot != 0) floats += 4;
  return floats;
}

void SubmitFloatMesh(i32 mode, i32 count, const f32* data, u32 hasZ, u32 lit, u32 textured,
                     u32 coloured, u32 hasColourSlot) {
  SubmittedFloatMesh& r = Record();
  ++r.submissions;
  r.mode = mode;
  r.count = count > 0 ? count : 0;
  r.hasZ = hasZ;
  r.lit = lit;
  r.textured = textured;
  r.coloured = coloured;
  r.hasColourSlot = hasColourSlot;
  r.data.clear();
  if (r.count > 0 && data != nullptr) {
    std::size_t floats =
        static_cast<std::size_t>(r.count) *
        static_cast<std::size_t>(FloatMeshVertexFloats(hasZ, lit, coloured, hasColourSlot));
    r.data.assign(data, data + floats);
  }
}

const SubmittedFloatMesh& LastSubmittedFloatMesh() { return Record(); }

void ResetSubmittedFloatMesh() { Record() = SubmittedFloatMesh{}; }
