// The runtime's built-in font: 5 x 6 glyph bitmaps for characters 32 to 127, rendered into a
// 128 x 64 picture of 8 x 8 cells (16 columns, characters 0 to 31 left empty) with a dark
// outline around every lit pixel. Font slot 0 holds it until a font file replaces it, and the
// font commands fall back to it.
#pragma once

#include "core/types.h"
#include "media/rgba_image.h"

class Font;
class OpenGLRainbows;

constexpr i32 kBuiltinGlyphCount = 96;  // characters 32..127
constexpr i32 kBuiltinFirstChar = 32;

// Bit r * 5 + c of a word lights glyph pixel (column c, row r).
extern const u32 kBuiltinGlyphBits[kBuiltinGlyphCount];

// Renders the built-in font picture into image (128 x 64; the buffer is replaced only when too
// small). False only when the picture cannot be allocated.
bool BuildDefaultFontBitmap(RgbaImage& image);

// Cuts the built-in font picture into font: 128 glyphs of 8 x 8.
void LoadDefaultFontInto(Font& font);
// Puts the built-in font into the device's font slot (nothing for a slot outside 0..31).
void LoadDefaultFont(OpenGLRainbows* gfx, i32 slot);
