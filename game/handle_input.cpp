// The dispatch of the key handling, the title menu and the high-score table.
#include "game/handle_input.h"

#include "core/runtime_error.h"
#include "files/file_resolver.h"
#include "game/config_file.h"
#include "game/game_data.h"
#include "game/game_globals.h"
#include "game/key_latches.h"
#include "game/name_entry.h"
#include "game/new_game.h"
#include "game/play_input.h"

namespace game {

namespace {

void Select(i32 button) {
  *menuFlags.At(selectedButton, 0) = 0;
  selectedButton = button;
  *menuFlags.At(selectedButton, 0) = 1;
}

void ActOnSelectedButton() {
  switch (selectedButton) {
    case kMenuStart:
      StartNewGame();
      break;
    case kMenuHiscores:
      gameState = kStateTable;
      break;
    case kMenuExit:
      ExitGame();
    default:  // the handicap button is changed with Left and Right
      break;
  }
}

}  // namespace

void ExitGame() {
  DynString none;
  DynString noMusic;
  SetFileResolverBase(none, noMusic);
  SaveConfig();
  EndCommand();
}

void HandleTitleInput() {
  if (KeyReleased(kKeyAction) == 1) ActOnSelectedButton();
  if (KeyReleased(kKeyUp) == 1) {
    Select(selectedButton == 0 ? kMenuButtonCount - 1 : selectedButton - 1);
  } else if (KeyReleased(kKeyDown) == 1) {
    Select(selectedButton == kMenuButtonCount - 1 ? 0 : selectedButton + 1);
  }
  if (selectedButton != kMenuHandicap) return;
  if (KeyReleased(kKeyLeft) == 1) {
    handicap = handicap == 0 ? kMaxHandicap : handicap - 1;
  } else if (KeyReleased(kKeyRight) == 1) {
    handicap = handicap == kMaxHandicap ? 0 : handicap + 1;
  }
}

void HandleTableInput() {
  if (KeyReleased(kKeyAction) == 1) gameState = kStateTitle;
}

void HandleInput() {
  switch (gameState) {
    case kStatePlay:
      HandlePlayInput();
      break;
    case kStateTitle:
      HandleTitleInput();
      break;
    case kStateTable:
      HandleTableInput();
      break;
    case kStateNameEntry:
      HandleNameEntryInput();
      break;
    default:
      break;
  }
}

}  // namespace game
