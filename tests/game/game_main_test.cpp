// The program's start and main program over the generated packs: the command line, the start-up
// settings, everything the set-up loads, the splash with its fade and its release, the music,
// and one pass of the main loop.
#include "game/game_main.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "core/runtime_globals.h"
#include "game/asset_loading.h"
#include "game/game_globals.h"
#include "game/hiscore_file.h"
#include "game/new_game.h"
#include "game/start_up.h"
#include "media/font_commands.h"
#include "media/graphics_device.h"
#include "media/music.h"
#include "media/sound.h"
#include "tests/game/game_fixture.h"

using namespace game;

namespace {

TEST(GameStartUp, CommandLineIsEveryArgumentFollowedByABlank) {
  const struct {
    std::vector<const char*> args;
    std::string line;
  } cases[] = {{{"/games/stakko"}, "/games/stakko "},
               {{"./stakko", "-x", "two words"}, "./stakko -x two words "},
               {{}, ""}};
  for (const auto& c : cases) {
    const DynString line = JoinCommandLine(static_cast<int>(c.args.size()), c.args.data());
    EXPECT_EQ(c.line, std::string(line.CStr(), line.Length()));
  }
}

TEST(GameStartUp, SettingsAreAQvgaScreenAtThirtyFrames) {
  ResetRuntimeGlobalsForTests();
  debugReport = 1;
  grabInput = 1;
  StoreStartUpSettings(DynString("stakko "));
  EXPECT_EQ((std::vector<i32>{320, 240, 1, 30, 0, 0, 0}),
            (std::vector<i32>{screenWidth, screenHeight, windowActive, framesPerSecond, videoFlag,
                              debugReport, static_cast<i32>(grabInput)}));
  EXPECT_STREQ("stakko ", commandLine.CStr());
  ResetRuntimeGlobalsForTests();
}

TEST_F(GamePlayTest, SetUpLoadsEveryAssetFromThePacks) {
  for (const SpriteFile& file : kSpriteFiles) {
    const auto [w, h] = SpriteSize(file.id);
    EXPECT_TRUE(w > 0 && h > 0) << file.name;
  }
  for (i32 d = 0; d < 10; ++d) {
    EXPECT_EQ(SpriteSize(kSpriteDigit + d), SpriteSize(kSpriteDigitHighlighted + d)) << d;
    EXPECT_GT(SpriteSize(kSpriteDigit + d).first, 0) << d;
  }
  // Sizes the screens' coordinates rely on.
  const std::pair<i32, std::pair<i32, i32>> sizes[] = {{kSpriteTitleBackground, {320, 240}},
                                                       {1012, {320, 240}},
                                                       {1013, {320, 240}},
                                                       {1014, {320, 240}},
                                                       {1016, {320, 240}},
                                                       {kSpriteField, {100, 200}},
                                                       {0, {10, 10}},
                                                       {6, {10, 10}},
                                                       {kSpriteBorderLeft, {6, 200}}};
  for (const auto& [sprite, size] : sizes) EXPECT_EQ(size, SpriteSize(sprite)) << sprite;
  EXPECT_GT(SpriteSize(kSpriteSplashLogo).first, 200);
  // The game's own font, current; the landing sound; 30 frames a second.
  EXPECT_EQ(kGameFont, currentFont);
  EXPECT_NE(graphicsDevice->GetFontSize(kGameFont).width, graphicsDevice->GetFontSize(0).width);
  EXPECT_NE(nullptr, soundSlots[kLandingSoundSlot].sample);
  EXPECT_DOUBLE_EQ(1000.0 / 30.0, graphicsDevice->frameMs);
  EXPECT_EQ(0.3f, musicVolume);
}

TEST_F(GamePlayTest, AMissingHiscoreFileIsWrittenFromTheSortedDefaults) {
  const std::vector<std::pair<std::string, i32>> expected = {
      {"Tullo", 80}, {"Pilo", 100}, {"Zorvan", 120}, {"Brem", 190}, {"Mekkas", 1230}};
  for (i32 i = 0; i < 5; ++i) {
    EXPECT_EQ(expected[static_cast<std::size_t>(i)],
              std::make_pair(std::string(hiscores.At(i).name.CStr()), hiscores.At(i).score));
  }
  EXPECT_EQ(65u, ReadFileBytes(Path("Hiscores.dat")).size());
}

// The splash's frames: the fade value after each step while nothing is pressed.
TEST_F(GamePlayTest, SplashFadesInThenWaitsForTheActionKeysRelease) {
  BeginSplash();
  ASSERT_TRUE(SplashStep());
  // 0.01 - 0.01 taken in double and stored as f32: a tiny negative value, not a plain frame.
  EXPECT_LT(fadeValue, 0.0f);
  EXPECT_GT(fadeValue, -1e-9f);
  i32 fadeIn = 1;
  while (fadeDirection == 1 && fadeIn < 200) {
    ASSERT_TRUE(SplashStep());
    ++fadeIn;
  }
  EXPECT_EQ(102, fadeIn);  // about 3.4 s
  EXPECT_EQ(-1.0f, fadeValue);
  // Held, the logo stays; only the release starts the fade-out.
  runtime.Hold(kActionButton);
  for (i32 i = 0; i < 300; ++i) ASSERT_TRUE(SplashStep());
  EXPECT_EQ(0, fadeDirection);
  runtime.Hold(0);
  ASSERT_TRUE(SplashStep());
  EXPECT_EQ(-1, fadeDirection);
  // 49 frames of fade-out after the one of the release; the leaving pass steps no frame.
  i32 fadeOut = 0;
  for (;;) {
    const f64 frameClock = frameClockMs;
    if (!SplashStep()) {
      EXPECT_EQ(frameClock, frameClockMs);
      break;
    }
    ASSERT_LT(++fadeOut, 100);
  }
  EXPECT_EQ(49, fadeOut);
  EXPECT_EQ(0.0f, fadeValue);
  EXPECT_EQ(0, fadeDirection);
}

TEST_F(GamePlayTest, AReleaseDuringTheFadeInFadesOutFromThere) {
  BeginSplash();
  for (i32 frame = 0; frame < 10; ++frame) {
    runtime.Hold(frame == 8 ? kActionButton : 0);
    ASSERT_TRUE(SplashStep());
  }
  EXPECT_EQ(-1, fadeDirection);
  const f32 reached = fadeValue;
  i32 frames = 0;
  while (SplashStep()) ++frames;
  EXPECT_NEAR(-0.09f, reached, 1e-6f);
  EXPECT_EQ(3, frames);  // -0.07, -0.05, -0.03, then -0.01 leaves
}

TEST_F(GamePlayTest, MusicPlaysFromItsPackAtTheStoredVolume) {
  StartMusic();
  EXPECT_EQ(1, IsMusicPlaying());
  EXPECT_EQ(0.3f, StoredMusicVolume());
  const i32 handle = PlaySoundCommand(kLandingSoundSlot, 0.0f, musicVolume);
  EXPECT_GE(handle, kLandingSoundSlot * 256);
}

TEST_F(GamePlayTest, APassConsumesTheTimerEventsItCreates) {
  GamePass();  // the game's clock is set
  StartNewGame();
  const i32 startRow = pieceRow;
  i32 passes = 0;
  while (pieceRow == startRow && passes < 100) {
    GamePass();
    ++passes;
    EXPECT_EQ(0, timerEvents.dim[0]);
  }
  // About 1000 ms of frames of 1000 / 30 ms each.
  EXPECT_TRUE(passes >= 29 && passes <= 31) << passes << " passes, now " << now;
  EXPECT_EQ(startRow + 1, pieceRow);
}

}  // namespace
