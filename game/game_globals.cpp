// The definitions of the game's globals with their program-start values, and their reset.
// The arrays free their storage at process exit through their destructors.
#include "game/game_globals.h"

#include <memory>

#include "game/game_data.h"

namespace game {

i32 gameState = kStateTitle;
i32 pauseValue = kRunning;
i32 gameOver = 0;
i32 currentPiece = 6;
i32 currentColour = 3;
i32 rotation = 2;
i32 pieceColumn = 0;
i32 pieceRow = 0;
i32 currentColumns = 0;
i32 currentRows = 0;
i32 nextPiece = 0;
i32 nextColour = 0;
i32 nextColumns = 0;
i32 nextRows = 0;
i32 handicap = 0;
i32 level = 0;
i32 lines = 0;
i32 score = 0;
i32 bonusFlag = 0;
i32 cellCount = 0;
f32 rowShiftStart = 0;
f32 effectStepX = 0;
f32 effectStepY = 0;
i32 backgroundIndex = 0;
f32 fadeValue = 0;
i32 fadeDirection = 0;
f32 musicVolume = kDefaultMusicVolume;
i32 statisticsSwitch = -1;
f32 frameTime = 0;
i32 now = 0;
i32 gameWidth = 320;
i32 gameHeight = 240;
i32 gameFrameRate = 30;

i32 selectedButton = 0;
i32 editedEntry = 0;
i32 nameCursor = 0;
i32 currentLetter = 0;
DynString editedName;
f32 nameLength = 0;
i32 handicapRow = 0;
f32 holeCount = 0;
f32 holeColumn = 0;

NumArray<i32> fieldOccupancy;
NumArray<i32> fieldColours;
NumArray<f32> currentCells;
NumArray<f32> nextCells;
NumArray<i32> fallIntervals;
NumArray<i32> menuFlags;
NumArray<i32> backgrounds;
NumArray<i32> keyLatches;
DynArray<NamedTimer> timers;
DynArray<i32> timerEvents;
DynArray<EffectParticle> effects;
DynArray<HiscoreEntry> hiscores;

namespace {

// The runtime's arrays are neither copied nor moved; a fresh one is built in place.
template <class Array>
void MakeEmpty(Array& array) {
  std::destroy_at(&array);
  std::construct_at(&array);
}

}  // namespace

void InitGameGlobals() {
  gameState = kStateTitle;
  pauseValue = kRunning;
  gameOver = 0;
  currentPiece = 6;
  currentColour = 3;
  rotation = 2;
  pieceColumn = pieceRow = currentColumns = currentRows = 0;
  nextPiece = nextColour = nextColumns = nextRows = 0;
  handicap = level = lines = score = bonusFlag = cellCount = 0;
  rowShiftStart = effectStepX = effectStepY = 0;
  backgroundIndex = 0;
  fadeValue = 0;
  fadeDirection = 0;
  musicVolume = kDefaultMusicVolume;
  statisticsSwitch = -1;
  frameTime = 0;
  now = 0;
  gameWidth = 320;
  gameHeight = 240;
  gameFrameRate = 30;

  selectedButton = editedEntry = nameCursor = currentLetter = 0;
  editedName.Reset();
  nameLength = 0;
  handicapRow = 0;
  holeCount = holeColumn = 0;

  MakeEmpty(fieldOccupancy);
  MakeEmpty(fieldColours);
  MakeEmpty(currentCells);
  MakeEmpty(nextCells);
  MakeEmpty(fallIntervals);
  MakeEmpty(menuFlags);
  MakeEmpty(backgrounds);
  MakeEmpty(keyLatches);
  MakeEmpty(timers);
  MakeEmpty(timerEvents);
  MakeEmpty(effects);
  MakeEmpty(hiscores);

  RewindGameDataBlocks();
}

}  // namespace game
