// Font: a bitmap font cut from one picture, a grid of 16 columns of equal cells with one glyph
// surface per cell. Text is drawn one glyph per byte, advancing by the cell width; nothing wraps.
#pragma once

#include "core/types.h"
#include "media/rgba_image.h"
#include "media/surface.h"

class Font {
 public:
  i16 charWidth = 0;
  i16 charHeight = 0;
  Surface glyphs[256];   // glyph i is cell (i mod 16, i / 16)
  i32 glyphCount = 128;  // 128 or 256

  // Cuts the picture: cells of width / 16; a picture taller than wide gives 256 glyphs of
  // height / 16, any other 128 glyphs of height / 8 (sizes taken as 16-bit signed values).
  // Every glyph's transparency comes from the alpha channel. Returns 1, or 0 (font empty) when
  // a cell would be 0 pixels or less.
  i32 FromImage(const RgbaImage& image);
  // Reads a BMP, else a PNG picture (pixels equal to colourKey become transparent) and cuts it.
  // Returns 1, or 0 with the font empty.
  i32 Load(const char* name, u32 colourKey);
  // Empties glyphs 0..glyphCount-1; cell size 0 x 0.
  void Clear();
  // Draws a zero-terminated string with its first glyph's top-left corner at (x, y).
  void DrawText(const u8* text, i32 x, i32 y) const;
};
