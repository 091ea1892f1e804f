// The game tests' set-up: globals at their program-start values, the arrays and tables as the
// main program sets them up, a fresh runtime double, a fixed seed, and a fatal error failing the
// test instead of ending it. Fields are written as pictures: one text of 10 characters per row,
// '.' empty, 'X' filled (colour 0) or a digit (filled with that colour).
#pragma once

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "core/types.h"
#include "tests/game/runtime_double.h"
#include "tests/support/test_support.h"

class GameTest : public testing::Test {
 protected:
  void SetUp() override;
  void TearDown() override;

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

void FillRows(i32 top, const std::vector<std::string>& rows);
std::vector<std::string> Rows(i32 top, i32 bottom);
void PlacePiece(i32 piece, i32 turn, i32 column, i32 row);  // the falling piece
void SetNextPiece(i32 piece);
void AddBlockTimer();
