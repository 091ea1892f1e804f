// The .ddd model reader over hostile bytes, through its one entry for both binary layouts and
// text models. Each input is read from a file and from a live memory block, which must give the
// same result and the same mesh. An accepted model must keep the mesh's promises (colour indices
// inside the table and naming the vertex's colour), and, saved when the writer can hold it, must
// read back as the same mesh with its normals on the table and, past frame 0's length, no texture
// coordinates.
#include <string>

#include "core/byte_order.h"
#include "fuzz/fuzz_support.h"
#include "fuzz/fuzz_target.h"
#include "scene3d/ddd_model_format.h"
#include "scene3d/mesh_model.h"
#include "scene3d/vertex_normal_table.h"

namespace {

// Floats compare by their bits, so that NaN positions must come back as they went.
bool Same(f32 a, f32 b) { return F32ToBits(a) == F32ToBits(b); }

bool SameVertex(const MeshVertex& a, const MeshVertex& b) {
  const f32* fa[] = {&a.x, &a.y, &a.z, &a.nx, &a.ny, &a.nz, &a.u, &a.v, &a.r, &a.g, &a.b};
  const f32* fb[] = {&b.x, &b.y, &b.z, &b.nx, &b.ny, &b.nz, &b.u, &b.v, &b.r, &b.g, &b.b};
  for (int k = 0; k < 11; ++k) {
    if (!Same(*fa[k], *fb[k])) return false;
  }
  for (int k = 0; k < 3; ++k) {
    if (!Same(a.tangent[k], b.tangent[k]) || !Same(a.bitangent[k], b.bitangent[k])) return false;
  }
  return a.colour == b.colour && a.colourIndex == b.colourIndex;
}

bool SameMesh(const MeshObject& a, const MeshObject& b) {
  if (a.normalsValid != b.normalsValid || a.tangentsValid != b.tangentsValid ||
      a.parts.count != b.parts.count || a.colourTable.count != b.colourTable.count) {
    return false;
  }
  for (i32 i = 0; i < a.colourTable.count; ++i) {
    if (a.colourTable[i] != b.colourTable[i]) return false;
  }
  for (i32 p = 0; p < a.parts.count; ++p) {
    const GrowVector<MeshVertex>& va = a.parts[p].sourceVertices;
    const GrowVector<MeshVertex>& vb = b.parts[p].sourceVertices;
    if (va.count != vb.count) return false;
    for (i32 i = 0; i < va.count; ++i) {
      if (!SameVertex(va[i], vb[i])) return false;
    }
  }
  return true;
}

void CheckMesh(const MeshObject& mesh) {
  for (const MeshPart& part : mesh.parts) {
    for (const MeshVertex& v : part.sourceVertices) {
      FUZZ_CHECK(mesh.colourTable.count > kDddMaxColours ||
                     (v.colourIndex < mesh.colourTable.count &&
                      mesh.colourTable[v.colourIndex] == v.colour),
                 "a colour index that does not name the vertex's colour");
    }
  }
}

// What a saved mesh reads back as: normals on the table, no tangents, the texture coordinates of
// frame 0's length.
MeshObjectX AsSaved(const MeshObject& mesh) {
  MeshObjectX saved;
  static_cast<MeshObject&>(saved) = mesh;
  saved.normalsValid = 1;
  saved.tangentsValid = 0;
  const i32 uvs = saved.parts[0].sourceVertices.count;
  for (MeshPart& part : saved.parts) {
    for (i32 i = 0; i < part.sourceVertices.count; ++i) {
      MeshVertex& v = part.sourceVertices[i];
      const VertexNormal& n = VertexNormalTable[NearestVertexNormalIndex(v.nx, v.ny, v.nz)];
      v.nx = n.x, v.ny = n.y, v.nz = n.z;
      for (int k = 0; k < 3; ++k) v.tangent[k] = v.bitangent[k] = 0;
      if (i >= uvs) v.u = v.v = 0;
    }
  }
  return saved;
}

}  // namespace

void FuzzDddModel(const u8* data, std::size_t size) {
  BeginFuzzInput();
  const std::string path = WriteFuzzFile("model.ddd", data, size);
  const SharedMemoryBlock block = LiveMemoryBlock(data, size);
  MeshObjectX fromFile, fromMemory;
  const i32 result = LoadDdd(&fromFile, path.c_str());
  FUZZ_CHECK(result == LoadDdd(&fromMemory, LiveMemoryName(block).c_str()),
             "memory and file differ");
  FUZZ_CHECK(SameMesh(fromFile, fromMemory), "memory and file models read differently");
  if (result == 0) {
    FUZZ_CHECK(fromFile.parts.capacity + fromFile.colourTable.capacity == 0,
               "a refused model left storage behind");
    return;
  }
  CheckMesh(fromFile);

  const std::string saved = FuzzPath("saved.ddd");
  const bool holdable = fromFile.parts.count > 0 && fromFile.colourTable.count <= kDddMaxColours;
  FUZZ_CHECK(SaveDdd(&fromFile, saved.c_str()) == (holdable ? 1 : 0),
             "the writer refused a model it can hold, or wrote one it cannot");
  if (!holdable) return;
  MeshObjectX reread;
  FUZZ_CHECK(LoadDdd(&reread, saved.c_str()) == 1, "a saved model is refused");
  FUZZ_CHECK(SameMesh(AsSaved(fromFile), reread), "a saved model reads back differently");
}
