// The screens over the generated assets, probed at known pixels: the play board with its cells,
// falling and next pieces, banners and handicap line, the background change, and the high-score
// table's columns.
#include "game/screens.h"

#include <gtest/gtest.h>

#include <vector>

#include "game/asset_loading.h"
#include "game/field_drawing.h"
#include "game/game_data.h"
#include "game/game_globals.h"
#include "game/game_main.h"
#include "game/new_game.h"
#include "game/shape_table.h"
#include "media/graphics_commands.h"
#include "tests/game/game_fixture.h"

using namespace game;

namespace {

// Pixels of the rectangle where the screen differs from a full-screen picture.
i32 UnlikeSprite(i32 sprite, i32 x, i32 y, i32 w, i32 h) {
  i32 unlike = 0;
  for (i32 j = y; j < y + h; ++j)
    for (i32 i = x; i < x + w; ++i) unlike += GetPixelCommand(i, j) != SpritePixel(sprite, i, j);
  return unlike;
}

class PlayScreenTest : public GamePlayTest {
 protected:
  void SetUp() override {
    GamePlayTest::SetUp();
    GamePass();  // the game's clock is set
    StartNewGame();
  }
};

TEST_F(PlayScreenTest, CellsAndPiecesStandOnTheirGrid) {
  FillRows(17, {"0123456...", "6543210..."});
  PlacePiece(kPieceT, 1, 2, 0);  // XXX / .X.
  SetNextPiece(kPieceI);         // 1 x 4 around (270, 58)
  GamePass();
  for (i32 x = 0; x < 7; ++x) {
    EXPECT_TRUE(SpriteShownAt(x, CellX(x), CellY(17))) << x;
    EXPECT_TRUE(SpriteShownAt(6 - x, CellX(x), CellY(18))) << x;
  }
  for (const auto& [c, r] : std::vector<std::pair<i32, i32>>{{2, 0}, {3, 0}, {4, 0}, {3, 1}})
    EXPECT_TRUE(SpriteShownAt(kPieceT, CellX(c), CellY(r))) << c << "," << r;
  for (i32 r = 0; r < 4; ++r) EXPECT_TRUE(SpriteShownAt(kPieceI, 265, 38 + 10 * r)) << r;
  // The frame around the field.
  EXPECT_TRUE(SpriteShownAt(kSpriteBorderLeft, 104, 33));
  EXPECT_TRUE(SpriteShownAt(kSpriteBorderRight, 210, 33));
  EXPECT_TRUE(SpriteShownAt(kSpriteBorderDown, 110, 233));
  EXPECT_TRUE(SpriteShownAt(kSpriteScoreLabel, 2, 10));
  EXPECT_TRUE(SpriteShownAt(kSpriteNextLabel, 247, 10));
}

TEST_F(PlayScreenTest, BannersShowGameOverBeforePause) {
  const struct {
    i32 gameOver, pause, banner;
  } cases[] = {
      {0, kPaused, kSpritePaused}, {1, kPaused, kSpriteGameOver}, {1, kRunning, kSpriteGameOver}};
  for (const auto& c : cases) {
    gameOver = c.gameOver;
    pauseValue = c.pause;
    GamePass();
    EXPECT_TRUE(SpriteShownAt(c.banner, 0, 80)) << c.gameOver << c.pause;
  }
  gameOver = 0;
  pauseValue = kRunning;
  GamePass();
  EXPECT_FALSE(SpriteShownAt(kSpritePaused, 0, 80));
}

TEST_F(PlayScreenTest, TheHandicapLineMarksTheTopOfTheHandicapRows) {
  handicap = 4;
  GamePass();
  for (i32 i = 0; i < 10; ++i) EXPECT_TRUE(SpriteShownAt(kSpriteHandicapLine, CellX(i), 193)) << i;
  // Without a handicap the bottom border shows whole where the line would be.
  handicap = 0;
  GamePass();
  EXPECT_TRUE(SpriteShownAt(kSpriteBorderDown, 110, 233));
  EXPECT_FALSE(SpriteShownAt(kSpriteHandicapLine, CellX(0), 193));
}

TEST_F(PlayScreenTest, TheBackgroundIsTheLevelsPicture) {
  // The strip under the level's number shows nothing but the background.
  for (i32 index : {0, 1, 2, 3}) {
    backgroundIndex = index;
    GamePass();
    EXPECT_EQ(0, UnlikeSprite(*backgrounds.At(index, 0), 0, 140, 100, 100)) << index;
  }
}

TEST_F(GameTest, TheBackgroundFadesOutChangesAndFadesIn) {
  std::vector<i32> shown;
  for (i32 change = 0; change < 4; ++change) {
    fadeDirection = 1;
    fadeValue = -0.99f;
    const i32 before = backgroundIndex;
    i32 out = 0, in = 0;
    while (backgroundIndex == before) {
      StepBackgroundFade();
      ASSERT_LT(++out, 100);
    }
    while (fadeDirection != 0) {
      StepBackgroundFade();
      ASSERT_LT(++in, 100);
    }
    EXPECT_EQ(49, out);
    EXPECT_EQ(49, in);
    EXPECT_EQ(0.0f, fadeValue);
    shown.push_back(*backgrounds.At(backgroundIndex, 0));
  }
  EXPECT_EQ((std::vector<i32>{1012, 1014, 1013, 999}), shown);
}

TEST_F(GamePlayTest, TableColumnsAreRightAligned) {
  const struct {
    const char* name;
    i32 level, score;
  } entries[] = {{"ABCDEFGH", 1, 5},
                 {"Ann", 10, 42},
                 {"Bo", 100, 987},
                 {"WWWWWWWW", 1234, 12345},
                 {"Z", 7, 999999}};
  for (i32 i = 0; i < 5; ++i) {
    hiscores.At(i).name = DynString(entries[i].name);
    hiscores.At(i).level = entries[i].level;
    hiscores.At(i).score = entries[i].score;
  }
  gameState = kStateTable;
  GamePass();
  for (i32 i = 0; i < 5; ++i) {
    const i32 y = (4 - i) * 25 + 80;
    SCOPED_TRACE(i);
    // Last digits end before x 200 and 305; nothing after them.
    EXPECT_GT(UnlikeSprite(kSpriteTitleBackground, 188, y, 12, 20), 0);
    EXPECT_EQ(0, UnlikeSprite(kSpriteTitleBackground, 200, y, 20, 20));
    EXPECT_GT(UnlikeSprite(kSpriteTitleBackground, 293, y, 12, 20), 0);
    EXPECT_EQ(0, UnlikeSprite(kSpriteTitleBackground, 305, y, 15, 20));
  }
  // The eighth letter of a full name at x 110.
  EXPECT_GT(UnlikeSprite(kSpriteTitleBackground, 110, 180, 15, 20), 0);
  EXPECT_EQ(0, UnlikeSprite(kSpriteTitleBackground, 20, 80, 100, 20));  // "Z" alone
}

}  // namespace
