// The game's key handling, once per pass from inside the drawing of the current state: the title
// menu with its handicap setting, play, name entry and the high-score table. Keys act when they
// are released (key_latches.h); only the soft drop reads its key while held. Every change of the
// game state is made here.
#pragma once

#include "core/types.h"

namespace game {

// Title-menu buttons, top to bottom.
constexpr i32 kMenuStart = 0;
constexpr i32 kMenuHandicap = 1;
constexpr i32 kMenuHiscores = 2;
constexpr i32 kMenuExit = 3;

constexpr i32 kMaxHandicap = 10;

// Dispatches on the game state; any other state does nothing.
void HandleInput();

// Action on the selected button (start a game, open the table, or leave), then Up/Down move the
// selection round the four buttons, then, while HANDICAP is selected, Left/Right step the
// handicap round 0..10.
void HandleTitleInput();
// Action goes back to the title.
void HandleTableInput();
// The exit button: the packs are let go, the music volume is saved and the program ends.
[[noreturn]] void ExitGame();

}  // namespace game
