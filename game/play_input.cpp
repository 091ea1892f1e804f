// Moving, turning, dropping and pausing the falling piece, and the end of a game.
#include "game/play_input.h"

#include "runtime/key_queries.h"
#include "game/game_data.h"
#include "game/game_globals.h"
#include "game/key_latches.h"
#include "game/name_entry.h"
#include "game/play_rules.h"

namespace game {

namespace {

// A move that makes the piece overlap filled cells is taken back.
void MoveSideways() {
  if (KeyReleased(kKeyLeft) == 1) {
    pieceColumn = pieceColumn - 1 < 0 ? 0 : pieceColumn - 1;
    if (PieceCollides() == 1) pieceColumn = pieceColumn + 1;
  } else if (KeyReleased(kKeyRight) == 1) {
    const i32 rightmost = kFieldColumns - currentColumns;
    pieceColumn = pieceColumn + 1 > rightmost ? rightmost : pieceColumn + 1;
    if (PieceCollides() == 1) pieceColumn = pieceColumn - 1;
  }
}

// One point per pass held, also in the pass that fixes the piece.
void SoftDrop() {
  if (IsKeyDown(kKeyDown) != 1) return;
  score = score + 1;
  StepPieceDown();
  if (PieceCollides() == 1) FixOverlappingPiece();
}

void PlayRunning() {
  MoveSideways();
  if (KeyReleased(kKeyAction) == 1) TurnPiece();
  SoftDrop();
}

void LeaveFinishedGame() {
  if (KeyReleased(kKeyAction) != 1) return;
  gameOver = 0;
  if (hiscores.At(0).score <= score) {
    EnterResult();
  } else {
    gameState = kStateTitle;
  }
}

}  // namespace

void HandlePlayInput() {
  if (gameOver != 0) {
    LeaveFinishedGame();
    return;
  }
  if (pauseValue == kRunning) PlayRunning();
  if (KeyReleased(kKeyPause) == 1) pauseValue = -pauseValue;
}

}  // namespace game
