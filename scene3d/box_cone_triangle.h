// The two heaviest triangle tests of the collision library: an oriented box against a triangle
// by separating axes, and an infinite one-sided cone against a triangle. The object queries call
// them once per triangle and stop at the first 1. Neither takes a square root or divides, and
// neither keeps state. Vectors are three floats by address, as in collision_vectors.h.
#pragma once

#include "core/types.h"

// 1 when the box (centre m, half-axis vectors h0, h1, h2 from the centre to the middle of each
// face, mutually perpendicular, not necessarily unit) and the triangle t0, t1, t2 overlap or
// touch; 0 when one of the 13 axes (box axes, face normal, box axes x edges) separates them.
// A zero-length axis never separates; NaN in the input separates (never a hit).
i32 BoxVsTriangle(const f32* m, const f32* h0, const f32* h1, const f32* h2, const f32* t0,
                  const f32* t1, const f32* t2);

// 1 when the triangle (nine floats) meets the cone with apex k, unit axis a and half-angle
// whose cosine is cosAngle. The cone has no height limit and only the half in front of the apex
// (a.(X - k) >= 0) counts. The cosine is used squared, so a half-angle above 90 degrees acts as
// its supplement.
i32 ConeVsTriangle(const f32* a, const f32* k, f32 cosAngle, const f32* triangle);
