// The plane, box, polygon, segment and sphere tests. Each follows a fixed order of single
// precision operations, so hits are the same on every build; where that arithmetic degenerates
// (a division by zero, a NaN) the answer is a miss rather than whatever the comparisons let by.
#include "scene3d/collision_geometry.h"

#include <algorithm>
#include <cmath>

#include "scene3d/collision_vectors.h"

namespace {

// 0.99 of a full turn, as a float: the angle sum at which a point counts as inside a polygon.
constexpr f32 kInsideAngleSum = 6.2203536f;

// Intermediate values of the sphere and closest-point tests, in one static set that the three
// share. Nothing outside this file reads them.
struct SphereScratch {
  f32 triangle[9];     // the copied vertices
  f32 normal[3];       // unit plane normal, when the triangle is large enough to normalise
  f32 planeDistance;   // signed distance of the centre from the plane
  i32 side;            // 1 cutting the plane, 2 in front, 0 behind
  f32 projected[3];    // the centre moved onto the plane
  f32 edge[3];         // B - A of the edge in hand
  f32 edgeLength;
  f32 toPoint[3];      // P - A
  f32 along;           // (P - A).edge
  f32 closest[3];      // the point of the edge nearest the centre
  f32 offset[3];       // centre - closest
};
SphereScratch scratch;

// How many vertices of a polygon may be used: count, cut to the vertices the span holds.
i32 UsableCount(std::span<const f32> polygon, i32 count) {
  const size_t held = polygon.size() / 3;
  if (count <= 0) return 0;
  return static_cast<size_t>(count) < held ? count : static_cast<i32>(held);
}

i32 SideOfPlane(f32 d, f32 r) {
  if (std::fabs(d) < r) return 1;
  return d > r ? 2 : 0;
}

// Length of a, or 0 when a is too short to measure.
f32 GuardedLength(const f32* a) {
  const f32 squared = vec3::Dot(a, a);
  return static_cast<f64>(squared) > 1e-7 ? std::sqrt(squared) : 0.0f;
}

}  // namespace

i32 SphereVsPlane(const f32* c, const f32* n, const f32* p, f32 r, f32* distance) {
  const f32 d = vec3::Dot(n, c) - vec3::Dot(n, p);
  *distance = d;
  return SideOfPlane(d, r);
}

i32 QueryStubZero(f32, f32, f32, f32*, f32*, f32*) { return 0; }

i32 SphereVsBox(const f32* q, f32 limit, f32 hx, f32 hy, f32 hz) {
  const f32 half[3] = {hx, hy, hz};
  f32 sum = 0;
  for (int k = 0; k < 3; ++k) {
    const f32 h = half[k];
    if (q[k] < -h) {
      sum += (q[k] + h) * (q[k] + h);
    } else if (q[k] > h) {
      sum += (q[k] - h) * (q[k] - h);
    } else if (!(q[k] >= -h && q[k] <= h)) {
      return 0;  // NaN coordinate or half size: neither inside nor outside on this axis
    }
  }
  return sum <= limit ? 1 : 0;
}

i32 PointInPolygon(const f32* p, std::span<const f32> polygon, i32 count) {
  count = UsableCount(polygon, count);
  if (count <= 0) return 0;
  const f32* v = polygon.data();
  f32 sum = 0;
  for (i32 i = 0; i < count; ++i) {
    f32 a[3], b[3];
    vec3::Sub(a, &v[3 * i], p);
    vec3::Sub(b, &v[3 * ((i + 1) % count)], p);
    const f32 lengths = GuardedLength(a) * GuardedLength(b);
    if (static_cast<f64>(lengths) <= 1e-8) continue;
    // Not clamped to [-1, 1]: a quotient rounded beyond it makes the sum NaN, read as outside.
    sum += std::acos(vec3::Dot(a, b) / lengths);
  }
  return sum >= kInsideAngleSum ? 1 : 0;
}

f32 SegmentVsTriangle(const f32* triangle, const f32* p0, const f32* p1) {
  const f32* v0 = triangle;
  f32 u[3], w2[3], n[3];
  vec3::Sub(u, triangle + 3, v0);
  vec3::Sub(w2, triangle + 6, v0);
  vec3::Cross(n, u, w2);
  if (n[0] == 0 && n[1] == 0 && n[2] == 0) return 0;

  f32 dir[3], fromV0[3];
  vec3::Sub(dir, p1, p0);
  vec3::Sub(fromV0, p0, v0);
  const f32 a = -vec3::Dot(n, fromV0);
  const f32 b = vec3::Dot(n, dir);
  if (b == 0) return 0;
  const f32 r = a / b;

  f32 hit[3], w[3];
  vec3::AddScaled(hit, p0, r, dir);
  vec3::Sub(w, hit, v0);
  const f32 uu = vec3::Dot(u, u), uv = vec3::Dot(u, w2), vv = vec3::Dot(w2, w2);
  const f32 wu = vec3::Dot(w, u), wv = vec3::Dot(w, w2);
  const f32 denominator = uv * uv - uu * vv;
  // A sliver whose denominator rounds to 0 (or overflows) cannot place the hit: a miss, not a
  // NaN that every range test below would let through.
  if (denominator == 0 || !std::isfinite(denominator)) return 0;
  const f32 s = (uv * wv - vv * wu) / denominator;
  if (!(s >= 0 && s <= 1)) return 0;
  const f32 t = (uv * wu - uu * wv) / denominator;
  if (!(t >= 0 && s + t <= 1)) return 0;
  return r;
}

i32 SegmentVsPolygon(std::span<const f32> polygon, const f32* segment, i32 count) {
  count = UsableCount(polygon, count);
  if (count < 3) return 0;
  const f32* v = polygon.data();
  f32 a[3], b[3], n[3];
  vec3::Sub(a, &v[6], &v[0]);
  vec3::Sub(b, &v[3], &v[0]);
  vec3::Cross(n, a, b);
  vec3::SafeNormalize(n);
  const f32 d = -vec3::Dot(n, &v[0]);
  const f32 startSide = vec3::Dot(n, segment) + d;
  const f32 endSide = vec3::Dot(n, segment + 3) + d;
  if (startSide * endSide >= 0) return 0;
  f32 crossing[3];
  SegmentPlanePoint(crossing, n, segment, d);
  return PointInPolygon(crossing, polygon, count);
}

f32* SegmentPlanePoint(f32* out, const f32* n, const f32* line, f32 d) {
  f32 dir[3];
  vec3::Sub(dir, line + 3, line);
  vec3::SafeNormalize(dir);
  const f32 num = vec3::Dot(n, line) + d;
  const f32 denom = vec3::Dot(n, dir);
  if (denom == 0) {
    vec3::Copy(out, line);
  } else {
    vec3::AddScaled(out, line, -num / denom, dir);
  }
  return out;
}

f32* ClosestPointOnSegment(f32* out, const f32* a, const f32* b, const f32* p) {
  SphereScratch& s = scratch;
  vec3::Sub(s.edge, b, a);
  s.edgeLength = vec3::Length(s.edge);
  if (static_cast<f64>(s.edgeLength) < 1e-8) {
    vec3::Copy(out, a);
    return out;
  }
  vec3::Sub(s.toPoint, p, a);
  s.along = vec3::Dot(s.toPoint, s.edge);
  const f32 lengthSquared = s.edgeLength * s.edgeLength;
  if (s.along <= 0) {
    vec3::Copy(out, a);
  } else if (s.along >= lengthSquared) {
    vec3::Copy(out, b);
  } else {
    vec3::AddScaled(out, a, s.along / lengthSquared, s.edge);
  }
  return out;
}

i32 SphereVsTriangle(const f32* triangle, const f32* c, i32 count, f32 r) {
  SphereScratch& s = scratch;
  std::copy(triangle, triangle + 9, s.triangle);
  const f32* v0 = s.triangle;
  f32 a[3], b[3];
  vec3::Sub(a, s.triangle + 6, v0);
  vec3::Sub(b, s.triangle + 3, v0);
  vec3::Cross(s.normal, a, b);
  vec3::SafeNormalize(s.normal);
  s.planeDistance = vec3::Dot(s.normal, c) - vec3::Dot(s.normal, v0);
  s.side = SideOfPlane(s.planeDistance, r);
  if (s.side != 1) return 0;
  vec3::AddScaled(s.projected, c, -s.planeDistance, s.normal);
  // The span over the copy cuts a count above 3 to the three vertices it holds.
  if (PointInPolygon(s.projected, s.triangle, count)) return 1;
  return SphereVsEdges(c, s.triangle, count, r);
}

i32 SphereVsEdges(const f32* c, std::span<const f32> polygon, i32 count, f32 r) {
  SphereScratch& s = scratch;
  count = UsableCount(polygon, count);
  const f32* v = polygon.data();
  for (i32 i = 0; i < count; ++i) {
    ClosestPointOnSegment(s.closest, &v[3 * i], &v[3 * ((i + 1) % count)], c);
    vec3::Sub(s.offset, c, s.closest);
    if (vec3::Length(s.offset) < r) return 1;
  }
  return 0;
}
