// The field, the falling piece and the next piece, block by block.
#include "game/field_drawing.h"

#include "game/game_data.h"
#include "game/game_globals.h"
#include "media/graphics_commands.h"

namespace game {

namespace {

constexpr i32 kNextCentreX = 270;
constexpr i32 kNextCentreY = 58;

}  // namespace

void DrawFieldCells() {
  for (i32 x = 0; x < kFieldColumns; ++x)
    for (i32 y = 0; y < kFieldRows; ++y) {
      if (*fieldOccupancy.At(x, y) == 1)
        DrawSpriteCommand(*fieldColours.At(x, y), CellX(x), CellY(y));
    }
}

void DrawCurrentPiece() {
  for (i32 r = 0; r < currentRows; ++r)
    for (i32 c = 0; c < currentColumns; ++c) {
      if (*currentCells.At(c, r) == 1.0f)
        DrawSpriteCommand(currentColour, CellX(c + pieceColumn), CellY(r + pieceRow));
    }
}

void DrawNextPiece() {
  const i32 left = kNextCentreX - kCellPixels / 2 * nextColumns;
  const i32 top = kNextCentreY - kCellPixels / 2 * nextRows;
  for (i32 r = 0; r < nextRows; ++r)
    for (i32 c = 0; c < nextColumns; ++c) {
      if (*nextCells.At(c, r) == 1.0f)
        DrawSpriteCommand(nextColour, left + kCellPixels * c, top + kCellPixels * r);
    }
}

}  // namespace game
