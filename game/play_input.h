// The keys of the play state. While the game runs: Left or Right moves the piece one column
// (Left wins when both are released in one pass), Action turns it, Down held drops it a row per
// pass for a point each; Tab pauses and resumes. After game over, Action leaves: to name entry
// when the score reaches the lowest table entry, else to the title.
#pragma once

namespace game {

void HandlePlayInput();

}  // namespace game
