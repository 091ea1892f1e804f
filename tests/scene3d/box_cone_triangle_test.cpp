// Box and cone against a triangle: hand cases for each separating axis kind and each branch of
// the cone's vertex, edge and face tests, then random triangles checked against the least value
// of each shape's convex distance function over a dense grid of the triangle, in double.
#include "scene3d/box_cone_triangle.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <random>

#include <gtest/gtest.h>

#include "scene3d/collision_geometry.h"

namespace {

const f32 kNaN = std::numeric_limits<f32>::quiet_NaN();

TEST(BoxConeTriangle, BoxCases) {
  const f32 m[3] = {0, 0, 0}, h0[3] = {1, 0, 0}, h1[3] = {0, 1, 0}, h2[3] = {0, 0, 1};
  const struct { f32 t[9]; i32 hit; } rows[] = {
      {{23.2f, -10, -10, -10, 23.2f, -10, -10, -10, 23.2f}, 0},  // x+y+z = 3.2: only the normal separates
      {{22.9f, -10, -10, -10, 22.9f, -10, -10, -10, 22.9f}, 1},  // x+y+z = 2.9
      {{-0.5f, -0.5f, 1, 0.5f, -0.5f, 1, 0, 0.5f, 1}, 1},        // in the plane of a face, inside it
      {{-0.5f, 2, 0, 0.5f, 2, 0, 0, 3, 0}, 0},                   // an edge parallel to x, beyond y = 1
      {{-0.5f, 1, 0, 0.5f, 1, 0, 0, 2, 0}, 1},                   // the same, touching y = 1
      {{2.2f, 0, 0, 0, 0, 2.2f, 3, 3, 3}, 0},                    // past the edge x = z = 1: a cross axis
      {{kNaN, 0, 0, 0.5f, 0, 0, 0, 0.5f, 0}, 0},                 // NaN is no hit
  };
  for (const auto& row : rows) EXPECT_EQ(row.hit, BoxVsTriangle(m, h0, h1, h2, row.t, row.t + 3, row.t + 6)) << row.t[0];
}

TEST(BoxConeTriangle, ConeCases) {
  const f32 apex[3] = {0, 0, 0}, up[3] = {0, 0, 1}, side[3] = {1, 0, 0};
  const f32 cos45 = 0.70710677f;
  const struct { const f32* axis; f32 cos; f32 t[9]; i32 hit; } rows[] = {
      {up, 0.9f, {0, 0, 0, 5, 0, 1, 0, 5, 1}, 1},                 // apex on a vertex
      {up, 0.1f, {0, 0, -1, 5, 0, -1, 0, 5, -2}, 0},              // wholly behind the apex
      {up, cos45, {-3, 0, -1, 3, 0, 2, 0, 10, -1}, 1},            // edge: only its end in front
      {up, cos45, {3, 0, 2, -3, 0, -1, 0, 10, -1}, 1},            // edge: only its base in front
      {up, cos45, {-3, 0, 2, 3, 0, 2, 0, 10, -1}, 1},             // edge: both ends in front
      {up, cos45, {-3, 5, 2, 3, 5, 2, 0, 10, -1}, 0},             // edge and face both miss
      {up, 0.99f, {-5, -5, 5, 5, -5, 5, 0, 5, 5}, 1},             // axis pierces, vertices outside
      {up, 0.99f, {-5, -5, 5, 0, 5, 5, 5, -5, 5}, 1},             // the same, wound the other way
      {up, 1, {-5, -5, 5, 5, -5, 5, 0, 5, 5}, 1},                 // a cone narrowed to its axis
      {up, 1, {-5, -5, -5, 5, -5, -5, 0, 5, -5}, 0},              // the same triangle behind
      // The axis line meets the face only behind the apex: no hit.
      {up, 0.985f, {100, 0, 1, -10, -10, -10, -10, 10, -10}, 0},
      {side, 0.9f, {1, 5, 0, 2, 5, 0, 1, 6, 0}, 0},               // apex in the plane, axis along it
      {up, 0.9f, {1, 5, 1, 2, 5, 1, 3, 5, 1}, 0},                 // zero area, far from the cone
  };
  for (const auto& row : rows) EXPECT_EQ(row.hit, ConeVsTriangle(row.axis, apex, row.cos, row.t)) << row.t[0];
}

// Least value of a convex function over a grid of the triangle's points; the true least value
// lies at most lipschitz * spacing below it, and the spacing is below longest edge / kGrid.
constexpr int kGrid = 96;
template <class F>
f64 LeastOverTriangle(const f32* t, F f) {
  f64 least = 1e30;
  for (int i = 0; i <= kGrid; ++i) {
    for (int j = 0; i + j <= kGrid; ++j) {
      f64 x[3];
      for (int k = 0; k < 3; ++k) x[k] = t[k] + (f64(t[3 + k]) - t[k]) * i / kGrid + (f64(t[6 + k]) - t[k]) * j / kGrid;
      least = std::min(least, f(x));
    }
  }
  return least;
}

f64 Dot(const f64* a, const f32* b) { return a[0] * b[0] + a[1] * b[1] + a[2] * b[2]; }

TEST(BoxConeTriangle, RandomTrianglesAgreeWithDistanceBound) {
  std::mt19937 random(18);
  std::uniform_real_distribution<f32> coordinate(-3, 3), angle(0.2f, 1.1f), size(0.2f, 1.5f);
  auto unit = [&](f32* v, const f32* awayFrom) {  // random unit vector, orthogonal to awayFrom
    for (int k = 0; k < 3; ++k) v[k] = coordinate(random);
    const f64 along = awayFrom ? (v[0] * awayFrom[0] + v[1] * awayFrom[1] + v[2] * awayFrom[2]) : 0;
    for (int k = 0; k < 3; ++k) v[k] -= f32(awayFrom ? along * awayFrom[k] : 0);
    const f32 length = std::sqrt(v[0] * v[0] + v[1] * v[1] + v[2] * v[2]);
    for (int k = 0; k < 3; ++k) v[k] /= length;
  };
  int decided = 0;
  for (int n = 0; n < 1500; ++n) {
    f32 t[9], axis[3][3], half[3], h[3][3];
    const f32 origin[3] = {0, 0, 0};
    for (f32& v : t) v = coordinate(random);
    unit(axis[0], nullptr);
    unit(axis[1], axis[0]);
    axis[2][0] = axis[0][1] * axis[1][2] - axis[0][2] * axis[1][1];
    axis[2][1] = axis[0][2] * axis[1][0] - axis[0][0] * axis[1][2];
    axis[2][2] = axis[0][0] * axis[1][1] - axis[0][1] * axis[1][0];
    for (int i = 0; i < 3; ++i) {
      half[i] = size(random);
      for (int k = 0; k < 3; ++k) h[i][k] = axis[i][k] * half[i];
    }
    const f32 cosAngle = std::cos(angle(random)), radius = size(random);
    f64 longest = 0;
    for (int e = 0; e < 3; ++e) {
      const f32 *a = t + 3 * e, *b = t + 3 * ((e + 1) % 3);
      longest = std::max(longest, std::hypot(f64(a[0]) - b[0], f64(a[1]) - b[1], f64(a[2]) - b[2]));
    }
    const f64 slack = 3 * longest / kGrid + 1e-3;  // spacing, plus the sphere test's 1% angle tolerance
    const auto check = [&](i32 got, f64 least, f64 lipschitz) {
      const bool meets = least < -1e-3, misses = least > lipschitz * slack;
      if (meets || misses) {
        EXPECT_EQ(meets ? 1 : 0, got) << "case " << n << " least " << least;
      }
      decided += meets || misses;
    };
    check(ConeVsTriangle(axis[0], origin, cosAngle, t),
          LeastOverTriangle(t, [&](const f64* x) { return cosAngle * std::hypot(x[0], x[1], x[2]) - Dot(x, axis[0]); }), 2);
    check(BoxVsTriangle(origin, h[0], h[1], h[2], t, t + 3, t + 6), LeastOverTriangle(t, [&](const f64* x) {
            f64 outside = 0, inside = -1e30;
            for (int i = 0; i < 3; ++i) {
              const f64 excess = std::fabs(Dot(x, axis[i])) - half[i];
              outside += excess > 0 ? excess * excess : 0;
              inside = std::max(inside, excess);
            }
            return outside > 0 ? std::sqrt(outside) : inside;
          }), 1);
    check(SphereVsTriangle(t, origin, 3, radius),
          LeastOverTriangle(t, [&](const f64* x) { return std::hypot(x[0], x[1], x[2]) - radius; }), 1);
  }
  EXPECT_GT(decided, 3 * 1500 * 8 / 10);  // nearly every case is far enough from the boundary
}

}  // namespace
