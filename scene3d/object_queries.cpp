// Collision queries against placed objects: a box, a sphere, a ray or a cone given in world
// coordinates is brought into the object's own coordinates through the inverse of the current
// placement, each part (one animation frame of one mesh) is first rejected by its bounding sphere
// where that is safe, and the rest goes to the exact triangle tests of the collision library.
//
// The inverse is the true affine one, so a scaled object answers as it is drawn: points and axes
// map exactly, a ray's hit parameter stays in world units, a sphere's radius is divided by the
// placement's scale (exact for uniform scale) and a cone's axis is made unit again. The bounding
// checks only reject parts that cannot meet the shape; the triangle tests decide everything else.
#include <cmath>

#include "scene3d/box_cone_triangle.h"
#include "scene3d/collision_geometry.h"
#include "scene3d/collision_vectors.h"
#include "scene3d/rainbows3d.h"

namespace {

constexpr f32 kRadiansPerDegree = 0.017453292f;

// The part that holds frame `frame` of the mesh when it has a triangle to test, else null.
const MeshPart* QueryPart(const MeshObjectX& mesh, i32 frame) {
  if (frame < 0 || frame >= mesh.parts.count) return nullptr;
  const MeshPart& part = mesh.parts[frame];
  return part.triangleVertices.count < 3 ? nullptr : &part;
}

// The positions of triangle i of the part, as the nine floats the triangle tests take.
void TrianglePositions(const MeshPart& part, i32 i, f32 out[9]) {
  for (i32 k = 0; k < 3; ++k) {
    const MeshVertex& v = part.triangleVertices[3 * i + k];
    out[3 * k] = v.x, out[3 * k + 1] = v.y, out[3 * k + 2] = v.z;
  }
}

i32 TriangleCount(const MeshPart& part) { return part.triangleVertices.count / 3; }

f32 DistanceSquared(const f32* a, const f32* b) {
  f32 d[3];
  vec3::Sub(d, a, b);
  return vec3::Dot(d, d);
}

// The ray's answer over many hits: the nearest in front of the origin, else the nearest behind.
struct RayChoice {
  f32 front = 0.0f, behind = 0.0f;
  void Add(f32 r) {
    if (r > 0.0f && (front == 0.0f || r < front)) front = r;
    if (r < 0.0f && (behind == 0.0f || r > behind)) behind = r;
  }
  f32 Answer() const { return front != 0.0f ? front : behind; }
};

}  // namespace

bool Rainbows3D::PlacementInverse(f32 inverse[16], f32* scale) {
  UpdateModelMatrix();
  const f32* m = CurrentState().model;
  if (scale != nullptr) *scale = vec3::Length(m);  // the length of the first column
  return InvertAffineMatrix(m, inverse);
}

i32 Rainbows3D::CollideBoxPart(MeshObjectX& mesh, i32 frame, const f32* centre, const f32* u,
                               const f32* v, const f32* w) {
  const MeshPart* part = QueryPart(mesh, frame);
  f32 inv[16];
  if (part == nullptr || !PlacementInverse(inv, nullptr)) return 0;
  f32 p[3], axes[3][3];
  TransformPoint(inv, centre, p);
  TransformDirection(inv, u, axes[0]);
  TransformDirection(inv, v, axes[1]);
  TransformDirection(inv, w, axes[2]);
  // No point of the box lies further from its centre than the sum of the half-axes' lengths.
  const f32 reach = vec3::Length(axes[0]) + vec3::Length(axes[1]) + vec3::Length(axes[2]) +
                    part->boundRadius;
  if (reach * reach < DistanceSquared(p, part->boundCentre)) return 0;
  for (i32 i = 0; i < TriangleCount(*part); ++i) {
    f32 t[9];
    TrianglePositions(*part, i, t);
    if (BoxVsTriangle(p, axes[0], axes[1], axes[2], t, t + 3, t + 6) != 0) return 1;
  }
  return 0;
}

i32 Rainbows3D::CollideSpherePart(MeshObjectX& mesh, i32 frame, f32 radius, const f32* centre) {
  const MeshPart* part = QueryPart(mesh, frame);
  f32 inv[16], scale = 0.0f;
  if (part == nullptr || !PlacementInverse(inv, &scale)) return 0;
  f32 q[3];
  TransformPoint(inv, centre, q);
  const f32 r = radius / scale;
  const f32 reach = r + part->boundRadius;
  if (reach * reach < DistanceSquared(q, part->boundCentre)) return 0;
  f32 t[9];
  TrianglePositions(*part, 0, t);
  if (r * r >= DistanceSquared(q, t)) return 1;  // the part's first vertex lies inside
  for (i32 i = 0; i < TriangleCount(*part); ++i) {
    TrianglePositions(*part, i, t);
    if (SphereVsTriangle(t, q, 3, r) != 0) return 1;
  }
  return 0;
}

f32 Rainbows3D::CollideRayPart(MeshObjectX& mesh, i32 frame, const f32* origin,
                               const f32* direction) {
  const MeshPart* part = QueryPart(mesh, frame);
  f32 inv[16];
  if (part == nullptr || !PlacementInverse(inv, nullptr)) return 0.0f;
  // A unit direction in world coordinates makes the segment's parameter a world distance, which
  // the affine map keeps.
  f32 d[3], end[3], o[3], e[3];
  vec3::Copy(d, direction);
  vec3::SafeNormalize(d);
  vec3::AddScaled(end, origin, 1.0f, d);
  TransformPoint(inv, origin, o);
  TransformPoint(inv, end, e);
  RayChoice choice;
  for (i32 i = 0; i < TriangleCount(*part); ++i) {
    f32 t[9];
    TrianglePositions(*part, i, t);
    choice.Add(SegmentVsTriangle(t, o, e));
  }
  return choice.Answer();
}

f32 Rainbows3D::CollideConePart(MeshObjectX& mesh, i32 frame, const f32* apex,
                                const f32* direction, f32 angle) {
  const MeshPart* part = QueryPart(mesh, frame);
  f32 inv[16];
  if (part == nullptr || !PlacementInverse(inv, nullptr)) return 0.0f;
  const f32 theta = angle * kRadiansPerDegree;
  const f32 cosTheta = std::cos(theta);
  f32 k[3], axis[3];
  TransformPoint(inv, apex, k);
  vec3::Copy(axis, direction);
  vec3::SafeNormalize(axis);
  TransformDirection(inv, axis, axis);
  vec3::SafeNormalize(axis);
  // The cone's surface lies |G| cos - depth sin from a point off the axis by G at depth `depth`
  // (a lower bound of the true distance), so a sphere further than its radius from it is out of
  // reach; behind the apex the bound is taken at depth 0, which only widens it. The triangle test
  // uses the cosine squared, so the tangent counts by its size.
  if (cosTheta > 0.0f) {
    f32 z[3], g[3];
    vec3::Sub(z, part->boundCentre, k);
    const f32 depth = vec3::Dot(z, axis);
    vec3::AddScaled(g, z, -depth, axis);
    const f32 limit = std::fabs(std::tan(theta)) * (depth > 0.0f ? depth : 0.0f) +
                      part->boundRadius / cosTheta;
    if (vec3::Length(g) >= limit) return 0.0f;
  }
  for (i32 i = 0; i < TriangleCount(*part); ++i) {
    f32 t[9];
    TrianglePositions(*part, i, t);
    if (ConeVsTriangle(axis, k, cosTheta, t) != 0) return 1.0f;
  }
  return 0.0f;
}

i32 Rainbows3D::CollideBox(i32 slot, i32 frame, const f32* centre, const f32* u, const f32* v,
                           const f32* w) {
  ObjectSlot* s = Slot(slot);
  if (s == nullptr) return 0;
  for (MeshObjectX& mesh : s->meshes) {
    if (CollideBoxPart(mesh, frame, centre, u, v, w) != 0) return 1;
  }
  return 0;
}

i32 Rainbows3D::CollideSphere(i32 slot, i32 frame, f32 radius, f32 x, f32 y, f32 z) {
  ObjectSlot* s = Slot(slot);
  if (s == nullptr) return 0;
  const f32 centre[3] = {x, y, z};
  for (MeshObjectX& mesh : s->meshes) {
    if (CollideSpherePart(mesh, frame, radius, centre) != 0) return 1;
  }
  return 0;
}

f32 Rainbows3D::CollideRay(i32 slot, i32 frame, f32 x, f32 y, f32 z, f32 dx, f32 dy, f32 dz) {
  ObjectSlot* s = Slot(slot);
  if (s == nullptr) return 0.0f;
  const f32 origin[3] = {x, y, z}, direction[3] = {dx, dy, dz};
  RayChoice choice;
  for (MeshObjectX& mesh : s->meshes) choice.Add(CollideRayPart(mesh, frame, origin, direction));
  return choice.Answer();
}

f32 Rainbows3D::CollideCone(i32 slot, i32 frame, f32 x, f32 y, f32 z, f32 dx, f32 dy, f32 dz,
                            f32 angle) {
  ObjectSlot* s = Slot(slot);
  if (s == nullptr) return 0.0f;
  const f32 apex[3] = {x, y, z}, direction[3] = {dx, dy, dz};
  for (MeshObjectX& mesh : s->meshes) {
    if (CollideConePart(mesh, frame, apex, direction, angle) != 0.0f) return 1.0f;
  }
  return 0.0f;
}

i32 Rainbows3D::CollideBoundsBox(f32 x, f32 y, f32 z, f32 radius, f32 hx, f32 hy, f32 hz) {
  f32 inv[16], scale = 0.0f;
  if (!PlacementInverse(inv, &scale)) return 0;
  const f32 centre[3] = {x, y, z};
  f32 q[3];
  TransformPoint(inv, centre, q);
  const f32 r = radius / scale;
  return SphereVsBox(q, r * r, hx, hy, hz);
}
