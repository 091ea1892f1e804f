// Every global of the game, in one place: the scalars with their program-start values, the field,
// piece, table and latch arrays, and the timer, event, effect and high-score lists. The game keeps
// its whole state here for the life of the process; the operations of the other game files read
// and change these names. InitGameGlobals puts all of it back to the program-start state, which
// is also what static initialisation gives.
//
// Arrays are the runtime's bounds-tested arrays, indexed (column, row) with row 0 at the top.
#pragma once

#include "core/dyn_array.h"
#include "core/dyn_string.h"
#include "core/num_array.h"
#include "core/types.h"
#include "game/game_records.h"

namespace game {

// Game states.
constexpr i32 kStateTitle = 0;
constexpr i32 kStatePlay = 1;
constexpr i32 kStateTable = 2;
constexpr i32 kStateNameEntry = 3;

// Pause values: the pause key negates the value.
constexpr i32 kRunning = -1;
constexpr i32 kPaused = 1;

constexpr f32 kDefaultMusicVolume = 0.3f;

// Scalars.
extern i32 gameState;      // kStateTitle ... kStateNameEntry
extern i32 pauseValue;     // kRunning or kPaused
extern i32 gameOver;       // 1 once a newly spawned piece overlapped filled cells
extern i32 currentPiece;   // id 0..6 of the falling piece
extern i32 currentColour;  // sprite of its cells (equal to its id)
extern i32 rotation;       // 0..3
extern i32 pieceColumn;    // field cell of the top-left corner of the falling piece's box
extern i32 pieceRow;
extern i32 currentColumns;  // width and height of the falling piece's box
extern i32 currentRows;
extern i32 nextPiece;
extern i32 nextColour;
extern i32 nextColumns;
extern i32 nextRows;
extern i32 handicap;  // 0..10
extern i32 level;     // shown as level + 1
extern i32 lines;
extern i32 score;
extern i32 bonusFlag;      // 1 while a row is cleared with the bonus row empty
extern i32 cellCount;      // filled cells counted in the bonus row
extern f32 rowShiftStart;  // first row moved down after a row is cleared
extern f32 effectStepX;    // last movement computed for a particle
extern f32 effectStepY;
extern i32 backgroundIndex;   // entry of the backgrounds table shown in play
extern f32 fadeValue;         // blend value of the splash and of the play background
extern i32 fadeDirection;     // 1 or -1 while a fade runs, 0 when still
extern f32 musicVolume;       // 0..0.9, kept in "Config.dat"
extern i32 statisticsSwitch;  // the frame statistics are drawn only when it is 1
extern f32 frameTime;         // ms of the last frame
extern i32 now;               // the game's clock: ms since start-up, taken once per pass
extern i32 gameWidth;         // screen mode and frame rate the game asks for
extern i32 gameHeight;
extern i32 gameFrameRate;

// Globals of the input handling.
extern i32 selectedButton;  // 0 start, 1 handicap, 2 high scores, 3 exit
extern i32 editedEntry;     // high-score entry whose name is being entered
extern i32 nameCursor;      // 0..7
extern i32 currentLetter;   // character code at the cursor: blank or 'A'..'Z'
extern DynString editedName;
extern f32 nameLength;
extern i32 handicapRow;  // counter while handicap rows are built
extern f32 holeCount;
extern f32 holeColumn;

// Arrays.
extern NumArray<i32> fieldOccupancy;  // 10 x 20: 1 filled, 0 empty
extern NumArray<i32> fieldColours;    // 10 x 20: sprite of each filled cell
extern NumArray<f32> currentCells;    // current columns x current rows: 1.0 block, 0.0 hole
extern NumArray<f32> nextCells;       // next columns x next rows, rotation 0
extern NumArray<i32> fallIntervals;   // 9: ms between gravity steps at levels 0..8
extern NumArray<i32> menuFlags;       // 4: 1 for the highlighted title button
extern NumArray<i32> backgrounds;     // 5: sprites of the play backgrounds
extern NumArray<i32> keyLatches;      // 14: one per key-table entry
extern DynArray<NamedTimer> timers;
extern DynArray<i32> timerEvents;  // values of the timers that fired in this pass
extern DynArray<EffectParticle> effects;
extern DynArray<HiscoreEntry> hiscores;  // ascending by score: entry 0 is the lowest

// Puts every global above back to its program-start value: scalars to their initial values,
// every array empty without storage, the constant data blocks rewound.
void InitGameGlobals();

}  // namespace game
