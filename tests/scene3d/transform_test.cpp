// The 3D device's transform stack against hand-computed placements.
#include <gtest/gtest.h>

#include <array>

#include "core/runtime_globals.h"
#include "scene3d/rainbows3d.h"
#include "scene3d/transform_commands.h"

namespace {

using Vec = std::array<f32, 3>;

struct TransformTest : testing::Test {
  // Where the current state's composed model matrix places p.
  void ExpectPlaced(Vec p, Vec expected) {
    d.UpdateModelMatrix();
    const f32* m = d.CurrentState().model;
    for (i32 i = 0; i < 3; ++i) {
      EXPECT_NEAR(expected[i], m[i] * p[0] + m[4 + i] * p[1] + m[8 + i] * p[2] + m[12 + i], 1e-5f);
    }
  }
  Rainbows3D d{nullptr};
};

TEST_F(TransformTest, ScaleThenRecordsInOrderThenPosition) {
  EXPECT_EQ((std::array{4096, 4224, 2, -1}),
            (std::array{d.objects.count, d.objects.capacity, d.normalMode, d.buildingSlot}));
  ExpectPlaced({2, 3, 4}, {2, 3, 4});  // state 0 is defined before any camera is placed
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
  for (const auto& [r, expected] : records) {
    d.SetPosition(0, 0, 0);
    d.PushTransform(r.angle, r.axisX, r.axisY, r.axisZ);
    ExpectPlaced({0, 1, 0}, expected);
  }
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
  ExpectPlaced({0, 0, 0}, {16, 0, 0});
}

TEST_F(TransformTest, ChildStatesAndTheCommands) {
  device3D = &d;
  NumArray<f32> values;
  values.Redim(16);
  for (i32 i = 0; i < 16; i += 5) values.data[i] = 1.0f;
  values.data[13] = 7;  // column-major: a translation along y
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

}  // namespace
