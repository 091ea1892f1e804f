// The 3D commands that ask questions of objects: collisions with a sphere, a box, a ray and a
// box at the current placement, and the faces of an object. Slot numbers outside 0..4095 (NaN
// included) answer 0; frames a mesh does not have answer no hit (or no faces) for that mesh.
// With the runtime's debug flag set, the collision commands also hand their shape to the
// device's displays, which draw nothing on this platform.
#pragma once

#include "core/num_array.h"
#include "core/types.h"

// 1 when the sphere meets the object's frame, else 0.
i32 CollideSphereCommand(f32 slot, f32 frame, f32 radius, f32 x, f32 y, f32 z);
// 1 when the box (centre and world-axis sizes) meets the object's frame, else 0.
i32 CollideBoxCommand(f32 slot, f32 frame, f32 x, f32 y, f32 z, f32 width, f32 height, f32 depth);
// 1 when the sphere meets the box of those sizes centred on the current placement, else 0.
i32 CollideBoundsBoxCommand(f32 x, f32 y, f32 z, f32 radius, f32 width, f32 height, f32 depth);
// The distance along the ray to the nearest hit in front of its start, else the negative distance
// of the nearest behind it, else 0.
f32 CollideRayCommand(f32 slot, f32 frame, f32 x, f32 y, f32 z, f32 dx, f32 dy, f32 dz);
// Queries that never find a point: 0, and the three places are left as they were.
i32 GetLastHitCommand(f32 a, f32 b, f32 c, f32* out1, f32* out2, f32* out3);
i32 QueryScreenPointCommand(f32 x, f32 y, f32 c, f32* out1, f32* out2, f32* out3);
// The number of triangles of frame 0 over every mesh of the slot.
i32 GetObjectFaceCount(f32 slot);
// out := 3 x 9: row k holds vertex k of triangle `face` of the frame (counted over the slot's
// meshes in order) as x, y, z, u, v, colour, nx, ny, nz; all zero when there is no such face.
void GetObjectFace(f32 slot, f32 frame, f32 face, NumArray<f32>& out);
