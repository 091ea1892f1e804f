// Projection and view matrices, the model-view stack and the float interface of the context.
#include <gtest/gtest.h>

#include <array>
#include <climits>
#include <cmath>
#include <memory>

#include "render/fixed_matrix.h"
#include "render/fixed_point.h"
#include "render/projection_matrices.h"
#include "render/soft_render_context.h"

namespace {

using Matrix = std::array<i32, 16>;

constexpr Matrix kIdentity{0x10000, 0, 0, 0, 0, 0x10000, 0, 0, 0, 0, 0x10000, 0, 0, 0, 0, 0x10000};

TEST(Matrices, ProjectionsFollowTheirFormulasAndDegenerateRangesGiveIdentity) {
  Matrix m;
  OrthoMatrix(m.data(), 0, 320 << 16, 240 << 16, 0, -0x10000, 0x10000);
  EXPECT_EQ((Matrix{0x199, 0, 0, -0x10000, 0, -0x222, 0, 0x10000, 0, 0, -0x10000, 0, 0, 0, 0,
                    0x10000}),
            m);
  FrustumMatrix(m.data(), -0x10000, 0x10000, -0x20000, 0x20000, 0x10000, 0x30000);
  EXPECT_EQ(
      (Matrix{0x10000, 0, 0, 0, 0, 0x8000, 0, 0, 0, 0, -0x20000, -0x30000, 0, 0, -0x10000, 0}), m);
  PerspectiveMatrix(m.data(), 90 << 16, 0x20000, 0x10000, 0x30000);
  // cot of 45 degrees (truncated pi / 180, table sine) over aspect 2, then the depth row.
  EXPECT_EQ((std::array{32818, 65636, -0x20000, -0x30000, -0x10000, 0}),
            (std::array{m[0], m[5], m[10], m[11], m[14], m[15]}));
  for (auto build : {+[](i32* p) { OrthoMatrix(p, 5, 5, 0, 1, 0, 1); },
                     +[](i32* p) { OrthoMatrix(p, 0, 1, 0, 1, 3, 3); },
                     +[](i32* p) { FrustumMatrix(p, 0, 1, 7, 7, 0, 1); },
                     +[](i32* p) { PerspectiveMatrix(p, 0, 0x10000, 0x10000, 0x20000); },
                     +[](i32* p) { PerspectiveMatrix(p, 60 << 16, 0x10000, 0x10000, 0x10000); },
                     +[](i32* p) { PerspectiveMatrix(p, 60 << 16, 0, 0x10000, 0x20000); }}) {
    m.fill(7);
    build(m.data());
    EXPECT_EQ(kIdentity, m);
  }
}

TEST(Matrices, FloatsConvertTruncatingAndSaturating) {
  for (auto [f, fixed] : {std::pair{1.5f, 0x18000}, {-0.5f, -0x8000}, {-1e-6f, 0}, {NAN, 0},
                          {40000.0f, INT_MAX}, {-40000.0f, INT_MIN}, {INFINITY, INT_MAX}}) {
    EXPECT_EQ(fixed, FloatToFixed(f)) << f;
  }
}

TEST(Matrices, ModelViewStackIsBoundedAndMultipliesColumnMajorFloats) {
  auto ctx = std::make_unique<SoftRenderContext>();
  ctx->LoadIdentity();
  const f32 translate[16] = {1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1, 0, 5, 6, 7, 1};
  ctx->MultMatrixFloat(translate);
  Matrix moved = kIdentity;
  moved[3] = 5 << 16, moved[7] = 6 << 16, moved[11] = 7 << 16;
  EXPECT_EQ(moved, std::to_array(ctx->modelView[0]));
  for (i32 push = 1; push <= 16; ++push) {
    ctx->PushMatrix();
    EXPECT_EQ(std::min(push, 15), ctx->modelViewIndex);
  }
  for (i32 slot = 1; slot < 16; ++slot) EXPECT_EQ(moved, std::to_array(ctx->modelView[slot]));
  ctx->LoadIdentity();  // slot 15 only
  for (i32 pop = 0; pop < 20; ++pop) ctx->PopMatrix();
  EXPECT_EQ(0, ctx->modelViewIndex);
  EXPECT_EQ(moved, std::to_array(ctx->modelView[0]));
  ctx->Ortho(0, 2, 2, 0, -1.0f, 1.0f);
  ctx->UpdateCombined();  // projection x model-view: x 5 - 1 and -(y 6) + 1
  EXPECT_EQ((std::array{4 << 16, -5 << 16}), (std::array{ctx->combined[3], ctx->combined[7]}));
}

TEST(Matrices, LookAtReplacesTheSlotAndStaysExactForFarCameras) {
  auto ctx = std::make_unique<SoftRenderContext>();
  ctx->modelView[0][5] = 99;
  ctx->LookAt(0, 0, 0, 0, 0, -1, 0, 1, 0);
  EXPECT_EQ(kIdentity, std::to_array(ctx->modelView[0]));
  // 500 units from its target: the squared length no longer fits the reciprocal square root's
  // argument, and the vector is scaled down before it is normalised.
  ctx->LookAt(300, 0, 0, 300, 0, -500, 0, 2, 0);
  const Matrix view = std::to_array(ctx->modelView[0]);
  for (i32 i = 0; i < 16; ++i) {
    const i32 expected = i == 3 ? -300 << 16 : kIdentity[i];
    EXPECT_NEAR(expected, view[i], i == 3 ? 0x4000 : 0x80) << i;
  }
}

}  // namespace
