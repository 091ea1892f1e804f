// Building objects through the device: triangle orders, colours, batches and their reuse,
// bounding spheres and the slots' storage; and the normal and tangent pass on hand-built meshes.
#include <gtest/gtest.h>

#include <array>
#include <initializer_list>
#include <string>

#include "media/render_target.h"
#include "render/soft_render_context.h"
#include "scene3d/rainbows3d.h"

namespace {

using Vec = std::array<f32, 3>;

struct BuildTest : testing::Test {
  void SetUp() override { GetRenderTarget().Resize(0, 8, 8, 0); }  // an empty batch table

  // Builds slot 1 from letters: 'P'.. are vertices at x = their letter, '|' a strip separator,
  // '*' a vertex of colour 0xFFFFFFFF.
  MeshObjectX& Build(i32 kind, const std::string& letters) {
    d.BeginObject(1, kind);
    for (char c : letters) {
      if (c == '|') d.AddObjectSeparator(1);
      if (c != '|') d.AddObjectVertex(c, 0, 0, 0, 0, c == '*' ? 0xFFFFFFFFu : 0xFFFFFFu);
    }
    d.EndObject();
    return d.Slot(1)->meshes[0];
  }
  // The triangles of part 0 as letters, one group of three per triangle.
  static std::string Triangles(const MeshObjectX& mesh) {
    std::string out;
    const GrowVector<MeshVertex>& t = mesh.parts[0].triangleVertices;
    for (i32 i = 0; i < t.count; ++i) out += std::string(i > 0 && i % 3 == 0, ' ') + char(t[i].x);
    return out;
  }
  const DrawBatch& BatchOf(const MeshObjectX& mesh) { return r.batches[mesh.frameBatches[0]]; }

  Rainbows3D d{nullptr};
  SoftRenderContext& r = GetSoftRenderContext();
};

TEST_F(BuildTest, ListsStripsAndFans) {
  const std::array<std::array<const char*, 3>, 7> cases = {{
      {"0", "PQRSTU", "PQR STU"},       {"1", "PQRST", "PQR RQS RST"}, {"2", "PQRS", "PQR PRS"},
      {"1", "PQR|STUV", "PQR STU UTV"}, {"0", "PQ|RSTU", "RST TSU"},   {"1", "PQ*RSTU", "RST"},
      {"0", "PQRS", "PQR"},
  }};
  for (const auto& [kind, letters, triangles] : cases) {
    EXPECT_EQ(triangles, Triangles(Build(kind[0] - '0', letters))) << letters;
  }
}

TEST_F(BuildTest, VertexColoursAndTheColouredFlags) {
  const MeshObjectX& white = Build(1, "PQR");
  const DrawBatch& batch = BatchOf(white);
  EXPECT_EQ((std::array<u32, 4>{0, 0, 1, 1}),
            (std::array{white.coloured, batch.coloured, batch.textured, batch.lit}));
  d.BeginObject(1, 1);
  d.AddObjectVertex(0, 0, 0, 0.5f, 0.25f, 0x000000FF);
  d.AddObjectVertex(1, 0, 0, 0, 0, 0xFFFFFFFC);  // no colour: white, and not a separator
  d.AddObjectVertex(0, 1, 0, 0, 0, 0x00FFFFFF);
  d.EndObject();
  const MeshObjectX& red = d.Slot(1)->meshes[0];
  const MeshVertex& v = red.parts[0].sourceVertices[1];
  EXPECT_EQ((std::array<f32, 5>{1, 0, 0, 0.5f, -0.25f}), (std::array{v.r, v.g, v.b, v.u, v.v}));
  EXPECT_EQ(2u, red.coloured + BatchOf(red).coloured);
  EXPECT_EQ(3, red.parts[0].triangleVertices.count);
  // Beyond 256 colours the 8-bit colour indices wrap; the geometry must not change with them.
  d.BeginObject(1, 0);
  for (u32 i = 1; i <= 300; ++i) d.AddObjectVertex(i, i % 7, i % 3, 0, 0, i);
  d.EndObject();
  EXPECT_EQ(300, d.Slot(1)->meshes[0].parts[0].triangleVertices.count);
}

TEST_F(BuildTest, RebuildsReuseTheirBatches) {
  MeshObjectX frames;
  for (i32 i = 0; i < 3; ++i) frames.AppendPart(MeshPart());
  frames.Build();
  const i32 first = frames.frameBatches[0];
  EXPECT_EQ((std::array{first + 1, first + 2}),
            (std::array{frames.frameBatches[1], frames.frameBatches[2]}));
  Build(1, "PQRS");
  const i32 batches = r.batches.count;
  for (i32 frame = 0; frame < 5; ++frame) Build(1, "PQRSTU");  // built and smoothed each time
  EXPECT_EQ(batches, r.batches.count);
  EXPECT_EQ(12, BatchOf(d.Slot(1)->meshes[0]).indices.count);
  frames.Build();
  EXPECT_EQ(first, frames.frameBatches[0]);
  GetRenderTarget().Resize(0, 8, 8, 0);  // a new target discards every batch: record anew
  frames.Build();
  EXPECT_EQ(3, r.batches.count);
}

TEST_F(BuildTest, EndingSmallObjectsAndBounds) {
  EXPECT_EQ(4, Build(1, "PQR").parts[0].sourceVertices.count);
  EXPECT_EQ(1, d.Slot(1)->used + d.Slot(1)->isScene);
  const MeshPart& two = Build(1, "PQ").parts[0];  // three entries, no triangle
  EXPECT_EQ((std::array<f32, 5>{}), (std::array{two.boundCentre[0], two.boundCentre[1],
                                                 two.boundCentre[2], two.boundRadius,
                                                 f32(two.triangleVertices.count)}));
  EXPECT_EQ(0, Build(1, "").parts.count);  // one source entry: cleared, but used
  EXPECT_EQ(1, d.Slot(1)->used);
  d.BeginObject(1, 0);
  for (const Vec& p : {Vec{0, 0, 0}, Vec{2, 0, 0}, Vec{0, 2, 0}}) {
    d.AddObjectVertex(p[0], p[1], p[2], 0, 0, 0);
  }
  d.EndObject();
  const MeshPart& part = d.Slot(1)->meshes[0].parts[0];
  EXPECT_FLOAT_EQ(2.0f / 3, part.boundCentre[0]);
  EXPECT_FLOAT_EQ(2.0f / 3, part.boundCentre[1]);
  EXPECT_NEAR(1.4907f, part.boundRadius, 1e-4f);
}

TEST_F(BuildTest, EmptyingTheSlotUnderConstructionEndsIt) {
  d.BeginObject(7, 1);
  d.EmptyObjectSlot(7);  // as a load into the slot does
  d.AddObjectVertex(1, 0, 0, 0, 0, 0);
  d.EndObject();
  EXPECT_EQ(0, d.Slot(7)->meshes.count + d.Slot(7)->used);
  d.BeginObject(7, 1);
  d.Slot(7)->meshes[0].Clear(true);  // a slot left without part 0
  d.AddObjectVertex(1, 0, 0, 0, 0, 0);
  d.EndObject();
  EXPECT_EQ(0, d.Slot(7)->meshes[0].parts.count);
  for (i32 slot : {-1, 4096, 1 << 30}) {  // numbers outside the table do nothing
    d.BeginObject(slot, 1);
    d.EmptyObjectSlot(slot);
    d.DrawObject(slot, 0);
    EXPECT_EQ(-1, d.buildingSlot);
  }
}

TEST_F(BuildTest, SlotStorage) {
  Build(1, "PQRS").textureA = 3;
  Build(1, "PQR");  // a new object keeps the slot's storage and mesh 0's texture index
  EXPECT_EQ(3, d.Slot(1)->meshes[0].textureA);
  EXPECT_EQ(512, d.Slot(1)->meshes[0].parts[0].sourceVertices.capacity);
  ObjectSlot& scene = *d.Slot(2);
  ResizeMeshArray(scene.meshes, 2);
  scene.meshes.count = 2;
  scene.textures.Append(9);
  scene.used = scene.isScene = 1;
  d.EmptyObjectSlot(2);
  EXPECT_EQ(0, scene.meshes.capacity + scene.textures.capacity + scene.used + scene.isScene);
}

// Counts its Builds; the pass ends with one when it did work.
struct CountingMesh : MeshObject {
  void Build() override { ++builds; }
  // One part: a separator of `code` (none for 0), then vertices at the positions, (u, v) = (x, y).
  CountingMesh& Fill(u32 code, std::initializer_list<Vec> positions) {
    Clear(true);
    GrowVector<MeshVertex>& source = AppendPart(MeshPart()).sourceVertices;
    MeshVertex v;
    if ((v.colour = code) != 0) source.Append(v);
    v.colour = 0;
    for (const Vec& p : positions) v.x = v.u = p[0], v.y = v.v = p[1], v.z = p[2], source.Append(v);
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
  // Tangents alone, from (u, v) = (x, y); a triangle of one texture coordinate adds none.
  mesh.Fill(0, {{0, 0, 0}, {1, 0, 0}, {0, 1, 0}, {5, 0, 0}, {5, 0, 1}, {5, 0, 2}}).normalsValid = 1;
  mesh.Smooth(0, 0, 1);
  const MeshVertex &corner = mesh.parts[0].sourceVertices[1], &flat = mesh.parts[0].sourceVertices[4];
  EXPECT_EQ((std::array<f32, 9>{1, 0, 0, 0, 1, 0, 0, 0, 0}),
            (std::array{corner.tangent[0], corner.tangent[1], corner.tangent[2], corner.bitangent[0],
                        corner.bitangent[1], corner.bitangent[2], flat.tangent[0], flat.nx, flat.ny}));
  EXPECT_EQ(1u, mesh.tangentsValid);
}

TEST(NormalPass, WeldingSharesExactPositionsOnly) {
  CountingMesh mesh;
  // Two triangles repeat the origin and (2, 0, 0); the first has twice the area of the second,
  // so it weighs twice as much.
  for (u8 weld : {0, 1}) {
    mesh.Fill(0, {{0, 0, 0}, {2, 0, 0}, {0, 2, 0}, {0, 0, 0}, {0, 0, 1}, {2, 0, 0}}).Smooth(1, weld, 0);
    if (weld == 0) ExpectNear({0, 0, -1}, mesh.Normal(0)), ExpectNear({0, -1, 0}, mesh.Normal(3));
  }
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

}  // namespace
