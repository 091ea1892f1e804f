// Fonts: the built-in picture, cutting pictures into glyph grids, loading, and drawing text.
#include "media/font.h"

#include <gtest/gtest.h>

#include <array>
#include <vector>

#include "media/bmp_image.h"
#include "media/builtin_font.h"
#include "media/png_image.h"
#include "tests/media/media_test_util.h"
#include "tests/support/test_support.h"

namespace {

TEST(BuiltinFont, PictureAndGlyphs) {
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
}

TEST(FontFromImage, CellSizesFollowThePictureShape) {
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

TEST(FontDrawText, OneGlyphPerByteAdvancingByTheCellWidth) {
  OwnedRgbaImage picture;  // 128 one-pixel glyphs, glyph i in its own colour
  MakePicture(picture.image, 16, 8, 0, 0, 0, 255);
  for (i32 i = 0; i < 128; ++i)
    SetPicturePixel(picture.image, i % 16, i / 16, u8(i % 32 * 8), u8(i / 32 * 4), 8, 255);
  auto glyph = [](i32 i) { return RgbToPixel(u8(i % 32 * 8), u8(i / 32 * 4), 8); };
  Font font;
  ASSERT_EQ(1, font.FromImage(picture.image));
  FreshTarget(6, 1);
  const u8 text[] = {200, 'A', 10, 13, 0};
  font.DrawText(text, 1, 0);
  const std::vector<u16> expected = {0, glyph(72), glyph('A'), glyph(10), glyph(13), 0};
  EXPECT_EQ(expected,
            std::vector<u16>(GetRenderTarget().colourBuffer, GetRenderTarget().colourBuffer + 6));
}

TEST(FontLoad, ReadsBmpThenPngAndFailsToAnEmptyFont) {
  ScopedTempDir dir;
  std::vector<u8> rows(static_cast<size_t>(Bmp24RowBytes(32)) * 16, 0x40);  // 128 glyphs of 2 x 2
  rows[0] = 0xFF, rows[1] = 0x00, rows[2] = 0xFF;  // bottom-left pixel in the key colour
  ASSERT_EQ(1, SaveBmp24(dir.File("f.bmp").c_str(), 32, 16, rows.data()));
  Font font;
  ASSERT_EQ(1, font.Load(dir.File("f.bmp").c_str(), 0x00FF00FF));
  EXPECT_EQ(2, font.charHeight);
  EXPECT_EQ(1, font.glyphs[7 * 16].hasKey);
  std::vector<u8> bgra(48 * 24 * 4, 0xFF);
  ASSERT_EQ(1, SavePng(dir.File("f.png").c_str(), bgra.data(), 48, 24));
  ASSERT_EQ(1, font.Load(dir.File("f.png").c_str(), 0x00FF00FF));
  EXPECT_EQ(3, font.charWidth);

  EXPECT_EQ(0, font.Load(dir.File("absent.png").c_str(), 0));
  EXPECT_EQ(0, font.charWidth);
  EXPECT_EQ(nullptr, font.glyphs['A'].pixels);
  FreshTarget(8, 8);
  font.DrawText(reinterpret_cast<const u8*>("AAAA"), 0, 0);
  font.DrawText(nullptr, 0, 0);
  EXPECT_EQ(Rows(8, "........"), TargetRows());
}

}  // namespace
