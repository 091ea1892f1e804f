// The common set-up of the game tests: globals back to the program-start state, the tables and
// arrays as the main program sets them up, a fresh runtime double and a fixed random seed. Also
// helpers to build fields and pieces from pictures ("X" filled, "." empty).
#pragma once

#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "core/types.h"
#include "tests/game/runtime_double.h"
#include "tests/support/test_support.h"

class GameTest : public testing::Test {
 protected:
  void SetUp() override;
  void TearDown() override;

 private:
  ScopedFatalHook fatalHook_;  // a fatal error fails the test instead of ending the program
};

// GameTest run inside a fresh temporary working folder, where the game's files are read and
// written; the previous working folder is restored afterwards.
class GameFilesTest : public GameTest {
 protected:
  void SetUp() override;
  void TearDown() override;
  std::string Path(const std::string& name) const { return dir_.File(name); }
  // Moves into a sub-folder and removes it: no file can be created or opened there any more.
  void EnterRemovedFolder();

  ScopedTempDir dir_;

 private:
  std::string savedCwd_;
};

// Fills field rows from `top` down with the pictures (10 characters each); 'X' filled with
// colour `colour`, a digit filled with that colour, '.' empty.
void FillRows(i32 top, const std::vector<std::string>& rows, i32 colour = 0);
// The field row as a picture ('X' filled, '.' empty).
std::string RowPicture(i32 row);
// Makes `piece` in `turn` the falling piece at (column, row).
void PlacePiece(i32 piece, i32 turn, i32 column, i32 row);
// Makes `piece` (rotation 0) the next piece.
void SetNextPiece(i32 piece);
// Adds the "block" timer as a new game does.
void AddBlockTimer();
