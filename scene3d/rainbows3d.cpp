// The 3D device's construction and its object slots: emptying, the slot reset of a new object,
// and the growth of a slot's mesh list.
#include "scene3d/rainbows3d.h"

#include "scene3d/batch_recycling.h"

Rainbows3D::Rainbows3D(OpenGLRainbows* device) : device2D(device) {
  objects.SetCount(kObjectSlotCount);  // storage for 4224 slots by the growth rule, all empty
  ResetStack();
}

Rainbows3D::~Rainbows3D() {
  for (i32 i = objects.capacity - 1; i >= 0; --i) {
    ::EmptyObjectSlot(objects.data[i]);
    objects.data[i].textures.Free();
  }
  objects.Free();
}

ObjectSlot* Rainbows3D::Slot(i32 slot) {
  if (slot < 0 || slot >= kObjectSlotCount || slot >= objects.count) return nullptr;
  return &objects[slot];
}

void Rainbows3D::EmptyObjectSlot(i32 slot) {
  ObjectSlot* s = Slot(slot);
  if (s == nullptr) return;
  // The object under construction lives in the slot's storage, which is about to go.
  if (slot == buildingSlot) buildingSlot = -1;
  ::EmptyObjectSlot(*s);
}

void EmptyObjectSlot(ObjectSlot& slot) {
  for (MeshObjectX& mesh : slot.meshes) mesh.Clear(true);
  // Meshes past the count (left by an object built over a scene) own batches too.
  for (i32 i = 0; i < slot.meshes.capacity; ++i) {
    ReleaseFrameBatches(slot.meshes.data[i].frameBatches);
  }
  slot.meshes.Free();
  slot.used = 0;
  slot.isScene = 0;
  slot.textures.Free();
}

void ResetObjectSlot(ObjectSlot& slot) {
  for (MeshObjectX& mesh : slot.meshes) mesh.Clear(false);
  slot.meshes.count = 0;
  slot.used = 0;
  slot.textures.count = 0;
  slot.isScene = 0;
}

void ResizeMeshArray(GrowVector<MeshObjectX>& meshes, i32 n) {
  if (n < meshes.capacity) return;
  // New storage of empty meshes, each old mesh copied in by the mesh's own copy rule.
  GrowVector<MeshObjectX> grown(meshes.step, meshes.minimum);
  grown.Reserve(n);
  grown.count = meshes.count;
  for (i32 i = 0; i < meshes.count; ++i) grown[i] = meshes[i];
  meshes.Swap(grown);
  // The copies took over the batches of the meshes in use; those past the count are dropped.
  for (i32 i = meshes.count; i < grown.capacity; ++i) {
    ReleaseFrameBatches(grown.data[i].frameBatches);
  }
}
