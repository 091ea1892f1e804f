// The title screen's pictures: the four menu buttons in their normal and highlighted looks, the
// handicap digits, the block-built "STAKKO" logo and the splash logo shown at start-up.
#include <string>

#include "tools/assetgen/asset_sizes.h"
#include "tools/assetgen/lettering.h"
#include "tools/assetgen/picture_assets.h"
#include "tools/assetgen/pixel_alphabet.h"
#include "tools/assetgen/shapes.h"

using namespace sizes;

namespace {

struct Look {
  PanelStyle panel;
  LetterStyle letters;
};

// Normal: a cool violet plate with pale lettering. Highlighted: a glowing amber plate.
Look ButtonLook(bool highlighted) {
  Look look;
  look.panel.cornerCut = 4;
  look.letters.scale = 2;
  look.letters.gap = 1;
  if (highlighted) {
    look.panel.top = {255, 218, 96};
    look.panel.bottom = {226, 112, 26};
    look.panel.outline = {64, 26, 10};
    look.letters.top = {255, 255, 255};
    look.letters.bottom = {255, 244, 214};
    look.letters.outline = {96, 36, 6};
    look.letters.shadowOffset = 1;
    look.letters.shadow = {150, 64, 12};
  } else {
    look.panel.top = {88, 86, 180};
    look.panel.bottom = {38, 36, 102};
    look.panel.outline = {18, 14, 46};
    look.letters.top = {236, 240, 255};
    look.letters.bottom = {158, 178, 255};
    look.letters.outline = {18, 14, 46};
  }
  return look;
}

Canvas Button(const std::string& word, bool highlighted) {
  const Look look = ButtonLook(highlighted);
  Canvas c(kButtonW, kButtonH);
  DrawPanel(c, 0, 0, kButtonW, kButtonH, look.panel);
  DrawLetteringCentred(c, word, 0, 0, kButtonW, kButtonH, look.letters);
  return c;
}

Canvas HandicapDigit(char digit, bool highlighted) {
  LetterStyle s;
  s.scale = 2;
  if (highlighted) {
    s.top = {255, 236, 130};
    s.bottom = {250, 150, 40};
    s.outline = {64, 26, 10};
  } else {
    s.top = {255, 255, 255};
    s.bottom = {170, 190, 255};
  }
  Canvas c(kDigitW, kDigitH);
  DrawLetteringCentred(c, std::string(1, digit), 0, 0, kDigitW, kDigitH, s);
  return c;
}

// A word built of bevelled blocks, one block per glyph pixel, each letter in its own colour,
// over a hard drop shadow.
void BlockWord(Canvas& canvas, const std::string& word, i32 x, i32 y, i32 block, i32 shadow,
               const Rgb* letterColours) {
  for (const bool shadowPass : {true, false}) {
    i32 penX = x;
    for (size_t k = 0; k < word.size(); ++k) {
      const PixelGlyph& glyph = GlyphFor(word[k]);
      for (i32 gy = 0; gy < kCapRows; ++gy) {
        for (i32 gx = 0; gx < glyph.width; ++gx) {
          if (!glyph.Lit(gx, gy)) continue;
          const i32 px = penX + gx * block, py = y + gy * block;
          if (shadowPass) {
            canvas.FillRect(px + shadow, py + shadow, block, block, {16, 12, 42});
          } else {
            DrawBevelBlock(canvas, px, py, block, letterColours[k % 6]);
          }
        }
      }
      penX += (glyph.width + 1) * block;
    }
  }
}

// The letters of "STAKKO" take the piece colours, red to violet.
constexpr Rgb kLogoColours[6] = {{225, 50, 55}, {250, 140, 30}, {240, 205, 40},
                                 {60, 200, 80}, {50, 110, 235}, {160, 85, 225}};

Canvas TitleLogo() {
  constexpr i32 kBlock = 7, kShadow = 3;
  const std::string word = "STAKKO";
  const i32 w = TextWidth(word, 1) * kBlock + kShadow;
  const i32 h = kCapRows * kBlock + kShadow;
  Canvas c(kLogoW, kLogoH);
  BlockWord(c, word, (kLogoW - w) / 2, (kLogoH - h) / 2, kBlock, kShadow, kLogoColours);
  return c;
}

// The start-up splash: a small tower of blocks beside the game's name and a subtitle.
Canvas SplashLogo() {
  Canvas c(kSplashW, kSplashH);
  constexpr i32 kBlock = 14;
  LetterStyle title;
  title.scale = 5;
  title.outlineWidth = 2;
  title.shadowOffset = 2;
  title.top = {255, 255, 255};
  title.bottom = {120, 200, 255};
  title.shadow = {46, 40, 120};
  const TextBox titleBox = LetteringSize("STAKKO", title);
  const i32 emblemW = 3 * kBlock, gap = 14;
  const i32 left = (kSplashW - (emblemW + gap + titleBox.width)) / 2;
  // The tower: three blocks, two on them, one on top.
  const i32 base = (kSplashH + 3 * kBlock) / 2 - kBlock;
  const Rgb rows[3][3] = {{kLogoColours[4], kLogoColours[3], kLogoColours[0]},
                          {kLogoColours[2], kLogoColours[5], {}},
                          {kLogoColours[1], {}, {}}};
  for (i32 row = 0; row < 3; ++row) {
    for (i32 k = 0; k < 3 - row; ++k) {
      DrawBevelBlock(c, left + k * kBlock + row * kBlock / 2, base - row * kBlock, kBlock,
                     rows[row][k]);
    }
  }
  const i32 titleX = left + emblemW + gap;
  const i32 titleY = 12;
  DrawLettering(c, "STAKKO", titleX, titleY, title);
  const i32 ruleY = titleY + titleBox.height + 2;
  for (i32 x = 0; x < titleBox.width; ++x) {
    const f32 t = static_cast<f32>(x) / static_cast<f32>(titleBox.width - 1);
    c.Set(titleX + x, ruleY, Mix({90, 110, 255}, {255, 120, 200}, t));
  }
  LetterStyle sub;
  sub.scale = 1;
  sub.highlight = 0.0f;
  sub.top = {220, 226, 255};
  sub.bottom = {160, 170, 230};
  const std::string subtitle = "A FALLING BLOCK GAME";
  const TextBox subBox = LetteringSize(subtitle, sub);
  DrawLettering(c, subtitle, titleX + (titleBox.width - subBox.width) / 2, ruleY + 4, sub);
  return c;
}

}  // namespace

void AddMenuSprites(PictureList& out) {
  out.push_back({"stakkologo.bmp", TitleLogo()});
  const char* words[4][2] = {
      {"START", "start"}, {"HISCORES", "hiscores"}, {"HANDICAP", "handicap"}, {"EXIT", "exit"}};
  for (const auto& [word, file] : words) {
    out.push_back({std::string(file) + "1.bmp", Button(word, false)});
    out.push_back({std::string(file) + "2.bmp", Button(word, true)});
  }
  for (char d = '0'; d <= '9'; ++d)
    out.push_back({std::string(1, d) + "_1.bmp", HandicapDigit(d, false)});
  for (char d = '0'; d <= '9'; ++d)
    out.push_back({std::string(1, d) + "_2.bmp", HandicapDigit(d, true)});
  out.push_back({"koballogo.bmp", SplashLogo()});
}
