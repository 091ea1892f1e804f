// A scripted headless game that saves a picture of every screen through the runtime's own
// screen-save command: the splash, the title, play, pause, game over, name entry and the
// high-score table, as PNG files in the build folder (the README shows copies of them).
#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "core/dyn_string.h"
#include "game/game_globals.h"
#include "game/game_main.h"
#include "game/handle_input.h"
#include "media/graphics_commands.h"
#include "media/graphics_device.h"
#include "media/png_image.h"
#include "media/rgba_image.h"
#include "tests/game/game_fixture.h"

using namespace game;

namespace {

const std::string kShotDir = STAKKO_SCREENSHOT_DIR;

// Saves the back buffer as it stands after the last pass's drawing. The screen save writes
// pixels of the transparent colour as see-through; the game's is black, which its screens use,
// so the default one (a pink the screens do not hold) stands in while saving.
void Shoot(const std::string& name) {
  std::filesystem::create_directories(kShotDir);
  SetTransparentColourCommand(kDefaultTransparentColour);
  SaveScreenImageCommand(DynString((kShotDir + "/" + name + ".png").c_str()));
  SetTransparentColourCommand(0);
}

class Screenshots : public GamePlayTest {
 protected:
  // Moves the falling piece `shift` columns (negative: left), turns it `turns` times and drops
  // it until the next one appears.
  void Place(i32 shift, i32 turns) {
    for (i32 t = 0; t < turns; ++t) Tap(kActionButton);
    for (i32 s = 0; s < (shift < 0 ? -shift : shift); ++s)
      Tap(shift < 0 ? kLeftButton : kRightButton);
    runtime.Hold(kDownButton);
    for (i32 row = pieceRow, passes = 0; passes < 40 && gameOver == 0; ++passes) {
      GamePass();
      if (pieceRow < row) break;
      row = pieceRow;
    }
    runtime.Hold(0);
  }
};

TEST_F(Screenshots, EveryScreenOfAScriptedGame) {
  BeginSplash();
  while (fadeDirection == 1) ASSERT_TRUE(SplashStep());
  // The fully shown logo, drawn as the splash draws it.
  SetBlendMode(fadeValue);
  DrawSpriteCommand(800, 30, 80);
  Shoot("splash");
  RunSplashWithRelease();
  StartMusic();

  runtime.Hold(kDownButton);  // to the handicap button, and up to 3
  Passes(1);
  runtime.Hold(0);
  Passes(1);
  for (i32 i = 0; i < 3; ++i) Tap(kRightButton);
  Passes(1);  // a body draws before it reads the keys
  Shoot("title");

  Tap(kUpButton);
  Tap(kActionButton);
  ASSERT_EQ(kStatePlay, gameState);
  const i32 plan[][2] = {{-4, 0}, {-2, 1}, {3, 1}, {1, 0}, {5, 0}, {-1, 2}, {0, 3}};
  for (const auto& p : plan) Place(p[0], p[1]);
  Passes(12);
  Shoot("play");
  Tap(kPauseButton);
  Passes(1);
  Shoot("pause");
  Tap(kPauseButton);

  runtime.Hold(kDownButton);
  for (i32 i = 0; i < 2000 && gameOver == 0; ++i) GamePass();
  runtime.Hold(0);
  ASSERT_EQ(1, gameOver);
  Passes(3);
  Shoot("gameover");

  ASSERT_TRUE(TapUntilState(kActionButton, kStateNameEntry, 1));
  for (u32 key : {kUpButton, kUpButton, kRightButton, kUpButton, kRightButton, kDownButton})
    Tap(key);
  Passes(1);
  Shoot("nameentry");
  Tap(kActionButton);
  ASSERT_EQ(kStateTable, gameState);
  Passes(1);
  Shoot("hiscores");

  for (const char* name :
       {"splash", "title", "play", "pause", "gameover", "nameentry", "hiscores"}) {
    OwnedRgbaImage image;
    const std::string path = kShotDir + "/" + name + ".png";
    ASSERT_EQ(1, LoadPngImage(image.image, path.c_str(), 0)) << path;
    EXPECT_EQ(320, image.image.width);
    EXPECT_EQ(240, image.image.height);
    i32 seeThrough = 0;
    for (i32 i = 0; i < 320 * 240; ++i) seeThrough += image.image.rgba[i * 4 + 3] == 0 ? 1 : 0;
    EXPECT_EQ(0, seeThrough) << name;
  }
}

}  // namespace
