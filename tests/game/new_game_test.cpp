// Starting a game: the state, counters and timer, the empty field, and the handicap rows with
// their holes, drawn from a fixed seed.
#include "game/new_game.h"

#include <gtest/gtest.h>

#include "core/random.h"
#include "game/game_data.h"
#include "game/game_globals.h"
#include "tests/game/game_fixture.h"

using namespace game;

namespace {

i32 Filled(i32 row) {
  i32 filled = 0;
  for (i32 x = 0; x < kFieldColumns; ++x) filled += *fieldOccupancy.At(x, row);
  return filled;
}

TEST_F(GameTest, ANewGameStartsFromAFieldWithItsHandicapRows) {
  for (i32 h : {0, 1, 2, 5, 10}) {
    for (i32 seed : {1, 7, 99}) {
      SetUp();
      SeedRandom(seed);
      FillRows(0, {"XXXXXXXXXX"});
      *fieldColours.At(3, 0) = 5;
      score = lines = level = 9;
      backgroundIndex = 2;
      handicap = h;
      StartNewGame();
      EXPECT_EQ(kStatePlay, gameState);
      EXPECT_EQ(0, score + lines + level + backgroundIndex);
      ASSERT_EQ(1, timers.dim[0]);
      EXPECT_EQ(1000, timers.At(0).interval);
      EXPECT_EQ(5, *fieldColours.At(3, 0)) << "colours are kept";
      const i32 rows = h > 1 ? h - 1 : 0;
      for (i32 y = 0; y < kFieldRows; ++y) {
        if (y < kFieldRows - rows) {
          EXPECT_EQ(0, Filled(y)) << "h " << h << " row " << y;
        } else {
          EXPECT_TRUE(Filled(y) == 7 || Filled(y) == 8) << "h " << h << " row " << y;
          for (i32 x = 0; x < kFieldColumns; ++x) {
            const i32 colour = *fieldColours.At(x, y);
            EXPECT_TRUE(colour >= 0 && colour <= 6);
            if (*fieldOccupancy.At(x, y) == 0) {
              EXPECT_EQ(0, colour);
            }
          }
        }
      }
      EXPECT_EQ(0, handicapRow);
      EXPECT_EQ(0, pieceRow);
      EXPECT_EQ(4, pieceColumn);
    }
  }
}

TEST_F(GameTest, BothHoleCountsOccur) {
  handicap = 10;
  i32 seen[2] = {0, 0};
  for (i32 seed = 0; seed < 20; ++seed) {
    SetUp();
    SeedRandom(seed);
    handicap = 10;
    BuildHandicapRows();
    for (i32 y = 11; y < kFieldRows; ++y) ++seen[Filled(y) - 7];
  }
  EXPECT_GT(seen[0], 0);
  EXPECT_GT(seen[1], 0);
}

}  // namespace
