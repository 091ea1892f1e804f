// The generator's own pixel alphabet: every printable ASCII character as a small bitmap of
// variable width, 7 rows to the top of a capital and 2 more for descenders. All lettering of the
// game (fonts, buttons, labels, banners, logos) is drawn from it, scaled up, so the whole game
// speaks with one hand.
#pragma once

#include <string_view>

#include "core/types.h"

constexpr i32 kGlyphRows = 9;  // rows of every glyph, top of a capital first
constexpr i32 kCapRows = 7;    // rows 0..6 hold capitals and digits; 7..8 descenders
constexpr i32 kMaxGlyphWidth = 5;

struct PixelGlyph {
  i32 width = 0;                      // 0 for characters the alphabet does not have
  std::string_view rows[kGlyphRows];  // width characters each, '#' lit, '.' dark
  bool Lit(i32 x, i32 y) const {
    return x >= 0 && y >= 0 && x < width && y < kGlyphRows && rows[y][x] == '#';
  }
};

// The glyph of c, or an empty one (width 0) for a character outside the alphabet. The space is a
// glyph of width 3 with nothing lit.
const PixelGlyph& GlyphFor(char c);

// Width in glyph pixels of text set with `gap` empty columns between characters.
i32 TextWidth(std::string_view text, i32 gap);
