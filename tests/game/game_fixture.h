// The game tests' set-up. GameTest brings the real runtime up inside the test process as start-up
// does (the shared runtime devices at 320 x 240 and 30 frames a second with sound and both
// resolver contexts, and the built-in font in fonts 0 and 1). The game's globals start at their
// program-start values with the arrays and tables the main program sets up, the seed is fixed,
// and a fatal error fails the test instead of ending it.
//
// Fields are written as pictures: one text of 10 characters per row, '.' empty, 'X' filled
// (colour 0) or a digit (filled with that colour). The game's globals, tables, sprite ids and
// main-program steps come with this header, as every game test reads them.
#pragma once

#include <gtest/gtest.h>

#include <string>
#include <tuple>
#include <utility>
#include <vector>

#include "core/types.h"
#include "game/asset_loading.h"
#include "game/game_data.h"
#include "game/game_globals.h"
#include "game/game_main.h"
#include "game/play_rules.h"
#include "game/shape_table.h"
#include "media/button_decoder.h"
#include "media/button_sources.h"
#include "tests/support/runtime_devices.h"

using namespace game;

// The buttons behind the game's action and pause keys.
constexpr u32 kActionButton = kButtonB;
constexpr u32 kPauseButton = kButtonSelect;

class GameTest : public RuntimeDevicesTest {
 protected:
  GameTest();
  void SetUp() override;
  void TearDown() override;
  // The button word read from now on.
  void Hold(u32 word) { buttons->words = {word}; }

 private:
  ScopedFatalHook fatalHook_;
};

// GameTest in a fresh temporary working folder.
class GameFilesTest : public GameTest {
 protected:
  void SetUp() override;
  void TearDown() override;
  std::string Path(const std::string& name) const { return dir_.File(name); }

  ScopedTempDir dir_;
  std::string savedCwd_;
};

// GameFilesTest with the game's two packs (and a "Config.dat" of volume 0.5) in the working
// folder and the game set up from them as its main program does.
class GamePlayTest : public GameFilesTest {
 protected:
  void SetUp() override;
  void TearDown() override;
};

// Where the build laid out the game: the program and its two packs.
inline const std::string kGameDir = STAKKO_GAME_DIR;

using Picture = std::vector<std::string>;  // field rows, top first
inline const std::string kEmpty = "..........";
inline const std::string kFull = "XXXXXXXXXX";
void FillRows(i32 top, const Picture& rows);
Picture Rows(i32 top, i32 bottom);
void PlacePiece(i32 piece, i32 turn, i32 column, i32 row);  // the falling piece
void SetNextPiece(i32 piece);

// How many pixels of the screen's rectangle differ from `colour`, or from a full-screen sprite.
i32 PixelsUnlike(i32 x, i32 y, i32 w, i32 h, u32 colour);
i32 PixelsUnlikeSprite(i32 sprite, i32 x, i32 y, i32 w, i32 h);
// A pixel of a loaded sprite as the screen shows it (0x00BBGGRR); ~0 outside the sprite, and so
// for any pixel of an empty sprite.
u32 SpritePixel(i32 sprite, i32 x, i32 y);
// True when every pixel of the sprite that is not see-through (black) shows on the screen with
// its top-left corner at (x, y): it was drawn there plainly and is not covered.
bool SpriteShownAt(i32 sprite, i32 x, i32 y);
