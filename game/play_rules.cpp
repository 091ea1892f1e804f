// Pieces on the field: picking, loading, spawning, fixing, gravity, overlap and turning.
#include "game/play_rules.h"

#include "core/data_blocks.h"
#include "core/float_convert.h"
#include "core/random.h"
#include "game/asset_loading.h"
#include "game/game_data.h"
#include "game/game_globals.h"
#include "game/shape_table.h"
#include "game/timers.h"
#include "media/sound.h"

namespace game {

namespace {

constexpr i32 kSpawnColumn = 4;

// Reads a shape block into a cell array and its box size, row by row from the top.
void LoadShape(i32 piece, i32 turn, NumArray<f32>& cells, i32& columns, i32& rows) {
  ReadDataCursor* block = ShapeBlock(piece, turn);
  if (block == nullptr) return;
  RestoreDataBlock(block);
  ReadDataInt(&columns);
  ReadDataInt(&rows);
  cells.Redim(columns, rows);
  for (i32 y = 0; y < rows; ++y)
    for (i32 x = 0; x < columns; ++x) ReadDataFloat(cells.At(x, y));
}

bool IsBlock(NumArray<f32>& cells, i32 x, i32 y) { return *cells.At(x, y) == 1.0f; }
bool IsFilled(i32 column, i32 row) { return *fieldOccupancy.At(column, row) == 1; }

}  // namespace

DynString BlockTimerName() { return DynString::FromCString("block"); }

i32 FallIntervalForLevel(i32 level) {
  if (level <= kFallIntervalCount - 1) return *fallIntervals.At(level, 0);
  const i32 slowest = *fallIntervals.At(kFallIntervalCount - 1, 0);
  return TruncToI32(static_cast<f64>(slowest) - 2.0 * level);
}

void PickNextPiece() {
  nextColour = RandomBelow(kPieceCount - 1);
  nextPiece = nextColour;
  LoadShape(nextPiece, 0, nextCells, nextColumns, nextRows);
}

void LoadPieceRotation() {
  LoadShape(currentPiece, rotation, currentCells, currentColumns, currentRows);
}

void SpawnPiece() {
  currentColour = nextColour;
  pieceColumn = kSpawnColumn;
  pieceRow = 0;
  currentPiece = nextPiece;
  currentRows = nextRows;
  rotation = 0;
  currentColumns = nextColumns;
  currentCells.Redim(nextColumns, nextRows);
  for (i32 y = 0; y < nextRows; ++y)
    for (i32 x = 0; x < nextColumns; ++x) *currentCells.At(x, y) = *nextCells.At(x, y);
  // Every overlapping cell asks for the removal; only the first finds the timer.
  for (i32 y = 0; y < currentRows; ++y)
    for (i32 x = 0; x < currentColumns; ++x) {
      if (IsBlock(currentCells, x, y) && IsFilled(kSpawnColumn + x, y)) {
        gameOver = 1;
        RemoveTimer(BlockTimerName());
      }
    }
  PickNextPiece();
}

void FixPiece() {
  PlaySoundCommand(kLandingSoundSlot, 0.0f, musicVolume);
  for (i32 y = 0; y < currentRows; ++y)
    for (i32 x = 0; x < currentColumns; ++x) {
      const i32 column = pieceColumn + x;
      const i32 row = pieceRow + y;
      // A cell that is already filled keeps its block and colour.
      if (IsBlock(currentCells, x, y) && *fieldOccupancy.At(column, row) == 0) {
        *fieldOccupancy.At(column, row) = TruncToI32(*currentCells.At(x, y));
        *fieldColours.At(column, row) = currentColour;
      }
    }
  SpawnPiece();
}

i32 PieceCollides() {
  if (gameOver != 0) return 0;
  // The field cell is looked up first, for holes of the box too.
  for (i32 y = 0; y < currentRows; ++y)
    for (i32 x = 0; x < currentColumns; ++x) {
      if (IsFilled(pieceColumn + x, pieceRow + y) && IsBlock(currentCells, x, y)) return 1;
    }
  return 0;
}

void StepPieceDown() {
  pieceRow = pieceRow + 1;
  if (pieceRow > kFieldRows - currentRows) {
    pieceRow = kFieldRows - currentRows;
    FixPiece();
  }
}

void FixOverlappingPiece() {
  // At row 0 there is no row above: the piece is fixed where it is, over the cells still empty,
  // and the spawn that follows decides whether the game is over.
  if (pieceRow > 0) pieceRow = pieceRow - 1;
  FixPiece();
}

void GravityTick() {
  for (i32 e = 0; e < timerEvents.dim[0]; ++e) {
    if (timerEvents.At(e) != 0) continue;
    if (pauseValue == kRunning) StepPieceDown();
    if (PieceCollides() == 1) FixOverlappingPiece();
  }
}

i32 RotatePiece() {
  // Turning exchanges the box's width and height.
  if (pieceColumn + currentRows > kFieldColumns || pieceRow + currentColumns > kFieldRows) return 0;
  rotation = rotation + 1 == kRotationCount ? 0 : rotation + 1;
  LoadPieceRotation();
  return 1;
}

void UndoRotation() {
  rotation = rotation - 1 < 0 ? kRotationCount - 1 : rotation - 1;
  LoadPieceRotation();
}

void TurnPiece() {
  if (RotatePiece() == 1 && PieceCollides() == 1) UndoRotation();
}

}  // namespace game
