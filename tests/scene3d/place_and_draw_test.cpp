// Placing and drawing objects: the transform stack against hand-computed placements, entering 3D
// mode, and drawing built objects through the real renderer into a small target under a camera
// at the origin looking along -z (90 degrees, 64 x 48): a point (x, y, z) lands on pixel
// (32 + 24 x / -z, 24 - 24 y / -z), so a square of side 2 at distance 2 covers x 20..43, y 12..35.
#include <gtest/gtest.h>

#include <algorithm>
#include <array>

#include "core/dyn_string.h"
#include "core/runtime_globals.h"
#include "media/graphics_commands.h"
#include "media/graphics_device.h"
#include "media/textured_quads.h"
#include "render/soft_render_context.h"
#include "scene3d/rainbows3d.h"
#include "scene3d/transform_commands.h"
#include "tests/media/media_test_util.h"
#include "tests/scene3d/cube_commands.h"

namespace {

using Vec = std::array<f32, 3>;
using Box = std::array<i32, 4>;

struct PlaceTest : testing::Test {
  void SetUp() override {
    FreshTarget(64, 48);
    gfx.SetViewport(0, 0, 0, 0);
    d.SetProjection(1, 100, 90);
  }
  // Where the current state's composed model matrix places p.
  void ExpectPlaced(Vec p, Vec expected) {
    d.UpdateModelMatrix();
    const f32* m = d.CurrentState().model;
    for (i32 i = 0; i < 3; ++i) {
      EXPECT_NEAR(expected[i], m[i] * p[0] + m[4 + i] * p[1] + m[8 + i] * p[2] + m[12 + i], 1e-5f);
    }
  }
  OpenGLRainbows gfx;
  Rainbows3D d{&gfx};
  SoftRenderContext& r = GetSoftRenderContext();
};

TEST_F(PlaceTest, ScaleThenRecordsInOrderThenPosition) {
  Rainbows3D fresh(nullptr);  // defined before any camera is placed: state 0 at the identity
  EXPECT_EQ((std::array{4096, 4224, 2, -1, 1}),
            (std::array{fresh.objects.count, fresh.objects.capacity, fresh.normalMode,
                        fresh.buildingSlot, i32(fresh.stack[0].matrixValid)}));
  EXPECT_TRUE(std::equal(fresh.stack[0].model, fresh.stack[0].model + 16, IdentityMatrix4()));
  d.SetPosition(1, 0, 0);
  d.PushTransform(90, 0, 0, 1);
  ExpectPlaced({1, 0, 0}, {1, 1, 0});
  d.SetScale(2, 1, 1);  // the restart drops the record
  d.PushTransform(90, 0, 0, 1);
  d.PushTransform(90, 1, 0, 0);
  ExpectPlaced({1, 0, 0}, {1, 0, 2});
  // Each record alone, where it turns (0, 1, 0): any axis length; a single non-zero component
  // counts only by its sign; any other axis shorter than 1e-4 is skipped.
  const std::array<std::pair<TransformRecord, Vec>, 5> records = {{
      {{120, 3, 3, 3}, {0, 0, 1}}, {{90, 0, 0, -2}, {1, 0, 0}}, {{45, 0, 0, 0}, {0, 1, 0}},
      {{30, 1e-5f, 0, 0}, {0, 0.8660254f, 0.5f}}, {{30, 1e-5f, 0, 1e-5f}, {0, 1, 0}}}};
  for (const auto& [record, expected] : records) {
    d.SetPosition(0, 0, 0);
    d.PushTransform(record.angle, record.axisX, record.axisY, record.axisZ);
    ExpectPlaced({0, 1, 0}, expected);
  }
}

TEST_F(PlaceTest, AppendsBeyondSixteenAndAfterACompositionRecompose) {
  d.SetPosition(1, 0, 0);
  ExpectPlaced({0, 0, 0}, {1, 0, 0});
  d.PushTransform(45, 0, 0, 0);  // no rotation, but the whole list applies again
  ExpectPlaced({0, 0, 0}, {2, 0, 0});
  d.SetPosition(0, 0, 0);
  const f32 shift[16] = {1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1, 0, 1, 0, 0, 1};
  for (i32 i = 0; i < 17; ++i) d.PushTransform(0, 0, 0, 0), d.AppendMatrix(shift);
  EXPECT_EQ(32, d.CurrentState().recordCount + d.CurrentState().matrixCount);
  ExpectPlaced({0, 0, 0}, {16, 0, 0});
  // A 17th matrix, then a 17th record, each alone: dropped, but the whole list applies again.
  d.AppendMatrix(shift);
  ExpectPlaced({0, 0, 0}, {32, 0, 0});
  d.PushTransform(0, 0, 0, 0);
  ExpectPlaced({0, 0, 0}, {48, 0, 0});
}

TEST_F(PlaceTest, ChildStatesAndTheCommands) {
  device3D = &d;
  NumArray<f32> values;
  const f32 up7[16] = {1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1, 0, 0, 7, 0, 1};  // column-major
  values.Assign(16, up7);
  MultMatrixCommand(values);
  d.PushTransform(90, 0, 1, 0);
  PushStateCommand();
  SetPositionCommand(0, 0, 5);  // the child restarts from the parent's composed matrix
  ExpectPlaced({0, 0, 0}, {5, 7, 0});
  SetScaleCommand(2, 2, 2);
  values.Redim(4, 4);
  MultMatrixCommand(values);  // not one-dimensional: ignored
  ExpectPlaced({1, 0, 0}, {5, 7, -2});
  device3D = nullptr;
  for (i32 i = 0; i < 20; ++i) d.PushState();
  d.PopState();
  EXPECT_EQ(14, d.stackIndex);
  d.stackIndex = 0;
  d.PopState();  // at state 0: back to the identity
  ExpectPlaced({1, 2, 3}, {1, 2, 3});
}

TEST_F(PlaceTest, EnteringThreeDModeAndTheCamera) {
  d.SetUpVector(0, 0, 1);  // entering 3D mode puts +y up again, and culls nothing
  d.SetCullMode(1);
  d.SetProjection(1, 100, 60);
  EXPECT_EQ(std::pair(0, i32{VertexPipeline::kCullNone}),
            std::pair(i32{d.cullMode}, r.pipeline.cullMode));
  EXPECT_NEAR(0x10000 * 1.7320508f * 0.75f, r.projection[0], 200);  // cot 30 / (64 / 48)
  const i32* view = r.modelView[r.modelViewIndex];
  d.SetUpVector(0, 0, 1);  // the view changes only with the next camera placement
  EXPECT_NEAR(0x10000, view[5], 2);
  d.ResetState(0, 0, 0, 0, 1, 0);  // looking along +y with +z up: the view's up row is +z
  for (i32 i = 0; i < 3; ++i) EXPECT_NEAR(i == 2 ? 0x10000 : 0, view[4 + i], 2) << i;
}

TEST_F(PlaceTest, TexturedFramesUprightKeyedAndScenes) {
  SurfaceFromRows(*gfx.Sprite(3), {"ABCDE", "FGHIJ", "K.MNO", "PQRST", "UVWXY"},
                  gfx.transparentColour);
  SelectSpriteTexture(&gfx, 3);
  d.BeginObject(1, 1);  // a white square of side 2 at z = -2 as a strip, u right and v down
  for (i32 c = 0; c < 4; ++c) {
    d.AddObjectVertex(2 * (c & 1) - 1, 1 - (c & 2), -2, c & 1, c >> 1, 0xFFFFFF);
  }
  d.EndObject();
  MeshObjectX& mesh = d.Slot(1)->meshes[0];
  for (MeshVertex& v : mesh.AppendPart(mesh.parts[0]).sourceVertices) v.x += 1;  // frame 1
  mesh.Build();
  const std::array<i32, 16> view = std::to_array(r.modelView[r.modelViewIndex]);
  for (i32 frame : {-1, 2, 5}) d.DrawObject(1, frame);  // frames the mesh does not have
  for (i32 slot : {-1, 4096}) d.DrawObject(slot, 0);   // and slots outside the table
  d.BeginObject(2, 1);  // under construction: no batch yet
  d.DrawObject(2, 0);
  EXPECT_EQ((Box{64, 48, -1, -1}), DrawnBox());
  EXPECT_EQ(0u, GetRenderTarget().depthDirty);
  d.DrawObject(1, 1);
  EXPECT_EQ((Box{32, 12, 55, 35}), DrawnBox());
  EXPECT_EQ(1u, GetRenderTarget().depthDirty);
  EXPECT_EQ(view, std::to_array(r.modelView[r.modelViewIndex]));
  GetRenderTarget().ClearColour();
  GetRenderTarget().ClearDepth();
  d.DrawObject(1, 0);
  EXPECT_EQ((Box{20, 12, 43, 35}), DrawnBox());
  // Columns 0..3 left to right; rows 1..4 of the picture top to bottom (v = 0 is its last row).
  const Rows rows = TargetRows();
  for (i32 row = 0; row < 4; ++row) {
    std::string blocks;
    for (i32 column = 0; column < 4; ++column) blocks += rows[15 + 6 * row][23 + 6 * column];
    EXPECT_EQ(std::string("FGHIK.MNPQRSUVWX").substr(4 * row, 4), blocks) << row;
  }
  d.Slot(1)->isScene = 1;  // a scene without textures draws untextured, whatever was selected
  d.DrawObject(1, 0);
  EXPECT_EQ(0xFFFF, PixelAt(29, 27));
}

TEST_F(PlaceTest, AColouredCubeSavedForTheReadme) {
  FreshTarget(320, 240);
  gfx.SetViewport(0, 0, 0, 0);
  d.SetProjection(1, 100, 90);
  // Faces +x, +y, +z, -x, -y, -z: red, green, blue, yellow, magenta, cyan.
  device3D = &d;
  BuildCubeCommand(1, {0x0000FF, 0x00FF00, 0xFF0000, 0x00FFFF, 0xFF00FF, 0xFFFF00});
  d.SetPosition(0, 0, -3);
  d.PushTransform(30, 1, 0, 0);  // then 40 degrees about y: +z, +y and -x face the camera
  d.PushTransform(40, 0, 1, 0);
  d.DrawObject(1, 0);
  graphicsDevice = &gfx;
  SaveScreenImageCommand(DynString(STAKKO_SCREENSHOT_DIR "/cube3d.png"));
  graphicsDevice = nullptr;
  device3D = nullptr;
  // The centres of the three front faces: the depth test keeps the back faces, drawn later,
  // behind them.
  EXPECT_EQ((std::array<u16, 4>{0x001F, 0x07E0, 0xFFE0, 0}),
            (std::array{PixelAt(189, 146), PixelAt(175, 80), PixelAt(121, 120), PixelAt(5, 5)}));
}

}  // namespace
