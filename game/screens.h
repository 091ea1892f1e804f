// What each game state draws in one pass of the main loop, in which order and with which
// blending, and where in its drawing it handles the keys. Every frame starts from a cleared
// picture in plain blending, so each body draws the whole screen.
#pragma once

namespace game {

// The body of the current state: title, play, or the high-score table (also under name entry).
void RunStateBody();

// Background, logo, the four menu buttons (the selected one in its highlighted picture, one
// pixel lower) and the handicap digits; then the keys.
void DrawTitleScreen();
// The level's background (fading on a level change), the translucent field and next box, their
// borders and labels, the handicap line; the keys; the blocks, the particles; row clearing; the
// numbers and the game-over or pause banner; last the gravity step.
void DrawPlayScreen();
// Background, logo and the five entries best first: name, level right-aligned to x 200, score
// right-aligned to x 305; then the keys (which in name entry also draw the cursor).
void DrawTableScreen();

// One frame of the play background's change: the old picture fades out to black, the next one of
// the four is chosen and fades in, then drawing is plain again (49 frames each way).
void StepBackgroundFade();

}  // namespace game
