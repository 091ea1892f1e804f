// Starting a game from the title menu: an empty field (the colours stay), the "block" timer at
// the first fall interval, score, lines, level and background back to 0, the handicap rows, and
// the first piece. The pause value, the rotation, the fade and the particles carry over.
#pragma once

namespace game {

void StartNewGame();

// Handicap h fills the bottom h - 1 rows (none for 0 and 1): every cell with a random colour,
// then two or three holes at random columns (a column that is already a hole is drawn again).
void BuildHandicapRows();

}  // namespace game
