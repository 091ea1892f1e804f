// Clearing full rows: one per call from the bottom up, rows and colours moving down, score and
// handicap bonus, the flying blocks, every tenth line's level rise, and the clear of row 0.
#include "game/row_clearing.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "game/game_globals.h"
#include "tests/game/game_fixture.h"

using namespace game;

namespace {

using Picture = std::vector<std::string>;
const std::string kFull = "XXXXXXXXXX";
const std::string kEmpty = "..........";

TEST_F(GameTest, StackedFullRowsClearOnePerCall) {
  FillRows(16, {"5.........", "..X.......", kFull, "2XXXXXXXXX"});
  const Picture after[] = {{kEmpty, "X.........", "..X.......", kFull},
                           {kEmpty, kEmpty, "X.........", "..X......."},
                           {kEmpty, kEmpty, "X.........", "..X......."}};
  for (i32 call = 0; call < 3; ++call) {
    ClearFullRows();
    EXPECT_EQ(after[call], Rows(16, 19)) << "call " << call;
    EXPECT_EQ(call < 2 ? call + 1 : 2, lines);
  }
  EXPECT_EQ(200, score);
  EXPECT_EQ(5, *fieldColours.At(0, 18));  // colours move with their cells
}

TEST_F(GameTest, EachClearedRowSendsItsBlocksFlying) {
  now = 1000;
  FillRows(15, {kFull, "...X......", "0123456012", "X........X", kFull});
  ClearFullRows();  // full rows apart from each other clear in the same call
  EXPECT_EQ(3, lines);
  EXPECT_EQ((Picture{"...X......", "X........X"}), Rows(18, 19));
  ASSERT_EQ(30, effects.dim[0]);
  for (i32 x = 0; x < 10; ++x) {
    const EffectParticle& p = effects.At(10 + x);  // the second cleared, met at row 18
    EXPECT_EQ(std::make_tuple("0123456012"[x] - '0', 110.0f + 10 * x, 213.0f, 1.0f, 0.2f),
              std::make_tuple(p.sprite, p.x, p.y, p.fall, p.gravity));
    EXPECT_TRUE(p.speed >= 4 && p.speed <= 8 && p.endTime >= 3000 && p.endTime <= 5000);
    EXPECT_TRUE(p.angle <= 50 || p.angle >= 310) << p.angle;
  }
}

TEST_F(GameTest, HandicapBonusNeedsTheBonusRowEmpty) {
  const struct {
    i32 handicap, clearedRow;
    std::string bonusRow;  // row 19 - handicap, unless it is the cleared row
    i32 points;
  } cases[] = {
      {3, 12, kEmpty, 400}, {3, 12, "....X.....", 100}, {10, 5, kEmpty, 1100},
      {0, 19, "", 100},      // the cleared row is the bonus row: still full when tested
      {0, 12, kEmpty, 100},  // bonus earned, worth 100 x 0
  };
  for (const auto& c : cases) {
    SetUp();
    handicap = c.handicap;
    FillRows(c.clearedRow, {kFull});
    if (!c.bonusRow.empty()) FillRows(19 - c.handicap, {c.bonusRow});
    ClearFullRows();
    EXPECT_EQ(c.points, score) << c.handicap << "/" << c.clearedRow;
    const bool bonus = c.bonusRow == kEmpty;
    ASSERT_EQ(bonus ? 11 : 10, effects.dim[0]);
    if (bonus) {
      const EffectParticle& p = effects.At(0);
      EXPECT_EQ(std::make_tuple(10, 140.0f, 10.0f * c.clearedRow + 33, 4.0f, 500, 0),
                std::make_tuple(p.sprite, p.x, p.y, p.speed, p.endTime, p.angle));
    }
  }
}

TEST_F(GameTest, EveryTenthLineRaisesTheLevel) {
  const struct {
    i32 linesBefore, levelBefore, points, level;
    bool fades;  // rises to stored levels 2, 5, 8, 11 (shown 3, 6, 9, 12)
    i32 interval;
  } cases[] = {{9, 0, 600, 1, false, 800},  {9, 1, 1100, 2, true, 600},
               {19, 4, 2600, 5, true, 400}, {9, 7, 4100, 8, true, 250},
               {9, 8, 4600, 9, false, 232}, {9, 10, 5600, 11, true, 228},
               {10, 1, 100, 1, false, 1000}};
  for (const auto& c : cases) {
    SetUp();
    now = 5000;
    AddBlockTimer();
    lines = c.linesBefore;
    level = c.levelBefore;
    FillRows(19, {kFull});
    ClearFullRows();
    EXPECT_EQ(std::make_tuple(c.points, c.level, c.fades ? 1 : 0, c.fades ? -0.99f : 0.0f),
              std::make_tuple(score, level, fadeDirection, fadeValue))
        << "level " << c.levelBefore;
    const NamedTimer& block = timers.At(0);
    EXPECT_EQ(std::make_tuple(c.interval, 5000 + c.interval, 0, 0),
              std::make_tuple(block.interval, block.nextDue, block.value, block.once));
  }
}

TEST_F(GameTest, ClearingRowZeroKeepsRowOne) {
  FillRows(0, {kFull, "X.X.X.X.X.", "XXXX......"});
  ClearFullRows();
  EXPECT_EQ(1, lines);
  EXPECT_EQ((Picture{kEmpty, "X.X.X.X.X.", "XXXX......"}), Rows(0, 2));
}

}  // namespace
