// The play screen's sprites: the seven blocks, the translucent field and next-piece box, the
// metal rails around them, the labels, the handicap line, the bonus sprite and the two banners.
#include <algorithm>
#include <string>

#include "tools/assetgen/asset_sizes.h"
#include "tools/assetgen/lettering.h"
#include "tools/assetgen/picture_assets.h"
#include "tools/assetgen/shapes.h"

using namespace sizes;

const BlockColour kBlockColours[7] = {
    {"greenblock.bmp", {60, 200, 80}},   {"redblock.bmp", {225, 50, 55}},
    {"yellowblock.bmp", {240, 205, 40}}, {"blueblock.bmp", {50, 110, 235}},
    {"lilablock.bmp", {160, 85, 225}},   {"pinkblock.bmp", {245, 95, 185}},
    {"orangeblock.bmp", {250, 140, 30}},
};

namespace {

constexpr Rgb kFieldDark{14, 16, 38};
constexpr Rgb kFieldGrid{30, 34, 70};
constexpr Rgb kRailOutline{22, 20, 52};

// The well the pieces fall in: dark, shown at 60 % over the background, with a faint cell grid.
Canvas Field() {
  Canvas c(kFieldW, kFieldH);
  for (i32 y = 0; y < kFieldH; ++y) {
    const Rgb row = Mix(kFieldDark, Shade(kFieldDark, -0.3f), static_cast<f32>(y) / kFieldH);
    for (i32 x = 0; x < kFieldW; ++x) {
      const bool grid = x % kCell == 0 || y % kCell == 0;
      c.Set(x, y, grid ? kFieldGrid : row);
    }
  }
  return c;
}

// The next-piece box: the field's colour with a soft glow where the piece sits.
Canvas NextBox() {
  Canvas c(kNextBoxW, kNextBoxH);
  const f32 cx = (kNextBoxW - 1) / 2.0f, cy = (kNextBoxH - 1) / 2.0f;
  for (i32 y = 0; y < kNextBoxH; ++y) {
    for (i32 x = 0; x < kNextBoxW; ++x) {
      const f32 dx = (x - cx) / cx, dy = (y - cy) / cy;
      c.Set(x, y, Mix(Shade(kFieldGrid, 0.05f), kFieldDark, (dx * dx + dy * dy) * 0.7f));
    }
  }
  return c;
}

// Shading across a rail, from its outer edge to the edge against the field: a rounded steel
// bar lit from the top left.
constexpr Rgb kRailShades[6] = {kRailOutline,    {200, 208, 245}, {150, 158, 220},
                                {108, 116, 185}, {76, 82, 150},   {40, 42, 96}};

// A vertical rail; `mirrored` puts the outline on the right, as the right border needs.
Canvas SideRail(bool mirrored) {
  Canvas c(kSideBorderW, kSideBorderH);
  for (i32 y = 0; y < kSideBorderH; ++y) {
    for (i32 x = 0; x < kSideBorderW; ++x) {
      const i32 k = mirrored ? kSideBorderW - 1 - x : x;
      Rgb shade = kRailShades[k];
      if (k > 0 && y % 40 == 39) shade = Shade(shade, -0.35f);  // seam
      if (k > 0 && y % 40 == 0) shade = Shade(shade, 0.3f);     // lit edge after a seam
      c.Set(x, y, shade);
    }
  }
  return c;
}

Canvas BottomRail() {
  Canvas c(kBottomBorderW, kBottomBorderH);
  constexpr Rgb kRows[7] = {{40, 42, 96},  {200, 208, 245}, {150, 158, 220}, {108, 116, 185},
                            {76, 82, 150}, {52, 56, 118},   kRailOutline};
  for (i32 y = 0; y < kBottomBorderH; ++y) c.FillRect(0, y, kBottomBorderW, 1, kRows[y]);
  return c;
}

// A frame around the next-piece box: an outline on both rims, steel between them, lit on the
// top and left sides and shaded on the bottom and right, mitred at the corners.
Canvas NextFrame() {
  Canvas c(kNextFrameW, kNextFrameH);
  const i32 t = kNextFrameThickness;
  for (i32 y = 0; y < kNextFrameH; ++y) {
    for (i32 x = 0; x < kNextFrameW; ++x) {
      const i32 bottom = kNextFrameH - 1 - y;
      const i32 right = kNextFrameW - 1 - x;
      const i32 d = std::min(std::min(x, y), std::min(right, bottom));
      if (d >= t) continue;  // the box shows through
      if (d == 0 || d == t - 1) {
        c.Set(x, y, kRailOutline);
        continue;
      }
      const bool lit = y == d || (x == d && bottom != d);
      const Rgb steel = kRailShades[d + 1];
      c.Set(x, y, lit ? steel : Shade(steel, -0.35f));
    }
  }
  return c;
}

LetterStyle LabelStyle() {
  LetterStyle s;
  s.scale = 2;
  s.capHeight = kLabelH - 2;
  s.gap = 1;
  s.top = {255, 236, 140};
  s.bottom = {240, 140, 40};
  s.outline = {36, 16, 40};
  return s;
}

// A canvas just large enough for the lettering.
Canvas Lettered(const std::string& text, const LetterStyle& style) {
  const TextBox box = LetteringSize(text, style);
  Canvas c(box.width, box.height);
  DrawLettering(c, text, 0, 0, style);
  return c;
}

Canvas Label(const std::string& text) { return Lettered(text, LabelStyle()); }

// The line over the handicap rows: a bright dash in each cell, so the ten copies read as one
// dashed line across the field.
Canvas HandicapLine() {
  Canvas c(kHandicapLineW, kHandicapLineH);
  c.FillRect(1, 0, kHandicapLineW - 2, 1, {255, 110, 80});
  c.FillRect(1, 1, kHandicapLineW - 2, 1, {180, 40, 40});
  return c;
}

Canvas BonusSprite() {
  LetterStyle s;
  s.scale = 2;
  s.top = {255, 255, 200};
  s.bottom = {255, 190, 30};
  s.outline = {60, 24, 8};
  return Lettered("BONUS", s);
}

// A ribbon across the screen with big lettering: dark band, lit and shaded edges, a thin
// coloured stripe along each edge.
Canvas Banner(const std::string& text, Rgb stripe, Rgb letterTop, Rgb letterBottom) {
  Canvas c(kBannerW, kBannerH);
  for (i32 y = 0; y < kBannerH; ++y) {
    const f32 t = static_cast<f32>(y) / (kBannerH - 1);
    Rgb row = Mix({44, 34, 92}, {18, 14, 44}, t);
    if (y == 0 || y == kBannerH - 1)
      row = kRailOutline;
    else if (y == 1 || y == kBannerH - 2)
      row = stripe;
    else if (y == 2)
      row = Shade(stripe, -0.4f);
    else if (y == 3)
      row = Shade(row, 0.25f);
    c.FillRect(0, y, kBannerW, 1, row);
  }
  DitherFor16Bit(c);
  LetterStyle s;
  s.scale = 5;
  s.gap = 1;
  s.top = letterTop;
  s.bottom = letterBottom;
  s.outline = {16, 10, 30};
  s.outlineWidth = 2;
  s.shadowOffset = 2;
  s.shadow = {10, 8, 24};
  DrawLetteringCentred(c, text, 0, 0, kBannerW, kBannerH, s);
  return c;
}

}  // namespace

void AddPlaySprites(PictureList& out) {
  for (const BlockColour& block : kBlockColours) {
    Canvas c(kCell, kCell);
    DrawBevelBlock(c, 0, 0, kCell, block.base);
    out.push_back({block.file, std::move(c)});
  }
  out.push_back({"field.bmp", Field()});
  out.push_back({"field2.bmp", NextBox()});
  out.push_back({"borderleft.bmp", SideRail(false)});
  out.push_back({"borderright.bmp", SideRail(true)});
  out.push_back({"borderdown.bmp", BottomRail()});
  out.push_back({"border2.bmp", NextFrame()});
  out.push_back({"score.bmp", Label("SCORE")});
  out.push_back({"lines.bmp", Label("LINES")});
  out.push_back({"level.bmp", Label("LEVEL")});
  out.push_back({"next.bmp", Label("NEXT")});
  out.push_back({"handycapline.bmp", HandicapLine()});
  out.push_back({"handicap.bmp", BonusSprite()});
  out.push_back(
      {"gameover.bmp", Banner("GAME OVER", {255, 80, 70}, {255, 240, 220}, {255, 90, 70})});
  out.push_back({"paused.bmp", Banner("PAUSED", {90, 200, 255}, {240, 250, 255}, {110, 190, 255})});
}
