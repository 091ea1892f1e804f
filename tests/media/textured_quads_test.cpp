// Textured polygons and sprite quads, checked at the renderer's float-mesh entry: the mode,
// count, layout flags and every float, and the texture the renderer is left holding.
#include "media/textured_quads.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <vector>

#include "render/float_mesh.h"
#include "render/soft_render_context.h"
#include "tests/media/device_fixture.h"

namespace {

class TexturedQuads : public DeviceTest {
 protected:
  void SetUp() override {
    DeviceTest::SetUp();
    ResetSubmittedFloatMesh();
    GetSoftRenderContext().SetTexture(nullptr, 0, 0);
    // A 64 x 32 sheet of 16 x 16 frames, one transparent pixel in the first.
    Rows sheet(32, std::string(64, 'A'));
    sheet[0][0] = '.';
    PutSprite(3, sheet);
    gfx->SetSpriteFrameSize(3, 16, 16);
  }
  const SubmittedFloatMesh& Mesh() { return LastSubmittedFloatMesh(); }
  const SoftRenderContext& Renderer() { return GetSoftRenderContext(); }
};

void ExpectFloats(const std::vector<f32>& expected, const std::vector<f32>& actual) {
  ASSERT_EQ(expected.size(), actual.size());
  for (size_t i = 0; i < expected.size(); ++i) EXPECT_FLOAT_EQ(expected[i], actual[i]) << i;
}

TEST_F(TexturedQuads, PolygonVerticesTakeTexelCoordinatesUpwardFromTheLogicalHeight) {
  gfx->blendAlpha = 0.5f;
  BeginTexturedPolygon(gfx.get(), 3);
  EXPECT_EQ(gfx->Sprite(3)->pixels, Renderer().texture);
  EXPECT_EQ(64, Renderer().textureWidth);
  EXPECT_EQ(gfx->Sprite(3)->colourKey, Renderer().colourKey);
  EXPECT_EQ(1, Renderer().colourKeyEnabled);
  AddPolyVertex(gfx.get(), 10, 20, 32.0f, 0.0f, 0x00FF8000);
  AddPolyVertex(gfx.get(), -5, 7, 16.0f, 8.0f, kDefaultTransparentColour);
  AddPolyVertex(gfx.get(), 0, 0, 0.0f, 32.0f, 0x018000FF);  // the top byte makes it differ
  EndTexturedPolygon();
  EXPECT_EQ(1, Mesh().submissions);
  EXPECT_EQ(kMeshTriangleFan, Mesh().mode);
  EXPECT_EQ(3, Mesh().count);
  EXPECT_EQ(1u, Mesh().textured);
  EXPECT_EQ(1u, Mesh().coloured);
  EXPECT_EQ(1u, Mesh().hasColourSlot);
  EXPECT_EQ(0u, Mesh().hasZ);
  EXPECT_EQ(0u, Mesh().lit);
  ExpectFloats({10,
                20,
                0.5f,
                1.0f,
                0,
                128 / 255.0f,
                1,
                0.5f,  //
                -5,
                7,
                0.25f,
                0.75f,
                1,
                0,
                128 / 255.0f,
                0,  // the transparent colour
                0,
                0,
                0,
                0,
                1,
                0,
                128 / 255.0f,
                0.5f},
               Mesh().data);

  // A sprite being drawn into: logical height 30 in a 32-high texture.
  CreateOffscreenSprite(gfx.get(), 0, 4, 100, 30);
  BeginTexturedPolygon(gfx.get(), 4);
  AddPolyVertex(gfx.get(), 0, 0, 64.0f, 0.0f, 0);
  EndTexturedPolygon();
  ExpectFloats({0, 0, 0.5f, 30.0f / 32.0f, 0, 0, 0, 0.5f}, Mesh().data);
}

TEST_F(TexturedQuads, PolygonsWithoutAUsableTextureAreDrawnUntextured) {
  for (i32 sprite : {-1, 5, 70000, INT32_MIN}) {  // none, an empty slot, no such slot
    ResetSubmittedFloatMesh();
    GetSoftRenderContext().SetTexture(gfx->Sprite(3)->pixels, 64, 32);
    BeginTexturedPolygon(gfx.get(), sprite);
    EXPECT_EQ(nullptr, Renderer().texture) << sprite;
    for (i32 i = 0; i < 3; ++i) AddPolyVertex(gfx.get(), i, i * 2, 7.0f, 9.0f, 0x0000FF);
    EndTexturedPolygon();
    EXPECT_EQ(3, Mesh().count) << sprite;
    EXPECT_EQ(0u, Mesh().textured) << sprite;
    EXPECT_EQ(1u, Mesh().coloured);
    ASSERT_EQ(24u, Mesh().data.size());
    for (f32 value : Mesh().data) EXPECT_TRUE(std::isfinite(value)) << sprite;
    EXPECT_FLOAT_EQ(4.0f, Mesh().data[17]);  // y of the third vertex
    EXPECT_FLOAT_EQ(1.0f, Mesh().data[20]);  // its red
  }
  BeginTexturedPolygon(gfx.get(), 3);  // an empty list is still submitted
  EndTexturedPolygon();
  EXPECT_EQ(0, Mesh().count);
}

TEST_F(TexturedQuads, ARendererTextureNeverOutlivesTheSpritePixels) {
  BeginTexturedPolygon(gfx.get(), 3);
  AddPolyVertex(gfx.get(), 0, 0, 0.0f, 0.0f, 0);
  gfx->ClearSprite(3);  // freed while selected
  EXPECT_EQ(nullptr, Renderer().texture);
  EndTexturedPolygon();
  EXPECT_EQ(0u, Mesh().textured);
  EXPECT_EQ(nullptr, Renderer().texture);

  PutSprite(3, {"AB", "CD"});
  BeginTexturedPolygon(gfx.get(), 3);
  gfx->GrabSprite(3, 0, 0, 4, 4);  // rebuilt with new pixels while selected
  EXPECT_EQ(nullptr, Renderer().texture);
  EndTexturedPolygon();
  EXPECT_EQ(gfx->Sprite(3)->pixels, Renderer().texture);  // selected afresh
  EXPECT_EQ(4, Renderer().textureWidth);
  EXPECT_EQ(1u, Mesh().textured);

  PutSprite(6, {"EF"});
  SelectSpriteTexture(gfx.get(), 3, 1, 2);  // the two trailing arguments are not used
  gfx->ClearSprite(6);                      // another sprite: the texture stays
  EXPECT_EQ(gfx->Sprite(3)->pixels, Renderer().texture);
  gfx.reset();  // the device goes with its sprites
  EXPECT_EQ(nullptr, Renderer().texture);
  EndTexturedPolygon();
  EXPECT_EQ(0u, Mesh().textured);
}

TEST_F(TexturedQuads, FrameQuadCoversTheRectangleAndItsLastPixel) {
  DrawSpriteQuadFrame(gfx.get(), 3, 5, 10, 20, 30, 40);  // column 1, row 1
  EXPECT_EQ(kMeshTriangleFan, Mesh().mode);
  EXPECT_EQ(4, Mesh().count);
  EXPECT_EQ(1u, Mesh().textured);
  EXPECT_EQ(0u, Mesh().coloured);
  EXPECT_EQ(0u, Mesh().hasColourSlot);
  ExpectFloats({10, 20, 0.25f, 0.5f, 10, 60.1f, 0.25f, 0.0f,  //
                40.1f, 60.1f, 0.5f, 0.0f, 40.1f, 20, 0.5f, 0.5f},
               Mesh().data);
  EXPECT_EQ(gfx->Sprite(3)->pixels, Renderer().texture);
  DrawSpriteQuadFrame(gfx.get(), 3, 2, 0, 0, 16, 16);  // the top row of frames: v 0.5 to 1
  ExpectFloats(
      {0, 0, 0.5f, 1.0f, 0, 16.1f, 0.5f, 0.5f, 16.1f, 16.1f, 0.75f, 0.5f, 16.1f, 0, 0.75f, 1.0f},
      Mesh().data);
}

TEST_F(TexturedQuads, RotoZoomQuadTurnsAboutTheFrameCentreWithHalfTexelInsets) {
  DrawSpriteQuadRotoZoom(gfx.get(), 3, 0, 10, 20, 0.0f, 1.0f);
  const f32 uL = 0.5f / 64, uR = uL + 0.25f - 1.0f / 64;
  const f32 vB = 0.5f + 0.5f / 32, vT = vB + 0.5f - 1.0f / 32;
  EXPECT_EQ(4, Mesh().count);
  EXPECT_EQ(1u, Mesh().textured);
  ExpectFloats({10, 20, uL, vT, 10, 36, uL, vB, 26, 36, uR, vB, 26, 20, uR, vT}, Mesh().data);

  DrawSpriteQuadRotoZoom(gfx.get(), 3, 0, 10, 20, 90.0f, 2.0f);  // a quarter turn, doubled
  const std::vector<f32>& d = Mesh().data;
  const f32 corners[4][2] = {{2, 44}, {34, 44}, {34, 12}, {2, 12}};
  for (i32 k = 0; k < 4; ++k) {
    EXPECT_NEAR(corners[k][0], d[k * 4], 1e-4) << k;
    EXPECT_NEAR(corners[k][1], d[k * 4 + 1], 1e-4) << k;
  }
}

TEST_F(TexturedQuads, QuadsOfSpritesWithoutPixelsOrFramesDrawNothing) {
  constexpr f32 kNaN = std::numeric_limits<f32>::quiet_NaN();
  PutSprite(7, {"AB"});                // no frame size
  gfx->SetSpriteFrameSize(8, 16, 16);  // a frame size, but no pixels (loaded size -1)
  struct Case {
    i32 sprite;
    f32 angle, scale;
  };
  for (const Case& c :
       {Case{7, 0, 1}, Case{8, 0, 1}, Case{-1, 0, 1}, Case{65536, 0, 1}, Case{3, kNaN, 1},
        Case{3, 0, kNaN}, Case{3, 0, std::numeric_limits<f32>::infinity()}}) {
    DrawSpriteQuadRotoZoom(gfx.get(), c.sprite, 0, 0, 0, c.angle, c.scale);
    if (std::isfinite(c.angle) && std::isfinite(c.scale)) {
      DrawSpriteQuadFrame(gfx.get(), c.sprite, 0, 0, 0, 8, 8);
    }
    EXPECT_EQ(0, Mesh().submissions) << c.sprite;
  }
  DrawSpriteQuadFrame(gfx.get(), 3, 9, INT32_MAX, INT32_MIN, INT32_MAX, 1);  // far out, finite
  for (f32 value : Mesh().data) EXPECT_TRUE(std::isfinite(value));
}

}  // namespace
