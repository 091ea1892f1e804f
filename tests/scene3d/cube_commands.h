// A cube of side 2 built through the 3D commands, centred on (x, 0, z): six strips of two
// triangles (36 triangle vertices), faces +x, +y, +z, -x, -y, -z in that order, one colour each.
#pragma once

#include "scene3d/object_commands.h"

inline void BuildCubeCommand(f32 slot, const u32 (&colours)[6], f32 x = 0, f32 z = 0) {
  BeginObjectCommand(slot);
  for (i32 face = 0; face < 6; ++face) {
    if (face > 0) AddSeparatorCommand();
    const i32 axis = face % 3;
    for (i32 c = 0; c < 4; ++c) {
      f32 p[3];
      p[axis] = face < 3 ? 1 : -1;
      p[(axis + 1) % 3] = (c & 1) ? 1 : -1;
      p[(axis + 2) % 3] = (c & 2) ? 1 : -1;
      AddVertexCommand(p[0] + x, p[1], p[2] + z, c & 1, c >> 1, static_cast<f32>(colours[face]));
    }
  }
  EndObjectCommand();
}
