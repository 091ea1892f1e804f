// Textured polygons and sprite quads, checked at the renderer's float-mesh entry: the mode,
// count, layout flags and floats, and the texture the renderer is left holding.
#include "media/textured_quads.h"

#include <gtest/gtest.h>

#include <limits>
#include <tuple>
#include <vector>

#include "render/float_mesh.h"
#include "render/soft_render_context.h"
#include "tests/media/media_test_util.h"

namespace {

class TexturedQuads : public DeviceTest {
 protected:
  void SetUp() override {
    DeviceTest::SetUp();
    ResetSubmittedFloatMesh();
    gfx->SetTransparentColour(0x00FF00);
    Rows sheet(32, std::string(64, 'A'));  // 64 x 32 in frames of 16 x 16
    sheet[0][0] = '.';
    PutSprite(3, sheet);
    gfx->SetSpriteFrameSize(3, 16, 16);
  }
  // Mode, count and the textured, coloured and colour-slot flags, then the floats.
  void ExpectMesh(std::vector<u32> head, const std::vector<f32>& floats) {
    EXPECT_EQ(head, (std::vector<u32>{u32(mesh.mode), u32(mesh.count), mesh.textured,
                                      mesh.coloured, mesh.hasColourSlot}));
    ASSERT_EQ(floats.size(), mesh.data.size());
    for (size_t i = 0; i < floats.size(); ++i) EXPECT_NEAR(floats[i], mesh.data[i], 1e-5) << i;
  }
  const SubmittedFloatMesh& mesh = LastSubmittedFloatMesh();
  const SoftRenderContext& renderer = GetSoftRenderContext();
};

TEST_F(TexturedQuads, PolygonVerticesTakeTexelCoordinatesUpwardFromTheLogicalHeight) {
  gfx->blendAlpha = 0.5f;
  BeginTexturedPolygon(gfx.get(), 3);
  EXPECT_EQ(gfx->Sprite(3)->pixels, renderer.texture);
  EXPECT_EQ(gfx->Sprite(3)->colourKey, renderer.colourKey);
  AddPolyVertex(gfx.get(), 10, 20, 32.0f, 0.0f, 0x00FF8000);
  AddPolyVertex(gfx.get(), -5, 7, 16.0f, 8.0f, 0x00FF00);  // the transparent colour: alpha 0
  EndTexturedPolygon();
  const f32 half = 128 / 255.0f;
  ExpectMesh({6, 2, 1, 1, 1}, {10, 20, 0.5f, 1.0f, 0, half, 1, 0.5f,  //
                               -5, 7, 0.25f, 0.75f, 0, 1, 0, 0});

  CreateOffscreenSprite(gfx.get(), 0, 4, 100, 30);  // logical height 30 of a 32-high texture
  BeginTexturedPolygon(gfx.get(), 4);
  AddPolyVertex(gfx.get(), 0, 0, 64.0f, 0.0f, 0);
  EndTexturedPolygon();
  ExpectMesh({6, 1, 1, 1, 1}, {0, 0, 0.5f, 30.0f / 32.0f, 0, 0, 0, 0.5f});

  for (i32 sprite : {-1, 5, 70000}) {  // none, an empty slot, no such slot: untextured
    BeginTexturedPolygon(gfx.get(), sprite);
    EXPECT_EQ(nullptr, renderer.texture) << sprite;
    AddPolyVertex(gfx.get(), 1, 2, 7.0f, 9.0f, 0x0000FF);
    EndTexturedPolygon();
    ExpectMesh({6, 1, 0, 1, 1}, {1, 2, 0, 0, 1, 0, 0, 0.5f});
  }
}

TEST_F(TexturedQuads, ARendererTextureNeverOutlivesTheSpritePixels) {
  BeginTexturedPolygon(gfx.get(), 3);
  AddPolyVertex(gfx.get(), 0, 0, 0.0f, 0.0f, 0);
  gfx->ClearSprite(3);  // freed while selected
  EXPECT_EQ(nullptr, renderer.texture);
  EndTexturedPolygon();
  EXPECT_EQ(0u, mesh.textured);
  EXPECT_EQ(nullptr, renderer.texture);

  PutSprite(3, {"AB", "CD"});
  BeginTexturedPolygon(gfx.get(), 3);
  gfx->GrabSprite(3, 0, 0, 4, 4);  // rebuilt with new pixels while selected
  EXPECT_EQ(nullptr, renderer.texture);
  EndTexturedPolygon();
  EXPECT_EQ(gfx->Sprite(3)->pixels, renderer.texture);  // selected afresh
  EXPECT_EQ(1u, mesh.textured);

  PutSprite(6, {"EF"});
  gfx->ClearSprite(6);  // another sprite: the texture stays
  EXPECT_EQ(gfx->Sprite(3)->pixels, renderer.texture);
  gfx.reset();  // the device goes with its sprites
  EXPECT_EQ(nullptr, renderer.texture);
  EndTexturedPolygon();
  EXPECT_EQ(0u, mesh.textured);
}

TEST_F(TexturedQuads, FrameQuadsCoverTheirRectangleAndLastPixel) {
  DrawSpriteQuadFrame(gfx.get(), 3, 6, 10, 20, 30, 40);  // column 2, row 1
  ExpectMesh({6, 4, 1, 0, 0}, {10, 20, 0.5f, 0.5f, 10, 60.1f, 0.5f, 0.0f,  //
                               40.1f, 60.1f, 0.75f, 0.0f, 40.1f, 20, 0.75f, 0.5f});
  EXPECT_EQ(gfx->Sprite(3)->pixels, renderer.texture);
}

TEST_F(TexturedQuads, RotoZoomQuadsTurnAboutTheFrameCentreWithHalfTexelInsets) {
  DrawSpriteQuadRotoZoom(gfx.get(), 3, 0, 10, 20, 0.0f, 1.0f);
  const f32 uL = 0.5f / 64, uR = uL + 0.25f - 1.0f / 64;
  const f32 vB = 0.5f + 0.5f / 32, vT = vB + 0.5f - 1.0f / 32;
  ExpectMesh({6, 4, 1, 0, 0}, {10, 20, uL, vT, 10, 36, uL, vB, 26, 36, uR, vB, 26, 20, uR, vT});
  DrawSpriteQuadRotoZoom(gfx.get(), 3, 0, 10, 20, 90.0f, 2.0f);  // a quarter turn, doubled
  const f32 corners[4][2] = {{2, 44}, {34, 44}, {34, 12}, {2, 12}};
  for (i32 k = 0; k < 4; ++k) {
    EXPECT_NEAR(corners[k][0], mesh.data[k * 4], 1e-4) << k;
    EXPECT_NEAR(corners[k][1], mesh.data[k * 4 + 1], 1e-4) << k;
  }
}

TEST_F(TexturedQuads, QuadsOfSpritesWithoutPixelsOrFramesOrPositionDrawNothing) {
  constexpr f32 kNaN = std::numeric_limits<f32>::quiet_NaN();
  constexpr f32 kInf = std::numeric_limits<f32>::infinity();
  PutSprite(7, {"AB"});                // no frame size
  gfx->SetSpriteFrameSize(8, 16, 16);  // a frame size, but no pixels
  for (auto [sprite, angle, scale] : {std::tuple{7, 0.0f, 1.0f}, {8, 0.0f, 1.0f},
                                      {3, kNaN, 1.0f}, {3, 0.0f, kInf}}) {
    DrawSpriteQuadRotoZoom(gfx.get(), sprite, 0, 0, 0, angle, scale);
    if (sprite != 3) DrawSpriteQuadFrame(gfx.get(), sprite, 0, 0, 0, 8, 8);
    EXPECT_EQ(0, mesh.submissions) << sprite;
  }
}

}  // namespace
