// The plane, box, polygon, segment and sphere tests on hand-computed cases: exact boundaries,
// degenerate triangles, NaN input, and counts larger than the polygon's storage.
#include "scene3d/collision_geometry.h"

#include <cmath>
#include <limits>

#include <gtest/gtest.h>

namespace {

const f32 kNaN = std::numeric_limits<f32>::quiet_NaN();
// The triangle (0,0,0), (3,0,0), (0,3,0) in the plane z = 0.
const f32 kTri3[9] = {0, 0, 0, 3, 0, 0, 0, 3, 0};

TEST(CollisionGeometry, SphereVsPlaneAndBox) {
  const f32 n[3] = {0, 0, 1}, p[3] = {0, 0, 1};
  const struct { f32 z, r; i32 side; } planes[] = {{2, 1, 0}, {0, 1, 0}, {1, 1, 1}, {3, 1, 2}, {-2, 1, 0}};
  for (const auto& row : planes) {
    const f32 c[3] = {5, -5, row.z};
    f32 d = kNaN;
    EXPECT_EQ(row.side, SphereVsPlane(c, n, p, row.r, &d)) << row.z;
    EXPECT_EQ(row.z - 1, d);
  }
  const struct { f32 q[3], limit, h; i32 hit; } boxes[] = {
      {{0.5f, -1, 1}, 0, 1, 1}, {{2, 0, 0}, 1, 1, 1},   {{2, 0, 0}, 0.99f, 1, 0}, {{-2, -2, 3}, 3, 1, 1},
      {{-2, -2, 3}, 2.9f, 1, 0}, {{kNaN, 0, 0}, 1, 1, 0}, {{0, 0, 0}, 1, kNaN, 0},  // NaN is no hit
  };
  for (const auto& row : boxes) EXPECT_EQ(row.hit, SphereVsBox(row.q, row.limit, row.h, row.h, 2)) << row.q[0];
}

TEST(CollisionGeometry, PointInPolygon) {
  const struct { f32 p[3]; i32 count, inside; } rows[] = {
      {{1, 1, 0}, 3, 1},   {{1, 1, 0}, 0, 0},   {{0, 0, 0}, 3, 0}, {{3, 3, 0}, 3, 0}, {{1, 1, 0.2f}, 3, 1},
      {{1, 1, 0.3f}, 3, 0}, {{1, 1, 0}, 99, 1},  // a count beyond the storage uses what is there
  };
  for (const auto& row : rows) EXPECT_EQ(row.inside, PointInPolygon(row.p, kTri3, row.count)) << row.p[2];
}

TEST(CollisionGeometry, SegmentVsTriangle) {
  const f32 unit[9] = {0, 0, 0, 1, 0, 0, 0, 1, 0};
  const f32 flat[9] = {0, 0, 0, 1, 1, 1, 2, 2, 2};
  const f32 sliver[9] = {0, 0, 0, 1, 0, 0, 1, 1e-4f, 0};  // its denominator rounds to 0
  const struct { const f32* tri; f32 p0[3], p1[3], r; } rows[] = {
      {unit, {.25f, .25f, 1}, {.25f, .25f, -1}, 0.5f}, {unit, {.25f, .25f, -1}, {.25f, .25f, -2}, -1},
      {unit, {.25f, .25f, 2}, {.25f, .25f, 1}, 2},     {unit, {.25f, .25f, 0}, {.25f, .25f, 1}, 0},
      {unit, {0, .5f, 1}, {0, .5f, -1}, 0.5f},         {unit, {1, 0, 1}, {1, 0, -1}, 0.5f},
      {unit, {.5f, .5f, 1}, {.5f, .5f, -1}, 0.5f},     {unit, {.6f, .5f, 1}, {.6f, .5f, -1}, 0},
      {unit, {.25f, .25f, 1}, {.5f, .25f, 1}, 0},      {flat, {.5f, 0, 1}, {.5f, 0, -1}, 0},
      {sliver, {5, 0, 1}, {5, 0, -1}, 0},              {unit, {kNaN, .25f, 1}, {.25f, .25f, -1}, 0},
  };
  for (const auto& row : rows) EXPECT_EQ(row.r, SegmentVsTriangle(row.tri, row.p0, row.p1)) << row.p0[0];
}

TEST(CollisionGeometry, SegmentVsPolygonAndPoints) {
  const f32 square[12] = {0, 0, 0, 2, 0, 0, 2, 2, 0, 0, 2, 0};
  const struct { f32 segment[6]; i32 count, hit; } rows[] = {
      {{1, 1, 1, 1, 1, -1}, 4, 1}, {{1, 1, 1, 1, 1, 0}, 4, 0}, {{3, 3, 1, 3, 3, -1}, 4, 0},
      {{1, 1, 1, 1, 1, -1}, 9, 1},
  };
  for (const auto& row : rows) EXPECT_EQ(row.hit, SegmentVsPolygon(square, row.segment, row.count));
  // Two vertices have no plane; the vertex past them is not read.
  const f32 through[6] = {1.5f, 0, 1, 1.5f, 0, -1};
  EXPECT_EQ(0, SegmentVsPolygon(std::span<const f32>(kTri3, 6), through, 3));

  const f32 n[3] = {0, 0, 1}, crossing[6] = {0, 0, 3, 0, 0, 5}, parallel[6] = {4, 0, 3, 5, 0, 3};
  f32 out[3];
  EXPECT_EQ(1, SegmentPlanePoint(out, n, crossing, -1)[2]);
  EXPECT_EQ(4, SegmentPlanePoint(out, n, parallel, -1)[0]);

  const f32 a[3] = {0, 0, 0}, b[3] = {2, 0, 0};
  const struct { f32 p[3], x; const f32* end; } points[] = {{{1, 5, 0}, 1, b}, {{-1, 1, 0}, 0, b}, {{7, 1, 0}, 2, b}, {{1, 1, 1}, 0, a}};
  for (const auto& row : points) EXPECT_EQ(row.x, ClosestPointOnSegment(out, a, row.end, row.p)[0]) << row.p[0];
}

TEST(CollisionGeometry, SphereVsTriangleAndEdges) {
  const struct { f32 c[3], r; i32 count, hit; } rows[] = {
      {{1, 1, 1}, 1, 3, 0},    {{1, 1, 0.5f}, 1, 3, 1},  {{1, 1, -0.5f}, 1, 3, 1}, {{-0.5f, 1, 0}, 1, 3, 1},
      {{-2, 1, 0}, 1, 3, 0},   {{-0.5f, 1, 0}, 1, 0, 0},
      // Only three vertices are copied: a larger count must not reach past them.
      {{-0.3f, -0.3f, -1}, 1.05f, 4, 0},
  };
  for (const auto& row : rows) EXPECT_EQ(row.hit, SphereVsTriangle(kTri3, row.c, row.count, row.r)) << row.c[0];
  const f32 c[3] = {1.5f, -0.5f, 0};
  EXPECT_EQ(1, SphereVsEdges(c, kTri3, 3, 0.6f));
  EXPECT_EQ(0, SphereVsEdges(c, kTri3, 3, 0.5f));
  EXPECT_EQ(0, SphereVsEdges(c, kTri3, -1, 9));
}

}  // namespace
