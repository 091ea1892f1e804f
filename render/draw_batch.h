// The renderer's input vertex and its recorded meshes. The 3D engine records each animation frame
// of a mesh once into a batch of the context's batch table and replays it per object; immediate
// drawing fills a batch of its own.
#pragma once

#include "core/grow_vector.h"
#include "core/types.h"

// Eleven 16.16 values: position, normal (read only by the lit formats), colour (1.0 = full
// intensity, coloured formats) and texture coordinates (fractions of the texture).
struct FixedVertex {
  i32 x = 0, y = 0, z = 0;
  i32 nx = 0, ny = 0, nz = 0;
  i32 r = 0, g = 0, b = 0;
  i32 u = 0, v = 0;
};
static_assert(sizeof(FixedVertex) == 44, "vertex streams step by 44 bytes");

// A recorded mesh: vertices, three indices a triangle, and which attributes matter. A batch owns
// the storage of its lists.
struct DrawBatch {
  GrowVector<FixedVertex> vertices{128, 512};
  GrowVector<i32> indices{128, 512};
  u32 textured = 0;
  u32 coloured = 0;
  u32 lit = 0;
};
