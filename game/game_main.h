// The game's main program: the set-up of its tables, screen, assets and files, the splash logo,
// the music, and the endless main loop. GameMain composes the pieces below and never returns;
// they are separate so that a caller can drive the splash and the loop one pass at a time.
#pragma once

namespace game {

// Key latches, the sorted default high scores, the screen mode and frame rate, the field and
// piece arrays, the constant tables, every asset, then "Config.dat" and "Hiscores.dat".
void GameSetup();

// The splash logo fades in, stays until the action key is released, and fades out.
void BeginSplash();
// One splash frame, ended by a frame step; false (and no frame step) in the pass that leaves
// the splash, which also puts the fade back to still.
bool SplashStep();
void RunSplash();

// The looping music at the stored volume.
void StartMusic();

// One pass of the main loop: the frame step, the game's clock, the timers, the current state's
// body, and the end-of-pass overlay (which discards the timer events of the pass).
void GamePass();

[[noreturn]] void GameMain();

}  // namespace game
