// Drawing built objects through the real renderer into a small target, under a camera at the
// origin looking along -z (90 degrees, 64 x 48): a point (x, y, z) lands on pixel
// (32 + 24 x / -z, 24 - 24 y / -z), so a square of side 2 at distance 2 covers x 20..43, y 12..35.
#include <gtest/gtest.h>

#include <array>

#include "media/graphics_device.h"
#include "media/render_target.h"
#include "render/soft_render_context.h"
#include "scene3d/rainbows3d.h"

namespace {

using Pair = std::array<f32, 2>;

struct DrawTest : testing::Test {
  void SetUp() override {
    GetRenderTarget().Resize(0, 64, 48, 0);
    gfx.SetViewport(0, 0, 0, 0);
    d.SetProjection(1, 100, 90);
  }
  // A square of side 2 at z facing the camera, as one strip, in the colour.
  void Square(i32 slot, f32 z, u32 colour) {
    d.BeginObject(slot, 1);
    for (i32 corner = 0; corner < 4; ++corner) {
      const f32 u = static_cast<f32>(corner & 1), v = static_cast<f32>(corner >> 1);
      d.AddObjectVertex(2 * u - 1, 1 - 2 * v, z, u, v, colour);
    }
    d.EndObject();
  }
  static u16 Pixel(i32 x, i32 y) { return GetRenderTarget().colourBuffer[y * 64 + x]; }

  OpenGLRainbows gfx;
  Rainbows3D d{&gfx};
  SoftRenderContext& r = GetSoftRenderContext();
};

TEST_F(DrawTest, FramesOutsideTheMeshDrawNothingAndTheViewIsKept) {
  Square(1, -2, 0x0000FF);
  const std::array<i32, 17> before = [&] {
    std::array<i32, 17> v{r.modelViewIndex};
    std::copy_n(r.modelView[r.modelViewIndex], 16, v.begin() + 1);
    return v;
  }();
  for (i32 frame : {-1, 1, 5}) d.DrawObject(1, frame);
  d.BeginObject(2, 1);  // under construction: no batch yet
  d.DrawObject(2, 0);
  EXPECT_EQ(0u, GetRenderTarget().depthDirty);
  d.SetPosition(0, 0, -1);
  d.DrawObject(1, 0);
  EXPECT_EQ(1u, GetRenderTarget().depthDirty);
  EXPECT_EQ(1u, d.CurrentState().matrixValid);
  std::array<i32, 17> after{r.modelViewIndex};
  std::copy_n(r.modelView[r.modelViewIndex], 16, after.begin() + 1);
  EXPECT_EQ(before, after);
}

TEST_F(DrawTest, EnteringThreeDModeAndTheCamera) {
  Rainbows3D& device = d;
  SoftRenderContext& renderer = r;
  for (const auto& [fov, tangent] : {Pair{84, 57.28996f}, Pair{85, 57.28996f}, Pair{60, 2.14451f}}) {
    device.SetProjection(1, 100, fov);
    EXPECT_NEAR(tangent, device.fovTangent, 1e-4f) << fov;
  }
  EXPECT_EQ(1u, renderer.depthTestEnabled);
  EXPECT_FALSE(renderer.HasTexture());
  const i32* view = renderer.modelView[renderer.modelViewIndex];
  for (i32 i = 0; i < 16; ++i) EXPECT_NEAR(i % 5 == 0 ? 0x10000 : 0, view[i], 2) << i;
  // The unwidened 60 degrees: cot 30 / aspect (64 / 48).
  EXPECT_NEAR(0x10000 * 1.7320508f * 0.75f, renderer.projection[0], 200);
  for (const auto& [mode, pipelineMode] : {Pair{0, 0}, Pair{1, 1}, Pair{-1, 2}, Pair{2, 2}}) {
    device.SetCullMode(static_cast<i32>(mode));
    EXPECT_EQ(pipelineMode, renderer.pipeline.cullMode) << mode;
  }
  device.SetUpVector(0, 0, 1);  // the view changes only with the next camera placement
  EXPECT_NEAR(0x10000, view[5], 2);
  device.ResetState(0, 0, 0, 0, 1, 0);  // looking along +y with +z up
  const i32 rows[12] = {0x10000, 0, 0, 0, 0, 0, 0x10000, 0, 0, -0x10000, 0, 0};
  for (i32 i = 0; i < 12; ++i) EXPECT_NEAR(rows[i], view[i], 2) << i;
}

}  // namespace
