// The two font pictures: the game's font (16 x 8 cells of 16 x 20, lettering at twice the size,
// outlined) and the runtime's small font (8 x 12 cells, glyphs at their own size). Cell
// (i mod 16, i / 16) holds character i; characters 0 to 31 and 127 stay empty.
#include <algorithm>
#include <string>

#include "tools/assetgen/asset_sizes.h"
#include "tools/assetgen/lettering.h"
#include "tools/assetgen/picture_assets.h"

using namespace sizes;

namespace {

constexpr i32 kFontColumns = 16;
constexpr i32 kFontRows = 8;

// Draws every printable character into its cell. The game prints one character at a time at a
// fixed pitch, so each glyph is centred in the width its pitch gives it: digits in `digitPitch`,
// everything else in `otherPitch`.
Canvas FontPicture(i32 cellW, i32 cellH, i32 digitPitch, i32 otherPitch, const LetterStyle& style) {
  Canvas c(kFontColumns * cellW, kFontRows * cellH);
  for (i32 code = 32; code < 127; ++code) {
    const std::string text(1, static_cast<char>(code));
    const TextBox box = LetteringSize(text, style);
    const bool digit = code >= '0' && code <= '9';
    const i32 pitch = std::min(digit ? digitPitch : otherPitch, cellW);
    const i32 x = (code % kFontColumns) * cellW + std::max(0, (pitch - box.width) / 2);
    const i32 y = (code / kFontColumns) * cellH;
    DrawLettering(c, text, x, y, style);
  }
  return c;
}

Canvas GameFont() {
  LetterStyle s;
  s.scale = 2;
  s.top = {255, 255, 255};
  s.bottom = {176, 196, 255};
  s.outline = {18, 14, 46};
  return FontPicture(kFontCellW, kFontCellH, kDigitPitch, kLetterPitch, s);
}

Canvas SmallFont() {
  LetterStyle s;
  s.scale = 1;
  s.highlight = 0.0f;
  s.top = {255, 255, 255};
  s.bottom = {200, 212, 240};
  s.outline = {16, 12, 40};
  return FontPicture(kSmallCellW, kSmallCellH, kSmallCellW, kSmallCellW, s);
}

}  // namespace

void AddFontPictures(PictureList& out) {
  out.push_back({"stakkofont.bmp", GameFont()});
  out.push_back({"smalfont.png", SmallFont(), PictureFormat::kPngRgba});
}

PictureList MakeAllPictures() {
  PictureList pictures;
  AddFontPictures(pictures);
  AddMenuSprites(pictures);
  AddBackgrounds(pictures);
  AddPlaySprites(pictures);
  return pictures;
}
