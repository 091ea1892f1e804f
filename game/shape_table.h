// The shapes of the seven pieces in their four rotations, as constant data blocks read through
// the runtime's data cursor: width, height, then width x height cells (1 block, 0 hole) row by row
// from the top. Each rotation r + 1 is rotation r turned a quarter turn counter-clockwise on the
// screen, keeping the top-left corner of its box; the blocks are stored in full.
#pragma once

#include "core/data_blocks.h"
#include "core/types.h"

namespace game {

constexpr i32 kPieceCount = 7;
constexpr i32 kRotationCount = 4;

// Piece ids; the id is also the sprite of the piece's cells.
constexpr i32 kPieceJ = 0;
constexpr i32 kPieceL = 1;
constexpr i32 kPieceZ = 2;
constexpr i32 kPieceS = 3;
constexpr i32 kPieceT = 4;
constexpr i32 kPieceI = 5;
constexpr i32 kPieceO = 6;

// The block of a piece in a rotation; null for an id or rotation outside the table.
ReadDataCursor* ShapeBlock(i32 piece, i32 rotation);
// Rewinds every shape block.
void RewindShapeBlocks();

}  // namespace game
