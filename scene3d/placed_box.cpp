// The sphere against a placed box: inside when the centre, brought into the box's coordinates,
// lies in it; otherwise the world distance to the nearest face decides.
#include "scene3d/placed_box.h"

#include <algorithm>
#include <cmath>
#include <limits>

#include "scene3d/collision_geometry.h"
#include "scene3d/collision_vectors.h"
#include "scene3d/transform_stack.h"

namespace {

// The squared distance from p to the parallelogram centre + s a + t b (s, t in -1..1): to the
// foot of the perpendicular when it falls inside, else to the nearest of the four edges.
f32 ParallelogramDistanceSquared(const f32* centre, const f32* a, const f32* b, const f32* p) {
  f32 w[3], offset[3];
  vec3::Sub(w, p, centre);
  const f32 aa = vec3::Dot(a, a), ab = vec3::Dot(a, b), bb = vec3::Dot(b, b);
  const f32 wa = vec3::Dot(w, a), wb = vec3::Dot(w, b);
  const f32 det = aa * bb - ab * ab;
  if (det > 0.0f) {
    const f32 s = (wa * bb - wb * ab) / det, t = (wb * aa - wa * ab) / det;
    if (std::fabs(s) <= 1.0f && std::fabs(t) <= 1.0f) {
      f32 foot[3];
      vec3::AddScaled(foot, centre, s, a);
      vec3::AddScaled(foot, foot, t, b);
      vec3::Sub(offset, p, foot);
      return vec3::Dot(offset, offset);
    }
  }
  // The corners in order around the face; a NaN distance never becomes the nearest.
  static constexpr f32 kSigns[4][2] = {{-1, -1}, {1, -1}, {1, 1}, {-1, 1}};
  f32 corners[4][3];
  for (i32 k = 0; k < 4; ++k) {
    vec3::AddScaled(corners[k], centre, kSigns[k][0], a);
    vec3::AddScaled(corners[k], corners[k], kSigns[k][1], b);
  }
  f32 nearest = std::numeric_limits<f32>::infinity();
  for (i32 k = 0; k < 4; ++k) {
    f32 point[3];
    ClosestPointOnSegment(point, corners[k], corners[(k + 1) % 4], p);
    vec3::Sub(offset, p, point);
    nearest = std::min(nearest, vec3::Dot(offset, offset));
  }
  return nearest;
}

}  // namespace

i32 SphereVsPlacedBox(const f32 model[16], const f32 inverse[16], const f32* centre, f32 radius,
                      f32 hx, f32 hy, f32 hz) {
  f32 q[3];
  TransformPoint(inverse, centre, q);
  if (SphereVsBox(q, 0.0f, hx, hy, hz) != 0) return 1;
  // The box's half-axes in world coordinates; face k +/- lies at origin +/- axis k.
  const f32 half[3] = {hx, hy, hz};
  f32 axes[3][3];
  for (i32 k = 0; k < 3; ++k) {
    for (i32 r = 0; r < 3; ++r) axes[k][r] = model[4 * k + r] * half[k];
  }
  f32 nearest = std::numeric_limits<f32>::infinity();
  for (i32 k = 0; k < 3; ++k) {
    for (const f32 side : {-1.0f, 1.0f}) {
      f32 face[3];
      vec3::AddScaled(face, model + 12, side, axes[k]);
      nearest = std::min(nearest, ParallelogramDistanceSquared(face, axes[(k + 1) % 3],
                                                               axes[(k + 2) % 3], centre));
    }
  }
  return nearest <= radius * radius ? 1 : 0;
}
