// A new game and its handicap rows, with the random draws in their fixed order: per row ten
// colours, the hole count, then the hole columns.
#include "game/new_game.h"

#include "core/float_convert.h"
#include "core/random.h"
#include "game/game_data.h"
#include "game/game_globals.h"
#include "game/play_rules.h"
#include "game/shape_table.h"
#include "game/timers.h"

namespace game {

namespace {

void FillHandicapRow(i32 row) {
  for (i32 x = 0; x < kFieldColumns; ++x) {
    *fieldOccupancy.At(x, row) = 1;
    *fieldColours.At(x, row) = RandomBelow(kPieceCount - 1);
  }
  holeCount = static_cast<f32>(RandomBelow(1) + 2);
  for (i32 hole = 1; static_cast<f32>(hole) <= holeCount; ++hole) {
    do {
      holeColumn = static_cast<f32>(RandomBelow(kFieldColumns - 1));
    } while (*fieldOccupancy.At(TruncToI32(holeColumn), row) == 0);
    *fieldOccupancy.At(TruncToI32(holeColumn), row) = 0;
    *fieldColours.At(TruncToI32(holeColumn), row) = 0;
  }
}

}  // namespace

void BuildHandicapRows() {
  for (handicapRow = handicap - 1; handicapRow >= 1; --handicapRow)
    FillHandicapRow(kFieldRows - handicapRow);
  handicapRow = 0;
}

void StartNewGame() {
  gameState = kStatePlay;
  fieldOccupancy.Redim(kFieldColumns, kFieldRows);
  AddTimer(BlockTimerName(), *fallIntervals.At(0, 0), 0, 0);
  lines = 0;
  level = 0;
  score = 0;
  backgroundIndex = 0;
  BuildHandicapRows();
  PickNextPiece();
  SpawnPiece();
}

}  // namespace game
