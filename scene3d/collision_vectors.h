// Vector arithmetic of the collision tests: a vector is three consecutive floats, passed by
// address. Every operation is single precision in a fixed order (sums left to right), so the
// tests give the same answers on the handheld and on the desktop build.
#pragma once

#include <cmath>

#include "core/types.h"

namespace vec3 {

inline f32 Dot(const f32* a, const f32* b) { return a[0] * b[0] + a[1] * b[1] + a[2] * b[2]; }

inline f32 Length(const f32* a) { return std::sqrt(Dot(a, a)); }

inline void Copy(f32* out, const f32* a) {
  out[0] = a[0];
  out[1] = a[1];
  out[2] = a[2];
}

// out = a - b
inline void Sub(f32* out, const f32* a, const f32* b) {
  out[0] = a[0] - b[0];
  out[1] = a[1] - b[1];
  out[2] = a[2] - b[2];
}

// out = a + f * b
inline void AddScaled(f32* out, const f32* a, f32 f, const f32* b) {
  out[0] = a[0] + f * b[0];
  out[1] = a[1] + f * b[1];
  out[2] = a[2] + f * b[2];
}

// out = a x b; out may be a or b.
inline void Cross(f32* out, const f32* a, const f32* b) {
  const f32 x = a[1] * b[2] - a[2] * b[1];
  const f32 y = a[2] * b[0] - a[0] * b[2];
  const f32 z = a[0] * b[1] - a[1] * b[0];
  out[0] = x;
  out[1] = y;
  out[2] = z;
}

// Makes v unit length when its squared length, widened to double, exceeds 1e-7. A shorter
// vector is left exactly as it was (not zeroed), so degenerate input still gets a defined answer.
inline void SafeNormalize(f32* v) {
  const f32 squared = Dot(v, v);
  if (static_cast<f64>(squared) > 1e-7) {
    const f32 length = std::sqrt(squared);
    v[0] /= length;
    v[1] /= length;
    v[2] /= length;
  }
}

}  // namespace vec3
