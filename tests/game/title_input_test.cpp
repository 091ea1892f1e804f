// The title menu over the generated assets: the selection and the handicap wrap, the highlighted
// pictures and digits where the screen puts them, the high-score table and back, and the exit
// that saves "Config.dat" and ends the program.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "game/asset_loading.h"
#include "game/game_globals.h"
#include "game/game_main.h"
#include "game/handle_input.h"
#include "tests/game/game_fixture.h"

using namespace game;

namespace {

std::vector<i32> Flags() {
  std::vector<i32> flags;
  for (i32 i = 0; i < 4; ++i) flags.push_back(*menuFlags.At(i, 0));
  return flags;
}

TEST_F(GamePlayTest, MenuSelectionAndHandicapWrap) {
  // Per tap: the button, then the selection, its flags and the handicap after it.
  const struct {
    u32 button;
    i32 selected;
    std::vector<i32> flags;
    i32 handicap;
  } taps[] = {
      {kUpButton, kMenuExit, {0, 0, 0, 1}, 0},
      {kDownButton, kMenuStart, {1, 0, 0, 0}, 0},
      {kLeftButton, kMenuStart, {1, 0, 0, 0}, 0},
      {kDownButton, kMenuHandicap, {0, 1, 0, 0}, 0},
      {kLeftButton, kMenuHandicap, {0, 1, 0, 0}, 10},
      {kRightButton, kMenuHandicap, {0, 1, 0, 0}, 0},
      {kRightButton, kMenuHandicap, {0, 1, 0, 0}, 1},
      {kDownButton, kMenuHiscores, {0, 0, 1, 0}, 1},
      {kRightButton, kMenuHiscores, {0, 0, 1, 0}, 1},
      {kDownButton, kMenuExit, {0, 0, 0, 1}, 1},
      {kDownButton, kMenuStart, {1, 0, 0, 0}, 1},
  };
  for (const auto& t : taps) {
    Tap(t.button);
    EXPECT_EQ(t.selected, selectedButton);
    EXPECT_EQ(t.flags, Flags());
    EXPECT_EQ(t.handicap, handicap);
  }
  EXPECT_EQ(kStateTitle, gameState);
}

TEST_F(GamePlayTest, TheSelectedButtonAndItsDigitsShowHighlighted) {
  // Handicap 10 while selected: the highlighted digits 1 and 0 at x 205 and 219.
  selectedButton = kMenuHandicap;
  *menuFlags.At(0, 0) = 0;
  *menuFlags.At(1, 0) = 1;
  handicap = 10;
  Passes(1);
  EXPECT_TRUE(SpriteShownAt(kSpriteStart, 110, 85));
  EXPECT_TRUE(SpriteShownAt(kSpriteHandicap + 1, 110, 116));
  EXPECT_TRUE(SpriteShownAt(kSpriteDigitHighlighted + 1, 205, 119));
  EXPECT_TRUE(SpriteShownAt(kSpriteDigitHighlighted + 0, 219, 119));
  EXPECT_TRUE(SpriteShownAt(kSpriteHiscores, 110, 145));
  EXPECT_TRUE(SpriteShownAt(kSpriteExit, 110, 175));
  EXPECT_TRUE(SpriteShownAt(kSpriteLogo, 50, 20));
  // Not selected, one plain digit.
  Tap(kUpButton);
  handicap = 7;
  Passes(1);
  EXPECT_TRUE(SpriteShownAt(kSpriteStart + 1, 110, 86));
  EXPECT_TRUE(SpriteShownAt(kSpriteHandicap, 110, 115));
  EXPECT_TRUE(SpriteShownAt(kSpriteDigit + 7, 205, 119));
}

TEST_F(GamePlayTest, HighScoresOpensTheTableAndActionComesBack) {
  Tap(kDownButton);
  Tap(kDownButton);
  Tap(kActionButton);
  EXPECT_EQ(kStateTable, gameState);
  Tap(kActionButton);
  EXPECT_EQ(kStateTitle, gameState);
}

TEST_F(GamePlayTest, ExitSavesTheVolumeAndEndsTheProgram) {
  musicVolume = 0.5f;
  Tap(kUpButton);
  runtime.Hold(kActionButton);
  GamePass();
  runtime.Hold(0);
  EXPECT_FATAL(0, GamePass());
  EXPECT_EQ(std::string("\x00\x00\x00\x3f", 4), ReadFileBytes(Path("Config.dat")));
}

}  // namespace
