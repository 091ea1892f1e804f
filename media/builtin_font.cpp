// Rendering the built-in font picture from its glyph bitmaps.
#include "media/builtin_font.h"

#include "media/font.h"
#include "media/graphics_device.h"

namespace {

constexpr i32 kPictureWidth = 128;
constexpr i32 kPictureHeight = 64;
constexpr i32 kCell = 8;
constexpr i32 kGlyphWidth = 5;
constexpr i32 kGlyphHeight = 6;
constexpr u8 kOutline = 8;

// Glyph pixel at cell position (x, y); the glyph sits one pixel in from the cell's corner.
bool Lit(u32 bits, i32 x, i32 y) {
  if (x < 1 || x > kGlyphWidth || y < 1 || y > kGlyphHeight) return false;
  return ((bits >> ((y - 1) * kGlyphWidth + (x - 1))) & 1) != 0;
}

void SetPixel(RgbaImage& image, i32 px, i32 py, u8 grey) {
  u8* p = image.rgba + (py * kPictureWidth + px) * 4;
  p[0] = p[1] = p[2] = grey;
  p[3] = 255;
}

}  // namespace

bool BuildDefaultFontBitmap(RgbaImage& image) {
  if (!SizeRgbaImage(image, kPictureWidth, kPictureHeight)) return false;
  for (i32 k = 0; k < kBuiltinGlyphCount; ++k) {
    const u32 bits = kBuiltinGlyphBits[k];
    const i32 code = kBuiltinFirstChar + k;  // its cell: column code mod 16, row code / 16
    const i32 originX = (code % 16) * kCell;
    const i32 originY = (code / 16) * kCell;
    // Column 7 of a cell is never written, so neighbouring glyphs' outlines never touch.
    for (i32 y = 0; y < kCell; ++y) {
      for (i32 x = 0; x < kCell - 1; ++x) {
        if (Lit(bits, x, y)) {
          SetPixel(image, originX + x, originY + y, 255);
        } else if (Lit(bits, x + 1, y) || Lit(bits, x - 1, y) || Lit(bits, x, y - 1) ||
                   Lit(bits, x, y + 1)) {
          SetPixel(image, originX + x, originY + y, kOutline);
        }
      }
    }
  }
  return true;
}

void LoadDefaultFontInto(Font& font) {
  OwnedRgbaImage picture;
  if (BuildDefaultFontBitmap(picture.image)) {
    font.FromImage(picture.image);
  } else {
    font.Clear();
  }
}

void LoadDefaultFont(OpenGLRainbows* gfx, i32 slot) {
  if (Font* font = gfx != nullptr ? gfx->FontSlot(slot) : nullptr) LoadDefaultFontInto(*font);
}
