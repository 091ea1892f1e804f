// The game tests' set-up: the real runtime (game_runtime.h) with no button held, the globals at
// their program-start values, the arrays and tables as the main program sets them up, a fixed
// seed, and a fatal error failing the test instead of ending it. Fields are written as pictures:
// one text of 10 characters per row,
// '.' empty, 'X' filled (colour 0) or a digit (filled with that colour).
#pragma once

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "core/types.h"
#include "tests/game/game_runtime.h"
#include "tests/support/test_support.h"

class GameTest : public testing::Test {
 protected:
  void SetUp() override;
  void TearDown() override;

  GameRuntime runtime;

 private:
  ScopedFatalHook fatalHook_;
};

// GameTest in a fresh temporary working folder.
class GameFilesTest : public GameTest {
 protected:
  void SetUp() override;
  void TearDown() override;
  std::string Path(const std::string& name) const { return dir_.File(name); }
  void EnterRemovedFolder();  // a working folder where no file can be made any more

  ScopedTempDir dir_;
  std::string savedCwd_;
};

// GameFilesTest with the game's two packs in the working folder and the game set up from them as
// its main program does (GameSetup); passes are driven one at a time.
class GamePlayTest : public GameFilesTest {
 protected:
  void SetUp() override;
  void TearDown() override;
  // Runs passes of the main loop.
  void Passes(i32 count);
  // Holds the buttons for one pass, then lets go for one: a key-table key reports its release in
  // the second pass.
  void Tap(u32 buttons);
  // Taps until the game state is `state`, at most `limit` taps; false when it never came.
  bool TapUntilState(u32 buttons, i32 state, i32 limit = 40);
  // The splash from its start until it ends, the action key tapped once the logo is shown.
  void RunSplashWithRelease();
};

// Where the build laid out the game: the program and its two packs.
std::string GameDir();

void FillRows(i32 top, const std::vector<std::string>& rows);
std::vector<std::string> Rows(i32 top, i32 bottom);
void PlacePiece(i32 piece, i32 turn, i32 column, i32 row);  // the falling piece
void SetNextPiece(i32 piece);
void AddBlockTimer();
// A short tone in sound slot 2, where the game keeps its landing sound.
void LoadLandingSound();
// Sets the mixer volume of the landing sound (0..128; -1 sets nothing) and answers the old one.
i32 SetLandingSoundVolume(i32 volume);
