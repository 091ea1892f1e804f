// Textured polygons and sprite quads drawn through the renderer, checked pixel by pixel. Texture
// coordinates scale by the texture's width and height less one, so a sprite's first row in memory
// and its last column are never sampled; key texels leave their pixels as they were.
#include "media/textured_quads.h"

#include <gtest/gtest.h>

#include <limits>
#include <tuple>

#include "render/soft_render_context.h"
#include "tests/media/media_test_util.h"

namespace {

class TexturedQuads : public DeviceTest {
 protected:
  void SetUp() override {
    Reset(12, 10);
    gfx->SetTransparentColour(0x00FF00);
    PutSprite(3, {"ABCD", "EFGH", "IJ.L", "MNOP"});  // '.' is the key
    gfx->SetSpriteFrameSize(3, 4, 4);
  }
  // A polygon over the square (1, 1)-(9, 9) with the sprite's texels 0..4 across and down.
  void DrawSquarePolygon(i32 sprite, u32 colour) {
    BeginTexturedPolygon(gfx.get(), sprite);
    for (auto [x, y] : {std::pair{1, 1}, {1, 9}, {9, 9}, {9, 1}}) {
      AddPolyVertex(gfx.get(), x, y, (x - 1) / 2.0f, (y - 1) / 2.0f, colour);
    }
    EndTexturedPolygon();
  }
  const SoftRenderContext& renderer = GetSoftRenderContext();
};

// The sprite over the square (1, 1)-(9, 9): columns 0 to 2 and rows 1 to 3 of it, the key texel
// at column 2 of row 2 left undrawn.
const Rows kSquare = {"............", ".EEEFFFGG...", ".EEEFFFGG...", ".EEEFFFGG...",
                      ".IIIJJJ.....", ".IIIJJJ.....", ".IIIJJJ.....", ".MMMNNNOO...",
                      ".MMMNNNOO...", "............"};

TEST_F(TexturedQuads, PolygonsDrawTexelsTimesTheirVertexColours) {
  DrawSquarePolygon(3, 0xFFFFFF);  // white: the texels themselves
  EXPECT_EQ(kSquare, TargetRows());
  for (i32 sprite : {-1, 5, 70000}) {  // none, an empty slot, no such slot: the vertex colour
    Reset(12, 10);
    DrawSquarePolygon(sprite, 0x000042);  // red 66 / 255 gives the red field 8, the letter H
    EXPECT_EQ(nullptr, renderer.texture) << sprite;
    EXPECT_EQ(".HHHHHHHH...", TargetRows()[5]) << sprite;
  }
}

TEST_F(TexturedQuads, ARendererTextureNeverOutlivesTheSpritePixels) {
  BeginTexturedPolygon(gfx.get(), 3);
  gfx->ClearSprite(3);  // freed while selected
  EXPECT_EQ(nullptr, renderer.texture);
  PutSprite(3, {"ABCD", "EFGH", "IJ.L", "MNOP"});
  BeginTexturedPolygon(gfx.get(), 3);
  gfx->GrabSprite(3, 0, 0, 4, 4);  // rebuilt with new pixels while selected
  EXPECT_EQ(nullptr, renderer.texture);
  PutSprite(3, {"ABCD", "EFGH", "IJ.L", "MNOP"});
  DrawSquarePolygon(3, 0xFFFFFF);
  EXPECT_EQ(gfx->Sprite(3)->pixels, renderer.texture);  // selected afresh
  PutSprite(6, {"EF"});
  gfx->ClearSprite(6);  // another sprite: the texture stays
  EXPECT_EQ(gfx->Sprite(3)->pixels, renderer.texture);
  gfx.reset();  // the device goes with its sprites
  EXPECT_EQ(nullptr, renderer.texture);
  FreshTarget(12, 10);
  EndTexturedPolygon();  // the last polygon again, without its device: untextured white
  EXPECT_EQ(0xFFFF, PixelAt(2, 2));
}

TEST_F(TexturedQuads, FrameQuadsReachOnePixelPastTheirRectangle) {
  DrawSpriteQuadFrame(gfx.get(), 3, 0, 1, 1, 8, 8);  // x + w + 0.1 covers column and row 9
  EXPECT_EQ((Rows{"............", ".EEEFFFGGG..", ".EEEFFFGGG..", ".EEEFFFGGG..", ".IIIJJJ.....",
                  ".IIIJJJ.....", ".IIIJJJ.....", ".MMMNNNOOO..", ".MMMNNNOOO..", ".MMMNNNOOO.."}),
            TargetRows());
}

// Rows of the 12-pixel-wide target: a blank one, then each row the given number of times.
Rows BlankThen(std::initializer_list<std::pair<const char*, int>> runs) {
  Rows rows{std::string(12, '.')};
  for (auto [row, n] : runs) rows.insert(rows.end(), n, row);
  return rows;
}

// Frame f of a sheet with perRow frames a row sits at column f % perRow, row f / perRow: a sheet
// 10 pixels wide holds two 4-pixel frames a row, its 2 leftover columns start none. A frame wider
// than the sheet has no whole frame a row: frame 0 starts at the left edge and the later ones reach
// past the texture, which wraps. Each frame is stretched over (1, 1)-(9, 9).
TEST_F(TexturedQuads, FramesOfASheetWithLeftoverColumns) {
  PutSprite(4, {"ABCDEFGHIJ", "ABCDEFGHIJ", "ABCDEFGHIJ", "ABCDEFGHIJ", "KLMNOPQRST", "KLMNOPQRST",
                "KLMNOPQRST", "KLMNOPQRST"});
  const struct {
    i32 frameWidth, frame;
    Rows pixels;
  } cases[] = {
      {4, 2, BlankThen({{".KKKLLMMNN..", 9}})},  // column 0 of row 1
      {4, 3, BlankThen({{".NOOOPPQQR..", 9}})},  // column 1 of row 1, from one texel early
      {16, 0, BlankThen({{".ABDFHIBDF..", 7}, {".KLNPRSLNP..", 2}})},
      {16, 1, BlankThen({{".FHABDFHIB..", 7}, {".PRKLNPRSL..", 2}})},
  };
  for (const auto& c : cases) {
    Reset(12, 10);
    gfx->SetSpriteFrameSize(4, c.frameWidth, 4);
    DrawSpriteQuadFrame(gfx.get(), 4, c.frame, 1, 1, 8, 8);
    EXPECT_EQ(c.pixels, TargetRows()) << c.frameWidth << " wide, frame " << c.frame;
  }
}

TEST_F(TexturedQuads, RotoZoomQuadsTurnAboutTheFrameCentre) {
  // Unturned and unscaled: the frame's rectangle at (4, 3), texels inset by half a texel.
  DrawSpriteQuadRotoZoom(gfx.get(), 3, 0, 4, 3, 0.0f, 1.0f);
  const Rows unturned = TargetRows();
  EXPECT_EQ((Rows{"....EEFG....", "....EEFG....", "....IIJ.....", "....MMNO...."}),
            (Rows{unturned.begin() + 3, unturned.begin() + 7}));
  Reset(12, 10);
  // A quarter turn, doubled: the sprite's top row runs up the left side.
  DrawSpriteQuadRotoZoom(gfx.get(), 3, 0, 4, 3, 90.0f, 2.0f);
  EXPECT_EQ((Rows{"............", "..GGG...OO..", "..GGG...OO..", "..GGG...OO..", "..FFFJJJNN..",
                  "..FFFJJJNN..", "..FFFJJJNN..", "..EEEIIIMM..", "..EEEIIIMM..", "............"}),
            TargetRows());
}

TEST_F(TexturedQuads, QuadsOfSpritesWithoutPixelsOrFramesOrPositionDrawNothing) {
  constexpr f32 kNaN = std::numeric_limits<f32>::quiet_NaN();
  constexpr f32 kInf = std::numeric_limits<f32>::infinity();
  PutSprite(7, {"AB"});                // no frame size
  gfx->SetSpriteFrameSize(8, 16, 16);  // a frame size, but no pixels
  for (auto [sprite, angle, scale] :
       {std::tuple{7, 0.0f, 1.0f}, {8, 0.0f, 1.0f}, {3, kNaN, 1.0f}, {3, 0.0f, kInf}}) {
    DrawSpriteQuadRotoZoom(gfx.get(), sprite, 0, 0, 0, angle, scale);
    if (sprite != 3) DrawSpriteQuadFrame(gfx.get(), sprite, 0, 0, 0, 8, 8);
    EXPECT_EQ(Rows(10, std::string(12, '.')), TargetRows()) << sprite;
  }
}

}  // namespace
