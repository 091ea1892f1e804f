// Box and cone against a triangle. Both compare unnormalised quantities in a fixed order of
// single precision operations, and stop at the first deciding condition.
#include "scene3d/box_cone_triangle.h"

#include <algorithm>
#include <cmath>

#include "scene3d/collision_vectors.h"

namespace {

// True when the box's and the triangle's projections onto axis don't overlap (touching
// intervals overlap). Any NaN in the input reaches the centre's projection on some axis, and
// an interval that cannot be compared separates.
bool AxisSeparates(const f32* axis, const f32* m, const f32* const* half, const f32* const* t) {
  const f32 reach = std::fabs(vec3::Dot(half[0], axis)) + std::fabs(vec3::Dot(half[1], axis)) +
                    std::fabs(vec3::Dot(half[2], axis));
  const f32 centre = vec3::Dot(m, axis);
  const f32 p0 = vec3::Dot(t[0], axis), p1 = vec3::Dot(t[1], axis), p2 = vec3::Dot(t[2], axis);
  const f32 low = std::min({p0, p1, p2}), high = std::max({p0, p1, p2});
  return !(high >= centre - reach && low <= centre + reach);
}

// The cone's values for one triangle vertex: offset from the apex, its projection on the axis,
// and q = a^2 - k |d|^2 (q >= 0 with a >= 0 is inside).
struct ConeVertex {
  f32 d[3];
  f32 a;
  f32 q;
};

// Whether the edge from base to end meets the cone: q along the edge is a downward parabola
// (c2 < 0) whose top must lie within the edge, on the cone's side, at q >= 0. baseFront and
// endFront say which ends lie on the cone's side; at least one does.
bool EdgeMeetsCone(const ConeVertex& base, const ConeVertex& end, const f32* edge, f32 k,
                   bool baseFront, bool endFront) {
  const f32 aE = end.a - base.a;
  const f32 c2 = aE * aE - k * vec3::Dot(edge, edge);
  if (!(c2 < 0)) return false;
  const f32 c1 = base.a * aE - k * vec3::Dot(base.d, edge);
  if (!baseFront) {
    return c1 <= -c2 && base.a * c2 <= aE * c1 &&
           c1 * c1 >= c2 * (base.a * base.a - k * vec3::Dot(base.d, base.d));
  }
  if (!endFront) return c1 >= 0 && base.a * c2 <= aE * c1 && c1 * c1 >= base.q * c2;
  return 0 <= c1 && c1 <= -c2 && c1 * c1 >= base.q * c2;
}

// Whether the cone's axis ray pierces the triangle (edges included): the case where the cone
// meets the face with every vertex and edge outside it. The ray must meet the plane in front
// of the apex; an axis parallel to the plane, or a zero-area triangle, leaves it to the edges.
bool AxisPiercesFace(const f32* a, const ConeVertex& v0, const f32* e0, const f32* e1) {
  f32 n[3], u[3], w[3];
  vec3::Cross(n, e0, e1);
  const f32 nA = vec3::Dot(n, a);
  const f32 nD = vec3::Dot(n, v0.d);
  for (int i = 0; i < 3; ++i) u[i] = nD * a[i] - nA * v0.d[i];
  vec3::Cross(w, n, u);
  const f32 w0 = vec3::Dot(w, e0), w1 = vec3::Dot(w, e1), nn = vec3::Dot(n, n);
  if (nA > 0 && nD >= 0) return w0 <= 0 && w1 >= 0 && w1 - w0 <= nA * nn;
  if (nA < 0 && nD <= 0) return w0 >= 0 && w1 <= 0 && w1 - w0 >= nA * nn;
  return false;
}

}  // namespace

i32 BoxVsTriangle(const f32* m, const f32* h0, const f32* h1, const f32* h2, const f32* t0,
                  const f32* t1, const f32* t2) {
  const f32* const half[3] = {h0, h1, h2};
  const f32* const t[3] = {t0, t1, t2};
  f32 edges[3][3];
  vec3::Sub(edges[0], t1, t0);
  vec3::Sub(edges[1], t2, t1);
  vec3::Sub(edges[2], t0, t2);

  for (const f32* axis : half) {
    if (AxisSeparates(axis, m, half, t)) return 0;
  }
  f32 axis[3];
  vec3::Cross(axis, edges[0], edges[1]);
  if (AxisSeparates(axis, m, half, t)) return 0;
  for (const f32* h : half) {
    for (const f32* e : edges) {
      vec3::Cross(axis, h, e);
      if (AxisSeparates(axis, m, half, t)) return 0;
    }
  }
  return 1;
}

i32 ConeVsTriangle(const f32* a, const f32* k, f32 cosAngle, const f32* triangle) {
  const f32 kk = cosAngle * cosAngle;
  ConeVertex v[3];
  unsigned front = 0;  // bit i: vertex i lies on the cone's side of the apex, outside the cone
  for (int i = 0; i < 3; ++i) {
    vec3::Sub(v[i].d, triangle + 3 * i, k);
    v[i].a = vec3::Dot(a, v[i].d);
    v[i].q = 0;
    if (v[i].a >= 0) {
      v[i].q = v[i].a * v[i].a - kk * vec3::Dot(v[i].d, v[i].d);
      if (v[i].q >= 0) return 1;
      front |= 1u << i;
    }
  }
  if (front == 0) return 0;

  static constexpr int kEdges[3][2] = {{0, 1}, {0, 2}, {1, 2}};
  f32 edges[3][3];
  for (int e = 0; e < 3; ++e) {
    const int b = kEdges[e][0], f = kEdges[e][1];
    vec3::Sub(edges[e], triangle + 3 * f, triangle + 3 * b);
    const bool baseFront = (front >> b) & 1, endFront = (front >> f) & 1;
    if ((baseFront || endFront) && EdgeMeetsCone(v[b], v[f], edges[e], kk, baseFront, endFront))
      return 1;
  }
  return AxisPiercesFace(a, v[0], edges[0], edges[1]) ? 1 : 0;
}
