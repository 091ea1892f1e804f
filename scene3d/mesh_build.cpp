// Preparing a mesh for drawing: each part's source vertices become a plain list of triangle
// vertices, and each part is recorded once into a renderer batch that drawing replays.
//
// A mesh keeps the batches it owns. A rebuild (an object built again in the same slot, or the
// second Build after the smoothing pass) re-records into them, and a new mesh takes batches that
// dropped meshes gave back (batch_recycling.h), so a program that rebuilds or reloads an object
// every frame does not grow the renderer's batch table without end.
#include <algorithm>
#include <vector>

#include "render/float_mesh.h"
#include "render/soft_render_context.h"
#include "scene3d/batch_recycling.h"
#include "scene3d/mesh_model.h"
#include "scene3d/mesh_triangles.h"

namespace {

constexpr i32 kFloatsPerVertex = 12;  // x, y, z, nx, ny, nz, u, v, r, g, b, a

void AssembleTriangles(MeshPart& part) {
  const GrowVector<MeshVertex>& source = part.sourceVertices;
  GrowVector<MeshVertex>& triangles = part.triangleVertices;
  triangles.Clear();
  triangles.Reserve(source.count / 3);
  ForEachRunTriangle(source, [&](i32 a, i32 b, i32 c, bool flipped) {
    // A flipped strip triangle (Q, R, S) is drawn as (R, Q, S), the strip's winding.
    triangles.Append(source[flipped ? b : a]);
    triangles.Append(source[flipped ? a : b]);
    triangles.Append(source[c]);
  });
}

// Some table entry is a real colour other than white.
bool HasRealColour(const GrowVector<u32>& colourTable) {
  return std::any_of(colourTable.begin(), colourTable.end(),
                     [](u32 c) { return c != 0x00FFFFFFu && c < kFirstNonColour; });
}

// Writes the part's triangle vertices in the renderer's layout; true when some vertex is not
// white.
bool WriteVertexFloats(const GrowVector<MeshVertex>& vertices, f32* out) {
  bool coloured = false;
  for (const MeshVertex& v : vertices) {
    const f32 floats[kFloatsPerVertex] = {v.x, v.y, v.z, v.nx, v.ny, v.nz,
                                          v.u, v.v, v.r, v.g,  v.b,  1.0f};
    out = std::copy_n(floats, kFloatsPerVertex, out);
    coloured = coloured || v.r != 1.0f || v.g != 1.0f || v.b != 1.0f;
  }
  return coloured;
}

}  // namespace

void MeshObjectX::Build() {
  if (parts.count == 0) return;
  i32 largest = 0;
  for (MeshPart& part : parts) {
    AssembleTriangles(part);
    largest = std::max(largest, part.triangleVertices.count);
  }
  CopyListByCount(firstFrameTriangles, parts[0].triangleVertices);
  coloured = HasRealColour(colourTable) ? 1 : 0;

  AssignFrameBatches(frameBatches, parts.count);
  SoftRenderContext& renderer = GetSoftRenderContext();
  std::vector<f32> buffer(static_cast<size_t>(largest) * kFloatsPerVertex);
  for (i32 i = 0; i < parts.count; ++i) {
    const GrowVector<MeshVertex>& vertices = parts[i].triangleVertices;
    renderer.SelectBatch(frameBatches[i]);
    const bool vertexColoured = WriteVertexFloats(vertices, buffer.data());
    SubmitFloatMesh(kMeshTriangles, vertices.count, buffer.data(), 1, 1, 1, vertexColoured ? 1 : 0,
                    1);
    renderer.UnselectBatch();
  }
}
