// The rasterizer's forwarding, and the rendering context's target state and clip rectangle.
#include "render/soft_render_context.h"

#include <gtest/gtest.h>

#include <array>
#include <climits>
#include <memory>
#include <tuple>
#include <vector>

#include "tests/render/recording_rasterizer.h"

namespace {

using Rect = std::array<i32, 4>;

const auto Clip = [](const auto& r) { return Rect{r.clipX0, r.clipY0, r.clipX1, r.clipY1}; };

TEST(Rasterizer, ForwardsOnlyInstalledMembers) {
  RecordingRasterizer r;
  const ClipVertex v;
  swr::IRasterizer& dispatch = r;
  dispatch.DrawTriangle(&v, &v, &v);
  r.SelectShader(4, nullptr, nullptr);  // line and point only: the triangle member stays
  EXPECT_EQ(4, dispatch.GetVaryingCount());
  dispatch.DrawLine(&v, &v), dispatch.DrawPoint(&v);
  dispatch.DrawTriangle(&v, &v, &v);
  r.SelectShader(0, nullptr, nullptr, nullptr);
  dispatch.DrawTriangle(&v, &v, &v);
  EXPECT_EQ(2u, r.calls.size());  // both triangles
}

class Context : public testing::Test {
 protected:
  void Bind(i32 width, i32 height) {
    colour.assign(width * height, 0);
    depth.assign(width * height, 0);
    ctx->BindTargets(colour.data(), depth.data(), width, height);
  }
  std::unique_ptr<SoftRenderContext> ctx = std::make_unique<SoftRenderContext>();
  std::vector<u16> colour;
  std::vector<i16> depth;
};

TEST_F(Context, BindingTargetsResetsTheirStateAndTexturesNeedPixelsAndSizes) {
  EXPECT_EQ(1, ctx->rasterizer.perspective);
  EXPECT_EQ(VertexPipeline::kCullNonPositive, ctx->pipeline.cullMode);
  ctx->SetColourKey(0x1234, 0);
  ctx->SetDepthTest(5);
  EXPECT_EQ(1u, ctx->GetDepthTest());
  ctx->currentBatch = 3;
  ctx->batches.Append(DrawBatch{});
  Bind(4, 3);
  // Key and its switch, depth test, selected batch, batch table, perspective path.
  EXPECT_EQ((std::array<i64, 6>{kRendererDefaultKey, 1, 0, -1, 0, 0}),
            (std::array<i64, 6>{ctx->colourKey, ctx->colourKeyEnabled, ctx->depthTestEnabled,
                                ctx->currentBatch, ctx->batches.capacity,
                                ctx->rasterizer.perspective}));
  std::vector<u16> other(12);
  ctx->SetTargets(other.data(), nullptr);
  EXPECT_TRUE(ctx->colourBuffer == other.data() && ctx->depthBuffer == nullptr);
  EXPECT_EQ(4, ctx->pitch);
  u16 texel = 0;
  for (auto [pixels, w, h, present] : {std::tuple{&texel, 1, 1, true}, {nullptr, 4, 4, false},
                                       {&texel, 0, 4, false}, {&texel, 4, -1, false}}) {
    ctx->SetTexture(pixels, w, h);
    EXPECT_EQ(present, ctx->HasTexture()) << w << "x" << h;
  }
}

TEST_F(Context, TheClipRectangleStaysInsideTheBoundBuffers) {
  Bind(100, 80);
  // Viewport, then the clip rectangle; the pipeline keeps the viewport as given.
  for (auto [viewport, clip] : {std::pair{Rect{-10, -20, 50, 60}, Rect{0, 0, 40, 40}},
                                {Rect{90, 70, 50, 50}, Rect{90, 70, 100, 80}},
                                {Rect{120, 90, 10, 10}, Rect{100, 80, 100, 80}},
                                {Rect{1, 1, INT_MAX, INT_MAX}, Rect{1, 1, 100, 80}}}) {
    ctx->SetViewport(viewport[0], viewport[1], viewport[2], viewport[3]);
    EXPECT_EQ(clip, Clip(ctx->rasterizer));
  }
  ctx->SetViewport(-10, -20, 50, 60);
  EXPECT_EQ((Rect{15 << 16, 10 << 16, 25, 30}),
            (Rect{ctx->pipeline.centreX, ctx->pipeline.centreY, ctx->pipeline.halfWidth,
                  ctx->pipeline.halfHeight}));
  ctx->SetViewport(0, 0, 100, 80);
  Bind(30, 20);  // a smaller target: the old rectangle shrinks with it until the next viewport
  EXPECT_EQ((Rect{0, 0, 30, 20}), Clip(ctx->rasterizer));
}

}  // namespace
