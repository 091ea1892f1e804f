// The play keys: moves with their edges and blocks, the turn with its fit test (and the turn
// that could not be made, which is not undone), the soft drop, pause, and leaving a finished
// game for name entry or the title.
#include "game/play_input.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "game/game_data.h"
#include "game/game_globals.h"
#include "game/hiscore_table.h"
#include "game/shape_table.h"
#include "tests/game/game_fixture.h"

using namespace game;

namespace {

class PlayInputTest : public GameTest {
 protected:
  void SetUp() override {
    GameTest::SetUp();
    gameState = kStatePlay;
    SetNextPiece(kPieceT);
  }
  // One pass of the play keys with the buttons held.
  void Pass(u32 held) {
    runtime.Hold(held);
    HandlePlayInput();
  }
  void Tap(u32 buttons) {
    Pass(buttons);
    Pass(0);
  }
};

TEST_F(PlayInputTest, MovesStopAtTheEdgesAndAtFilledCells) {
  const struct {
    i32 column;
    u32 held;  // held for one pass, then all released
    std::string row10;
    i32 after;
  } cases[] = {
      {4, kLeftButton, "..........", 3}, {4, kRightButton, "..........", 5},
      {0, kLeftButton, "..........", 0}, {8, kRightButton, "..........", 8},  // an O is 2 wide
      {4, kLeftButton, "...X......", 4}, {4, kRightButton, "......X...", 4},
  };
  for (const auto& c : cases) {
    SetUp();
    FillRows(10, {c.row10});
    PlacePiece(kPieceO, 0, c.column, 10);
    Tap(c.held);
    EXPECT_EQ(c.after, pieceColumn) << c.column << " " << c.row10;
  }
}

TEST_F(PlayInputTest, RightIsNotAskedInAPassWhoseLeftReports) {
  PlacePiece(kPieceO, 0, 4, 10);
  Pass(kLeftButton);
  Pass(kRightButton);  // left reports its release; right is not latched
  Pass(0);
  EXPECT_EQ(3, pieceColumn);
}

TEST_F(PlayInputTest, TurnsNeedRoomInTheFieldAndFreeCells) {
  const struct {
    i32 piece, turn, column, row;
    i32 filledRow;
    std::string filled;
    i32 rotationAfter;
  } cases[] = {
      {kPieceI, 0, 9, 0, 5, "..........", 0},  // 9 + 4 columns would pass the right edge
      {kPieceI, 0, 6, 0, 5, "..........", 1},
      {kPieceI, 1, 0, 18, 5, "..........", 1},  // 18 + 4 rows would pass the floor
      {kPieceI, 1, 0, 16, 5, "..........", 2},
      {kPieceI, 0, 5, 0, 0, "........X.", 0},  // turned, it would cover a block: turned back
      {kPieceL, 0, 8, 0, 5, "..........", 0},  // 8 + 3 columns
      // Already overlapping (a cleared row moved a block into it) and unable to turn: it stays
      // as it is, inside the field, instead of being turned back past its edge.
      {kPieceI, 0, 9, 0, 2, ".........X", 0},
  };
  for (const auto& c : cases) {
    SetUp();
    FillRows(c.filledRow, {c.filled});
    PlacePiece(c.piece, c.turn, c.column, c.row);
    Tap(kActionButton);
    EXPECT_EQ(c.rotationAfter, rotation) << c.piece << " at " << c.column << "," << c.row;
    EXPECT_LE(pieceColumn + currentColumns, kFieldColumns);
    EXPECT_LE(pieceRow + currentRows, kFieldRows);
    Pass(0);  // the next overlap test stays inside the field
  }
}

TEST_F(PlayInputTest, SoftDropScoresEveryPassAndFixesOnTheFloor) {
  PlacePiece(kPieceO, 0, 4, 17);
  // Per pass held: score and the falling piece's row after it.
  const std::pair<i32, i32> passes[] = {{1, 18}, {2, 0}, {3, 1}};
  for (const auto& [points, row] : passes) {
    Pass(kDownButton);
    EXPECT_EQ(points, score);
    EXPECT_EQ(row, pieceRow);
  }
  EXPECT_EQ((std::vector<std::string>{"....XX....", "....XX...."}), Rows(18, 19));
  EXPECT_EQ(kPieceT, currentPiece);
}

TEST_F(PlayInputTest, PauseHoldsThePieceUntilTheKeyIsReleasedAgain) {
  PlacePiece(kPieceO, 0, 4, 5);
  Tap(kPauseButton);
  EXPECT_EQ(kPaused, pauseValue);
  Tap(kLeftButton);
  Pass(kDownButton);
  Tap(kActionButton);
  EXPECT_EQ(std::make_pair(4, 5), std::make_pair(pieceColumn, pieceRow));
  EXPECT_EQ(0, score);
  Tap(kPauseButton);
  EXPECT_EQ(kRunning, pauseValue);
  Tap(kLeftButton);
  EXPECT_EQ(3, pieceColumn);
}

TEST_F(PlayInputTest, AFinishedGameGoesToNameEntryOnlyWhenTheScoreReachesTheTable) {
  const struct {
    i32 score, state;
  } cases[] = {{79, kStateTitle}, {80, kStateNameEntry}, {5000, kStateNameEntry}};
  for (const auto& c : cases) {
    SetUp();
    LoadDefaultHiscores();  // the lowest is Tullo's 80
    gameOver = 1;
    score = c.score;
    Pass(kActionButton);
    EXPECT_EQ(kStatePlay, gameState);
    Pass(0);
    EXPECT_EQ(c.state, gameState) << c.score;
    EXPECT_EQ(0, gameOver);
  }
}

}  // namespace
