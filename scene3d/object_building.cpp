// Building an object vertex by vertex into mesh 0, part 0 of one slot, and its bounding spheres.
// The source list always opens with a separator; EndObject turns it into triangles and renderer
// batches (after the smoothing pass the normal mode asks for) and computes the bounds.
#include "scene3d/object_building.h"

#include <cmath>

#include "scene3d/rainbows3d.h"

namespace {

u32 SeparatorCodeOfKind(i32 kind) {
  if (kind == 0) return kListSeparator;
  if (kind == 2) return kFanSeparator;
  return kStripSeparator;
}

}  // namespace

MeshPart* Rainbows3D::BuildingPart() {
  ObjectSlot* slot = Slot(buildingSlot);
  if (slot == nullptr || slot->meshes.count < 1) return nullptr;
  MeshObjectX& mesh = slot->meshes[0];
  return mesh.parts.count < 1 ? nullptr : &mesh.parts[0];
}

void Rainbows3D::BeginObject(i32 slotNumber, i32 separatorKind) {
  ObjectSlot* slot = Slot(slotNumber);
  if (slot == nullptr) return;
  ResetObjectSlot(*slot);
  ResizeMeshArray(slot->meshes, 1);
  slot->meshes.count = 1;
  buildingSlot = slotNumber;
  slot->meshes[0].AppendPart(MeshPart());
  AddObjectSeparator(separatorKind);
}

void Rainbows3D::AddObjectVertex(f32 x, f32 y, f32 z, f32 u, f32 v, u32 colour) {
  MeshPart* part = BuildingPart();
  if (part == nullptr) return;
  MeshVertex vertex;
  vertex.x = x, vertex.y = y, vertex.z = z;
  vertex.u = u;
  vertex.v = -v;
  vertex.SetColour(colour);
  part->sourceVertices.Append(vertex);
}

void Rainbows3D::AddObjectSeparator(i32 kind) {
  MeshPart* part = BuildingPart();
  if (part == nullptr) return;
  MeshVertex separator;
  separator.SetColour(SeparatorCodeOfKind(kind));
  part->sourceVertices.Append(separator);
}

void Rainbows3D::EndObject() {
  ObjectSlot* slot = Slot(buildingSlot);
  buildingSlot = -1;
  if (slot == nullptr) return;
  slot->used = 1;
  slot->isScene = 0;
  if (slot->meshes.count < 1) return;
  MeshObjectX& mesh = slot->meshes[0];
  if (mesh.parts.count < 1 || mesh.parts[0].sourceVertices.count < 3) {
    mesh.Clear(false);  // too small to draw: the slot stays used with an empty mesh
    return;
  }
  mesh.BuildColourTable();
  if (normalMode == 1) mesh.Smooth(1, 0, 0);
  if (normalMode == 2) mesh.Smooth(1, 1, 0);
  mesh.MeshObjectX::Build();
  ComputeMeshBounds(mesh);
}

void ComputeMeshBounds(MeshObject& mesh) {
  for (MeshPart& part : mesh.parts) {
    const GrowVector<MeshVertex>& vertices = part.triangleVertices;
    f32* centre = part.boundCentre;
    centre[0] = centre[1] = centre[2] = 0.0f;
    part.boundRadius = 0.0f;
    // No triangles: centre at the origin (a 0 x infinity centre would poison every later
    // comparison with it) and radius 0.
    if (vertices.count == 0) continue;
    for (const MeshVertex& v : vertices) {
      centre[0] += v.x;
      centre[1] += v.y;
      centre[2] += v.z;
    }
    const f32 k = 1.0f / static_cast<f32>(vertices.count);
    centre[0] *= k, centre[1] *= k, centre[2] *= k;
    f32 furthest = 0.0f;
    for (const MeshVertex& v : vertices) {
      const f32 dx = centre[0] - v.x, dy = centre[1] - v.y, dz = centre[2] - v.z;
      const f32 d2 = dx * dx + dy * dy + dz * dz;
      const f32 d = static_cast<f64>(d2) > 1e-7 ? std::sqrt(d2) : 0.0f;
      if (d > furthest) furthest = d;
    }
    part.boundRadius = std::fabs(furthest);
  }
}
