// The game tests' common set-up and field helpers.
#include "tests/game/game_fixture.h"

#include <sys/stat.h>
#include <unistd.h>

#include "core/data_blocks.h"
#include "core/random.h"
#include "game/game_data.h"
#include "game/game_globals.h"
#include "game/play_rules.h"
#include "game/shape_table.h"
#include "game/timers.h"

using namespace game;

void GameTest::SetUp() {
  InitGameGlobals();
  ResetRuntimeDouble();
  SetUpKeyLatches();
  SetUpPlayArrays();
  FillConstantTables();
  SeedRandom(12345);
}

void GameTest::TearDown() { InitGameGlobals(); }

void GameFilesTest::SetUp() {
  GameTest::SetUp();
  char cwd[4096];
  ASSERT_NE(getcwd(cwd, sizeof cwd), nullptr);
  savedCwd_ = cwd;
  ASSERT_EQ(0, chdir(dir_.path().c_str()));
}

void GameFilesTest::TearDown() {
  ASSERT_EQ(0, chdir(savedCwd_.c_str()));
  GameTest::TearDown();
}

void GameFilesTest::EnterRemovedFolder() {
  const std::string gone = Path("gone");
  ASSERT_EQ(0, mkdir(gone.c_str(), 0700));
  ASSERT_EQ(0, chdir(gone.c_str()));
  ASSERT_EQ(0, rmdir(gone.c_str()));
}

void FillRows(i32 top, const std::vector<std::string>& rows, i32 colour) {
  for (std::size_t r = 0; r < rows.size(); ++r) {
    const i32 y = top + static_cast<i32>(r);
    for (i32 x = 0; x < kFieldColumns; ++x) {
      const char c = rows[r].at(static_cast<std::size_t>(x));
      const bool filled = c != '.';
      *fieldOccupancy.At(x, y) = filled ? 1 : 0;
      if (filled) *fieldColours.At(x, y) = c >= '0' && c <= '9' ? c - '0' : colour;
    }
  }
}

std::string RowPicture(i32 row) {
  std::string picture;
  for (i32 x = 0; x < kFieldColumns; ++x) picture += *fieldOccupancy.At(x, row) == 1 ? 'X' : '.';
  return picture;
}

void PlacePiece(i32 piece, i32 turn, i32 column, i32 row) {
  currentPiece = piece;
  currentColour = piece;
  rotation = turn;
  LoadPieceRotation();
  pieceColumn = column;
  pieceRow = row;
}

void SetNextPiece(i32 piece) {
  nextPiece = nextColour = piece;
  RestoreDataBlock(ShapeBlock(piece, 0));
  ReadDataInt(&nextColumns);
  ReadDataInt(&nextRows);
  nextCells.Redim(nextColumns, nextRows);
  for (i32 y = 0; y < nextRows; ++y)
    for (i32 x = 0; x < nextColumns; ++x) ReadDataFloat(nextCells.At(x, y));
}

void AddBlockTimer() { AddTimer(BlockTimerName(), FallIntervalForLevel(0), 0, 0); }
