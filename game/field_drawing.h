// Drawing the play state's blocks: the filled cells of the field, the falling piece on the field
// and the next piece centred in its box. A cell is 10 x 10 pixels; field cell (x, y) stands at
// (110 + 10x, 33 + 10y). Each block is its colour's sprite, drawn in the current blend mode.
#pragma once

#include "core/types.h"

namespace game {

constexpr i32 kCellPixels = 10;
constexpr i32 kFieldLeft = 110;
constexpr i32 kFieldTop = 33;

// Screen position of field cell (x, y).
constexpr i32 CellX(i32 x) { return kFieldLeft + kCellPixels * x; }
constexpr i32 CellY(i32 y) { return kFieldTop + kCellPixels * y; }

void DrawFieldCells();
void DrawCurrentPiece();
// Centred on (270, 58) whatever the size of its box.
void DrawNextPiece();

}  // namespace game
