// The rules of the falling piece on the 10 x 20 field: choosing and loading pieces, spawning at
// the top, the gravity step driven by the "block" timer, fixing a landed piece, the overlap test
// and turning. Row clearing and scoring are in row_clearing.h.
//
// A piece is a box of current columns x current rows cells (1.0 block, 0.0 hole) whose top-left
// corner stands on field cell (piece column, piece row). The rules keep every box inside the
// field: moves and turns are tested against its edges, and a piece is never moved above row 0.
#pragma once

#include "core/dyn_string.h"
#include "core/types.h"

namespace game {

// The name of the timer whose events make the piece fall; its value is 0.
DynString BlockTimerName();

// Milliseconds between two gravity steps at a level: the table up to level 8, then 250 - 2 x level
// (0 from level 125 on, when the timer fires every pass).
i32 FallIntervalForLevel(i32 level);

// Next piece := a random id 0..6 (its colour too), with its rotation-0 cells.
void PickNextPiece();
// Loads the current piece's cells for the current rotation; the box keeps its top-left corner.
void LoadPieceRotation();
// The next piece becomes the falling piece at column 4, row 0, rotation 0. When it overlaps
// filled cells the game is over and the "block" timer is removed. Then the next one is picked.
void SpawnPiece();
// Plays the landing sound at the music volume, writes the piece's blocks into the empty field
// cells under them, then spawns the next piece.
void FixPiece();

// 1 when a block of the falling piece covers a filled field cell; always 0 once the game is over.
i32 PieceCollides();
// One row down; below the floor the piece is set on the floor and fixed.
void StepPieceDown();
// A piece found overlapping is moved back one row, never above row 0, and fixed there.
void FixOverlappingPiece();
// One gravity step per timer event of value 0: the step down only while running, the overlap
// test also while paused (rows cleared under a paused piece can shift into it).
void GravityTick();

// Turns the piece a quarter turn counter-clockwise when the turned box stays inside the field;
// 1 when it turned.
i32 RotatePiece();
// Turns it back a quarter turn.
void UndoRotation();
// The play action: turn when the turned box fits, and undo that turn when the turned piece
// overlaps filled cells. A piece that did not turn is left as it is.
void TurnPiece();

}  // namespace game
