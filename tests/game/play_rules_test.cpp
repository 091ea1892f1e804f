// Pieces on the field: picking, spawning, landing, gravity with pause, game over, fall
// intervals and the turn with its fit test, including the faults that used to index outside the
// field.
#include <set>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "game/game_data.h"
#include "game/game_globals.h"
#include "game/play_rules.h"
#include "game/shape_table.h"
#include "game/timers.h"
#include "tests/game/game_fixture.h"
#include "tests/support/test_support.h"

using namespace game;

namespace {

// One gravity step as the main loop drives it: a timer event of value 0, then the tick.
void GravityEvent() {
  timerEvents.Redim(0);
  timerEvents.Append(0);
  GravityTick();
}

i32 BlockTimers() {
  i32 count = 0;
  for (i32 i = 0; i < timers.dim[0]; ++i) count += timers.At(i).name.CStr() == std::string("block");
  return count;
}

TEST_F(GameTest, FallIntervalsShortenWithTheLevel) {
  const std::pair<i32, i32> cases[] = {{0, 1000}, {1, 800}, {7, 300},   {8, 250},  {9, 232},
                                       {10, 230}, {124, 2}, {125, 0}, {126, -2}};
  for (auto [lvl, ms] : cases) EXPECT_EQ(ms, FallIntervalForLevel(lvl)) << "level " << lvl;
}

TEST_F(GameTest, PickedPiecesCoverAllSevenAndLoadRotationZero) {
  std::set<i32> seen;
  for (i32 k = 0; k < 200; ++k) {
    PickNextPiece();
    seen.insert(nextPiece);
    EXPECT_EQ(nextPiece, nextColour);
    EXPECT_EQ(nextColumns, nextCells.dim[0]);
    EXPECT_EQ(nextRows, nextCells.dim[1]);
  }
  EXPECT_EQ((std::set<i32>{0, 1, 2, 3, 4, 5, 6}), seen);
}

TEST_F(GameTest, SpawnTakesTheNextPieceAtColumnFourAndPicksAnother) {
  PickNextPiece();
  const i32 spawned = nextPiece;
  const i32 columns = nextColumns;
  rotation = 3;
  pieceColumn = 7;
  pieceRow = 12;
  SpawnPiece();
  EXPECT_EQ(spawned, currentPiece);
  EXPECT_EQ(spawned, currentColour);
  EXPECT_EQ(0, rotation);
  EXPECT_EQ(4, pieceColumn);
  EXPECT_EQ(0, pieceRow);
  EXPECT_EQ(columns, currentColumns);
  EXPECT_EQ(0, gameOver);
  i32 blocks = 0;
  for (i32 y = 0; y < currentRows; ++y)
    for (i32 x = 0; x < currentColumns; ++x) blocks += *currentCells.At(x, y) == 1.0f ? 1 : 0;
  EXPECT_EQ(4, blocks);
}

TEST_F(GameTest, AnOverlappingSpawnEndsTheGameWithoutWritingThePiece) {
  AddBlockTimer();
  AddTimer(DynString::FromCString("other"), 10, 1, 0);
  FillRows(0, {"....XX...."});
  SetNextPiece(kPieceO);
  SpawnPiece();
  EXPECT_EQ(1, gameOver);
  EXPECT_EQ(0, BlockTimers());
  EXPECT_EQ(1, timers.dim[0]);
  EXPECT_EQ("....XX....", RowPicture(0));
  EXPECT_EQ("..........", RowPicture(1));
  // Without the timer no gravity event comes any more.
  now = 100000;
  UpdateTimers();
  GravityTick();
  EXPECT_EQ(0, pieceRow);
  EXPECT_EQ("..........", RowPicture(1));
}

TEST_F(GameTest, FixWritesBlocksIntoEmptyCellsAndPlaysTheLandingSound) {
  musicVolume = 0.6f;
  FillRows(18, {"....3.....", ".........."});
  PlacePiece(kPieceT, 0, 4, 17);  // .X / XX / .X
  FixPiece();
  EXPECT_EQ((std::vector<SoundPlay>{{2, 0.0f, 0.6f}}), runtime.sounds);
  EXPECT_EQ(".....X....", RowPicture(17));
  EXPECT_EQ("....XX....", RowPicture(18));
  EXPECT_EQ(".....X....", RowPicture(19));
  EXPECT_EQ(3, *fieldColours.At(4, 18));  // a filled cell keeps its colour
  EXPECT_EQ(kPieceT, *fieldColours.At(5, 18));
  EXPECT_EQ(0, pieceRow);  // the next piece has spawned
}

TEST_F(GameTest, PiecesLandOnTheFloorAndOnTheStack) {
  struct Case {
    const char* what;
    std::string stack;  // row 19 before the fall
    i32 startRow, events;
    std::vector<std::string> expected;  // rows 16..19 after the events
    std::size_t sounds;
  };
  const Case cases[] = {
      {"resting on the floor, not yet fixed", "..........", 17, 1,
       {"..........", "..........", "..........", ".........."}, 0},
      {"fixed with its bottom on row 19", "..........", 17, 2,
       {"..........", "..........", "....XX....", "....XX...."}, 1},
      {"fixed one row up on the stack", ".....X....", 16, 2,
       {"..........", "....XX....", "....XX....", ".....X...."}, 1},
  };
  for (const Case& c : cases) {
    SetUp();
    FillRows(19, {c.stack});
    SetNextPiece(kPieceI);
    PlacePiece(kPieceO, 0, 4, c.startRow);
    for (i32 e = 0; e < c.events; ++e) GravityEvent();
    std::vector<std::string> rows;
    for (i32 y = 16; y < 20; ++y) rows.push_back(RowPicture(y));
    EXPECT_EQ(c.expected, rows) << c.what;
    EXPECT_EQ(c.sounds, runtime.sounds.size()) << c.what;
    EXPECT_EQ(c.sounds == 1 ? 0 : c.startRow + c.events, pieceRow) << c.what;
  }
}

TEST_F(GameTest, GravityStepsOncePerZeroEventAndNotWhilePaused) {
  PlacePiece(kPieceI, 0, 0, 0);
  timerEvents.Append(0);
  timerEvents.Append(5);  // another timer's value: skipped
  timerEvents.Append(0);
  GravityTick();
  EXPECT_EQ(2, pieceRow);
  pauseValue = kPaused;
  GravityTick();
  EXPECT_EQ(2, pieceRow);
  pauseValue = kRunning;
  GravityTick();
  EXPECT_EQ(4, pieceRow);
}

TEST_F(GameTest, WhilePausedAnOverlapIsStillFixedOneRowUp) {
  PlacePiece(kPieceI, 0, 3, 10);  // rows 10..13
  pauseValue = kPaused;
  FillRows(13, {"...X......"});  // a row shifted into the piece
  GravityEvent();
  EXPECT_EQ("...X......", RowPicture(9));
  EXPECT_EQ("...X......", RowPicture(12));
  EXPECT_EQ("...X......", RowPicture(13));
  EXPECT_EQ(1u, runtime.sounds.size());
}

TEST_F(GameTest, AnOverlappingPieceAtRowZeroIsFixedThereNotAboveTheField) {
  // Paused at row 0 while a cleared row shifted blocks into the piece's box: there is no row
  // above to move it to. It is fixed where it stands, and the next spawn ends the game.
  PlacePiece(kPieceI, 0, 3, 0);
  SetNextPiece(kPieceI);
  pauseValue = kPaused;
  FillRows(2, {"...XX....."});
  EXPECT_NO_THROW(GravityEvent());
  EXPECT_EQ("...X......", RowPicture(0));
  EXPECT_EQ("...XX.....", RowPicture(2));
  EXPECT_EQ("...X......", RowPicture(3));
  EXPECT_EQ(1, gameOver);
  EXPECT_EQ("..........", RowPicture(19));  // nothing wrapped round to the bottom
}

TEST_F(GameTest, TurnsNeedTheTurnedBoxInsideTheField) {
  struct Case {
    i32 piece, turn, column, row;
    bool turns;
  };
  const Case cases[] = {
      {kPieceI, 0, 9, 0, false},  // vertical I: 9 + 4 is above 10
      {kPieceI, 0, 6, 0, true},   // 6 + 4 is 10
      {kPieceI, 0, 7, 5, false},
      {kPieceI, 1, 0, 18, false},  // horizontal I: 18 + 4 is above 20
      {kPieceI, 1, 0, 16, true},
      {kPieceJ, 1, 7, 17, true},   // 3 x 2 to 2 x 3: row 17 + 3 is 20
      {kPieceJ, 1, 7, 18, false},
      {kPieceL, 0, 8, 0, false},   // 2 x 3 to 3 x 2: column 8 + 3 is above 10
      {kPieceL, 0, 7, 0, true},
  };
  for (const Case& c : cases) {
    PlacePiece(c.piece, c.turn, c.column, c.row);
    TurnPiece();
    const i32 expected = c.turns ? (c.turn + 1) % 4 : c.turn;
    EXPECT_EQ(expected, rotation) << c.piece << "/" << c.turn << " at " << c.column << "," << c.row;
    EXPECT_EQ(c.column, pieceColumn);
    EXPECT_LE(pieceColumn + currentColumns, kFieldColumns);
    EXPECT_LE(pieceRow + currentRows, kFieldRows);
  }
}

TEST_F(GameTest, ATurnIntoFilledCellsIsUndone) {
  PlacePiece(kPieceI, 0, 2, 5);  // vertical in column 2, rows 5..8
  FillRows(5, {".....X...."});   // the horizontal I would cover (2..5, 5)
  TurnPiece();
  EXPECT_EQ(0, rotation);
  EXPECT_EQ(1, currentColumns);
  EXPECT_EQ(4, currentRows);
  // Rotation 3 wraps to 0 when it turns, and back to 3 when undone.
  PlacePiece(kPieceJ, 3, 0, 0);
  FillRows(0, {"..X.......", "..........", ".X........"});
  TurnPiece();
  EXPECT_EQ(3, rotation);
}

TEST_F(GameTest, APieceThatCannotTurnIsNotTurnedBackOutOfTheField) {
  // A vertical I in column 9 already overlaps (a cleared row shifted a block into it). It cannot
  // turn; turning it "back" anyway would make it a horizontal I reaching column 12.
  PlacePiece(kPieceI, 0, 9, 10);
  FillRows(12, {".........X"});
  EXPECT_NO_THROW(TurnPiece());
  EXPECT_EQ(0, rotation);
  EXPECT_EQ(1, currentColumns);
  EXPECT_EQ(1, PieceCollides());
  GravityEvent();  // one row down, still overlapping: fixed one row up
  EXPECT_EQ("..........", RowPicture(9));
  for (i32 y = 10; y < 14; ++y) EXPECT_EQ(".........X", RowPicture(y)) << y;
}

TEST_F(GameTest, CollisionTestIsOffOnceTheGameIsOver) {
  PlacePiece(kPieceO, 0, 0, 0);
  FillRows(0, {"X........."});
  EXPECT_EQ(1, PieceCollides());
  gameOver = 1;
  EXPECT_EQ(0, PieceCollides());
}

}  // namespace
