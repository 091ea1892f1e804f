// The piece-shape blocks, the default high scores, the table set-up and the reset of the globals.
#include <algorithm>
#include <string>
#include <utility>
#include <vector>

#include <gtest/gtest.h>

#include "core/data_blocks.h"
#include "game/game_data.h"
#include "game/game_globals.h"
#include "game/hiscore_table.h"
#include "game/shape_table.h"
#include "tests/game/game_fixture.h"

using namespace game;

namespace {

// A shape read the way the game reads it: width, height, then the cells row by row.
struct Shape {
  i32 width = 0;
  i32 height = 0;
  std::vector<f32> cells;  // row by row
  f32 At(i32 x, i32 y) const { return cells[static_cast<std::size_t>(y * width + x)]; }
  bool operator==(const Shape&) const = default;
};

Shape ReadShape(i32 piece, i32 turn) {
  Shape shape;
  ReadDataCursor* block = ShapeBlock(piece, turn);
  EXPECT_NE(nullptr, block);
  if (block == nullptr) return shape;
  RestoreDataBlock(block);
  ReadDataInt(&shape.width);
  ReadDataInt(&shape.height);
  shape.cells.resize(static_cast<std::size_t>(shape.width * shape.height));
  for (f32& cell : shape.cells) ReadDataFloat(&cell);
  EXPECT_EQ(block->count, block->next) << "items left over in piece " << piece << " turn " << turn;
  return shape;
}

// A quarter turn counter-clockwise on the screen (y down), the box's top-left corner kept:
// the old right-hand column becomes the new top row.
Shape TurnCounterClockwise(const Shape& s) {
  Shape turned;
  turned.width = s.height;
  turned.height = s.width;
  for (i32 y = 0; y < turned.height; ++y)
    for (i32 x = 0; x < turned.width; ++x) turned.cells.push_back(s.At(s.width - 1 - y, x));
  return turned;
}

TEST_F(GameTest, EveryShapeHasFourBlocksInItsBox) {
  struct Box {
    i32 piece, longSide, shortSide;
  };
  for (const Box& box : {Box{kPieceJ, 3, 2}, Box{kPieceL, 3, 2}, Box{kPieceZ, 3, 2},
                         Box{kPieceS, 3, 2}, Box{kPieceT, 3, 2}, Box{kPieceI, 4, 1},
                         Box{kPieceO, 2, 2}}) {
    for (i32 turn = 0; turn < kRotationCount; ++turn) {
      const Shape s = ReadShape(box.piece, turn);
      // Rotation 0 stands upright; every turn swaps the sides.
      const bool upright = turn % 2 == 0;
      EXPECT_EQ(upright ? box.shortSide : box.longSide, s.width) << box.piece << "/" << turn;
      EXPECT_EQ(upright ? box.longSide : box.shortSide, s.height) << box.piece << "/" << turn;
      i32 blocks = 0;
      for (f32 cell : s.cells) {
        EXPECT_TRUE(cell == 0.0f || cell == 1.0f);
        blocks += cell == 1.0f ? 1 : 0;
      }
      EXPECT_EQ(4, blocks) << "piece " << box.piece << " turn " << turn;
    }
  }
}

TEST_F(GameTest, EachRotationIsThePreviousTurnedCounterClockwise) {
  for (i32 piece = 0; piece < kPieceCount; ++piece) {
    for (i32 turn = 0; turn < kRotationCount; ++turn) {
      const Shape next = ReadShape(piece, (turn + 1) % kRotationCount);
      EXPECT_EQ(next, TurnCounterClockwise(ReadShape(piece, turn)))
          << "piece " << piece << " turn " << turn;
    }
  }
}

TEST_F(GameTest, ShapeBlocksOutsideTheTableAreAbsent) {
  for (auto [piece, turn] : {std::pair{-1, 0}, {7, 0}, {0, -1}, {0, 4}}) {
    EXPECT_EQ(nullptr, ShapeBlock(piece, turn));
  }
}

TEST_F(GameTest, DefaultHiscoresSortAscending) {
  LoadDefaultHiscores();
  struct Row {
    const char* name;
    i32 level, score;
  };
  const Row expected[] = {{"Tullo", 1, 80},  {"Pilo", 2, 100},    {"Zorvan", 3, 120},
                          {"Brem", 1, 190}, {"Mekkas", 10, 1230}};
  ASSERT_EQ(5, hiscores.dim[0]);
  for (i32 i = 0; i < 5; ++i) {
    EXPECT_STREQ(expected[i].name, hiscores.At(i).name.CStr()) << i;
    EXPECT_EQ(expected[i].level, hiscores.At(i).level) << i;
    EXPECT_EQ(expected[i].score, hiscores.At(i).score) << i;
  }
}

TEST_F(GameTest, SortKeepsEveryEntryWithEqualScores) {
  for (auto [name, score] : {std::pair{"B", 50}, {"A", 10}, {"C", 50}, {"D", 10}, {"E", 30}}) {
    HiscoreEntry entry;
    entry.name = DynString::FromCString(name);
    entry.score = score;
    hiscores.Append(entry);
  }
  SortHiscoreList();
  std::string names;
  for (i32 i = 0; i < 5; ++i) {
    if (i > 0) {
      EXPECT_LE(hiscores.At(i - 1).score, hiscores.At(i).score);
    }
    names += hiscores.At(i).name.CStr();
  }
  std::sort(names.begin(), names.end());
  EXPECT_EQ("ABCDE", names);
}

TEST_F(GameTest, TablesHoldTheirStartUpContents) {
  EXPECT_EQ(14, keyLatches.dim[0]);
  EXPECT_EQ(10, fieldOccupancy.dim[0]);
  EXPECT_EQ(20, fieldOccupancy.dim[1]);
  EXPECT_EQ(1016, *backgrounds.At(4, 0));
  EXPECT_EQ(1, *menuFlags.At(0, 0));
  EXPECT_EQ(250, *fallIntervals.At(8, 0));
  EXPECT_STREQ("Jun 20 2009-19:13:10", GameBuildStamp().CStr());
}

TEST_F(GameTest, InitGameGlobalsRestoresTheProgramStartState) {
  score = 99;
  pauseValue = kPaused;
  musicVolume = 0.9f;
  rotation = 0;
  editedName = DynString::FromCString("NAME....");
  timerEvents.Append(0);
  LoadDefaultHiscores();
  ReadDataCursor* block = ShapeBlock(kPieceT, 1);
  RestoreDataBlock(block);
  f32 item = 0;
  ReadDataFloat(&item);

  InitGameGlobals();

  EXPECT_EQ(0, score);
  EXPECT_EQ(kRunning, pauseValue);
  EXPECT_EQ(0.3f, musicVolume);
  EXPECT_EQ(2, rotation);
  EXPECT_EQ(6, currentPiece);
  EXPECT_EQ(3, currentColour);
  EXPECT_EQ(-1, statisticsSwitch);
  EXPECT_EQ(0u, editedName.Length());
  EXPECT_EQ(0, block->next);
  EXPECT_EQ(0, DefaultHiscoreBlock()->next);
  const std::vector<const ArrayShape*> arrays = {&fieldOccupancy, &keyLatches, &currentCells,
                                                 &timers, &timerEvents, &effects, &hiscores};
  for (const ArrayShape* array : arrays) {
    EXPECT_EQ(0, array->dimCount);
    EXPECT_EQ(0, array->dim[0]);
  }
  EXPECT_EQ(nullptr, fieldOccupancy.data);
  EXPECT_EQ(nullptr, hiscores.data);
}

}  // namespace
