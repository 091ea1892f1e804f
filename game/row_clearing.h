// Clearing full rows, with their score, bonus, particle effects, level rise, fall speed and
// background change.
#pragma once

namespace game {

// One scan of the field from the bottom row up. Each full row met is cleared: +100, plus
// 100 x handicap when the bonus row (19 - handicap) is empty; ten flying blocks (and the rising
// bonus sprite); the rows above move down one. The row that moves into a cleared row's place is
// examined by the next call, so stacked full rows clear one per call. Every tenth line adds
// 500 x (level + 1), raises the level, re-times the "block" timer and, on every third level,
// starts a background fade. The pause and game-over state are not looked at.
void ClearFullRows();

// The bonus test of a cleared row: the bonus flag is 1 when the bonus row
// (row 19 - handicap) is empty; its filled cells are counted into the cell count.
void CheckRow();

}  // namespace game
