// Pieces on the field: spawning and game over, landing, gravity and pause, fall intervals, and
// the turn with its fit test, including the two faults that indexed outside the field.
#include "game/play_rules.h"

#include <gtest/gtest.h>

#include <set>
#include <string>
#include <vector>

#include "game/game_data.h"
#include "game/game_globals.h"
#include "game/shape_table.h"
#include "game/timers.h"
#include "tests/game/game_fixture.h"

using namespace game;

namespace {

using Picture = std::vector<std::string>;
const std::string kEmpty = "..........";

// One gravity step as the main loop drives it: a "block" event, then the tick.
void GravityEvent() {
  timerEvents.Redim(0);
  timerEvents.Append(0);
  GravityTick();
}

TEST_F(GameTest, FallIntervalsShortenWithTheLevel) {
  const std::pair<i32, i32> cases[] = {{0, 1000}, {1, 800}, {8, 250}, {9, 232},
                                       {124, 2},  {125, 0}, {126, -2}};
  for (auto [lvl, ms] : cases) EXPECT_EQ(ms, FallIntervalForLevel(lvl)) << "level " << lvl;
}

TEST_F(GameTest, SpawnTakesTheNextPieceAtColumnFourAndPicksAnother) {
  SetNextPiece(kPieceL);
  rotation = 3;
  pieceColumn = pieceRow = 7;
  SpawnPiece();
  EXPECT_EQ(std::make_tuple(kPieceL, kPieceL, 0, 4, 0, 2, 3, 0),
            std::make_tuple(currentPiece, currentColour, rotation, pieceColumn, pieceRow,
                            currentColumns, currentRows, gameOver));
  EXPECT_EQ(std::make_pair(1.0f, 0.0f),
            std::make_pair(*currentCells.At(0, 2), *currentCells.At(1, 0)));
  EXPECT_EQ(nextColour, nextPiece);
}

TEST_F(GameTest, AnOverlappingSpawnEndsTheGameWithoutWritingThePiece) {
  AddBlockTimer();
  AddTimer(DynString::FromCString("other"), 10, 1, 0);
  FillRows(0, {"....XX...."});
  SetNextPiece(kPieceO);
  SpawnPiece();
  EXPECT_EQ(1, gameOver);
  ASSERT_EQ(1, timers.dim[0]);
  EXPECT_STREQ("other", timers.At(0).name.CStr());
  EXPECT_EQ((Picture{"....XX....", kEmpty}), Rows(0, 1));
  now = 100000;  // without the timer no gravity event comes any more
  UpdateTimers();
  GravityTick();
  EXPECT_EQ(0, pieceRow);
}

TEST_F(GameTest, PiecesLandOnTheFloorAndOnTheStack) {
  const struct {
    std::string stack;  // row 19
    i32 startRow, events;
    Picture rows;  // 17..19 afterwards
    i32 row;       // piece row afterwards
  } cases[] = {
      {kEmpty, 17, 1, {kEmpty, kEmpty, kEmpty}, 18},                         // resting, not fixed
      {kEmpty, 17, 2, {kEmpty, "....XX....", "....XX...."}, 0},              // fixed on row 19
      {".....X....", 16, 2, {"....XX....", "....XX....", ".....X...."}, 0},  // one row up
  };
  LoadLandingSound();
  for (const auto& c : cases) {
    SetUp();
    SetLandingSoundVolume(0);
    musicVolume = 0.6f;
    FillRows(19, {c.stack});
    SetNextPiece(kPieceI);
    PlacePiece(kPieceO, 0, 4, c.startRow);
    for (i32 e = 0; e < c.events; ++e) GravityEvent();
    EXPECT_EQ(c.rows, Rows(17, 19)) << c.startRow << "/" << c.events;
    EXPECT_EQ(c.row, pieceRow);
    // The landing sound plays at the music volume (0.6 of the mixer's 128).
    EXPECT_EQ(c.row == 0 ? 76 : 0, SetLandingSoundVolume(-1));
  }
}

TEST_F(GameTest, GravityStepsPerZeroEventOnlyWhileRunningButTestsOverlapWhilePaused) {
  PlacePiece(kPieceI, 0, 3, 0);
  for (i32 value : {0, 5, 0}) timerEvents.Append(value);  // 5: another timer's event
  GravityTick();
  EXPECT_EQ(2, pieceRow);
  pauseValue = kPaused;
  GravityTick();
  EXPECT_EQ(2, pieceRow);
  FillRows(5, {"...X......"});  // a cleared row shifted a block into the paused piece
  GravityTick();
  EXPECT_EQ((Picture{"...X......", "...X......", "...X......", "...X......", "...X......"}),
            Rows(1, 5));
}

TEST_F(GameTest, AnOverlappingPieceAtRowZeroIsFixedThereNotAboveTheField) {
  PlacePiece(kPieceI, 0, 3, 0);
  SetNextPiece(kPieceI);
  pauseValue = kPaused;
  FillRows(2, {"...5X....."});
  EXPECT_NO_THROW(GravityEvent());
  EXPECT_EQ((Picture{"...X......", "...X......", "...XX.....", "...X......"}), Rows(0, 3));
  EXPECT_EQ(kEmpty, Rows(19, 19)[0]);  // nothing wrapped round to the bottom
  EXPECT_EQ(1, gameOver);              // the next spawn meets the stack
  EXPECT_EQ(std::make_pair(5, kPieceI),
            std::make_pair(*fieldColours.At(3, 2), *fieldColours.At(3, 3)));
}

TEST_F(GameTest, TurnsNeedTheTurnedBoxInsideTheFieldAndFreeCells) {
  const struct {
    i32 piece, turn, column, row;
    std::string row0;  // field row `row` (".........." for none)
    bool turns;
  } cases[] = {
      {kPieceI, 0, 9, 0, kEmpty, false},
      {kPieceI, 0, 6, 0, kEmpty, true},  // column + 4 <= 10
      {kPieceI, 1, 0, 18, kEmpty, false},
      {kPieceI, 1, 0, 16, kEmpty, true},  // row + 4 <= 20
      {kPieceJ, 1, 7, 18, kEmpty, false},
      {kPieceJ, 1, 7, 17, kEmpty, true},
      {kPieceL, 0, 8, 0, kEmpty, false},
      {kPieceL, 0, 7, 0, kEmpty, true},
      {kPieceL, 0, 7, 0, "........X.", true},   // a filled cell under a hole of the box
      {kPieceI, 0, 2, 5, ".....X....", false},  // the turned I would cover (5, 5): undone
      {kPieceJ, 3, 0, 0, ".X........", false},  // 3 turns to 0, overlaps, and back to 3
  };
  for (const auto& c : cases) {
    SetUp();
    FillRows(c.row, {c.row0});
    PlacePiece(c.piece, c.turn, c.column, c.row);
    TurnPiece();
    EXPECT_EQ(c.turns ? (c.turn + 1) % 4 : c.turn, rotation)
        << c.piece << " at " << c.column << "," << c.row;
    // The cells are those of the rotation it ends in: wide after a turn from upright.
    EXPECT_EQ(c.turns == (c.turn % 2 == 0), currentColumns > currentRows) << c.piece;
  }
}

TEST_F(GameTest, APieceThatCannotTurnIsNotTurnedBackOutOfTheField) {
  // A vertical I in column 9 that a cleared row shifted a block into: it cannot turn, and turning
  // it back anyway would make a horizontal I reaching column 12.
  PlacePiece(kPieceI, 0, 9, 10);
  FillRows(12, {".........X"});
  EXPECT_NO_THROW(TurnPiece());
  EXPECT_EQ(std::make_tuple(0, 1, 1), std::make_tuple(rotation, currentColumns, PieceCollides()));
  GravityEvent();  // one row down, still overlapping: fixed one row up
  EXPECT_EQ((Picture{kEmpty, ".........X", ".........X", ".........X", ".........X"}), Rows(9, 13));
}

}  // namespace
