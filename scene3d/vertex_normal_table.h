// The fixed table of 162 unit normals that binary .ddd models index with one byte per vertex,
// and the quantisation of a vertex normal to the nearest entry, which the model writer uses.
#pragma once

#include "core/types.h"

inline constexpr i32 kVertexNormalCount = 162;

struct VertexNormal {
  f32 x, y, z;
};

extern const VertexNormal VertexNormalTable[kVertexNormalCount];

// The index of the entry nearest to the normal (nx, ny, nz), computed in f32: the normal is first
// scaled to unit length unless it is nearly zero; among equally near entries the last wins. A
// zero (or NaN) normal gives 0.
u8 NearestVertexNormalIndex(f32 nx, f32 ny, f32 nz);
