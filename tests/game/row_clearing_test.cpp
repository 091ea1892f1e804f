// Clearing full rows: one per call from the bottom up, the rows above moving down, score and
// handicap bonus, the flying blocks, every tenth line's level rise with its timer and fade, and
// the clear of row 0.
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "game/game_data.h"
#include "game/game_globals.h"
#include "game/play_rules.h"
#include "game/row_clearing.h"
#include "game/timers.h"
#include "tests/game/game_fixture.h"

using namespace game;

namespace {

const std::string kFull = "XXXXXXXXXX";

std::vector<std::string> Rows(i32 top, i32 bottom) {
  std::vector<std::string> rows;
  for (i32 y = top; y <= bottom; ++y) rows.push_back(RowPicture(y));
  return rows;
}

TEST_F(GameTest, StackedFullRowsClearOnePerCall) {
  FillRows(16, {"X.........", "..X.......", kFull, kFull});
  ClearFullRows();
  EXPECT_EQ(1, lines);
  EXPECT_EQ((std::vector<std::string>{"..........", "X.........", "..X.......", kFull}), Rows(16, 19));
  ClearFullRows();
  EXPECT_EQ(2, lines);
  EXPECT_EQ(200, score);
  EXPECT_EQ((std::vector<std::string>{"..........", "..........", "X.........", "..X......."}),
            Rows(16, 19));
  ClearFullRows();
  EXPECT_EQ(2, lines);
}

TEST_F(GameTest, SeparatedFullRowsClearInOneCall) {
  FillRows(15, {kFull, "...X......", kFull, "X........X", kFull});
  ClearFullRows();
  EXPECT_EQ(3, lines);
  EXPECT_EQ((std::vector<std::string>{"..........", "...X......", "X........X"}), Rows(17, 19));
}

TEST_F(GameTest, ClearedRowsMoveColoursDownWithTheirCells) {
  FillRows(17, {"5.........", "XXXXXXXXX2"}, 1);
  FillRows(19, {kFull}, 4);
  ClearFullRows();
  EXPECT_EQ(5, *fieldColours.At(0, 18));
  EXPECT_EQ(2, *fieldColours.At(9, 19));
  EXPECT_EQ(1, *fieldColours.At(0, 19));
}

TEST_F(GameTest, EachClearedRowSendsItsBlocksFlying) {
  now = 1000;
  FillRows(19, {"0123456012"});
  ClearFullRows();
  ASSERT_EQ(10, effects.dim[0]);
  for (i32 x = 0; x < 10; ++x) {
    const EffectParticle& p = effects.At(x);
    EXPECT_EQ("0123456012"[x] - '0', p.sprite);
    EXPECT_EQ(static_cast<f32>(110 + 10 * x), p.x);
    EXPECT_EQ(223.0f, p.y);
    EXPECT_GE(p.speed, 4.0f);
    EXPECT_LE(p.speed, 8.0f);
    EXPECT_GE(p.endTime, 3000);
    EXPECT_LE(p.endTime, 5000);
    EXPECT_TRUE(p.angle <= 50 || p.angle >= 310) << p.angle;
    EXPECT_EQ(1.0f, p.fall);
    EXPECT_EQ(0.2f, p.gravity);
  }
}

TEST_F(GameTest, HandicapBonusNeedsTheBonusRowEmpty) {
  struct Case {
    const char* what;
    i32 handicap;
    i32 clearedRow;
    std::string bonusRow;  // row 19 - handicap before the clear (when it is not the cleared row)
    i32 points;
    i32 particles;
  };
  const Case cases[] = {
      {"bonus row empty", 3, 12, "..........", 400, 11},
      {"bonus row holds a block", 3, 12, "....X.....", 100, 10},
      {"handicap 0: the cleared row is the bonus row", 0, 19, "", 100, 10},
      {"handicap 0, bonus row 19 empty", 0, 12, "..........", 100, 11},
      {"handicap 10", 10, 5, "..........", 1100, 11},
  };
  for (const Case& c : cases) {
    SetUp();
    now = 0;
    handicap = c.handicap;
    FillRows(c.clearedRow, {kFull}, 2);
    if (!c.bonusRow.empty()) FillRows(19 - c.handicap, {c.bonusRow});
    ClearFullRows();
    EXPECT_EQ(c.points, score) << c.what;
    ASSERT_EQ(c.particles, effects.dim[0]) << c.what;
    EXPECT_EQ(0, bonusFlag) << c.what;
    if (c.particles == 11) {
      const EffectParticle& bonus = effects.At(0);
      EXPECT_EQ(10, bonus.sprite);
      EXPECT_EQ(140.0f, bonus.x);
      EXPECT_EQ(static_cast<f32>(10 * c.clearedRow + 33), bonus.y);
      EXPECT_EQ(4.0f, bonus.speed);
      EXPECT_EQ(500, bonus.endTime);
      EXPECT_EQ(0, bonus.angle);
    }
  }
}

TEST_F(GameTest, EveryTenthLineRaisesTheLevel) {
  struct Case {
    i32 levelBefore;
    i32 points;         // for the tenth line
    bool fades;         // stored levels 2, 5, 8, ... (shown 3, 6, 9)
    i32 interval;
  };
  const Case cases[] = {{0, 100 + 500, false, 800}, {1, 100 + 1000, true, 600},
                        {4, 100 + 2500, true, 400}, {7, 100 + 4000, true, 250},
                        {8, 100 + 4500, false, 232}, {10, 100 + 5500, true, 228}};
  for (const Case& c : cases) {
    SetUp();
    now = 5000;
    AddBlockTimer();
    level = c.levelBefore;
    lines = 9;
    fadeDirection = 0;
    fadeValue = 0;
    FillRows(19, {kFull});
    ClearFullRows();
    EXPECT_EQ(10, lines);
    EXPECT_EQ(c.levelBefore + 1, level);
    EXPECT_EQ(c.points, score) << "level " << c.levelBefore;
    EXPECT_EQ(c.fades ? 1 : 0, fadeDirection) << "level " << c.levelBefore;
    EXPECT_EQ(c.fades ? -0.99f : 0.0f, fadeValue);
    ASSERT_EQ(1, timers.dim[0]);
    EXPECT_EQ(c.interval, timers.At(0).interval);
    EXPECT_EQ(5000 + c.interval, timers.At(0).nextDue);
    EXPECT_EQ(0, timers.At(0).value);
    EXPECT_EQ(0, timers.At(0).once);
  }
}

TEST_F(GameTest, TheEleventhLineDoesNotRaiseTheLevelAgain) {
  level = 1;
  lines = 10;
  FillRows(19, {kFull});
  ClearFullRows();
  EXPECT_EQ(1, level);
  EXPECT_EQ(100, score);
}

TEST_F(GameTest, ClearingRowZeroKeepsRowOne) {
  FillRows(0, {kFull, "X.X.X.X.X.", "XXXX......"});
  ClearFullRows();
  EXPECT_EQ(1, lines);
  EXPECT_EQ((std::vector<std::string>{"..........", "X.X.X.X.X.", "XXXX......"}), Rows(0, 2));
}

}  // namespace
