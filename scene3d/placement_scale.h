// How a placement (a model matrix, column-major) changes lengths, for the collision queries. A
// placement whose 3 x 3 block is a rotation (or reflection) times one scale keeps spheres and
// cones what they are, so a query shape may be carried into the object's coordinates; any other
// placement turns them into ellipsoids and skewed cones, and the queries then carry the object's
// triangles into world coordinates instead.
#pragma once

#include "core/types.h"

// True when the block's three columns are perpendicular and of one length, to within the rounding
// of composed rotations: every length then grows by the first column's length.
bool ScalesUniformly(const f32 m[16]);

// No vector grows by more than this under the block: the largest column length when the columns
// are perpendicular, widened by their cross terms when they are not (a bound of the block's
// largest singular value), so a bounding sphere carried by it stays a bounding sphere.
f32 LargestStretch(const f32 m[16]);
