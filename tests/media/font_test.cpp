// Fonts: the built-in picture bit by bit and as a whole, cutting pictures into glyph grids, and
// drawing text.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "media/bmp_image.h"
#include "media/builtin_font.h"
#include "media/font.h"
#include "media/png_image.h"
#include "tests/media/media_test_util.h"
#include "tests/support/test_support.h"

namespace {

using Picture = std::vector<std::string>;

// Cell of character c in the built-in picture: '#' glyph, 'o' outline, '.' transparent.
Picture BuiltinCell(const RgbaImage& image, char c) {
  const i32 k = c - 32, ox = (k % 16) * 8, oy = (2 + k / 16) * 8;
  Picture rows;
  for (i32 y = 0; y < 8; ++y) {
    std::string row;
    for (i32 x = 0; x < 8; ++x) {
      const u8* p = image.rgba + ((oy + y) * 128 + ox + x) * 4;
      if (p[3] == 0 && p[0] == 0) row += '.';
      else if (p[0] == 255 && p[1] == 255 && p[2] == 255 && p[3] == 255) row += '#';
      else if (p[0] == 8 && p[1] == 8 && p[2] == 8 && p[3] == 255) row += 'o';
      else row += '?';
    }
    rows.push_back(row);
  }
  return rows;
}

TEST(BuiltinFont, GlyphsMatchTheirBitmapsWithOutline) {
  OwnedRgbaImage image;
  ASSERT_TRUE(BuildDefaultFontBitmap(image.image));
  ASSERT_EQ(128, image.image.width);
  ASSERT_EQ(64, image.image.height);
  EXPECT_EQ((Picture{"........", "...o....", "..o#o...", "..o#o...", "..o#o...", "...o....",
                     "..o#o...", "...o...."}),
            BuiltinCell(image.image, '!'));
  EXPECT_EQ((Picture{"..ooo...", ".o###o..", ".o#o#o..", ".o###o..", ".o#o#o..", ".o#o#o..",
                     "..o.o...", "........"}),
            BuiltinCell(image.image, 'A'));
  // Characters 0 to 31 have no glyphs.
  for (i32 i = 0; i < 128 * 16 * 4; ++i) ASSERT_EQ(0, image.image.rgba[i]) << i;
}

TEST(BuiltinFont, WholePictureChecksum) {
  OwnedRgbaImage image;
  ASSERT_TRUE(BuildDefaultFontBitmap(image.image));
  u32 hash = 0x811C9DC5u;  // FNV-1a over every byte, from an independent rendering
  for (i32 i = 0; i < 128 * 64 * 4; ++i) hash = (hash ^ image.image.rgba[i]) * 0x01000193u;
  EXPECT_EQ(0x22d684fcu, hash);
}

TEST(BuiltinFont, LoadsAsAnEightByEightFont) {
  Font font;
  LoadDefaultFontInto(font);
  EXPECT_EQ(8, font.charWidth);
  EXPECT_EQ(8, font.charHeight);
  EXPECT_EQ(128, font.glyphCount);
  const Surface& bang = font.glyphs['!'];
  ASSERT_EQ(8, bang.width);
  EXPECT_EQ(0xFFFF, bang.pixels[2 * 8 + 3]);
  EXPECT_EQ(RgbToPixel(8, 8, 8), bang.pixels[2 * 8 + 2]);
  EXPECT_EQ(0x0000, bang.colourKey);  // glyphs are cut with key 0
  EXPECT_EQ(1, bang.hasKey);
  EXPECT_EQ(1, font.glyphs[5].hasKey);  // an empty cell is transparent throughout
  EXPECT_EQ(1, font.glyphs[5].rowHasKey[7]);
}

TEST(FontFromImage, CellSizesFollowThePictureShape) {
  struct Case { i32 w, h; i32 result, count, cw, ch; };
  const Case cases[] = {
      {128, 128, 1, 128, 8, 16}, {128, 256, 1, 256, 8, 16}, {100, 50, 1, 128, 6, 6},
      {16, 8, 1, 128, 1, 1},     {15, 100, 0, 128, 0, 0},   {40000, 16, 0, 128, 0, 0},
      {16, 7, 0, 128, 0, 0},
  };
  for (const Case& c : cases) {
    OwnedRgbaImage picture;
    MakePicture(picture.image, c.w, c.h, 200, 100, 50, 255);
    Font font;
    EXPECT_EQ(c.result, font.FromImage(picture.image)) << c.w << "x" << c.h;
    EXPECT_EQ(c.count, font.glyphCount) << c.w << "x" << c.h;
    EXPECT_EQ(c.cw, font.charWidth) << c.w << "x" << c.h;
    EXPECT_EQ(c.ch, font.charHeight) << c.w << "x" << c.h;
    if (c.result == 1) {
      EXPECT_EQ(c.cw, font.glyphs[c.count - 1].width);
      EXPECT_EQ(c.ch, font.glyphs[c.count - 1].height);
    }
  }
}

// A 16 x 8 picture: 128 glyphs of one pixel, glyph i with its own colour.
void OnePixelFont(Font& font) {
  OwnedRgbaImage picture;
  MakePicture(picture.image, 16, 8, 0, 0, 0, 255);
  for (i32 i = 0; i < 128; ++i)
    SetPicturePixel(picture.image, i % 16, i / 16, static_cast<u8>((i % 32) * 8), static_cast<u8>((i / 32) * 4), 8, 255);
  ASSERT_EQ(1, font.FromImage(picture.image));
}

u16 GlyphPixel(i32 i) { return RgbToPixel(static_cast<u8>((i % 32) * 8), static_cast<u8>((i / 32) * 4), 8); }

TEST(FontDrawText, OneGlyphPerByteModuloTheGlyphCount) {
  Font font;
  OnePixelFont(font);
  FreshTarget(8, 1);
  const u8 text[] = {200, 'A', 10, 13, 0};
  font.DrawText(text, 1, 0);
  EXPECT_EQ(0, PixelAt(0, 0));
  EXPECT_EQ(GlyphPixel(72), PixelAt(1, 0));
  EXPECT_EQ(GlyphPixel('A'), PixelAt(2, 0));
  EXPECT_EQ(GlyphPixel(10), PixelAt(3, 0));  // control bytes are glyphs too
  EXPECT_EQ(GlyphPixel(13), PixelAt(4, 0));
  EXPECT_EQ(0, PixelAt(5, 0));
}

TEST(FontDrawText, AdvancesByTheCellWidth) {
  Font font;
  LoadDefaultFontInto(font);
  FreshTarget(40, 30);
  font.DrawText(reinterpret_cast<const u8*>("AB"), 10, 20);
  std::vector<u16> both(GetRenderTarget().colourBuffer, GetRenderTarget().colourBuffer + 1200);
  FreshTarget(40, 30);
  font.glyphs['A'].Draw(10, 20, 0, 0, 8, 8);
  font.glyphs['B'].Draw(18, 20, 0, 0, 8, 8);
  std::vector<u16> apart(GetRenderTarget().colourBuffer, GetRenderTarget().colourBuffer + 1200);
  EXPECT_EQ(apart, both);
  EXPECT_NE(std::vector<u16>(1200, 0), both);

  FreshTarget(40, 30);
  font.DrawText(reinterpret_cast<const u8*>(""), 10, 20);
  font.DrawText(nullptr, 10, 20);
  EXPECT_EQ((std::vector<u16>(1200, 0)),
            std::vector<u16>(GetRenderTarget().colourBuffer, GetRenderTarget().colourBuffer + 1200));
}

TEST(FontLoad, ReadsBmpThenPngAndFailsToAnEmptyFont) {
  ScopedTempDir dir;
  // A 32 x 16 picture: 128 glyphs of 2 x 2; pixels of the key colour turn transparent.
  std::vector<u8> rows(static_cast<size_t>(Bmp24RowBytes(32)) * 16, 0x40);
  rows[0] = 0xFF, rows[1] = 0x00, rows[2] = 0xFF;  // bottom-left pixel: magenta
  const std::string bmp = dir.File("font.bmp");
  ASSERT_EQ(1, SaveBmp24(bmp.c_str(), 32, 16, rows.data()));
  Font font;
  ASSERT_EQ(1, font.Load(bmp.c_str(), 0x00FF00FF));
  EXPECT_EQ(2, font.charWidth);
  EXPECT_EQ(2, font.charHeight);
  const Surface& corner = font.glyphs[7 * 16];  // bottom-left cell
  EXPECT_EQ(1, corner.hasKey);
  EXPECT_EQ(0x0000, corner.pixels[1 * 2 + 0]);

  std::vector<u8> bgra(48 * 24 * 4, 0xFF);
  const std::string png = dir.File("font.png");
  ASSERT_EQ(1, SavePng(png.c_str(), bgra.data(), 48, 24));
  ASSERT_EQ(1, font.Load(png.c_str(), 0x00FF00FF));
  EXPECT_EQ(3, font.charWidth);
  EXPECT_EQ(3, font.charHeight);

  EXPECT_EQ(0, font.Load(dir.File("absent.png").c_str(), 0));
  EXPECT_EQ(0, font.charWidth);
  EXPECT_EQ(0, font.charHeight);
  EXPECT_EQ(nullptr, font.glyphs['A'].pixels);
  FreshTarget(8, 8);
  font.DrawText(reinterpret_cast<const u8*>("AAAA"), 0, 0);
  EXPECT_EQ((Picture(8, "........")), TargetPicture(0));
}

}  // namespace
