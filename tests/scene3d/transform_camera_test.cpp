// The 3D device's start state, its transform stack against hand-computed placements, and the
// camera's projection set-up.
#include <gtest/gtest.h>

#include <array>
#include <cmath>

#include "core/runtime_globals.h"
#include "media/graphics_device.h"
#include "media/render_target.h"
#include "render/soft_render_context.h"
#include "scene3d/rainbows3d.h"
#include "scene3d/transform_commands.h"

namespace {

using Vec = std::array<f32, 3>;
using Matrix = std::array<f32, 16>;
using Pair = std::array<f32, 2>;

struct TransformTest : testing::Test {
  // Where the current state's composed model matrix places p.
  void ExpectPlaced(Vec p, Vec expected) {
    d.UpdateModelMatrix();
    const f32* m = d.CurrentState().model;
    for (i32 i = 0; i < 3; ++i) {
      EXPECT_NEAR(expected[i], m[i] * p[0] + m[4 + i] * p[1] + m[8 + i] * p[2] + m[12 + i], 1e-5f);
    }
  }
  static Matrix Rotation(TransformRecord record) {
    Matrix m{};
    return RotationMatrix(record, m.data()) ? m : Matrix{};
  }
  Rainbows3D d{nullptr};
};

TEST_F(TransformTest, ScaleThenRecordsInOrderThenPosition) {
  EXPECT_EQ((std::array{4096, 4224, 0, 2, -1}), (std::array{d.objects.count, d.objects.capacity,
                                                             d.stackIndex, d.normalMode,
                                                             d.buildingSlot}));
  ExpectPlaced({2, 3, 4}, {2, 3, 4});  // a defined state 0 before any camera is placed
  d.SetPosition(1, 0, 0);
  d.PushTransform(90, 0, 0, 1);
  ExpectPlaced({1, 0, 0}, {1, 1, 0});
  d.SetPosition(0, 0, 0);  // the restart drops the record
  d.PushTransform(90, 0, 0, 1);
  d.PushTransform(90, 1, 0, 0);
  ExpectPlaced({1, 0, 0}, {0, 0, 1});
  d.SetScale(2, 1, 1);
  d.PushTransform(90, 0, 0, 1);
  ExpectPlaced({1, 0, 0}, {0, 2, 0});
  d.SetScale(1, 1, 1);
  d.PushTransform(120, 3, 3, 3);  // any axis length: 120 degrees about (1, 1, 1) turns x to y
  ExpectPlaced({1, 0, 0}, {0, 1, 0});
}

TEST_F(TransformTest, SingleAxisRecordsCountOnlyTheSign) {
  const f32 c = std::cos(0.5235988f), s = std::sin(0.5235988f);  // 30 degrees
  const Matrix aboutX = {1, 0, 0, 0, 0, c, s, 0, 0, -s, c, 0, 0, 0, 0, 1};
  const Matrix tiny = Rotation({30, 1e-5f, 0, 0});
  for (i32 i = 0; i < 16; ++i) EXPECT_NEAR(aboutX[i], tiny[i], 1e-6f) << i;
  EXPECT_EQ(tiny, Rotation({-30, -1e-5f, 0, 0}));
  EXPECT_EQ(Rotation({90, 0, 0, -2}), Rotation({-90, 0, 0, 1}));
  EXPECT_NEAR(-1.0f, Rotation({90, 0, 0, -2})[1], 1e-6f);
  EXPECT_EQ(Matrix{}, Rotation({30, 1e-5f, 0, 1e-5f}));  // shorter than 1e-4: skipped
  EXPECT_EQ(Matrix{}, Rotation({45, 0, 0, 0}));
}

TEST_F(TransformTest, AppendsBeyondSixteenAndAfterACompositionRecompose) {
  d.SetPosition(1, 0, 0);
  ExpectPlaced({0, 0, 0}, {1, 0, 0});
  d.PushTransform(45, 0, 0, 0);  // no rotation, but the whole list applies again
  ExpectPlaced({0, 0, 0}, {2, 0, 0});
  d.SetPosition(0, 0, 0);
  const f32 shift[16] = {1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1, 0, 1, 0, 0, 1};
  for (i32 i = 0; i < 17; ++i) d.PushTransform(0, 0, 0, 0), d.AppendMatrix(shift);
  EXPECT_EQ(32, d.CurrentState().recordCount + d.CurrentState().matrixCount);
  EXPECT_EQ(0u, d.CurrentState().matrixValid);
  ExpectPlaced({0, 0, 0}, {16, 0, 0});
}

TEST_F(TransformTest, ChildStatesStartFromTheParentAndPopBack) {
  d.SetPosition(1, 0, 0);
  d.PushTransform(90, 0, 1, 0);
  d.PushState();
  d.SetPosition(0, 0, 5);  // restarts from the parent's composed matrix
  ExpectPlaced({0, 0, 0}, {6, 0, 0});
  for (i32 i = 0; i < 20; ++i) d.PushState();
  d.PopState();
  EXPECT_EQ(14, d.stackIndex);
  d.stackIndex = 0;
  d.PopState();  // at state 0: back to the identity
  ExpectPlaced({1, 2, 3}, {1, 2, 3});
}

TEST_F(TransformTest, TransformCommands) {
  device3D = &d;
  NumArray<f32> values, square;
  values.Redim(16);
  for (i32 i = 0; i < 16; ++i) values.data[i] = i % 5 == 0 ? 1.0f : 0.0f;
  values.data[13] = 7;  // column-major: a translation along y
  square.Redim(4, 4);
  MultMatrixCommand(values);
  MultMatrixCommand(square);
  ExpectPlaced({0, 0, 0}, {0, 7, 0});
  SetScaleCommand(2, 2, 2);  // the restart drops the matrix
  PushStateCommand();
  SetPositionCommand(1, 0, 0);
  device3D = nullptr;
  ExpectPlaced({1, 0, 0}, {4, 0, 0});
}

TEST(Camera, ProjectionSetUp) {
  OpenGLRainbows gfx;
  GetRenderTarget().Resize(0, 32, 16, 0);
  gfx.SetViewport(0, 0, 0, 0);
  Rainbows3D device(&gfx);
  SoftRenderContext& renderer = GetSoftRenderContext();
  for (const auto& [fov, tangent] : {Pair{84, 57.28996f}, Pair{85, 57.28996f}, Pair{60, 2.1445069f}}) {
    device.SetProjection(1, 100, fov);
    EXPECT_NEAR(tangent, device.fovTangent, 1e-4f) << fov;
  }
  EXPECT_EQ(1u, renderer.depthTestEnabled);
  EXPECT_FALSE(renderer.HasTexture());
  const i32* view = renderer.modelView[renderer.modelViewIndex];
  for (i32 i = 0; i < 16; ++i) EXPECT_NEAR(i % 5 == 0 ? 0x10000 : 0, view[i], 2) << i;
  // The unwidened 60 degrees: cot 30 / aspect (32 / 16).
  EXPECT_NEAR(0x10000 * 1.7320508f / 2, renderer.projection[0], 200);
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
