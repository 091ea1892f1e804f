// Cutting fonts from pictures and drawing text with them.
#include "media/font.h"

#include "media/picture_file.h"
#include "media/render_target.h"

void Font::Clear() {
  for (i32 i = 0; i < glyphCount; ++i) glyphs[i].Clear();
  charWidth = 0;
  charHeight = 0;
}

i32 Font::FromImage(const RgbaImage& image) {
  Clear();
  // The cell arithmetic works on 16-bit sizes; a picture wider or taller than 32767 pixels, or
  // narrower than 16, yields no usable cell.
  const i32 w = static_cast<i16>(image.width), h = static_cast<i16>(image.height);
  const i32 cw = w / 16;
  const bool tall = w < h;
  const i32 ch = tall ? h / 16 : h / 8;
  if (cw <= 0 || ch <= 0 || image.rgba == nullptr) return 0;
  glyphCount = tall ? 256 : 128;
  for (i32 i = 0; i < glyphCount; ++i) {
    SourceRect cell;
    cell.left = (i % 16) * cw;
    cell.right = cell.left + cw - 1;
    cell.top = (i / 16) * ch;
    cell.bottom = cell.top + ch - 1;
    glyphs[i].FromRgba(image, 0, &cell);
  }
  charWidth = static_cast<i16>(cw);
  charHeight = static_cast<i16>(ch);
  return 1;
}

i32 Font::Load(const char* name, u32 colourKey) {
  Clear();
  OwnedRgbaImage picture;
  return LoadPictureFile(picture.image, name, colourKey) ? FromImage(picture.image) : 0;
}

void Font::DrawText(const u8* text, i32 x, i32 y) const {
  if (text == nullptr || glyphCount <= 0) return;
  const i64 rightEdge = GetRenderTarget().viewportWidth;
  i64 pos = x;
  // Glyphs advance to the right only, so the first one past the viewport ends the text.
  for (const u8* p = text; *p != 0 && pos < rightEdge; ++p, pos += charWidth) {
    const Surface& glyph = glyphs[*p % glyphCount];
    glyph.Draw(static_cast<i32>(pos), y, 0, 0, glyph.width, glyph.height);
  }
}
