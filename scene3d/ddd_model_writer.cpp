// Writing meshes as binary .ddd models in the 2.0 layout.
#include <cstdio>
#include <vector>

#include "core/byte_order.h"
#include "files/file_replace.h"
#include "files/memory_name.h"
#include "scene3d/ddd_model_format.h"
#include "scene3d/ddd_model_limits.h"
#include "scene3d/mesh_model.h"
#include "scene3d/vertex_normal_table.h"

namespace {

// The bytes of one piece of the file (the head, or one frame), written in one checked call.
class DddBytesOut {
 public:
  void Byte(u8 v) { bytes_.push_back(v); }
  void Word(u32 v) { WriteLE32(Grow(4), v); }
  void Float(f32 v) { Word(F32ToBits(v)); }
  void Double(f64 v) { WriteLE64(Grow(8), F64ToBits(v)); }

  bool WriteTo(std::FILE* fp) {
    const bool written = std::fwrite(bytes_.data(), 1, bytes_.size(), fp) == bytes_.size();
    bytes_.clear();
    return written;
  }

 private:
  u8* Grow(std::size_t n) {
    bytes_.resize(bytes_.size() + n);
    return &bytes_[bytes_.size() - n];
  }

  std::vector<u8> bytes_;
};

// Whether the mesh can be saved as a model that loads again: a colour index is one byte and must
// name an entry of the table, and every count and the frames' storage stay within the limits the
// readers hold models to.
bool ModelFits(const MeshObject& mesh) {
  if (mesh.colourTable.count > kDddMaxColours) return false;
  if (!DddStorageBudget::FramesFit(mesh.parts.count)) return false;
  DddStorageBudget budget;
  for (const MeshPart& part : mesh.parts) {
    if (!DddCountFits(part.sourceVertices.count)) return false;
    if (!budget.Add(1, part.sourceVertices.count)) return false;
    for (const MeshVertex& vertex : part.sourceVertices) {
      if (vertex.colourIndex >= mesh.colourTable.count) return false;
    }
  }
  return true;
}

bool WriteModel(const MeshObject& mesh, std::FILE* fp) {
  const GrowVector<MeshVertex>& first = mesh.parts[0].sourceVertices;
  DddBytesOut out;
  out.Word(kDddMagic);
  out.Double(kDddVersion);
  out.Word(static_cast<u32>(mesh.parts.count));
  out.Word(static_cast<u32>(mesh.colourTable.count));
  out.Word(static_cast<u32>(first.count));
  for (const u32 colour : mesh.colourTable) out.Word(colour);
  for (const MeshVertex& vertex : first) {
    out.Float(vertex.u);
    out.Float(vertex.v);
  }
  if (!out.WriteTo(fp)) return false;
  for (const MeshPart& part : mesh.parts) {
    out.Word(static_cast<u32>(part.sourceVertices.count));
    for (const MeshVertex& vertex : part.sourceVertices) {
      out.Float(vertex.x);
      out.Float(vertex.y);
      out.Float(vertex.z);
      out.Byte(NearestVertexNormalIndex(vertex.nx, vertex.ny, vertex.nz));
      out.Byte(vertex.colourIndex);
    }
    if (!out.WriteTo(fp)) return false;
  }
  return true;
}

}  // namespace

i32 SaveDdd(const MeshObject* mesh, const char* name) {
  if (mesh == nullptr || mesh->parts.count == 0 || name == nullptr || IsMemoryName(name)) {
    return 0;
  }
  if (ModelFits(*mesh)) {
    FileReplacement file(name);
    const bool written = file.Stream() != nullptr && WriteModel(*mesh, file.Stream());
    if (file.Commit(written)) return 1;
  }
  std::printf("can't write to file: %s\n", name);
  return 0;
}
