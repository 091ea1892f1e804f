// The vertex pipeline's working vertex, which is also what the drawing members receive.
#pragma once

#include "core/types.h"

// Up to eight varyings follow the position; the selected configuration's varying count says how
// many are meaningful, in the order u, v, r, g, b, light with the absent ones dropped.
constexpr i32 kMaxVaryings = 8;

struct ClipVertex {
  // Clip-space position in 16.16 as the vertex processor produced it. After projection x and y
  // are the 28.4 screen position (y downwards) and z the 16.16 depth; w stays the clip-space w.
  i32 x = 0;
  i32 y = 0;
  i32 z = 0;
  i32 w = 0;
  i32 varyings[kMaxVaryings] = {};

  bool operator==(const ClipVertex&) const = default;
};
