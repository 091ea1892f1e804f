// Fonts (the built-in picture, cutting pictures into glyph grids, loading, drawing text) and
// drawing into sprites (texture sizes, the round trip through the screen's top-left area,
// nesting, the restored screen).
#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <climits>
#include <vector>

#include "media/bmp_image.h"
#include "media/builtin_font.h"
#include "media/font.h"
#include "media/graphics_device.h"
#include "tests/media/media_test_util.h"
#include "tests/support/test_support.h"

namespace {

TEST(FontPictures, TheBuiltInPictureAndCellSizesThatFollowThePictureShape) {
  OwnedRgbaImage image;
  ASSERT_TRUE(BuildDefaultFontBitmap(image.image));
  ASSERT_EQ(128 * 64, image.image.width * image.image.height);
  u32 hash = 0x811C9DC5u;  // FNV-1a of every byte, from a rendering made apart from this code
  for (i32 i = 0; i < 128 * 64 * 4; ++i) hash = (hash ^ image.image.rgba[i]) * 0x01000193u;
  EXPECT_EQ(0x22d684fcu, hash);
  Font font;
  LoadDefaultFontInto(font);
  EXPECT_EQ(0xFFFF, font.glyphs['!'].pixels[2 * 8 + 3]);
  EXPECT_EQ(0x0000, font.glyphs['!'].colourKey);  // glyphs are cut with key 0
  for (auto [w, h, result, count, cw, ch] :
       {std::array{128, 256, 1, 256, 8, 16}, {100, 50, 1, 128, 6, 6}, {128, 128, 1, 128, 8, 16},
        {15, 100, 0, 128, 0, 0}, {40000, 16, 0, 128, 0, 0}, {16, 7, 0, 128, 0, 0}}) {
    OwnedRgbaImage picture;
    MakePicture(picture.image, w, h, 200, 100, 50, 255);
    Font font;
    EXPECT_EQ(result, font.FromImage(picture.image)) << w << "x" << h;
    EXPECT_EQ((std::array{count, cw, ch}),
              (std::array<i32, 3>{font.glyphCount, font.charWidth, font.glyphs[count - 1].height}))
        << w << "x" << h;
  }
}

// A BMP of 16 x 8 one-pixel glyphs, each in its own colour (glyph 112 in the key colour): one
// glyph per byte, advancing by the cell width; a failed load leaves an empty font.
TEST(FontFile, LoadsWithTheKeyDrawsByCellsAndFailsToAnEmptyFont) {
  auto colour = [](i32 i) {
    return std::array<u8, 3>{8, u8(i / 32 * 4), u8(i % 32 * 8)};
  };  // B, G, R
  const i32 rowBytes = Bmp24RowBytes(16);
  std::vector<u8> rows(static_cast<size_t>(rowBytes) * 8);  // bottom row first
  for (i32 i = 0; i < 128; ++i) {
    const std::array<u8, 3> bgr = i == 112 ? std::array<u8, 3>{255, 0, 255} : colour(i);
    std::copy(bgr.begin(), bgr.end(), rows.begin() + (7 - i / 16) * rowBytes + i % 16 * 3);
  }
  ScopedTempDir dir;
  ASSERT_EQ(1, SaveBmp24(dir.File("f.bmp").c_str(), 16, 8, rows.data()));
  Font font;
  ASSERT_EQ(1, font.Load(dir.File("f.bmp").c_str(), 0x00FF00FF));
  EXPECT_EQ(1, font.glyphs[112].hasKey);
  FreshTarget(6, 1);
  const u8 text[] = {200, 'A', 10, 13, 0};
  font.DrawText(text, 1, 0);
  std::vector<u16> expected = {0};
  for (i32 i : {72, i32{'A'}, 10, 13})
    expected.push_back(RgbToPixel(colour(i)[2], colour(i)[1], 8));
  expected.push_back(0);
  EXPECT_EQ(expected,
            std::vector<u16>(GetRenderTarget().colourBuffer, GetRenderTarget().colourBuffer + 6));
  EXPECT_EQ(0, font.Load(dir.File("absent.png").c_str(), 0));
  EXPECT_EQ(0, font.charWidth);
  EXPECT_EQ(nullptr, font.glyphs['A'].pixels);
  FreshTarget(8, 8);
  font.DrawText(reinterpret_cast<const u8*>("AAAA"), 0, 0);
  font.DrawText(nullptr, 0, 0);
  EXPECT_EQ(Rows(8, "........"), TargetRows());
}

using OffscreenDrawing = DeviceTest;

TEST_F(OffscreenDrawing, SpritesGetPowerOfTwoTexturesAndKeepTheirLogicalSize) {
  for (auto [w, h, tw, th] : {std::array{100, 30, 128, 32}, {0, 0, 2, 2}, {2, 3, 2, 4},
                              {64, 65, 64, 128}, {16385, 1, 0, 0}, {1, 40000, 0, 0},
                              {-1, 4, 0, 0}, {INT_MAX, 1, 0, 0}}) {  // 0: refused
    PutSprite(7, {"AB"});
    gfx->offscreen[3].sprite = 0;
    CreateOffscreenSprite(gfx.get(), 3, 7, w, h);
    const SpriteInfo& info = *gfx->Info(7);
    const Surface& surface = *gfx->Sprite(7);
    if (tw == 0) {  // the sprite is left as it was
      EXPECT_EQ((Rows{"AB"}), SurfaceRows(surface)) << w << "x" << h;
      EXPECT_EQ(0, gfx->offscreen[3].sprite);
      continue;
    }
    EXPECT_EQ(7, gfx->offscreen[3].sprite);
    EXPECT_EQ((std::array{tw, th, w, h, tw, th}),
              (std::array<i32, 6>{info.loadedWidth, info.loadedHeight, info.width, info.height,
                                  surface.width, surface.height}));
    EXPECT_EQ(tw * th, std::count(surface.pixels, surface.pixels + tw * th, surface.colourKey));
  }
}

// The screen's pixels of the transparent colour come back black; everything else unchanged.
TEST_F(OffscreenDrawing, RoundTripsRestoreTheScreenAndLeaveTheDrawingInTheSprite) {
  const Rows screen = {"ABCDEFGH", "IJKLMNOP", "QRSTUVWX", "YZABCDEF"};
  Rows restored = screen;
  restored[0][1] = '.';
  Reset(8, 4);
  PaintTarget(screen);
  gfx->SetTransparentColour(LetterRed('B'));  // a program's own transparent colour
  CreateOffscreenSprite(gfx.get(), 0, 5, 3, 2);
  CreateOffscreenSprite(gfx.get(), 1, 6, 2, 2);
  auto fill = [](i32 x, i32 y, i32 w, i32 h, char c) { FillRect(x, y, w, h, LetterRed(c)); };
  BeginOffscreenDraw(gfx.get(), 0);  // a canvas of the transparent colour, drawn clipped
  fill(1, 0, 10, 1, 'Z');
  SetPixel(0, 1, LetterRed('Y'));
  EndOffscreenDraw(gfx.get());
  EXPECT_EQ(restored, TargetRows());
  EXPECT_EQ(8, GetRenderTarget().viewportWidth);
  EXPECT_EQ((Rows{".ZZ", "Y.."}), SurfaceRows(*gfx->Sprite(5)));
  EXPECT_EQ(3, gfx->Info(5)->loadedWidth);  // the capture replaced the texture with the canvas

  BeginOffscreenDraw(gfx.get(), 0);  // again: starts from what the sprite holds
  fill(0, 0, 1, 1, 'X');
  BeginOffscreenDraw(gfx.get(), 1);  // another slot ends the first
  EXPECT_EQ(1, gfx->currentOffscreen);
  EXPECT_EQ((Rows{"XZZ", "Y.."}), SurfaceRows(*gfx->Sprite(5)));
  EXPECT_EQ('C', PixelLetter(PixelAt(2, 0)));  // slot 0's canvas is already restored
  fill(0, 0, 2, 2, 'W');
  BeginOffscreenDraw(gfx.get(), 1);  // the same slot again: the saved screen stays
  EndOffscreenDraw(gfx.get());
  EXPECT_EQ((Rows{"WW", "WW"}), SurfaceRows(*gfx->Sprite(6)));
  EXPECT_EQ(restored, TargetRows());

  BeginOffscreenDraw(gfx.get(), 0);
  gfx.reset();  // destroying the device ends the drawing too
  EXPECT_EQ(restored, TargetRows());
}

}  // namespace
