// The collision library on hand-computed cases (boundaries, each branch of the box and cone tests,
// degenerate triangles, NaN, counts beyond the storage), then on random triangles against convex
// distance functions in double.
#include <algorithm>
#include <cmath>
#include <random>

#include <gtest/gtest.h>

#include "scene3d/box_cone_triangle.h"
#include "scene3d/collision_geometry.h"

namespace {

const f32 kNaN = std::nanf(""), kOrigin[3] = {0, 0, 0};
const f32 kTri3[9] = {0, 0, 0, 3, 0, 0, 0, 3, 0};  // in the plane z = 0

TEST(Collision, PlaneBoxAndPolygon) {
  const f32 n[3] = {0, 0, 1}, p[3] = {0, 0, 1};
  for (const auto& row : {std::pair{2.f, 0}, {0.f, 0}, {1.f, 1}, {3.f, 2}, {-2.f, 0}}) {
    const f32 c[3] = {5, -5, row.first};
    f32 d = kNaN;
    EXPECT_EQ(row.second, SphereVsPlane(c, n, p, 1, &d)) << row.first;
    EXPECT_EQ(row.first - 1, d);
  }
  const struct { f32 q[3], limit, h; i32 hit; } boxes[] = {
      {{0.5f, -1, 1}, 0, 1, 1}, {{2, 0, 0}, 1, 1, 1},      {{2, 0, 0}, 0.99f, 1, 0},
      {{-2, -2, 3}, 3, 1, 1},   {{-2, -2, 3}, 2.9f, 1, 0}, {{kNaN, 0, 0}, 1, 1, 0},
      {{0, 0, 0}, 1, kNaN, 0},  // NaN is no hit
  };
  for (const auto& row : boxes)
    EXPECT_EQ(row.hit, SphereVsBox(row.q, row.limit, row.h, row.h, 2)) << row.q[0];
  // A count beyond the storage uses what is there.
  const struct { f32 p[3]; i32 count, inside; } points[] = {
      {{1, 1, 0}, 3, 1},    {{1, 1, 0}, 0, 0},    {{0, 0, 0}, 3, 0},  {{3, 3, 0}, 3, 0},
      {{1, 1, 0.2f}, 3, 1}, {{1, 1, 0.3f}, 3, 0}, {{1, 1, 0}, 99, 1},
  };
  for (const auto& row : points)
    EXPECT_EQ(row.inside, PointInPolygon(row.p, kTri3, row.count)) << row.p[2];
}

TEST(Collision, SegmentsAndPoints) {
  const f32 unit[9] = {0, 0, 0, 1, 0, 0, 0, 1, 0}, flat[9] = {0, 0, 0, 1, 1, 1, 2, 2, 2};
  const f32 sliver[9] = {0, 0, 0, 1, 0, 0, 1, 1e-4f, 0};  // its denominator rounds to 0
  // Its denominator overflows, and would place a point far outside it at s = t = 0.
  const f32 a = 4.33e9f, huge[9] = {0, 0, 0, a, 0, 0, 0, a, 0};
  const struct { const f32* tri; f32 p0[3], p1[3], r; } rows[] = {
      {unit, {.25f, .25f, 1}, {.25f, .25f, -1}, 0.5f},
      {unit, {.25f, .25f, -1}, {.25f, .25f, -2}, -1}, {unit, {.25f, .25f, 2}, {.25f, .25f, 1}, 2},
      {unit, {.25f, .25f, 0}, {.25f, .25f, 1}, 0}, {unit, {0, .5f, 1}, {0, .5f, -1}, 0.5f},
      {unit, {1, 0, 1}, {1, 0, -1}, 0.5f}, {unit, {.5f, .5f, 1}, {.5f, .5f, -1}, 0.5f},
      {unit, {.6f, .5f, 1}, {.6f, .5f, -1}, 0}, {unit, {.25f, .25f, 1}, {.5f, .25f, 1}, 0},
      {flat, {.5f, 0, 1}, {.5f, 0, -1}, 0}, {sliver, {5, 0, 1}, {5, 0, -1}, 0},
      {unit, {kNaN, .25f, 1}, {.25f, .25f, -1}, 0},
      {huge, {-a / 2, a / 4, 1}, {-a / 2, a / 4, -1}, 0},
  };
  for (const auto& row : rows)
    EXPECT_EQ(row.r, SegmentVsTriangle(row.tri, row.p0, row.p1)) << row.p0[0];

  const f32 square[12] = {0, 0, 0, 2, 0, 0, 2, 2, 0, 0, 2, 0};
  const f32 through[6] = {1, 1, 1, 1, 1, -1}, endInPlane[6] = {1, 1, 1, 1, 1, 0},
            outside[6] = {3, 3, 1, 3, 3, -1};
  for (const auto& [segment, count, hit] :
       {std::tuple{through, 4, 1}, {through, 9, 1}, {endInPlane, 4, 0}, {outside, 4, 0}}) {
    EXPECT_EQ(hit, SegmentVsPolygon(square, segment, count)) << segment[0] << " " << count;
  }
  const f32 alongEdge[6] = {1.5f, 0, 1,
                            1.5f, 0, -1};  // two vertices have no plane: the third is not read
  EXPECT_EQ(0, SegmentVsPolygon(std::span<const f32>(kTri3, 6), alongEdge, 3));

  const f32 n[3] = {0, 0, 1}, crossing[6] = {0, 0, 3, 0, 0, 5}, parallel[6] = {4, 0, 3, 5, 0, 3};
  f32 out[3];
  EXPECT_EQ(1, SegmentPlanePoint(out, n, crossing, -1)[2]);
  EXPECT_EQ(4, SegmentPlanePoint(out, n, parallel, -1)[0]);
}

TEST(Collision, SphereVsTriangleAndEdges) {
  const struct { f32 c[3], r; i32 count, hit; } rows[] = {
      {{1, 1, 1}, 1, 3, 0}, {{1, 1, 0.5f}, 1, 3, 1}, {{1, 1, -0.5f}, 1, 3, 1},
      {{-0.5f, 1, 0}, 1, 3, 1}, {{-2, 1, 0}, 1, 3, 0}, {{-0.5f, 1, 0}, 1, 0, 0},
      {{-0.3f, -0.3f, -1}, 1.05f, 4, 0},  // only three vertices are copied: none past them is read
  };
  for (const auto& row : rows)
    EXPECT_EQ(row.hit, SphereVsTriangle(kTri3, row.c, row.count, row.r)) << row.c[0];
  const f32 c[3] = {1.5f, -0.5f, 0};
  EXPECT_EQ(0, SphereVsEdges(c, kTri3, 3, 0.5f));  // exactly the distance to the nearest edge
}

TEST(Collision, BoxAndCone) {
  const f32 h0[3] = {1, 0, 0}, h1[3] = {0, 1, 0}, h2[3] = {0, 0, 1};
  const struct { f32 t[9]; i32 hit; } boxes[] = {
      // x+y+z = 3.2: only the normal separates
      {{23.2f, -10, -10, -10, 23.2f, -10, -10, -10, 23.2f}, 0},
      {{22.9f, -10, -10, -10, 22.9f, -10, -10, -10, 22.9f}, 1},  // x+y+z = 2.9
      {{-0.5f, -0.5f, 1, 0.5f, -0.5f, 1, 0, 0.5f, 1}, 1},  // in the plane of a face, inside it
      {{-0.5f, 2, 0, 0.5f, 2, 0, 0, 3, 0}, 0},             // an edge parallel to x, beyond y = 1
      {{-0.5f, 1, 0, 0.5f, 1, 0, 0, 2, 0}, 1},             // the same, touching y = 1
      {{kNaN, 0, 0, 0.5f, 0, 0, 0, 0.5f, 0}, 0},           // NaN is no hit
  };
  for (const auto& row : boxes)
    EXPECT_EQ(row.hit, BoxVsTriangle(kOrigin, h0, h1, h2, row.t, row.t + 3, row.t + 6));

  const f32 up[3] = {0, 0, 1}, side[3] = {1, 0, 0};
  const struct { const f32* axis; f32 cos; f32 t[9]; i32 hit; } cones[] = {
      {up, 0.9f, {0, 0, 0, 5, 0, 1, 0, 5, 1}, 1},                 // apex on a vertex
      {up, 0.1f, {0, 0, -1, 5, 0, -1, 0, 5, -2}, 0},              // wholly behind the apex
      {up, 0.99f, {-5, -5, 5, 5, -5, 5, 0, 5, 5}, 1},             // axis pierces, vertices outside
      {up, 0.99f, {-5, -5, 5, 0, 5, 5, 5, -5, 5}, 1},             // the same, wound the other way
      {up, 1, {-5, -5, 5, 5, -5, 5, 0, 5, 5}, 1},                 // a cone narrowed to its axis
      {up, 1, {-5, -5, -5, 5, -5, -5, 0, 5, -5}, 0},              // the same triangle behind
      {up, 0.985f, {100, 0, 1, -10, -10, -10, -10, 10, -10}, 0},  // the axis line meets it behind
      {side, 0.9f, {1, 5, 0, 2, 5, 0, 1, 6, 0}, 0},  // apex in the plane, axis along it
      {up, 0.9f, {1, 5, 1, 2, 5, 1, 3, 5, 1}, 0},    // zero area, far from the cone
  };
  for (const auto& row : cones)
    EXPECT_EQ(row.hit, ConeVsTriangle(row.axis, kOrigin, row.cos, row.t)) << row.t[0];
}

// Least value of a convex function over a grid of the triangle's points. With vertices in [-3, 3]
// every edge is below 10.4: the true least value is at most lipschitz * 10.4 / kGrid below it.
constexpr int kGrid = 128;
template <class F>
f64 LeastOverTriangle(const f32* t, F f) {
  f64 least = 1e30;
  for (int i = 0; i <= kGrid; ++i) {
    for (int j = 0; i + j <= kGrid; ++j) {
      f64 x[3];
      for (int k = 0; k < 3; ++k)
        x[k] = t[k] + (f64(t[3 + k]) - t[k]) * i / kGrid + (f64(t[6 + k]) - t[k]) * j / kGrid;
      least = std::min(least, f(x));
    }
  }
  return least;
}

template <class T>
f64 Dot(const f64* x, const T* b) {
  return x[0] * b[0] + x[1] * b[1] + x[2] * b[2];
}

TEST(Collision, RandomTrianglesAgreeWithDistanceBound) {
  const f64 frame[3][3] = {
      {2 / 3., -1 / 3., 2 / 3.}, {2 / 3., 2 / 3., -1 / 3.}, {-1 / 3., 2 / 3., 2 / 3.}};
  const f64 slack =
      3 * 10.4 / kGrid;  // the grid's spacing, and the sphere test's 1% angle tolerance
  std::mt19937 random(18);
  std::uniform_real_distribution<f32> coordinate(-3, 3), angle(0.2f, 1.1f), size(0.2f, 1.5f);
  int decided = 0;
  for (int n = 0; n < 1000; ++n) {
    f32 t[9], axis[3], half[3], h[3][3];
    for (f32& v : t) v = coordinate(random);
    for (f32& v : axis) v = coordinate(random);
    const f32 length = std::hypot(axis[0], axis[1], axis[2]);
    for (f32& v : axis) v /= length;
    for (f32& v : half) v = size(random);
    for (int i = 0; i < 9; ++i) h[i / 3][i % 3] = f32(frame[i / 3][i % 3] * half[i / 3]);
    const f32 cosAngle = std::cos(angle(random)), radius = size(random);
    const auto check = [&](i32 got, f64 least, f64 lipschitz) {
      const bool meets = least < -1e-3, misses = least > lipschitz * slack;
      EXPECT_TRUE(!(meets || misses) || got == (meets ? 1 : 0))
          << "case " << n << " least " << least;
      decided += meets || misses;
    };
    const auto boxExcess = [&](const f64* x) {  // how far x lies beyond the farthest face plane
      f64 excess = -1e30;
      for (int i = 0; i < 3; ++i) excess = std::max(excess, std::fabs(Dot(x, frame[i])) - half[i]);
      return excess;
    };
    const auto coneExcess = [&](const f64* x) {
      return cosAngle * std::hypot(x[0], x[1], x[2]) - Dot(x, axis);
    };
    const auto sphereExcess = [&](const f64* x) { return std::hypot(x[0], x[1], x[2]) - radius; };
    check(BoxVsTriangle(kOrigin, h[0], h[1], h[2], t, t + 3, t + 6),
          LeastOverTriangle(t, boxExcess), 1);
    check(ConeVsTriangle(axis, kOrigin, cosAngle, t), LeastOverTriangle(t, coneExcess), 2);
    check(SphereVsTriangle(t, kOrigin, 3, radius), LeastOverTriangle(t, sphereExcess), 1);
  }
  EXPECT_GT(decided, 3 * 1000 * 7 / 10);  // most cases are far enough from the boundary to decide
}

}  // namespace
