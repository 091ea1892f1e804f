// Lettering: the ink of a text, then its shadow, outline and gradient fill.
#include "tools/assetgen/lettering.h"

#include <algorithm>

#include "tools/assetgen/pixel_alphabet.h"

namespace {

// Rows of glyph pixels the text needs: capitals, plus the descender when it has one.
i32 GlyphRowsUsed(std::string_view text) {
  i32 rows = kCapRows;
  for (char c : text) {
    const PixelGlyph& glyph = GlyphFor(c);
    for (i32 y = kCapRows; y < kGlyphRows; ++y) {
      for (i32 x = 0; x < glyph.width; ++x) {
        if (glyph.Lit(x, y)) rows = std::max(rows, y + 1);
      }
    }
  }
  return rows;
}

i32 InkHeight(const RowHeights& heights, i32 rowsUsed) {
  i32 h = 0;
  for (i32 row = 0; row < rowsUsed; ++row) h += heights.rows[row];
  return h;
}

// Everything within `radius` pixels of the ink (the eight neighbours, repeatedly).
InkMask Grown(const InkMask& ink, i32 radius) {
  InkMask grown{ink.width + 2 * radius, ink.height + 2 * radius, {}};
  grown.lit.assign(static_cast<size_t>(grown.width) * grown.height, 0);
  for (i32 y = 0; y < grown.height; ++y) {
    for (i32 x = 0; x < grown.width; ++x) {
      bool near = false;
      for (i32 dy = -radius; dy <= radius && !near; ++dy) {
        for (i32 dx = -radius; dx <= radius && !near; ++dx) {
          near = ink.Lit(x - radius + dx, y - radius + dy);
        }
      }
      grown.lit[static_cast<size_t>(y) * grown.width + x] = near ? 1 : 0;
    }
  }
  return grown;
}

void SetMask(Canvas& canvas, const InkMask& mask, i32 x, i32 y, Rgb colour) {
  for (i32 py = 0; py < mask.height; ++py) {
    for (i32 px = 0; px < mask.width; ++px) {
      if (mask.Lit(px, py)) canvas.Set(x + px, y + py, colour);
    }
  }
}

}  // namespace

RowHeights GlyphRowHeights(const LetterStyle& style) {
  RowHeights heights;
  for (i32& h : heights.rows) h = style.scale;
  if (style.capHeight <= 0) return heights;
  // The rows that carry horizontal strokes in most capitals get the spare pixels first, so bars
  // keep their thickness when the letters are squeezed.
  constexpr i32 kStrokeFirst[kCapRows] = {0, 6, 3, 2, 4, 1, 5};
  const i32 base = style.capHeight / kCapRows;
  const i32 extra = style.capHeight % kCapRows;
  for (i32 k = 0; k < kCapRows; ++k) heights.rows[kStrokeFirst[k]] = base + (k < extra ? 1 : 0);
  for (i32 row = kCapRows; row < kGlyphRows; ++row) heights.rows[row] = base + (extra > 0 ? 1 : 0);
  return heights;
}

InkMask TextInk(std::string_view text, const LetterStyle& style) {
  const RowHeights heights = GlyphRowHeights(style);
  const i32 rowsUsed = GlyphRowsUsed(text);
  InkMask ink;
  ink.width = TextWidth(text, style.gap) * style.scale;
  ink.height = InkHeight(heights, rowsUsed);
  ink.lit.assign(static_cast<size_t>(ink.width) * ink.height, 0);
  i32 penX = 0;
  for (char c : text) {
    const PixelGlyph& glyph = GlyphFor(c);
    i32 top = 0;
    for (i32 y = 0; y < rowsUsed; top += heights.rows[y], ++y) {
      for (i32 x = 0; x < glyph.width; ++x) {
        if (!glyph.Lit(x, y)) continue;
        for (i32 py = top; py < top + heights.rows[y]; ++py) {
          for (i32 px = 0; px < style.scale; ++px) {
            ink.lit[static_cast<size_t>(py) * ink.width + (penX + x) * style.scale + px] = 1;
          }
        }
      }
    }
    penX += glyph.width + style.gap;
  }
  return ink;
}

TextBox LetteringSize(std::string_view text, const LetterStyle& style) {
  const i32 margin = 2 * style.outlineWidth + style.shadowOffset;
  return {TextWidth(text, style.gap) * style.scale + margin,
          InkHeight(GlyphRowHeights(style), GlyphRowsUsed(text)) + margin};
}

void DrawLettering(Canvas& canvas, std::string_view text, i32 x, i32 y, const LetterStyle& style) {
  const InkMask ink = TextInk(text, style);
  const i32 o = style.outlineWidth;
  const InkMask ring = Grown(ink, o);
  if (style.shadowOffset > 0) {
    SetMask(canvas, ring, x + style.shadowOffset, y + style.shadowOffset, style.shadow);
  }
  if (o > 0) SetMask(canvas, ring, x, y, style.outline);
  const i32 capPixels = InkHeight(GlyphRowHeights(style), kCapRows);
  for (i32 py = 0; py < ink.height; ++py) {
    const f32 t = capPixels > 1 ? static_cast<f32>(py) / static_cast<f32>(capPixels - 1) : 0.0f;
    const Rgb fill = Mix(style.top, style.bottom, t);
    for (i32 px = 0; px < ink.width; ++px) {
      if (!ink.Lit(px, py)) continue;
      const bool topEdge = !ink.Lit(px, py - 1);
      canvas.Set(x + o + px, y + o + py, topEdge ? Shade(fill, style.highlight) : fill);
    }
  }
}

void DrawLetteringCentred(Canvas& canvas, std::string_view text, i32 x, i32 y, i32 w, i32 h,
                          const LetterStyle& style) {
  const TextBox box = LetteringSize(text, style);
  DrawLettering(canvas, text, x + (w - box.width) / 2, y + (h - box.height) / 2, style);
}
