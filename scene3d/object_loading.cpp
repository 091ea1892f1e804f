// Loading an object slot: the first four bytes tell a scene from a model. A scene fills the slot
// itself (scene_file.h); a model is read into the slot's one mesh, built and bounded.
#include <cstring>

#include "media/graphics_device.h"
#include "scene3d/ddd_model_format.h"
#include "scene3d/model_channel.h"
#include "scene3d/object_building.h"
#include "scene3d/rainbows3d.h"
#include "scene3d/scene_file.h"

namespace {

// True when the data begins ";DDW". A file that does not open, a block that is not live and data
// of fewer than four bytes are not scenes.
bool IsScene(const char* name) {
  ModelChannel probe;
  u8 head[4];
  return OpenModel(&probe.channel, name) && ReadDddWord(&probe.channel, head) == 1 &&
         std::memcmp(head, ";DDW", 4) == 0;
}

}  // namespace

i32 Rainbows3D::LoadObject(const char* name, i32 slotNumber) {
  ObjectSlot* slot = Slot(slotNumber);
  if (slot == nullptr) return 0;
  EmptyObjectSlot(slotNumber);
  if (IsScene(name)) {
    const u32 transparent =
        device2D != nullptr ? device2D->transparentColour : kDefaultTransparentColour;
    return LoadSceneFile(name, slot, transparent);
  }
  ResizeMeshArray(slot->meshes, 1);
  slot->meshes.count = 1;
  MeshObjectX& mesh = slot->meshes[0];
  if (LoadDdd(&mesh, name) == 0 || mesh.parts.count < 1 ||
      mesh.parts[0].sourceVertices.count == 0) {
    return 0;
  }
  slot->used = 1;
  mesh.Build();
  ComputeMeshBounds(mesh);
  return 1;
}
