// The game set up over the generated packs: what the set-up loads, the splash, the pace of a
// pass, and the play board probed where its pictures must show. (The other screens are probed in
// the whole game of whole_game_test.cpp.)

#include "core/runtime_globals.h"
#include "game/field_drawing.h"
#include "game/new_game.h"
#include "media/graphics_device.h"
#include "media/music.h"
#include "media/sound.h"
#include "tests/game/game_fixture.h"

namespace {

TEST_F(GamePlayTest, SetUpLoadsTheAssetsThenTheSplashFadesAndThePiecesFallOnTheBoard) {
  std::vector<i32> sprites = {kSpriteSplashLogo};
  for (const SpriteFile& file : kSpriteFiles) sprites.push_back(file.id);
  for (i32 d = 0; d < 10; ++d)
    sprites.insert(sprites.end(), {kSpriteDigit + d, kSpriteDigitHighlighted + d});
  for (i32 sprite : sprites) EXPECT_NE(~0u, SpritePixel(sprite, 0, 0)) << "sprite " << sprite;
  // The game's own font, current; the landing sound; the music at the volume of "Config.dat".
  EXPECT_EQ(kGameFont, currentFont);
  EXPECT_NE(graphicsDevice->GetFontSize(kGameFont).width, graphicsDevice->GetFontSize(0).width);
  EXPECT_NE(nullptr, soundSlots[kLandingSoundSlot].sample);
  StartMusic();
  EXPECT_EQ(std::make_pair(1, 0.5f), std::make_pair(IsMusicPlaying(), StoredMusicVolume()));
  handicap = 10;  // the title shows all the handicap's digits beside its button
  GamePass();
  EXPECT_TRUE(SpriteShownAt(kSpriteDigit + 1, 205, 119));
  EXPECT_TRUE(SpriteShownAt(kSpriteDigit + 0, 219, 119));
  handicap = 0;
  // The splash fades in, waits for the action key's release and fades out.
  BeginSplash();
  ASSERT_TRUE(SplashStep());
  // 0.01 - 0.01 taken in double and stored as f32: a tiny negative value, not a plain frame.
  EXPECT_TRUE(fadeValue < 0.0f && fadeValue > -1e-9f) << fadeValue;
  i32 fadeIn = 1;
  for (; fadeDirection == 1 && fadeIn < 200; ++fadeIn) ASSERT_TRUE(SplashStep());
  EXPECT_EQ(std::make_pair(102, -1.0f), std::make_pair(fadeIn, fadeValue));  // about 3.4 s
  Hold(kActionButton);                                                       // held, the logo stays
  for (i32 i = 0; i < 100; ++i) ASSERT_TRUE(SplashStep());
  Hold(0);
  ASSERT_TRUE(SplashStep());
  EXPECT_EQ(-1, fadeDirection);
  // 49 frames of fade-out after the one of the release; the leaving pass steps no frame.
  i32 fadeOut = 0;
  f64 frameClock = frameClockMs;
  for (; SplashStep() && fadeOut < 100; ++fadeOut) frameClock = frameClockMs;
  EXPECT_EQ(frameClock, frameClockMs);
  EXPECT_EQ(std::make_tuple(49, 0.0f, 0), std::make_tuple(fadeOut, fadeValue, fadeDirection));
  // In a game a piece falls a row a second, and each pass consumes its timer events.
  GamePass();  // the game's clock is set
  StartNewGame();
  i32 passes = 0;
  for (; pieceRow == 0 && passes < 100; ++passes) {
    GamePass();
    EXPECT_EQ(0, timerEvents.dim[0]);
  }
  EXPECT_TRUE(passes >= 29 && passes <= 31) << passes;  // frames of 1000 / 30 ms
  EXPECT_EQ(1, pieceRow);
  // Cells, pieces, frame, handicap line and background stand where they belong.
  StartNewGame();
  FillRows(17, {"0123456...", "6543210..."});
  PlacePiece(kPieceT, 1, 2, 1);  // XXX / .X. from row 1
  SetNextPiece(kPieceI);         // 1 x 4 around (270, 58)
  handicap = 4;
  GamePass();
  for (i32 x = 0; x < 7; ++x) {
    EXPECT_TRUE(SpriteShownAt(x, CellX(x), CellY(17))) << x;
    EXPECT_TRUE(SpriteShownAt(6 - x, CellX(x), CellY(18))) << x;
  }
  for (const auto& [c, r] : std::vector<std::pair<i32, i32>>{{2, 1}, {3, 1}, {4, 1}, {3, 2}})
    EXPECT_TRUE(SpriteShownAt(kPieceT, CellX(c), CellY(r))) << c << "," << r;
  for (i32 r = 0; r < 4; ++r) EXPECT_TRUE(SpriteShownAt(kPieceI, 265, 38 + 10 * r)) << r;
  for (i32 i = 0; i < 10; ++i) EXPECT_TRUE(SpriteShownAt(kSpriteHandicapLine, CellX(i), 193)) << i;
  EXPECT_TRUE(SpriteShownAt(kSpriteBorderLeft, 104, 33));
  EXPECT_TRUE(SpriteShownAt(kSpriteNextLabel, 247, 10));
  // Without a handicap, no line (not even under the field); the background is the level's, alone
  // under the level's number.
  handicap = 0;
  backgroundIndex = 2;
  GamePass();
  EXPECT_FALSE(SpriteShownAt(kSpriteHandicapLine, CellX(0), CellY(kFieldRows)));
  EXPECT_EQ(0, PixelsUnlikeSprite(*backgrounds.At(2, 0), 0, 140, 100, 100));
}

}  // namespace
