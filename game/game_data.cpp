// The default high-score block, the build stamp and the set-up of the global arrays.
#include "game/game_data.h"

#include "game/game_globals.h"
#include "game/shape_table.h"

namespace game {

namespace {

constexpr ReadDataItem N(f32 value) { return ReadDataItem{value, nullptr}; }
constexpr ReadDataItem T(const char* text) { return ReadDataItem{0, text}; }

// Name, level as shown, score.
// clang-format off
constexpr ReadDataItem kDefaultHiscoreItems[] = {
    T("Zorvan"), N(3),  N(120),
    T("Pilo"),   N(2),  N(100),
    T("Mekkas"), N(10), N(1230),
    T("Tullo"),  N(1),  N(80),
    T("Brem"),   N(1),  N(190),
};
// clang-format on

ReadDataCursor defaultHiscoreBlock{kDefaultHiscoreItems, 15, 0};

}  // namespace

ReadDataCursor* DefaultHiscoreBlock() { return &defaultHiscoreBlock; }

void RewindGameDataBlocks() {
  defaultHiscoreBlock.next = 0;
  RewindShapeBlocks();
}

// The build date, "-", the build time; fixed, so the stamp is the same in every build.
DynString GameBuildStamp() { return DynString::FromCString("Jun 20 2009-19:13:10"); }

void SetUpKeyLatches() { keyLatches.Redim(kKeyCount); }

void SetUpPlayArrays() {
  fieldOccupancy.Redim(kFieldColumns, kFieldRows);
  fieldColours.Redim(kFieldColumns, kFieldRows);
  currentCells.Redim(2, 2);
  nextCells.Redim(2, 2);
}

void FillConstantTables() {
  fallIntervals.Assign(kFallIntervalCount, kFallIntervalValues);
  menuFlags.Assign(kMenuButtonCount, kMenuFlagValues);
  backgrounds.Assign(kBackgroundCount, kBackgroundValues);
}

}  // namespace game
