// The collision and face commands over the runtime's 3D device.
#include "scene3d/query_commands.h"

#include "core/runtime_globals.h"
#include "media/graphics_device.h"
#include "scene3d/collision_geometry.h"
#include "scene3d/command_state.h"

namespace {

// The display colour and weight of a shape that hit (blue, heavy) or missed (green, light).
constexpr i32 kHitColour = 0x0000FF, kMissColour = 0x00FF00;

// The triangles of frame `frame` of a mesh: none for a frame it does not have.
i32 FrameTriangles(const MeshObjectX& mesh, i32 frame) {
  if (frame < 0 || frame >= mesh.parts.count) return 0;
  return mesh.parts[frame].triangleVertices.count / 3;
}

// Copies the last query's point into the caller's places when the query found one.
i32 HandOnPoint(i32 found, const f32* point, f32* out1, f32* out2, f32* out3) {
  if (found != 0) *out1 = point[0], *out2 = point[1], *out3 = point[2];
  return found;
}

}  // namespace

i32 CollideSphereCommand(f32 slot, f32 frame, f32 radius, f32 x, f32 y, f32 z) {
  if (device3D == nullptr) return 0;
  const i32 hit = device3D->CollideSphere(SlotArg(slot), TruncToI32(frame), radius, x, y, z) != 0;
  if (debugReport != 0) {
    const f32 centre[3] = {x, y, z};
    device3D->DisplaySphere(centre, radius, hit ? kHitColour : kMissColour, hit ? 5 : 1);
  }
  return hit;
}

i32 CollideBoxCommand(f32 slot, f32 frame, f32 x, f32 y, f32 z, f32 width, f32 height,
                      f32 depth) {
  if (device3D == nullptr) return 0;
  // The half-axes in the order the device takes them: width, depth, height.
  const f32 centre[3] = {x, y, z};
  const f32 axes[9] = {width * 0.5f, 0, 0, 0, 0, depth * 0.5f, 0, height * 0.5f, 0};
  const i32 hit =
      device3D->CollideBox(SlotArg(slot), TruncToI32(frame), centre, axes, axes + 3, axes + 6) != 0;
  if (debugReport != 0) {
    device3D->DisplayBox(centre, axes, hit ? kHitColour : kMissColour, hit ? 5 : 1);
  }
  return hit;
}

i32 CollideBoundsBoxCommand(f32 x, f32 y, f32 z, f32 radius, f32 width, f32 height, f32 depth) {
  if (device3D == nullptr) return 0;
  return device3D->CollideBoundsBox(x, y, z, radius, width * 0.5f, height * 0.5f, depth * 0.5f);
}

f32 CollideRayCommand(f32 slot, f32 frame, f32 x, f32 y, f32 z, f32 dx, f32 dy, f32 dz) {
  if (device3D == nullptr) return 0.0f;
  const f32 distance = device3D->CollideRay(SlotArg(slot), TruncToI32(frame), x, y, z, dx, dy, dz);
  if (debugReport != 0) {
    // From the start to the tip of the direction: red for no hit, yellow behind, green in front.
    const f32 start[3] = {x, y, z}, end[3] = {x + dx, y + dy, z + dz};
    const u32 colour = distance == 0.0f ? 0x0000FF : distance < 0.0f ? 0x00FFFF : 0x00FF00;
    device3D->DisplayLine(start, end, colour, distance == 0.0f ? 1.0f : 5.0f);
  }
  return distance;
}

i32 GetLastHitCommand(f32 a, f32 b, f32 c, f32* out1, f32* out2, f32* out3) {
  f32* p = commands3D.lastHit;
  return HandOnPoint(QueryStubZero(a, b, c, p, p + 1, p + 2), p, out1, out2, out3);
}

i32 QueryScreenPointCommand(f32 x, f32 y, f32 c, f32* out1, f32* out2, f32* out3) {
  const i32 height = graphicsDevice != nullptr ? graphicsDevice->height : 0;
  f32* p = commands3D.screenPoint;
  const i32 found = QueryStubZero(x, static_cast<f32>(height - 1) - y, c, p, p + 1, p + 2);
  return HandOnPoint(found, p, out1, out2, out3);
}

i32 GetObjectFaceCount(f32 slot) {
  ObjectSlot* s = device3D != nullptr ? device3D->Slot(SlotArg(slot)) : nullptr;
  if (s == nullptr) return 0;
  i32 triangles = 0;
  for (const MeshObjectX& mesh : s->meshes) triangles += FrameTriangles(mesh, 0);
  return triangles;
}

void GetObjectFace(f32 slot, f32 frame, f32 face, NumArray<f32>& out) {
  out.Redim(3, 9);
  ObjectSlot* s = device3D != nullptr ? device3D->Slot(SlotArg(slot)) : nullptr;
  if (s == nullptr || !(face >= 0.0f)) return;
  const i32 f = TruncToI32(frame);
  i32 before = 0;  // the faces of the meshes before the one in hand
  for (const MeshObjectX& mesh : s->meshes) {
    const i32 triangles = FrameTriangles(mesh, f);
    if (static_cast<f32>(before + triangles) > face) {
      const i32 first = 3 * TruncToI32(face - static_cast<f32>(before));
      for (i32 k = 0; k < 3; ++k) {
        const MeshVertex& v = mesh.parts[f].triangleVertices[first + k];
        const f32 row[9] = {v.x, v.y, v.z, v.u, v.v, static_cast<f32>(v.colour), v.nx, v.ny, v.nz};
        for (i32 c = 0; c < 9; ++c) *out.At(k, c) = row[c];
      }
      return;
    }
    before += triangles;
  }
}
