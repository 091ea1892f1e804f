// The row scan of the play state and what clearing one row does.
#include "game/row_clearing.h"

#include "core/float_convert.h"
#include "core/maths.h"
#include "game/effects.h"
#include "game/field_drawing.h"
#include "game/game_data.h"
#include "game/game_globals.h"
#include "game/play_rules.h"
#include "game/timers.h"

namespace game {

namespace {

constexpr i32 kBonusSprite = 10;
constexpr i32 kLinesPerLevel = 10;

i32& Occupancy(i32 x, i32 y) { return *fieldOccupancy.At(x, y); }
i32& Colour(i32 x, i32 y) { return *fieldColours.At(x, y); }

i32 FilledInRow(i32 y) {
  i32 filled = 0;
  for (i32 x = 0; x < kFieldColumns; ++x) {
    if (Occupancy(x, y) == 1) ++filled;
  }
  return filled;
}

void SpawnRowEffects(i32 y) {
  const f32 rowTop = static_cast<f32>(CellY(y));
  if (bonusFlag == 1) {
    SpawnEffect(1, kBonusSprite, 140.0f, rowTop, 4.0f, 4.0f, 500, 500, 0, 0, 0.0f, 0.0f);
    bonusFlag = 0;
  }
  for (i32 x = 0; x < kFieldColumns; ++x) {
    SpawnEffect(1, Colour(x, y), static_cast<f32>(CellX(x)), rowTop, 4.0f, 8.0f, 2000, 4000, 0, 50,
                1.0f, 0.2f);
    Occupancy(x, y) = 0;
  }
}

// Moves every row above y down one. Clearing row 0 has nothing above it to move: the shift is
// skipped there, which keeps row 1 intact.
void ShiftRowsAbove(i32 y) {
  rowShiftStart = y > 0 ? static_cast<f32>(y - 1) : 0.0f;
  if (y == 0) return;
  for (i32 k = TruncToI32(rowShiftStart); k >= 0; --k) {
    for (i32 x = 0; x < kFieldColumns; ++x) {
      Occupancy(x, k + 1) = Occupancy(x, k);
      Colour(x, k + 1) = Colour(x, k);
    }
  }
}

void RaiseLevel() {
  score = score + 500 * (level + 1);
  level = level + 1;
  if (IntMod(level + 1, 3) == 0) {
    fadeDirection = 1;
    fadeValue = -0.99f;
  }
  SetTimer(BlockTimerName(), FallIntervalForLevel(level), 0, 0);
}

void ClearRow(i32 y) {
  CheckRow();
  lines = lines + 1;
  score = score + 100 + 100 * handicap * bonusFlag;
  SpawnRowEffects(y);
  ShiftRowsAbove(y);
  for (i32 x = 0; x < kFieldColumns; ++x) Occupancy(x, 0) = 0;  // row 0's colours stay
  if (lines > 0 && IntMod(lines, kLinesPerLevel) == 0) RaiseLevel();
}

}  // namespace

void CheckRow() {
  bonusFlag = 0;
  cellCount = FilledInRow(kFieldRows - 1 - handicap);
  if (cellCount == 0) bonusFlag = 1;
}

void ClearFullRows() {
  for (i32 y = kFieldRows - 1; y >= 0; --y) {
    if (FilledInRow(y) == kFieldColumns) ClearRow(y);
  }
}

}  // namespace game
