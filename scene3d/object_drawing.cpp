// Drawing an object slot: each mesh replays the renderer batch recorded for the wanted animation
// frame, under view x model, between a push and a pop of the renderer's model-view stack. A
// scene's meshes share one placement.
#include "media/render_target.h"
#include "media/textured_quads.h"
#include "render/soft_render_context.h"
#include "scene3d/rainbows3d.h"

void Rainbows3D::DrawObject(i32 slotNumber, i32 frame, i32 third, f32 fourth, u8 flag) {
  ObjectSlot* slot = Slot(slotNumber);
  if (slot == nullptr) return;
  if (slot->isScene == 0) {
    if (slot->meshes.count > 0) DrawObjectPart(slot->meshes[0], frame, third, fourth, flag);
    return;
  }
  for (MeshObjectX& mesh : slot->meshes) {
    if (slot->textures.count == 0) SelectSpriteTexture(device2D, -1);  // a scene without textures
    DrawObjectPart(mesh, frame, third, fourth, flag);
  }
}

void Rainbows3D::DrawObjectPart(MeshObjectX& mesh, i32 frame, i32 /*third*/, f32 /*fourth*/,
                                u8 /*flag*/) {
  // A frame the mesh has no batch for is skipped: beyond its frames (meshes of a scene may have
  // different frame counts), or a mesh under construction that was never built.
  if (frame < 0 || frame >= mesh.parts.count || frame >= mesh.frameBatches.count) return;
  SoftRenderContext& renderer = GetSoftRenderContext();
  renderer.PushMatrix();
  UpdateModelMatrix();
  renderer.MultMatrixFloat(CurrentState().model);
  renderer.RenderBatches(mesh.frameBatches[frame], 1);
  GetRenderTarget().depthDirty = 1;
  renderer.PopMatrix();
}
