// Sizes of the game's pictures, each derived from where and how the game draws it on its
// 320 x 240 screen. The game never scales a sprite, so these are the pixel sizes of the files.
#pragma once

#include "core/types.h"

namespace sizes {

// The screen, and the backgrounds that cover it from (0, 0).
constexpr i32 kScreenW = 320;
constexpr i32 kScreenH = 240;

// The playfield: 10 x 20 cells of 10 pixels, cell (x, y) drawn at (110 + 10x, 33 + 10y).
constexpr i32 kCell = 10;
constexpr i32 kFieldX = 110;
constexpr i32 kFieldY = 33;
constexpr i32 kFieldW = 10 * kCell;  // 100
constexpr i32 kFieldH = 20 * kCell;  // 200

// Side borders at (104, 33) and (210, 33): they fill the 6 pixels from 104 up to the field's left
// edge at 110, and the 6 pixels right of its right edge at 210, along the field's 200 rows.
constexpr i32 kSideBorderW = kFieldX - 104;  // 6
constexpr i32 kSideBorderH = kFieldH;
// Bottom border at (110, 233): under the field, as wide as it, down to the screen's last row.
constexpr i32 kBottomBorderW = kFieldW;
constexpr i32 kBottomBorderH = kScreenH - (kFieldY + kFieldH);  // 7

// The next-piece box at (250, 33). The next piece is centred on (270, 58) and is at most four
// cells tall (the I stands upright in its first rotation): it spans 38..78 and at most 260..280
// across. The box is 40 x 50: 20 pixels either side of the centre across, 25 above and below.
constexpr i32 kNextBoxX = 250;
constexpr i32 kNextBoxY = 33;
constexpr i32 kNextBoxW = 2 * (270 - kNextBoxX);  // 40
constexpr i32 kNextBoxH = 2 * (58 - kNextBoxY);   // 50
// Its frame at (249, 32): one pixel outside the box on every side.
constexpr i32 kNextFrameW = kNextBoxW + 2;  // 42
constexpr i32 kNextFrameH = kNextBoxH + 2;  // 52
// Thickness of the frame: it may reach into the box up to the piece, which keeps 10 pixels
// clear across (250..260) and 5 down (33..38).
constexpr i32 kNextFrameThickness = 4;

// Labels: "SCORE" at (2, 10) over its digits at y 25, "LINES" at (2, 56) over y 70, "LEVEL" at
// (2, 105) over y 120: the tightest gap, 56 to 70, leaves 14 rows. Across, they end before the
// left field border at x 104.
constexpr i32 kLabelH = 70 - 56;  // 14
// "NEXT" at (247, 10) over the box frame at y 32: up to 22 rows; it uses the label height.
constexpr i32 kNextLabelH = kLabelH;
constexpr i32 kLabelMaxW = 104 - 2;  // 102

// Menu buttons at (110, 85), (110, 115), (110, 145), (110, 175); the highlighted one of a pair
// is drawn one pixel lower. 30 rows apart, so a highlighted button of 29 rows just meets the
// next; the handicap digits start at x 205, which bounds the width to 95.
constexpr i32 kButtonW = 205 - 110;  // 95
constexpr i32 kButtonH = 28;  // 30 apart, less the highlight's one-pixel drop, less a row of air
// Handicap digits at (205 + 14j, 119) beside the handicap button (115..143): 14 apart, and 20
// rows keep them inside the button's height, centred on it (119 + 10 = 129 = 115 + 14).
constexpr i32 kDigitW = 14;
constexpr i32 kDigitH = 20;

// The title logo at (50, 20): buttons start at y 85, so at most 60 rows; 220 wide centres it on
// the screen (50 + 220 + 50 = 320).
constexpr i32 kLogoW = kScreenW - 2 * 50;  // 220
constexpr i32 kLogoH = 60;
// The splash logo at (30, 80): 260 wide centres it across (30 + 260 + 30); 80 rows centre it
// down (80 + 80 + 80).
constexpr i32 kSplashW = kScreenW - 2 * 30;  // 260
constexpr i32 kSplashH = kScreenH - 2 * 80;  // 80

// The game-over and pause banners at (0, 80), across the whole screen and over the field.
constexpr i32 kBannerW = kScreenW;
constexpr i32 kBannerH = 56;

// The handicap line: ten copies, one per column (x 110 + 10i), on the top edge of the row above
// the handicap rows.
constexpr i32 kHandicapLineW = kCell;
constexpr i32 kHandicapLineH = 2;

// The bonus sprite rises from x 140 over the cleared row; it must stay inside the field (up to
// x 210), so at most 70 wide.
constexpr i32 kBonusMaxW = kFieldX + kFieldW - 140;  // 70

// Game font: 16 x 8 cells, so the picture is wider than tall and cut into 128 glyphs. Cells are
// 16 wide (digits are printed 12 apart and letters 15, so a glyph drawn in 12 or 15 never runs
// into the next) and 20 high: capitals and digits of 14 rows, descenders below, and a name row
// every 25.
constexpr i32 kFontCellW = 16;
constexpr i32 kFontCellH = 20;
constexpr i32 kDigitPitch = 12;
constexpr i32 kLetterPitch = 15;
// The runtime's small font: 8 x 12 cells, 128 glyphs, one glyph pixel per screen pixel.
constexpr i32 kSmallCellW = 8;
constexpr i32 kSmallCellH = 12;

}  // namespace sizes
