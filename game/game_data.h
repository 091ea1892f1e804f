// The game's constant tables: the key table with the roles of its codes, the fall intervals, the
// title-menu flags, the play backgrounds, the default high-score block and the build stamp, and
// the set-up that gives the global arrays their start-up sizes and contents.
#pragma once

#include "core/data_blocks.h"
#include "core/dyn_string.h"
#include "core/types.h"

namespace game {

// Key codes (the runtime's PC scan-code numbering); the handheld buttons map onto them.
constexpr i32 kKeyLeft = 203;
constexpr i32 kKeyRight = 205;
constexpr i32 kKeyUp = 200;
constexpr i32 kKeyDown = 208;
constexpr i32 kKeyAction = 45;
constexpr i32 kKeyPause = 15;
constexpr i32 kKeyVolumeUp = 201;
constexpr i32 kKeyVolumeDown = 209;

// The key table: a key's position is also the index of its latch. Six codes are latched but
// never asked for (44, 29, 58, 42, 54, 28).
constexpr i32 kKeyCount = 14;
constexpr i32 kKeyTable[kKeyCount] = {
    kKeyLeft, kKeyRight, kKeyUp, kKeyDown, 44,        kKeyAction,   29,
    58,       42,        54,     28,       kKeyPause, kKeyVolumeUp, kKeyVolumeDown};

// Field size in cells.
constexpr i32 kFieldColumns = 10;
constexpr i32 kFieldRows = 20;

// Table contents.
constexpr i32 kFallIntervalCount = 9;
constexpr i32 kFallIntervalValues[kFallIntervalCount] = {1000, 800, 600, 500, 450,
                                                         400,  350, 300, 250};
constexpr i32 kMenuButtonCount = 4;
constexpr i32 kMenuFlagValues[kMenuButtonCount] = {1, 0, 0, 0};
constexpr i32 kBackgroundCount = 5;
constexpr i32 kBackgroundValues[kBackgroundCount] = {999, 1012, 1014, 1013, 1016};

constexpr i32 kHiscoreCount = 5;

// The default high scores: five entries of (name, level as shown, score).
ReadDataCursor* DefaultHiscoreBlock();
// Rewinds the default high-score block and every shape block.
void RewindGameDataBlocks();

// The game's stamp for the runtime's "COMPILED" query: build date, "-", build time.
DynString GameBuildStamp();

// Start-up sizes and contents of the global arrays, in the order the main program sets them up:
// the 14 key latches; the field arrays (10 x 20, empty) and the piece cells (2 x 2); the fall
// intervals, menu flags and backgrounds.
void SetUpKeyLatches();
void SetUpPlayArrays();
void FillConstantTables();

}  // namespace game
