// Entering 3D mode, and drawing built objects through the real renderer into a small target under
// a camera at the origin looking along -z (90 degrees, 64 x 48): a point (x, y, z) lands on pixel
// (32 + 24 x / -z, 24 - 24 y / -z), so a square of side 2 at distance 2 covers x 20..43, y 12..35.
#include <gtest/gtest.h>

#include <array>

#include "core/dyn_string.h"
#include "core/runtime_globals.h"
#include "media/graphics_commands.h"
#include "media/graphics_device.h"
#include "media/textured_quads.h"
#include "render/soft_render_context.h"
#include "scene3d/rainbows3d.h"
#include "tests/media/media_test_util.h"

namespace {

using Pair = std::array<f32, 2>;
using Box = std::array<i32, 4>;

struct DrawTest : testing::Test {
  void SetUp() override {
    FreshTarget(64, 48);
    gfx.SetViewport(0, 0, 0, 0);
    d.SetProjection(1, 100, 90);
  }
  OpenGLRainbows gfx;
  Rainbows3D d{&gfx};
  SoftRenderContext& r = GetSoftRenderContext();
};

TEST_F(DrawTest, EnteringThreeDModeAndTheCamera) {
  d.SetUpVector(0, 0, 1);  // entering 3D mode puts +y up again
  for (const auto& [fov, tangent] : {Pair{84, 57.28996f}, Pair{85, 57.28996f}, Pair{60, 2.1445f}}) {
    d.SetProjection(1, 100, fov);
    EXPECT_NEAR(tangent, d.fovTangent, 1e-4f) << fov;
  }
  EXPECT_NEAR(0x10000 * 1.7320508f * 0.75f, r.projection[0], 200);  // cot 30 / (64 / 48)
  const i32* view = r.modelView[r.modelViewIndex];
  d.SetUpVector(0, 0, 1);  // the view changes only with the next camera placement
  EXPECT_NEAR(0x10000, view[5], 2);
  d.ResetState(0, 0, 0, 0, 1, 0);  // looking along +y with +z up
  const i32 rows[12] = {0x10000, 0, 0, 0, 0, 0, 0x10000, 0, 0, -0x10000, 0, 0};
  for (i32 i = 0; i < 12; ++i) EXPECT_NEAR(rows[i], view[i], 2) << i;
}

TEST_F(DrawTest, TexturedFramesUprightKeyedAndScenes) {
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
  ObjectSlot& scene = *d.Slot(1);
  scene.isScene = 1;  // a scene without textures draws untextured, whatever was selected
  d.DrawObject(1, 0);
  EXPECT_EQ(0xFFFF, PixelAt(29, 27));
  scene.textures.Append(3);
  SelectSpriteTexture(&gfx, 3);
  d.DrawObject(1, 0);
  EXPECT_EQ('Q', TargetRows()[27][29]);
}

TEST_F(DrawTest, AColouredCubeSavedForTheReadme) {
  FreshTarget(320, 240);
  gfx.SetViewport(0, 0, 0, 0);
  d.SetProjection(1, 100, 90);
  // Faces +x, +y, +z, -x, -y, -z: red, green, blue, yellow, magenta, cyan.
  const u32 colours[6] = {0x0000FF, 0x00FF00, 0xFF0000, 0x00FFFF, 0xFF00FF, 0xFFFF00};
  d.BeginObject(1, 1);
  for (i32 face = 0; face < 6; ++face) {
    if (face > 0) d.AddObjectSeparator(1);
    const i32 axis = face % 3;
    for (i32 c = 0; c < 4; ++c) {
      f32 p[3];
      p[axis] = face < 3 ? 1 : -1;
      p[(axis + 1) % 3] = (c & 1) ? 1 : -1;
      p[(axis + 2) % 3] = (c & 2) ? 1 : -1;
      d.AddObjectVertex(p[0], p[1], p[2], 0, 0, colours[face]);
    }
  }
  d.EndObject();
  d.SetPosition(0, 0, -3);
  d.PushTransform(30, 1, 0, 0);  // then 40 degrees about y: +z, +y and -x face the camera
  d.PushTransform(40, 0, 1, 0);
  d.DrawObject(1, 0);
  graphicsDevice = &gfx;
  SaveScreenImageCommand(DynString(STAKKO_SCREENSHOT_DIR "/cube3d.png"));
  graphicsDevice = nullptr;
  // The centres of the three front faces: the depth test keeps the back faces, drawn later,
  // behind them.
  EXPECT_EQ((std::array<u16, 4>{0x001F, 0x07E0, 0xFFE0, 0}),
            (std::array{PixelAt(189, 146), PixelAt(175, 80), PixelAt(121, 120), PixelAt(5, 5)}));
}

}  // namespace
