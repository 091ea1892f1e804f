// The length measures of a placement, from the Gram matrix of its block's columns (computed in
// double, so that the tests below judge the placement and not their own rounding).
#include "scene3d/placement_scale.h"

#include <algorithm>
#include <cmath>

namespace {

// Composed float rotations keep their columns perpendicular and of one length to about 1e-6;
// a scale that differs between axes by less than this changes no answer beyond float rounding.
constexpr f64 kUniformTolerance = 1e-5;

// Widens the stretch past the rounding of the float transforms that use it.
constexpr f64 kStretchMargin = 1.0 + 1e-5;

// Column a of the block dotted with column b.
f64 ColumnDot(const f32 m[16], i32 a, i32 b) {
  f64 sum = 0.0;
  for (i32 r = 0; r < 3; ++r) sum += static_cast<f64>(m[4 * a + r]) * m[4 * b + r];
  return sum;
}

}  // namespace

bool ScalesUniformly(const f32 m[16]) {
  const f64 first = ColumnDot(m, 0, 0);
  const f64 tolerance = kUniformTolerance * first;
  const auto small = [tolerance](f64 v) { return std::fabs(v) <= tolerance; };
  return small(ColumnDot(m, 1, 1) - first) && small(ColumnDot(m, 2, 2) - first) &&
         small(ColumnDot(m, 0, 1)) && small(ColumnDot(m, 0, 2)) && small(ColumnDot(m, 1, 2));
}

f32 LargestStretch(const f32 m[16]) {
  // The largest eigenvalue of the Gram matrix is at most its largest absolute row sum.
  f64 largest = 0.0;
  for (i32 a = 0; a < 3; ++a) {
    f64 row = 0.0;
    for (i32 b = 0; b < 3; ++b) row += std::fabs(ColumnDot(m, a, b));
    largest = std::max(largest, row);
  }
  return static_cast<f32>(std::sqrt(largest) * kStretchMargin);
}
