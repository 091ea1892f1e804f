// The mesh model: what clearing, reserving and copying keep, and the colour table.
#include "scene3d/mesh_model.h"

#include <vector>

#include <gtest/gtest.h>

namespace {

// `parts` parts of `vertices` vertices coloured 0, 1, 2, ..., each part with a radius of 5.
MeshObjectX MeshOf(i32 parts, i32 vertices) {
  MeshObjectX mesh;
  MeshPart part;
  part.sourceVertices.SetCount(vertices);
  for (i32 i = 0; i < vertices; ++i) part.sourceVertices[i].SetColour(static_cast<u32>(i));
  part.triangleVertices.Append(MeshVertex());
  for (i32 p = 0; p < parts; ++p) mesh.AppendPart(part).boundRadius = 5.0f;
  mesh.firstFrameTriangles.Append(MeshVertex());
  mesh.frameBatches.Append(7);
  mesh.BuildColourTable();
  return mesh;
}

TEST(MeshModel, ClearKeepsOrReleasesStorage) {
  MeshObjectX mesh = MeshOf(2, 3);
  mesh.normalsValid = mesh.tangentsValid = 1;
  mesh.Clear(false);
  EXPECT_EQ(0, mesh.parts.count + mesh.colourTable.count + mesh.firstFrameTriangles.count);
  EXPECT_EQ(0u, mesh.normalsValid + mesh.tangentsValid);
  EXPECT_EQ(512 * 4, mesh.parts.capacity + mesh.parts[1].sourceVertices.capacity +
                         mesh.colourTable.capacity + mesh.firstFrameTriangles.capacity);
  mesh.Clear(true);
  EXPECT_EQ(0, mesh.parts.capacity + mesh.colourTable.capacity + mesh.firstFrameTriangles.capacity);
  EXPECT_EQ(1, mesh.frameBatches.count);  // the batches stay for the next Build
}

TEST(MeshModel, ReservingAssigningAndCopying) {
  MeshObjectX mesh = MeshOf(2, 3);
  mesh.ReserveParts(511);
  EXPECT_EQ(5.0f, mesh.parts[0].boundRadius);
  mesh.ReserveParts(512);  // new storage (of the minimum's size again): the bounds stay behind
  EXPECT_EQ(0.0f, mesh.parts[0].boundRadius);
  EXPECT_EQ(2u, mesh.parts[1].sourceVertices[2].colour);
  MeshPart::Assign(mesh.parts[0], MeshPart());
  EXPECT_EQ(0, mesh.parts[0].sourceVertices.count + mesh.parts[0].triangleVertices.count);
  EXPECT_EQ(512, mesh.parts[0].sourceVertices.capacity);
  mesh.colourTable.Reserve(600);
  const MeshObjectX copy = mesh;  // lists grow to the source's count (3), not to its capacity
  EXPECT_EQ(512, copy.colourTable.capacity);
  EXPECT_EQ(3, copy.parts[1].sourceVertices.count);
  EXPECT_EQ(7, copy.frameBatches[0]);
}

TEST(MeshModel, ColourTableInOrderOfFirstAppearance) {
  MeshObjectX mesh = MeshOf(2, 3);  // colours 0, 1, 2 in both parts
  mesh.parts[0].sourceVertices[2].SetColour(0);
  mesh.parts[1].sourceVertices[0].SetColour(kStripSeparator);
  mesh.BuildColourTable();
  EXPECT_EQ((std::vector<u32>(mesh.colourTable.begin(), mesh.colourTable.end())),
            (std::vector<u32>{0, 1, kStripSeparator, 2}));
  const GrowVector<MeshVertex>& first = mesh.parts[0].sourceVertices;
  const GrowVector<MeshVertex>& second = mesh.parts[1].sourceVertices;
  EXPECT_EQ((std::vector<int>{0, 2, 3}),
            (std::vector<int>{first[2].colourIndex, second[0].colourIndex, second[2].colourIndex}));
  EXPECT_EQ(0, MeshOf(0, 3).colourTable.count);  // no parts
}

}  // namespace
