// The 3D device's start state, its transform stack against hand-computed placements, and the
// camera's projection set-up.
#include <gtest/gtest.h>

#include <array>
#include <cmath>
#include <memory>

#include "core/runtime_globals.h"
#include "media/graphics_device.h"
#include "media/render_target.h"
#include "render/soft_render_context.h"
#include "scene3d/rainbows3d.h"
#include "scene3d/transform_commands.h"

namespace {

using Vec = std::array<f32, 3>;

class TransformTest : public testing::Test {
 protected:
  // The point as the current state's composed model matrix places it.
  Vec Place(Vec p) {
    device->UpdateModelMatrix();
    const f32* m = device->CurrentState().model;
    return {m[0] * p[0] + m[4] * p[1] + m[8] * p[2] + m[12],
            m[1] * p[0] + m[5] * p[1] + m[9] * p[2] + m[13],
            m[2] * p[0] + m[6] * p[1] + m[10] * p[2] + m[14]};
  }
  void ExpectPlaced(Vec p, Vec expected) {
    const Vec got = Place(p);
    for (i32 i = 0; i < 3; ++i) EXPECT_NEAR(expected[i], got[i], 1e-5f) << "component " << i;
  }
  static std::array<f32, 16> Rotation(TransformRecord record) {
    std::array<f32, 16> m{};
    EXPECT_TRUE(RotationMatrix(record, m.data()));
    return m;
  }

  std::unique_ptr<Rainbows3D> device = std::make_unique<Rainbows3D>(nullptr);
};

TEST_F(TransformTest, TheDeviceStartsDefined) {
  EXPECT_EQ(4096, device->objects.count);
  EXPECT_EQ(4224, device->objects.capacity);
  EXPECT_EQ(0, device->stackIndex);
  EXPECT_EQ(2, device->normalMode);
  EXPECT_EQ(-1, device->buildingSlot);
  EXPECT_EQ(1u, device->stack[0].matrixValid);
  EXPECT_EQ(0, device->stack[0].recordCount + device->stack[0].matrixCount);
  EXPECT_EQ(Vec({1, 1, 1}),
            Vec({device->stack[0].scale[0], device->stack[0].scale[1], device->stack[0].scale[2]}));
  ExpectPlaced({2, 3, 4}, {2, 3, 4});
  EXPECT_EQ(nullptr, device->Slot(4096));
  EXPECT_EQ(nullptr, device->Slot(-1));
}

TEST_F(TransformTest, RecordsActInOrderAfterTheScaleAndBeforeThePosition) {
  device->SetPosition(1, 0, 0);
  device->PushTransform(90, 0, 0, 1);
  ExpectPlaced({1, 0, 0}, {1, 1, 0});
  device->SetPosition(0, 0, 0);  // the restart drops the record
  device->PushTransform(90, 0, 0, 1);
  device->PushTransform(90, 1, 0, 0);
  ExpectPlaced({1, 0, 0}, {0, 0, 1});
  device->SetScale(2, 1, 1);
  device->PushTransform(90, 0, 0, 1);
  ExpectPlaced({1, 0, 0}, {0, 2, 0});
}

TEST_F(TransformTest, SingleAxisRecordsCountOnlyTheSign) {
  const f32 c = std::cos(0.5235988f), s = std::sin(0.5235988f);  // 30 degrees
  const std::array<f32, 16> aboutX = {1, 0, 0, 0, 0, c, s, 0, 0, -s, c, 0, 0, 0, 0, 1};
  const std::array<f32, 16> tiny = Rotation({30, 1e-5f, 0, 0});
  for (i32 i = 0; i < 16; ++i) EXPECT_NEAR(aboutX[i], tiny[i], 1e-6f) << i;
  EXPECT_EQ(tiny, Rotation({-30, -1e-5f, 0, 0}));
  EXPECT_EQ(Rotation({90, 0, 0, -2}), Rotation({-90, 0, 0, 1}));
  EXPECT_NEAR(-1.0f, Rotation({90, 0, 0, -2})[1], 1e-6f);  // sin(-90 degrees)
  f32 m[16];
  EXPECT_FALSE(RotationMatrix({30, 1e-5f, 0, 1e-5f}, m));  // shorter than 1e-4: skipped
  EXPECT_FALSE(RotationMatrix({45, 0, 0, 0}, m));
  // An axis of any length is normalised: 120 degrees about (1, 1, 1) cycles x -> y -> z.
  device->PushTransform(120, 3, 3, 3);
  ExpectPlaced({1, 0, 0}, {0, 1, 0});
}

TEST_F(TransformTest, TheSeventeenthRecordOrMatrixIsDroppedButRecomposes) {
  const f32 shift[16] = {1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1, 0, 1, 0, 0, 1};
  for (i32 i = 0; i < 17; ++i) device->PushTransform(0, 0, 0, 0);
  for (i32 i = 0; i < 17; ++i) device->AppendMatrix(shift);
  EXPECT_EQ(16, device->CurrentState().recordCount);
  EXPECT_EQ(16, device->CurrentState().matrixCount);
  EXPECT_EQ(0u, device->CurrentState().matrixValid);
  ExpectPlaced({0, 0, 0}, {16, 0, 0});
}

TEST_F(TransformTest, AppendingAfterACompositionAppliesEverythingAgain) {
  device->SetPosition(1, 0, 0);
  ExpectPlaced({0, 0, 0}, {1, 0, 0});
  device->PushTransform(45, 0, 0, 0);  // changes nothing itself, but recomposes
  ExpectPlaced({0, 0, 0}, {2, 0, 0});
}

TEST_F(TransformTest, ChildStatesStartFromTheParentAndPopBack) {
  device->SetPosition(1, 0, 0);
  device->PushTransform(90, 0, 1, 0);
  device->PushState();
  device->SetPosition(0, 0, 5);  // the child restarts from the parent's composed matrix
  ExpectPlaced({0, 0, 0}, {6, 0, 0});
  for (i32 i = 0; i < 20; ++i) device->PushState();
  EXPECT_EQ(15, device->stackIndex);
  device->PopState();
  EXPECT_EQ(14, device->stackIndex);
  device->stackIndex = 0;
  device->PopState();  // at state 0: back to the identity
  EXPECT_EQ(0, device->stackIndex);
  ExpectPlaced({1, 2, 3}, {1, 2, 3});
}

TEST_F(TransformTest, MultMatrixCommandTakesOnlySixteenElementLists) {
  device3D = device.get();
  NumArray<f32> values;
  values.Redim(16);
  for (i32 i = 0; i < 16; ++i) values.data[i] = (i % 5 == 0) ? 1.0f : 0.0f;
  values.data[13] = 7;  // column-major: a translation along y
  MultMatrixCommand(values);
  NumArray<f32> square;
  square.Redim(4, 4);
  MultMatrixCommand(square);
  EXPECT_EQ(1, device->CurrentState().matrixCount);
  ExpectPlaced({0, 0, 0}, {0, 7, 0});
  SetScaleCommand(2, 2, 2);  // the restart drops the matrix
  PushStateCommand();
  SetPositionCommand(1, 0, 0);
  device3D = nullptr;
  EXPECT_EQ(1, device->stackIndex);
  ExpectPlaced({1, 0, 0}, {4, 0, 0});
}

TEST(Camera, ProjectionSetUp) {
  OpenGLRainbows gfx;
  GetRenderTarget().Resize(0, 32, 16, 0);
  gfx.SetViewport(0, 0, 0, 0);
  Rainbows3D device(&gfx);
  SoftRenderContext& renderer = GetSoftRenderContext();
  const std::array<std::array<f32, 2>, 3> fovs = {
      {{84, 57.28996f}, {85, 57.28996f}, {60, 2.1445069f}}};
  for (const auto& [fov, tangent] : fovs) {
    device.SetProjection(1, 100, fov);
    EXPECT_NEAR(tangent, device.fovTangent, 1e-4f) << fov;
  }
  EXPECT_EQ(1u, renderer.depthTestEnabled);
  EXPECT_EQ(VertexPipeline::kCullNone, renderer.pipeline.cullMode);
  EXPECT_FALSE(renderer.HasTexture());
  const i32* view = renderer.modelView[renderer.modelViewIndex];
  for (i32 i = 0; i < 16; ++i) EXPECT_NEAR(i % 5 == 0 ? 0x10000 : 0, view[i], 2) << i;
  // The projection takes the unwidened 60 degrees: cot 30 / aspect (32 / 16).
  EXPECT_NEAR(0x10000 * 1.7320508f / 2, renderer.projection[0], 200);
  const std::array<std::array<i32, 2>, 4> culls = {{{1, 1}, {-1, 2}, {0, 0}, {2, 0}}};
  for (const auto& [mode, pipelineMode] : culls) {
    device.SetCullMode(mode);
    EXPECT_EQ(pipelineMode, renderer.pipeline.cullMode) << mode;
  }
  device.SetUpVector(0, 0, 1);  // the view changes only with the next camera placement
  EXPECT_NEAR(0x10000, view[5], 2);
  device.ResetState(0, 0, 0, 0, 1, 0);  // looking along +y with +z up
  const i32 rows[12] = {0x10000, 0, 0, 0, 0, 0, 0x10000, 0, 0, -0x10000, 0, 0};
  for (i32 i = 0; i < 12; ++i) EXPECT_NEAR(rows[i], view[i], 2) << i;
}

}  // namespace
