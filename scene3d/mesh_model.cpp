// The mesh model: vertex colours, part copies, clearing, part reservation and the colour table.
#include "scene3d/mesh_model.h"

#include <unordered_map>

namespace {

template <class T>
void ClearList(GrowVector<T>& list, bool freeMemory) {
  if (freeMemory) {
    list.Free();
  } else {
    list.Clear();
  }
}

}  // namespace

void MeshVertex::SetColour(u32 value) {
  colour = value;
  if (value >= kFirstNonColour) {
    r = g = b = 1.0f;
    return;
  }
  r = static_cast<f32>(value & 0xFF) / 255.0f;
  g = static_cast<f32>((value >> 8) & 0xFF) / 255.0f;
  b = static_cast<f32>((value >> 16) & 0xFF) / 255.0f;
}

void MeshPart::Clear() {
  triangleVertices.Free();
  sourceVertices.Free();
}

MeshPart& MeshPart::Assign(MeshPart& dest, const MeshPart& src) {
  if (&dest == &src) return dest;
  dest.sourceVertices.Clear();
  dest.triangleVertices.Clear();
  CopyListByCount(dest.sourceVertices, src.sourceVertices);
  CopyListByCount(dest.triangleVertices, src.triangleVertices);
  return dest;
}

MeshObject::MeshObject(const MeshObject& src) { *this = src; }

MeshObject& MeshObject::operator=(const MeshObject& src) {
  if (&src == this) return *this;
  parts.Clear();
  ReserveParts(src.parts.count);
  for (const MeshPart& part : src.parts) AppendPart(part);
  CopyListByCount(firstFrameTriangles, src.firstFrameTriangles);
  CopyListByCount(colourTable, src.colourTable);
  normalsValid = src.normalsValid;
  tangentsValid = src.tangentsValid;
  CopyListByCount(frameBatches, src.frameBatches);
  return *this;
}

void MeshObject::Clear(bool freeMemory) {
  ClearList(colourTable, freeMemory);
  ClearList(firstFrameTriangles, freeMemory);
  for (MeshPart& part : parts) {
    ClearList(part.sourceVertices, freeMemory);
    ClearList(part.triangleVertices, freeMemory);
  }
  if (freeMemory) parts.Free();
  tangentsValid = 0;
  parts.count = 0;
  normalsValid = 0;
}

void MeshObject::ReserveParts(i32 n) {
  if (n < parts.capacity) return;
  // New storage of empty parts, filled by Assign so that no bounding sphere comes along.
  GrowVector<MeshPart> grown(parts.step, parts.minimum);
  grown.Reserve(n);
  grown.count = parts.count;
  for (i32 i = 0; i < parts.count; ++i) MeshPart::Assign(grown[i], parts[i]);
  parts.Swap(grown);
}

MeshPart& MeshObject::AppendPart(const MeshPart& src) {
  ReserveParts(parts.count + 1);
  MeshPart& part = parts[parts.count];
  MeshPart::Assign(part, src);
  ++parts.count;
  return part;
}

void MeshObject::BuildColourTable() {
  colourTable.Clear();
  // Positions of the colours met so far: the same positions as a search of the table from its
  // start, without the search's cost on meshes with many colours.
  std::unordered_map<u32, i32> positions;
  for (MeshPart& part : parts) {
    for (MeshVertex& vertex : part.sourceVertices) {
      const auto [it, added] = positions.try_emplace(vertex.colour, colourTable.count);
      if (added) colourTable.Append(vertex.colour);
      vertex.colourIndex = static_cast<u8>(it->second & 0xFF);
    }
  }
}
