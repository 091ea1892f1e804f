// A scripted headless game that saves a picture of every screen through the runtime's own
// screen-save command: the splash, the title, play, pause, game over, name entry and the
// high-score table, as PNG files in the build folder (the README shows copies of them). Each
// screen is probed where its menu buttons, banners and columns must show.

#include <filesystem>

#include "core/dyn_string.h"
#include "game/name_entry.h"
#include "media/graphics_commands.h"
#include "media/graphics_device.h"
#include "media/png_image.h"
#include "media/rgba_image.h"
#include "tests/game/game_fixture.h"

namespace {

const std::string kShotDir = STAKKO_SCREENSHOT_DIR;

class Screenshots : public GamePlayTest {
 protected:
  // Saves the back buffer as the last pass drew it. The screen save writes pixels of the
  // transparent colour as see-through; the game's is black, which its screens use, so the default
  // one (a pink the screens do not hold) stands in while saving. The file must read back whole.
  void Shoot(const std::string& name) {
    const std::string path = kShotDir + "/" + name + ".png";
    std::filesystem::create_directories(kShotDir);
    SetTransparentColourCommand(kDefaultTransparentColour);
    SaveScreenImageCommand(DynString(path.c_str()));
    SetTransparentColourCommand(0);
    OwnedRgbaImage image;
    ASSERT_EQ(1, LoadPngImage(image.image, path.c_str(), 0)) << path;
    ASSERT_EQ(std::make_pair(320, 240), std::make_pair(image.image.width, image.image.height));
    for (i32 i = 0; i < 320 * 240; ++i) ASSERT_NE(0, image.image.rgba[i * 4 + 3]) << name;
  }
  // Moves the falling piece `shift` columns (negative: left), turns it `turns` times and drops it
  // until the next one appears.
  void Place(i32 shift, i32 turns) {
    for (i32 t = 0; t < turns; ++t) Tap(kActionButton);
    for (i32 s = 0; s < (shift < 0 ? -shift : shift); ++s)
      Tap(shift < 0 ? kButtonLeft : kButtonRight);
    Hold(kButtonDown);
    for (i32 row = pieceRow, passes = 0; passes < 40 && gameOver == 0 && pieceRow >= row;
         ++passes) {
      row = pieceRow;
      GamePass();
    }
    Hold(0);
  }
};

TEST_F(Screenshots, EveryScreenOfAScriptedGame) {
  BeginSplash();
  while (fadeDirection == 1) ASSERT_TRUE(SplashStep());
  SetBlendMode(fadeValue);  // the fully shown logo, drawn as the splash draws it
  DrawSpriteCommand(800, 30, 80);
  Shoot("splash");
  BeginSplash();
  for (i32 frame = 0; SplashStep(); ++frame) Hold(frame == 110 ? kActionButton : 0);
  StartMusic();

  Tap(kButtonDown);  // to the handicap button, and up to 3
  for (i32 i = 0; i < 3; ++i) Tap(kButtonRight);
  Passes(1);  // a body draws before it reads the keys
  Shoot("title");
  EXPECT_TRUE(SpriteShownAt(kSpriteStart, 110, 85));
  EXPECT_TRUE(SpriteShownAt(kSpriteHandicap + 1, 110, 116));  // selected: one pixel lower
  EXPECT_TRUE(SpriteShownAt(kSpriteDigitHighlighted + 3, 205, 119));
  EXPECT_TRUE(SpriteShownAt(kSpriteExit, 110, 175));

  Tap(kButtonUp);
  Tap(kActionButton);
  ASSERT_EQ(kStatePlay, gameState);
  const i32 plan[][2] = {{-4, 0}, {-2, 1}, {3, 1}, {1, 0}, {5, 0}, {-1, 2}, {0, 3}};
  for (const auto& p : plan) Place(p[0], p[1]);
  Passes(12);
  Shoot("play");
  Tap(kPauseButton);
  Passes(1);
  Shoot("pause");
  EXPECT_TRUE(SpriteShownAt(kSpritePaused, 0, 80));
  Tap(kPauseButton);

  Hold(kButtonDown);
  for (i32 i = 0; i < 2000 && gameOver == 0; ++i) GamePass();
  Hold(0);
  ASSERT_EQ(1, gameOver);
  Passes(3);
  Shoot("gameover");
  EXPECT_TRUE(SpriteShownAt(kSpriteGameOver, 0, 80));

  Tap(kActionButton);
  ASSERT_EQ(kStateNameEntry, gameState);
  for (u32 key : {kButtonUp, kButtonUp, kButtonRight, kButtonUp, kButtonRight, kButtonDown})
    Tap(key);
  Passes(1);
  Shoot("nameentry");
  Tap(kActionButton);
  ASSERT_EQ(kStateTable, gameState);
  Passes(1);
  Shoot("hiscores");
  for (i32 i = 0; i < 5; ++i) {  // levels end at x 200 and scores at 305, whatever their digits
    const i32 y = TableRowY(i);
    EXPECT_GT(PixelsUnlikeSprite(kSpriteTitleBackground, 188, y, 12, 20), 0) << i;
    EXPECT_EQ(0, PixelsUnlikeSprite(kSpriteTitleBackground, 200, y, 20, 20)) << i;
    EXPECT_GT(PixelsUnlikeSprite(kSpriteTitleBackground, 293, y, 12, 20), 0) << i;
    EXPECT_EQ(0, PixelsUnlikeSprite(kSpriteTitleBackground, 305, y, 15, 20)) << i;
  }
}

}  // namespace
