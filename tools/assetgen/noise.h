// Deterministic randomness for the generator: a small xorshift generator and smooth 2D value
// noise. The same seed gives the same pictures and music on every machine and compiler, which
// std's distributions do not promise.
#pragma once

#include <cmath>

#include "core/float_convert.h"
#include "core/types.h"

class Rng {
 public:
  explicit Rng(u32 seed) : state_(seed != 0 ? seed : 0x9E3779B9u) {}
  u32 Next() {
    state_ ^= state_ << 13;
    state_ ^= state_ >> 17;
    state_ ^= state_ << 5;
    return state_;
  }
  // 0 <= value < 1.
  f32 Unit() { return static_cast<f32>(Next() >> 8) * (1.0f / 16777216.0f); }
  // lo <= value < hi.
  f32 Range(f32 lo, f32 hi) { return lo + (hi - lo) * Unit(); }
  // 0 <= value < n (n > 0).
  i32 Below(i32 n) { return static_cast<i32>(Next() % static_cast<u32>(n)); }

 private:
  u32 state_;
};

// A value in 0..1 for each integer lattice point.
inline f32 LatticeValue(i32 x, i32 y, u32 seed) {
  u32 h = static_cast<u32>(x) * 374761393u + static_cast<u32>(y) * 668265263u + seed * 2246822519u;
  h = (h ^ (h >> 13)) * 1274126177u;
  h ^= h >> 16;
  return static_cast<f32>(h & 0xFFFFFF) * (1.0f / 16777215.0f);
}

// Smoothly interpolated lattice values: 0..1, varying over about one unit.
inline f32 ValueNoise(f32 x, f32 y, u32 seed) {
  const f32 fx = std::floor(x), fy = std::floor(y);
  const i32 ix = TruncToI32(fx), iy = TruncToI32(fy);
  const f32 tx = x - fx, ty = y - fy;
  const f32 sx = tx * tx * (3.0f - 2.0f * tx), sy = ty * ty * (3.0f - 2.0f * ty);
  const f32 a = LatticeValue(ix, iy, seed), b = LatticeValue(ix + 1, iy, seed);
  const f32 c = LatticeValue(ix, iy + 1, seed), d = LatticeValue(ix + 1, iy + 1, seed);
  const f32 top = a + (b - a) * sx, bottom = c + (d - c) * sx;
  return top + (bottom - top) * sy;
}

// Several octaves of value noise, each twice as fine and half as strong: 0..1.
inline f32 FractalNoise(f32 x, f32 y, u32 seed, i32 octaves) {
  f32 sum = 0.0f, weight = 1.0f, total = 0.0f;
  for (i32 k = 0; k < octaves; ++k) {
    sum += weight * ValueNoise(x, y, seed + static_cast<u32>(k) * 101u);
    total += weight;
    weight *= 0.5f;
    x *= 2.0f;
    y *= 2.0f;
  }
  return sum / total;
}
