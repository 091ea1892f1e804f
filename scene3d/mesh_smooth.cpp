// The vertex normal and tangent pass. Each triangle's face normal (not normalised, so larger
// triangles weigh more) and, on request, its tangent and bitangent from the texture coordinates
// are summed into the shared vertex of each corner; the sums are normalised in place and written
// back. Vertices share by their place in the frame, or, welded, by exact position: the three
// float bit patterns with -0 read as +0, so every genuinely shared position welds and no two
// different positions do. Shared vertices serve the whole pass, so a later frame adds its
// triangles onto the vectors the earlier frames left normalised.
#include <bit>
#include <cmath>
#include <unordered_map>
#include <vector>

#include "scene3d/collision_vectors.h"
#include "scene3d/mesh_model.h"
#include "scene3d/mesh_triangles.h"

namespace {

struct SharedVertex {
  f32 normal[3] = {};
  f32 tangent[3] = {};
  f32 bitangent[3] = {};
  i32 normalisedInFrame = -1;
};

struct ShareKey {
  u32 a, b, c;
  bool operator==(const ShareKey&) const = default;
};

struct ShareKeyHash {
  size_t operator()(const ShareKey& k) const {
    u64 h = k.a * 0x9E3779B97F4A7C15ull;
    h = (h ^ k.b) * 0xC2B2AE3D27D4EB4Full;
    h = (h ^ k.c) * 0x165667B19E3779F9ull;
    return static_cast<size_t>(h ^ (h >> 29));
  }
};

u32 PositionBits(f32 f) { return std::bit_cast<u32>(f == 0.0f ? 0.0f : f); }

class SharedVertices {
 public:
  explicit SharedVertices(bool weld) : weld_(weld) {}

  // The entry of vertex j of a frame, made when its key is new.
  i32 Find(const MeshVertex& vertex, i32 j) {
    const ShareKey key =
        weld_ ? ShareKey{PositionBits(vertex.x), PositionBits(vertex.y), PositionBits(vertex.z)}
              : ShareKey{static_cast<u32>(j), 0, 0};
    const auto [it, added] = index_.try_emplace(key, static_cast<i32>(entries_.size()));
    if (added) entries_.emplace_back();
    return it->second;
  }
  SharedVertex& operator[](i32 i) { return entries_[static_cast<size_t>(i)]; }

 private:
  bool weld_;
  std::vector<SharedVertex> entries_;
  std::unordered_map<ShareKey, i32, ShareKeyHash> index_;
};

void AddTo(f32* sum, const f32* v) {
  sum[0] += v[0];
  sum[1] += v[1];
  sum[2] += v[2];
}

// N = (P2 - P1) x (P1 - P0), reversed for a flipped strip triangle.
void FaceNormal(const MeshVertex* const corner[3], bool flipped, f32* n) {
  const f32 p0[3] = {corner[0]->x, corner[0]->y, corner[0]->z};
  const f32 p1[3] = {corner[1]->x, corner[1]->y, corner[1]->z};
  const f32 p2[3] = {corner[2]->x, corner[2]->y, corner[2]->z};
  f32 e21[3], e10[3];
  vec3::Sub(e21, p2, p1);
  vec3::Sub(e10, p1, p0);
  vec3::Cross(n, e21, e10);
  if (flipped) n[0] = -n[0], n[1] = -n[1], n[2] = -n[2];
}

// dP/du and dP/dv of the triangle; false when its texture coordinates are (nearly) degenerate,
// and the triangle then adds nothing.
bool FaceTangents(const MeshVertex* const corner[3], f32* t, f32* b) {
  const MeshVertex &v0 = *corner[0], &v1 = *corner[1], &v2 = *corner[2];
  const f32 d1[3] = {v1.x - v0.x, v1.y - v0.y, v1.z - v0.z};
  const f32 d2[3] = {v2.x - v0.x, v2.y - v0.y, v2.z - v0.z};
  const f32 du1 = v1.u - v0.u, dv1 = v1.v - v0.v, du2 = v2.u - v0.u, dv2 = v2.v - v0.v;
  const f32 det = du1 * dv2 - dv1 * du2;
  if (!(std::fabs(det) > 1e-5f)) return false;
  for (i32 i = 0; i < 3; ++i) {
    t[i] = (d1[i] * dv2 - d2[i] * dv1) / det;
    b[i] = (d2[i] * du1 - d1[i] * du2) / det;
  }
  return true;
}

}  // namespace

void MeshObject::Smooth(u8 normals, u8 weld, u8 tangents) {
  if (parts.count == 0 || parts[0].sourceVertices.count == 0) return;
  const bool doNormals = normals != 0 && normalsValid == 0;
  const bool doTangents = tangents != 0 && tangentsValid == 0;
  if (!doNormals && !doTangents) return;
  normalsValid = 1;
  SharedVertices shared(weld != 0);
  std::vector<i32> sharedOf;  // per vertex of the frame; -1 for a separator
  for (i32 frame = 0; frame < parts.count; ++frame) {
    MeshPart& part = parts[frame];
    GrowVector<MeshVertex>& vertices = part.sourceVertices;
    sharedOf.assign(static_cast<size_t>(vertices.count), -1);
    for (i32 j = 0; j < vertices.count; ++j) {
      if (!IsSeparatorCode(vertices[j].colour)) sharedOf[j] = shared.Find(vertices[j], j);
    }
    ForEachRunTriangle(vertices, [&](i32 a, i32 b, i32 c, bool flipped) {
      const MeshVertex* const corner[3] = {&vertices[a], &vertices[b], &vertices[c]};
      SharedVertex* const sums[3] = {&shared[sharedOf[c]], &shared[sharedOf[b]],
                                     &shared[sharedOf[a]]};
      f32 n[3], t[3] = {}, bt[3] = {};
      FaceNormal(corner, flipped, n);
      const bool hasTangents = doTangents && FaceTangents(corner, t, bt);
      for (SharedVertex* sum : sums) {
        if (doNormals) AddTo(sum->normal, n);
        if (hasTangents) AddTo(sum->bitangent, bt), AddTo(sum->tangent, t);
      }
    });
    // Normalised in place, once a frame, so vertices sharing an entry get the same vectors.
    for (i32 j = 0; j < vertices.count; ++j) {
      if (sharedOf[j] < 0) continue;  // separators carry no vectors
      SharedVertex& sum = shared[sharedOf[j]];
      if (sum.normalisedInFrame != frame) {
        sum.normalisedInFrame = frame;
        vec3::SafeNormalize(sum.normal);
        vec3::SafeNormalize(sum.bitangent);
        vec3::SafeNormalize(sum.tangent);
      }
      MeshVertex& vertex = vertices[j];
      if (doNormals) {
        vertex.nx = sum.normal[0];
        vertex.ny = sum.normal[1];
        vertex.nz = sum.normal[2];
      }
      if (doTangents) {
        vec3::Copy(vertex.bitangent, sum.bitangent);
        vec3::Copy(vertex.tangent, sum.tangent);
      }
    }
  }
  if (doTangents) tangentsValid = 1;
  Build();
}
