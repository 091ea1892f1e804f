// Entering a result into the high-score table and editing the player's name. The new result
// replaces the lowest entry under the name "A......." ('.' marks a position not yet edited); the
// list is sorted again, and the entry is edited where it landed. Up and Down cycle the letter at
// the cursor through the blank and A..Z, Left and Right move the cursor over the eight positions,
// Action confirms: the dots become blanks and the table is saved.
#pragma once

#include "core/types.h"

namespace game {

constexpr i32 kNameLength = 8;

// Screen row of high-score entry i (the list is ascending, so the best is at the top).
constexpr i32 TableRowY(i32 entry) { return (4 - entry) * 25 + 80; }

// From a finished game whose score reaches the table: the name-entry state begins.
void EnterResult();
void HandleNameEntryInput();

// The letter after / before `letter` in the cycle blank, A, ..., Z.
i32 NextLetter(i32 letter);
i32 PreviousLetter(i32 letter);
// The edited entry's name with the current letter at the cursor.
void RebuildName();

}  // namespace game
