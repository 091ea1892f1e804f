// The normal and tangent pass on hand-built one-frame meshes.
#include <gtest/gtest.h>

#include <array>
#include <initializer_list>

#include "scene3d/mesh_model.h"

namespace {

using Vec = std::array<f32, 3>;

// Counts its Builds; the pass ends with one when it did work.
struct CountingMesh : MeshObject {
  void Build() override { ++builds; }
  // One part: a separator of `code` (none for 0), then vertices at the positions, (u, v) = (x, y).
  CountingMesh& Fill(u32 code, std::initializer_list<Vec> positions) {
    MeshPart part;
    MeshVertex v;
    v.colour = code;
    if (code != 0) part.sourceVertices.Append(v);
    v.colour = 0;
    for (const Vec& p : positions) {
      v.x = v.u = p[0], v.y = v.v = p[1], v.z = p[2];
      part.sourceVertices.Append(v);
    }
    Clear(true);
    AppendPart(part);
    return *this;
  }
  Vec Normal(i32 j) const {
    const MeshVertex& v = parts[0].sourceVertices[j];
    return {v.nx, v.ny, v.nz};
  }
  i32 builds = 0;
};

void ExpectNear(Vec expected, Vec got) {
  for (i32 i = 0; i < 3; ++i) EXPECT_NEAR(expected[i], got[i], 1e-5f) << "component " << i;
}

TEST(NormalPass, FaceNormalsOfListsStripsAndFans) {
  CountingMesh mesh;
  mesh.Fill(0, {{0, 0, 0}, {1, 0, 0}, {0, 1, 0}}).Smooth(1, 0, 0);
  for (i32 j = 0; j < 3; ++j) ExpectNear({0, 0, -1}, mesh.Normal(j));
  mesh.Smooth(1, 1, 0);  // the normals are known: no work, no rebuild
  EXPECT_EQ(1, mesh.builds);
  // A flat strip: every second triangle is flipped, so all four corners face the same way.
  mesh.Fill(kStripSeparator, {{0, 0, 0}, {1, 0, 0}, {0, 1, 0}, {1, 1, 0}}).Smooth(1, 0, 0);
  for (i32 j = 1; j <= 4; ++j) ExpectNear({0, 0, -1}, mesh.Normal(j));
  // A fan A, B, C, D is (A, B, C), (A, C, D): the second triangle bends A and C, not B.
  mesh.Fill(kFanSeparator, {{0, 0, 0}, {1, 0, 0}, {0, 1, 0}, {0, 0, -1}}).Smooth(1, 0, 0);
  ExpectNear({0.7071068f, 0, -0.7071068f}, mesh.Normal(1));
  ExpectNear({0, 0, -1}, mesh.Normal(2));
  ExpectNear({0.7071068f, 0, -0.7071068f}, mesh.Normal(3));
  ExpectNear({1, 0, 0}, mesh.Normal(4));
}

TEST(NormalPass, WeldingSharesExactPositionsOnly) {
  CountingMesh mesh;
  // Two triangles repeat the origin and (2, 0, 0); the first has twice the area of the second,
  // so it weighs twice as much.
  const auto fill = [&]() -> CountingMesh& {
    return mesh.Fill(0, {{0, 0, 0}, {2, 0, 0}, {0, 2, 0}, {0, 0, 0}, {0, 0, 1}, {2, 0, 0}});
  };
  fill().Smooth(1, 0, 0);
  ExpectNear({0, 0, -1}, mesh.Normal(0));
  ExpectNear({0, -1, 0}, mesh.Normal(3));
  fill().Smooth(1, 1, 0);
  ExpectNear({0, -0.4472136f, -0.8944272f}, mesh.Normal(0));  // (0, -2, -4) normalised
  EXPECT_EQ(mesh.Normal(0), mesh.Normal(3));
  EXPECT_EQ(mesh.Normal(1), mesh.Normal(5));
  // Positions a weighted-sum key would run together: negative ones, and (256, 0, 0) against
  // (0, 1, 0); and -0 against +0, which is one position.
  mesh.Fill(0, {{-1, -1, -1}, {-2, -1, -1}, {-1, -2, -1},  // facing -z
                {-1, -1, -3}, {-1, -2, -3}, {-2, -1, -3},  // facing +z
                {256, 0, 0}, {256, 0, 1}, {257, 0, 0},     // facing -y
                {0, 1, 0}, {1, 1, 0}, {0, 1, 1},           // facing +y
                {-0.0f, 5, 0}, {1, 5, 0}, {0, 6, 0},       // facing -z
                {0, 5, 0}, {0, 5, 1}, {1, 5, 0}})          // facing -y
      .Smooth(1, 1, 0);
  const Vec expected[] = {{0, 0, -1}, {0, 0, 1}, {0, -1, 0}, {0, 1, 0}};
  for (i32 t = 0; t < 4; ++t) ExpectNear(expected[t], mesh.Normal(3 * t));
  ExpectNear({0, -0.7071068f, -0.7071068f}, mesh.Normal(12));
  EXPECT_EQ(mesh.Normal(12), mesh.Normal(15));
}

TEST(NormalPass, TangentsFollowTheTextureCoordinates) {
  CountingMesh mesh;
  // (u, v) = (x, y) on the first triangle; the second has one texture coordinate at all corners.
  mesh.Fill(0, {{0, 0, 0}, {1, 0, 0}, {0, 1, 0}, {5, 0, 0}, {5, 0, 0}, {5, 0, 0}});
  mesh.parts[0].sourceVertices[4].x = 6;
  mesh.parts[0].sourceVertices[5].y = 1;
  mesh.normalsValid = 1;
  mesh.Smooth(0, 0, 1);
  const MeshVertex& corner = mesh.parts[0].sourceVertices[1];
  const MeshVertex& flat = mesh.parts[0].sourceVertices[4];
  ExpectNear({1, 0, 0}, {corner.tangent[0], corner.tangent[1], corner.tangent[2]});
  ExpectNear({0, 1, 0}, {corner.bitangent[0], corner.bitangent[1], corner.bitangent[2]});
  ExpectNear({0, 0, 0}, {flat.tangent[0], flat.tangent[1], flat.tangent[2]});
  ExpectNear({0, 0, 0}, mesh.Normal(1));  // only the tangents were asked for
  EXPECT_EQ(1u, mesh.tangentsValid);
}

}  // namespace
