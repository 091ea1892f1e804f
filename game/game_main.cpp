// The set-up, the splash, the music and the main loop.
#include "game/game_main.h"

#include "runtime/frame_commands.h"
#include "runtime/frame_step.h"
#include "game/asset_loading.h"
#include "game/config_file.h"
#include "game/frame_overlay.h"
#include "game/game_data.h"
#include "game/game_globals.h"
#include "game/hiscore_file.h"
#include "game/hiscore_table.h"
#include "game/key_latches.h"
#include "game/screens.h"
#include "game/timers.h"
#include "media/graphics_commands.h"
#include "media/music.h"

namespace game {

namespace {

constexpr f32 kSplashStart = 0.01f;
constexpr i32 kFadingIn = 1;
constexpr i32 kFadingOut = -1;
constexpr i32 kStill = 0;

// The fade steps are taken in double and stored as f32, which decides the very small value the
// second frame gets (about -2.2e-10, not 0) and so that no fully opaque frame flashes up then.
f32 StepFade(f32 value, f64 step) { return static_cast<f32>(static_cast<f64>(value) + step); }

}  // namespace

void GameSetup() {
  SetUpKeyLatches();
  LoadDefaultHiscores();
  SetScreenMode(gameWidth, gameHeight, 1);
  SetFrameRateLimit(static_cast<f32>(gameFrameRate));
  SetUpPlayArrays();
  FillConstantTables();
  LoadGameAssets();
  LoadConfig();
  LoadHiscores(kHiscoreCount);
}

void BeginSplash() {
  fadeValue = kSplashStart;
  fadeDirection = kFadingIn;
}

bool SplashStep() {
  SetBlendMode(fadeValue);
  DrawSpriteCommand(kSpriteSplashLogo, 30, 80);
  if (fadeDirection == kFadingIn) {
    fadeValue = StepFade(fadeValue, -0.01);
  } else if (fadeDirection == kFadingOut) {
    fadeValue = StepFade(fadeValue, 0.02);
  }
  if (static_cast<f64>(fadeValue) < -1.0 && fadeDirection == kFadingIn) {
    fadeValue = -1.0f;
    fadeDirection = kStill;
  } else if (static_cast<f64>(fadeValue) >= -0.02 && fadeDirection == kFadingOut) {
    fadeValue = 0.0f;
    fadeDirection = kStill;
    return false;
  }
  if (KeyReleased(kKeyAction) == 1) fadeDirection = kFadingOut;
  FlipFrame();
  return true;
}

void RunSplash() {
  BeginSplash();
  while (SplashStep()) {
  }
}

void StartMusic() {
  PlayMusic(DynString("neverone.mp3"), 1);
  SetMusicVolume(musicVolume);
}

void GamePass() {
  EndFrame();
  RunStateBody();
  UpdateFrameOverlay();
}

void GameMain() {
  GameSetup();
  RunSplash();
  StartMusic();
  for (;;) GamePass();
}

}  // namespace game
