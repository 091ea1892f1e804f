// Collision queries against placed objects: a box, a sphere, a ray or a cone given in world
// coordinates is tested against each part (one animation frame of one mesh), which is first
// rejected by its bounding sphere where that is safe; the exact triangle tests of the collision
// library decide everything else.
//
// Under a rigid or uniformly scaled placement the shape is brought into the object's own
// coordinates through the placement's inverse: points and axes map exactly, a sphere's radius is
// divided by the placement's scale and a cone's axis is made unit again. A placement that scales
// its axes differently would make the sphere an ellipsoid and the cone a skewed one, so there the
// part's triangles and bounding sphere are carried into world coordinates instead (the sphere
// grown by the placement's largest stretch, so that it stays a bounding sphere) and tested
// against the shape as given. A ray's hit parameter survives any affine map, so the ray always
// goes into object coordinates, its parameter staying in world units.
#include <cmath>

#include "scene3d/box_cone_triangle.h"
#include "scene3d/collision_geometry.h"
#include "scene3d/collision_vectors.h"
#include "scene3d/placed_box.h"
#include "scene3d/placement_scale.h"
#include "scene3d/rainbows3d.h"

namespace {

constexpr f32 kRadiansPerDegree = 0.017453292f;

// The part that holds frame `frame` of the mesh when it has a triangle to test, else null.
const MeshPart* QueryPart(const MeshObjectX& mesh, i32 frame) {
  if (frame < 0 || frame >= mesh.parts.count) return nullptr;
  const MeshPart& part = mesh.parts[frame];
  return part.triangleVertices.count < 3 ? nullptr : &part;
}

// A part's triangles and bounding sphere as a query sees them: in the object's coordinates, or
// carried into world coordinates by the placement.
class PartView {
 public:
  explicit PartView(const MeshPart& part) : part_(part) {
    vec3::Copy(centre_, part.boundCentre);
    radius_ = part.boundRadius;
  }
  PartView(const MeshPart& part, const f32* model) : part_(part), model_(model) {
    TransformPoint(model, part.boundCentre, centre_);
    radius_ = part.boundRadius * LargestStretch(model);
  }

  i32 Triangles() const { return part_.triangleVertices.count / 3; }
  // The positions of triangle i, as the nine floats the triangle tests take.
  void Triangle(i32 i, f32 out[9]) const {
    for (i32 k = 0; k < 3; ++k) {
      const MeshVertex& v = part_.triangleVertices[3 * i + k];
      f32* corner = out + 3 * k;
      corner[0] = v.x, corner[1] = v.y, corner[2] = v.z;
      if (model_ != nullptr) TransformPoint(model_, corner, corner);
    }
  }
  const f32* BoundCentre() const { return centre_; }
  f32 BoundRadius() const { return radius_; }

 private:
  const MeshPart& part_;
  const f32* model_ = nullptr;
  f32 centre_[3];
  f32 radius_;
};

f32 DistanceSquared(const f32* a, const f32* b) {
  f32 d[3];
  vec3::Sub(d, a, b);
  return vec3::Dot(d, d);
}

i32 BoxMeetsPart(const PartView& part, const f32* centre, const f32 (&axes)[3][3]) {
  // No point of the box lies further from its centre than the sum of the half-axes' lengths.
  const f32 reach = vec3::Length(axes[0]) + vec3::Length(axes[1]) + vec3::Length(axes[2]) +
                    part.BoundRadius();
  if (reach * reach < DistanceSquared(centre, part.BoundCentre())) return 0;
  for (i32 i = 0; i < part.Triangles(); ++i) {
    f32 t[9];
    part.Triangle(i, t);
    if (BoxVsTriangle(centre, axes[0], axes[1], axes[2], t, t + 3, t + 6) != 0) return 1;
  }
  return 0;
}

i32 SphereMeetsPart(const PartView& part, f32 radius, const f32* centre) {
  const f32 reach = radius + part.BoundRadius();
  if (reach * reach < DistanceSquared(centre, part.BoundCentre())) return 0;
  f32 t[9];
  part.Triangle(0, t);
  if (radius * radius >= DistanceSquared(centre, t)) return 1;  // the part's first vertex
  for (i32 i = 0; i < part.Triangles(); ++i) {
    part.Triangle(i, t);
    if (SphereVsTriangle(t, centre, 3, radius) != 0) return 1;
  }
  return 0;
}

// The cone's surface lies |G| cos - depth sin from a point off the unit axis by G at depth
// `depth` (a lower bound of the true distance), so a bounding sphere further than its radius from
// it is out of reach; behind the apex the bound is taken at depth 0, which only widens it. The
// triangle test uses the cosine squared, so the tangent counts by its size. Cones of 90 degrees
// and more are not bounded this way.
bool ConeMayReach(const PartView& part, const f32* apex, const f32* axis, f32 theta) {
  const f32 cosTheta = std::cos(theta);
  if (!(cosTheta > 0.0f)) return true;
  f32 z[3], g[3];
  vec3::Sub(z, part.BoundCentre(), apex);
  const f32 depth = vec3::Dot(z, axis);
  vec3::AddScaled(g, z, -depth, axis);
  const f32 limit = std::fabs(std::tan(theta)) * (depth > 0.0f ? depth : 0.0f) +
                    part.BoundRadius() / cosTheta;
  return !(vec3::Length(g) >= limit);  // a NaN distance is not rejected
}

f32 ConeMeetsPart(const PartView& part, const f32* apex, const f32* axis, f32 theta) {
  if (!ConeMayReach(part, apex, axis, theta)) return 0.0f;
  const f32 cosTheta = std::cos(theta);
  for (i32 i = 0; i < part.Triangles(); ++i) {
    f32 t[9];
    part.Triangle(i, t);
    if (ConeVsTriangle(axis, apex, cosTheta, t) != 0) return 1.0f;
  }
  return 0.0f;
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
  const f32* model = CurrentState().model;
  f32 p[3], axes[3][3];
  if (!ScalesUniformly(model)) {
    vec3::Copy(axes[0], u), vec3::Copy(axes[1], v), vec3::Copy(axes[2], w);
    return BoxMeetsPart(PartView(*part, model), centre, axes);
  }
  TransformPoint(inv, centre, p);
  TransformDirection(inv, u, axes[0]);
  TransformDirection(inv, v, axes[1]);
  TransformDirection(inv, w, axes[2]);
  return BoxMeetsPart(PartView(*part), p, axes);
}

i32 Rainbows3D::CollideSpherePart(MeshObjectX& mesh, i32 frame, f32 radius, const f32* centre) {
  const MeshPart* part = QueryPart(mesh, frame);
  f32 inv[16], scale = 0.0f;
  if (part == nullptr || !PlacementInverse(inv, &scale)) return 0;
  const f32* model = CurrentState().model;
  if (!ScalesUniformly(model)) return SphereMeetsPart(PartView(*part, model), radius, centre);
  f32 q[3];
  TransformPoint(inv, centre, q);
  return SphereMeetsPart(PartView(*part), radius / scale, q);
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
  const PartView view(*part);
  RayChoice choice;
  for (i32 i = 0; i < view.Triangles(); ++i) {
    f32 t[9];
    view.Triangle(i, t);
    choice.Add(SegmentVsTriangle(t, o, e));
  }
  return choice.Answer();
}

f32 Rainbows3D::CollideConePart(MeshObjectX& mesh, i32 frame, const f32* apex,
                                const f32* direction, f32 angle) {
  const MeshPart* part = QueryPart(mesh, frame);
  f32 inv[16];
  if (part == nullptr || !PlacementInverse(inv, nullptr)) return 0.0f;
  const f32* model = CurrentState().model;
  const f32 theta = angle * kRadiansPerDegree;
  f32 k[3], axis[3];
  vec3::Copy(axis, direction);
  vec3::SafeNormalize(axis);
  if (!ScalesUniformly(model)) return ConeMeetsPart(PartView(*part, model), apex, axis, theta);
  TransformPoint(inv, apex, k);
  TransformDirection(inv, axis, axis);
  vec3::SafeNormalize(axis);
  return ConeMeetsPart(PartView(*part), k, axis, theta);
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
  const f32* model = CurrentState().model;
  const f32 centre[3] = {x, y, z};
  if (!ScalesUniformly(model)) return SphereVsPlacedBox(model, inv, centre, radius, hx, hy, hz);
  f32 q[3];
  TransformPoint(inv, centre, q);
  const f32 r = radius / scale;
  return SphereVsBox(q, r * r, hx, hy, hz);
}
