// A sphere against a box that a placement carries into world coordinates: the bounds-box query
// under a placement that scales its axes differently, where the box becomes a parallelepiped and
// the sphere, brought into the box's coordinates, would become an ellipsoid. The distance is
// measured in world coordinates instead, to the nearest of the box's six faces.
#pragma once

#include "core/types.h"

// 1 when the sphere (world centre, radius) meets or touches the box of half sizes hx, hy, hz
// centred on the origin of the placement `model` along its axes; `inverse` is the placement's
// inverse. NaN anywhere meets nothing.
i32 SphereVsPlacedBox(const f32 model[16], const f32 inverse[16], const f32* centre, f32 radius,
                      f32 hx, f32 hy, f32 hz);
