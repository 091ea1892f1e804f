// Lettering: text of the pixel alphabet drawn big into a canvas, each glyph pixel a square of
// `scale` pixels, filled with a top-to-bottom gradient, lit along the top of every stroke, ringed
// by a dark outline and optionally dropped on a shadow. Buttons, labels, banners, logos and the
// font glyphs all go through here.
#pragma once

#include <string_view>
#include <vector>

#include "core/types.h"
#include "tools/assetgen/canvas.h"
#include "tools/assetgen/colour.h"

struct LetterStyle {
  i32 scale = 2;              // screen pixels per glyph pixel (across, and down unless capHeight)
  i32 capHeight = 0;          // when above 0: pixels down for a capital, the 7 glyph rows sharing
                              // them with the strokes (top, bottom, middle) served first
  i32 gap = 1;                // empty glyph columns between characters
  Rgb top{255, 255, 255};     // fill at the top of a capital
  Rgb bottom{200, 200, 220};  // fill at its baseline (and below)
  Rgb outline{16, 12, 40};
  i32 outlineWidth = 1;   // pixels of outline around the strokes; 0 for none
  f32 highlight = 0.35f;  // how much lighter the top pixel row of each stroke is
  i32 shadowOffset = 0;   // pixels right and down; 0 for no shadow
  Rgb shadow{20, 16, 48};
};

// A set of lit pixels: the strokes of some text at its scale.
struct InkMask {
  i32 width = 0;
  i32 height = 0;
  std::vector<u8> lit;
  bool Lit(i32 x, i32 y) const {
    return x >= 0 && y >= 0 && x < width && y < height && lit[static_cast<size_t>(y) * width + x];
  }
};

// Pixel rows given to each glyph row by the style.
struct RowHeights {
  i32 rows[9] = {};
};
RowHeights GlyphRowHeights(const LetterStyle& style);

// The strokes of text in style (scale, row heights, gap); the height covers the capitals and,
// when a character of the text has one, its descender.
InkMask TextInk(std::string_view text, const LetterStyle& style);

struct TextBox {
  i32 width = 0;
  i32 height = 0;
};

// The size that DrawLettering covers for text in style, outline and shadow included.
TextBox LetteringSize(std::string_view text, const LetterStyle& style);

// Draws text with the top-left corner of its box (the outline's) at (x, y).
void DrawLettering(Canvas& canvas, std::string_view text, i32 x, i32 y, const LetterStyle& style);

// Draws text centred in the rectangle (x, y, w, h).
void DrawLetteringCentred(Canvas& canvas, std::string_view text, i32 x, i32 y, i32 w, i32 h,
                          const LetterStyle& style);
