// Building objects through the device (triangle orders, colours, batches and their reuse, bounds,
// the slot's life), and the normal and tangent pass on hand-built meshes.
#include <gtest/gtest.h>

#include <array>
#include <initializer_list>
#include <string>

#include "media/render_target.h"
#include "render/soft_render_context.h"
#include "scene3d/rainbows3d.h"
#include "scene3d/scene_file.h"
#include "tests/support/test_support.h"

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

TEST_F(BuildTest, ColouredMeshesAndMoreThan256Colours) {
  const MeshObjectX& white = Build(1, "PQR");
  EXPECT_EQ((std::array<u32, 4>{0, 0, 1, 1}),
            (std::array{white.coloured, BatchOf(white).coloured, BatchOf(white).textured,
                        BatchOf(white).lit}));
  // Every colour but white (and the codes that read as white) colours the mesh and its batch,
  // also those that keep full red and another full component: yellow and magenta.
  for (const auto& [colour, coloured] : {std::pair{0xFFFFFFu, 0u}, {0xFFFFFFFCu, 0u},
                                         {0x00FFFFu, 1u}, {0xFF00FFu, 1u}, {0xFFFF00u, 1u}}) {
    d.BeginObject(1, 1);
    for (i32 i = 0; i < 3; ++i) d.AddObjectVertex(i, i % 2, 0, 0, 0, colour);
    d.EndObject();
    EXPECT_EQ(std::pair(coloured, coloured), std::pair(white.coloured, BatchOf(white).coloured))
        << std::hex << colour;
  }
  // Beyond 256 colours the 8-bit colour indices wrap; the geometry must not change with them.
  d.BeginObject(1, 0);
  for (u32 i = 1; i <= 300; ++i) d.AddObjectVertex(i, i % 7, i % 3, 0, 0, i);
  d.EndObject();
  EXPECT_EQ(300, white.parts[0].triangleVertices.count);
  EXPECT_EQ(2u, white.coloured + BatchOf(white).coloured);
}

TEST_F(BuildTest, RebuildsReuseTheirBatches) {
  MeshObjectX frames;
  for (i32 i = 0; i < 3; ++i) frames.AppendPart(MeshPart());
  frames.Build();
  Build(1, "PQRS");
  const i32 batches = r.batches.count;
  for (i32 frame = 0; frame < 5; ++frame) Build(1, "PQRSTU");  // built and smoothed each time
  EXPECT_EQ(batches, r.batches.count);
  frames.Build();
  EXPECT_EQ(0, frames.frameBatches[0]);
  GetRenderTarget().Resize(0, 8, 8, 0);  // a new target discards every batch: record anew
  frames.Build();
  EXPECT_EQ(3, r.batches.count);
}

TEST_F(BuildTest, SmallObjectsBoundsAndEmptiedSlots) {
  const MeshPart& two = Build(1, "PQ").parts[0];  // three source entries, no triangle
  EXPECT_EQ((std::array<f32, 4>{}), (std::array{two.boundCentre[0], two.boundCentre[1],
                                                 two.boundCentre[2], two.boundRadius}));
  EXPECT_EQ(0, Build(1, "").parts.count);  // one source entry: cleared, but used
  EXPECT_EQ(1, d.Slot(1)->used + d.Slot(1)->isScene);
  d.BeginObject(1, 0);
  for (const Vec& p : {Vec{0, 0, 0}, Vec{2, 0, 0}, Vec{0, 2, 0}}) {
    d.AddObjectVertex(p[0], p[1], p[2], 0, 0, 0);
  }
  d.EndObject();
  const MeshPart& part = d.Slot(1)->meshes[0].parts[0];
  EXPECT_FLOAT_EQ(2.0f / 3, part.boundCentre[0]);
  EXPECT_FLOAT_EQ(2.0f / 3, part.boundCentre[1]);
  EXPECT_NEAR(1.4907f, part.boundRadius, 1e-4f);
  // Emptying the slot under construction ends the construction.
  d.BeginObject(7, 1);
  d.EmptyObjectSlot(7);  // as a load into the slot does
  d.AddObjectVertex(1, 0, 0, 0, 0, 0);
  d.EndObject();
  EXPECT_EQ(0, d.Slot(7)->meshes.capacity + d.Slot(7)->used);  // storage released
  d.BeginObject(7, 1);
  MeshObjectX& mesh = d.Slot(7)->meshes[0];
  mesh.Clear(false);  // a slot left without part 0 (its storage still there)
  d.AddObjectVertex(1, 0, 0, 0, 0, 0);
  d.EndObject();
  EXPECT_EQ(0, mesh.parts.count + mesh.parts.data[0].sourceVertices.count);
  // A scene loaded into the slot under construction whose model does not load leaves mesh 0
  // without part 0: adding and ending then build nothing.
  const ScopedTempDir dir;
  WriteFileBytes(dir.File("bad.ddd"), "damaged");
  WriteFileBytes(dir.File("s.ddw"), ";DDW\n[objects]\ncount=1\n1=bad.ddd\n");
  d.BeginObject(7, 1);
  testing::internal::CaptureStdout();
  LoadSceneFile(dir.File("s.ddw").c_str(), d.Slot(7), 0);
  testing::internal::GetCapturedStdout();
  d.AddObjectVertex(1, 0, 0, 0, 0, 0);
  d.EndObject();
  EXPECT_EQ((std::array{1, 1, 0}), (std::array{d.Slot(7)->meshes.count, i32{d.Slot(7)->used},
                                               d.Slot(7)->meshes[0].parts.count}));
  // A scene of no objects leaves it no mesh 0 at all: ending builds nothing, not even the mesh
  // its storage still holds with the vertices added before, so no renderer batch is taken.
  WriteFileBytes(dir.File("none.ddw"), ";DDW\n[objects]\ncount=0\n");
  d.BeginObject(7, 1);
  for (i32 i = 0; i < 3; ++i) d.AddObjectVertex(i, i % 2, 0, 0, 0, 0);
  LoadSceneFile(dir.File("none.ddw").c_str(), d.Slot(7), 0);
  const i32 batches = r.batches.count;
  d.EndObject();
  EXPECT_EQ((std::array{0, 1, batches}),
            (std::array{d.Slot(7)->meshes.count, i32{d.Slot(7)->used}, r.batches.count}));
  for (i32 slot : {-1, 4096, 1 << 30}) d.BeginObject(slot, 1), d.EmptyObjectSlot(slot);
  EXPECT_EQ(-1, d.buildingSlot);  // numbers outside the table do nothing
}

// One part: a separator of `code` (none for 0), then vertices at the positions, (u, v) = (x, y).
// Counts its Builds; the pass ends with one when it did work.
struct CountingMesh : MeshObject {
  void Build() override { ++builds; }
  CountingMesh& Fill(u32 code, std::initializer_list<Vec> positions) {
    Clear(true);
    GrowVector<MeshVertex>& source = AppendPart(MeshPart()).sourceVertices;
    MeshVertex v;
    if ((v.colour = code) != 0) source.Append(v);
    v.colour = 0;
    for (const Vec& p : positions) v.x = v.u = p[0], v.y = v.v = p[1], v.z = p[2], source.Append(v);
    return *this;
  }
  // The normal of vertex j, within 1e-5.
  void Expect(i32 j, Vec n) const {
    const MeshVertex& v = parts[0].sourceVertices[j];
    const Vec got = {v.nx, v.ny, v.nz};
    for (i32 i = 0; i < 3; ++i) EXPECT_NEAR(n[i], got[i], 1e-5f) << j << ":" << i;
  }
  i32 builds = 0;
};

TEST(NormalPass, AreaWeightsStripFlipsWeldsAndTangents) {
  CountingMesh mesh;
  // Two triangles repeat the origin and (2, 0, 0); the first has twice the area of the second,
  // so welded it weighs twice as much: (0, -2, -4) normalised.
  for (u8 weld : {0, 1}) {
    mesh.Fill(0, {{0, 0, 0}, {2, 0, 0}, {0, 2, 0}, {0, 0, 0}, {0, 0, 1}, {2, 0, 0}});
    mesh.Smooth(1, weld, 0);
    mesh.Expect(0, weld ? Vec{0, -0.4472136f, -0.8944272f} : Vec{0, 0, -1});
    mesh.Expect(3, weld ? Vec{0, -0.4472136f, -0.8944272f} : Vec{0, -1, 0});
  }
  EXPECT_EQ(mesh.parts[0].sourceVertices[0].nz, mesh.parts[0].sourceVertices[3].nz);  // one sum
  mesh.Smooth(1, 1, 0);  // the normals are known: no work, no rebuild
  EXPECT_EQ(2, mesh.builds);
  // A flat strip: every second triangle is flipped, so all four corners face the same way.
  mesh.Fill(kStripSeparator, {{0, 0, 0}, {1, 0, 0}, {0, 1, 0}, {1, 1, 0}}).Smooth(1, 0, 0);
  for (i32 j = 1; j <= 4; ++j) mesh.Expect(j, {0, 0, -1});
  // Positions a weighted-sum key would run together: negative ones, and (256, 0, 0) against
  // (0, 1, 0); and -0 against +0, which is one position.
  mesh.Fill(0, {{-1, -1, -1}, {-2, -1, -1}, {-1, -2, -1},  // facing -z
                {-1, -1, -3}, {-1, -2, -3}, {-2, -1, -3},  // facing +z
                {256, 0, 0}, {256, 0, 1}, {257, 0, 0},     // facing -y
                {0, 1, 0}, {1, 1, 0}, {0, 1, 1},           // facing +y
                {-0.0f, 5, 0}, {1, 5, 0}, {0, 6, 0},       // facing -z
                {0, 5, 0}, {0, 5, 1}, {1, 5, 0}})          // facing -y
      .Smooth(1, 1, 0);
  const Vec normals[6] = {{0, 0, -1}, {0, 0, 1}, {0, -1, 0}, {0, 1, 0},
                          {0, -0.7071068f, -0.7071068f}, {0, -0.7071068f, -0.7071068f}};
  for (i32 t = 0; t < 6; ++t) mesh.Expect(3 * t, normals[t]);
  // A later frame longer than the first (a loaded model's frames need not agree) gets normals for
  // all its vertices.
  mesh.Fill(0, {{0, 0, 0}, {1, 0, 0}, {0, 1, 0}});
  GrowVector<MeshVertex>& later = mesh.AppendPart(mesh.parts[0]).sourceVertices;
  for (i32 i = 0; i < 600; ++i) later.Append(later[i % 3]);
  mesh.Smooth(1, 0, 0);
  mesh.Expect(2, {0, 0, -1});
  EXPECT_EQ(-1.0f, mesh.parts[1].sourceVertices[602].nz);
  // Tangents alone, from (u, v) = (x, y); a triangle of one texture coordinate adds none.
  mesh.Fill(0, {{0, 0, 0}, {1, 0, 0}, {0, 1, 0}, {5, 0, 0}, {5, 0, 1}, {5, 0, 2}}).Smooth(0, 0, 1);
  const MeshVertex& corner = mesh.parts[0].sourceVertices[1];
  const MeshVertex& flat = mesh.parts[0].sourceVertices[4];
  EXPECT_EQ((std::array<f32, 6>{1, 0, 0, 1, 0, 0}),
            (std::array{corner.tangent[0], corner.tangent[1], corner.tangent[2],
                        corner.bitangent[1], corner.bitangent[0], flat.tangent[0]}));
}

}  // namespace
