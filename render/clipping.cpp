// Clipping against the view volume in homogeneous clip space. A vertex is inside a plane when its
// signed distance to it (w - x, w + x, w - y, w + y, w - z, w + z: right, left, top, bottom, far,
// near, in that order) is not negative. Only the planes that some vertex of the batch crosses are
// visited, and the interpolation parameter is always measured from the end that is outside or on
// the plane: which planes are visited and from which end decide the new vertices bit for bit.
#include <algorithm>

#include "render/fixed_math.h"
#include "render/vertex_pipeline.h"

namespace {

constexpr i32 kPlaneCount = 6;

i32 PlaneDistance(i32 plane, const ClipVertex& v) {
  switch (plane) {
    case 0:
      return SubWrap(v.w, v.x);
    case 1:
      return AddWrap(v.w, v.x);
    case 2:
      return SubWrap(v.w, v.y);
    case 3:
      return AddWrap(v.w, v.y);
    case 4:
      return SubWrap(v.w, v.z);
    default:
      return AddWrap(v.w, v.z);
  }
}

// One bit per plane the vertex lies outside of.
u32 Outcode(const ClipVertex& v) {
  u32 code = 0;
  for (i32 plane = 0; plane < kPlaneCount; ++plane) {
    if (PlaneDistance(plane, v) < 0) code |= 1u << plane;
  }
  return code;
}

// The 8.24 parameter at which the distance, going from dFrom to dTo, reaches 0.
i32 ClipParameter(i32 dFrom, i32 dTo) {
  return Wrap32((i64{dFrom} * FixedReciprocal(SubWrap(dFrom, dTo))) >> 8);
}

}  // namespace

i32 VertexPipeline::InterpolateClipVertex(i32 t, i32 a, i32 b) {
  ClipVertex* v = AllocClipVertex();
  if (v == nullptr) return -1;
  const ClipVertex& from = pool[a];
  const ClipVertex& to = pool[b];
  auto lerp = [t](i32 p, i32 q) { return AddWrap(p, Wrap32((i64{SubWrap(q, p)} * t) >> 24)); };
  v->x = lerp(from.x, to.x);
  v->y = lerp(from.y, to.y);
  v->z = lerp(from.z, to.z);
  v->w = lerp(from.w, to.w);
  const i32 varyings = rasterizer != nullptr ? rasterizer->GetVaryingCount() : 0;
  for (i32 k = 0; k < varyings && k < kMaxVaryings; ++k) {
    v->varyings[k] = lerp(from.varyings[k], to.varyings[k]);
  }
  return vertexCount - 1;
}

bool VertexPipeline::ClipPolygon(i32 plane, Polygon& polygon) {
  Polygon out;
  auto emit = [&out](i32 index) {
    if (index < 0 || out.count == kMaxPolygon) return false;
    out.vertices[out.count++] = index;
    return true;
  };
  for (i32 e = 0; e < polygon.count; ++e) {
    const i32 p = polygon.vertices[e];
    const i32 q = polygon.vertices[(e + 1) % polygon.count];
    const i32 dP = PlaneDistance(plane, pool[p]);
    const i32 dQ = PlaneDistance(plane, pool[q]);
    if (dP >= 0 && !emit(p)) return false;
    if (dP > 0 && dQ < 0) {
      if (!emit(InterpolateClipVertex(ClipParameter(dQ, dP), q, p))) return false;
    } else if ((dP > 0 && dQ == 0) || (dP <= 0 && dQ > 0)) {
      if (!emit(InterpolateClipVertex(ClipParameter(dP, dQ), p, q))) return false;
    }
  }
  if (out.count < 3) return false;
  polygon = out;
  return true;
}

void VertexPipeline::ClipTriangles() {
  if (vertexCount == 0) return;
  u32 mask = 0;
  for (i32 i = 0; i < vertexCount; ++i) mask |= Outcode(pool[i]);
  if (mask == 0) return;
  const i32 batchEnd = indexCount;  // appended fan triangles are not clipped again
  for (i32 k = 0; k + 3 <= batchEnd; k += 3) {
    Polygon polygon;
    polygon.count = 3;
    for (i32 j = 0; j < 3; ++j) {
      polygon.vertices[j] = indices[k + j];
      indices[k + j] = -1;
    }
    if (polygon.vertices[0] < 0) continue;
    bool kept = true;
    for (i32 plane = 0; plane < kPlaneCount && kept; ++plane) {
      if ((mask & (1u << plane)) != 0) kept = ClipPolygon(plane, polygon);
    }
    if (!kept || indexCount + (polygon.count - 3) * 3 > kIndexCapacity) continue;
    const i32* p = polygon.vertices;
    for (i32 j = 0; j < 3; ++j) indices[k + j] = p[j];
    for (i32 j = 3; j < polygon.count; ++j) {
      indices[indexCount++] = p[0];
      indices[indexCount++] = p[j - 1];
      indices[indexCount++] = p[j];
    }
  }
}

void VertexPipeline::ClipLines() {
  u8 outcodes[kPoolSize];
  u32 mask = 0;
  for (i32 i = 0; i < vertexCount; ++i) {
    outcodes[i] = static_cast<u8>(Outcode(pool[i]));
    mask |= outcodes[i];
  }
  if (vertexCount == 0 || mask == 0) return;
  const i32 coded = vertexCount;
  // Whole pairs only: an odd trailing index has no partner.
  for (i32 k = 0; k + 2 <= indexCount; k += 2) {
    const i32 a = indices[k], b = indices[k + 1];
    indices[k] = indices[k + 1] = -1;
    if (a < 0 || b < 0 || a >= coded || b >= coded) continue;
    i64 tA = 0, tB = 0;
    bool kept = true;
    for (i32 plane = 0; plane < kPlaneCount && kept; ++plane) {
      if ((mask & (1u << plane)) == 0) continue;
      const i32 dA = PlaneDistance(plane, pool[a]);
      const i32 dB = PlaneDistance(plane, pool[b]);
      if (dA < 0 && dB < 0) {
        kept = false;
      } else if (dA < 0) {
        tA = std::max<i64>(tA, ClipParameter(dA, dB));
      } else if (dB < 0) {
        tB = std::max<i64>(tB, ClipParameter(dB, dA));
      }
      if (tA + tB > 0xFFFFFF) kept = false;  // the two cuts meet: nothing is left
    }
    if (!kept) continue;
    const i32 newA = outcodes[a] != 0 ? InterpolateClipVertex(static_cast<i32>(tA), a, b) : a;
    const i32 newB = outcodes[b] != 0 ? InterpolateClipVertex(static_cast<i32>(tB), b, a) : b;
    if (newA < 0 || newB < 0) continue;
    indices[k] = newA;
    indices[k + 1] = newB;
  }
}

void VertexPipeline::ComputePointOutcodes() {
  // A point is wholly inside or wholly outside.
  for (i32 k = 0; k < indexCount; ++k) {
    const i32 i = indices[k];
    if (i >= 0 && Outcode(pool[i]) != 0) indices[k] = -1;
  }
}
