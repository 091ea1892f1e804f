// The piece shapes as the game reads them, the default high scores and the reset of the globals.
#include "game/game_data.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <tuple>
#include <vector>

#include "core/data_blocks.h"
#include "game/game_globals.h"
#include "game/hiscore_table.h"
#include "game/shape_table.h"
#include "tests/game/game_fixture.h"

using namespace game;

namespace {

struct Shape {
  i32 width = 0, height = 0;
  std::vector<f32> cells;  // row by row
  bool operator==(const Shape&) const = default;
};

Shape ReadShape(i32 piece, i32 turn) {
  Shape s;
  RestoreDataBlock(ShapeBlock(piece, turn));
  ReadDataInt(&s.width);
  ReadDataInt(&s.height);
  s.cells.resize(static_cast<std::size_t>(s.width * s.height));
  for (f32& cell : s.cells) ReadDataFloat(&cell);
  EXPECT_EQ(currentDataCursor->count, currentDataCursor->next) << "items left in " << piece;
  return s;
}

// A quarter turn counter-clockwise on the screen (y down), keeping the box's top-left corner:
// the old right-hand column becomes the new top row.
Shape TurnCounterClockwise(const Shape& s) {
  Shape t{s.height, s.width, {}};
  for (i32 y = 0; y < t.height; ++y)
    for (i32 x = 0; x < t.width; ++x)
      t.cells.push_back(s.cells[static_cast<std::size_t>(x * s.width + s.width - 1 - y)]);
  return t;
}

TEST_F(GameTest, ShapesHaveFourBlocksAndEachRotationIsThePreviousTurned) {
  const i32 longSide[kPieceCount] = {3, 3, 3, 3, 3, 4, 2};  // J L Z S T I O
  for (i32 piece = 0; piece < kPieceCount; ++piece) {
    for (i32 turn = 0; turn < kRotationCount; ++turn) {
      const Shape s = ReadShape(piece, turn);
      EXPECT_EQ(longSide[piece], turn % 2 == 0 ? s.height : s.width) << piece << "/" << turn;
      EXPECT_EQ(4, std::count(s.cells.begin(), s.cells.end(), 1.0f)) << piece << "/" << turn;
      EXPECT_EQ(s.cells.size() - 4, std::count(s.cells.begin(), s.cells.end(), 0.0f));
      EXPECT_EQ(ReadShape(piece, (turn + 1) % kRotationCount), TurnCounterClockwise(s))
          << piece << "/" << turn;
    }
  }
  EXPECT_EQ(nullptr, ShapeBlock(7, 0));
  EXPECT_EQ(nullptr, ShapeBlock(0, -1));
}

TEST_F(GameTest, DefaultHiscoresSortAscending) {
  LoadDefaultHiscores();
  const std::vector<std::tuple<std::string, i32, i32>> expected = {{"Tullo", 1, 80},
                                                                   {"Pilo", 2, 100},
                                                                   {"Zorvan", 3, 120},
                                                                   {"Brem", 1, 190},
                                                                   {"Mekkas", 10, 1230}};
  std::vector<std::tuple<std::string, i32, i32>> list;
  for (i32 i = 0; i < hiscores.dim[0]; ++i) {
    const HiscoreEntry& e = hiscores.At(i);
    list.emplace_back(e.name.CStr(), e.level, e.score);
  }
  EXPECT_EQ(expected, list);
}

TEST_F(GameTest, InitGameGlobalsRestoresTheProgramStartState) {
  score = 99;
  pauseValue = kPaused;
  musicVolume = 0.9f;
  rotation = 0;
  LoadDefaultHiscores();
  f32 item;
  RestoreDataBlock(ShapeBlock(kPieceT, 1));
  ReadDataFloat(&item);
  InitGameGlobals();
  EXPECT_EQ(std::make_tuple(0, kRunning, 0.3f, 2, 6, 3, -1),
            std::make_tuple(score, pauseValue, musicVolume, rotation, currentPiece, currentColour,
                            statisticsSwitch));
  EXPECT_EQ(0, DefaultHiscoreBlock()->next);
  EXPECT_EQ(0, ShapeBlock(kPieceT, 1)->next);
  const std::vector<const ArrayShape*> arrays = {&fieldOccupancy, &keyLatches, &hiscores};
  for (const ArrayShape* array : arrays) EXPECT_EQ(0, array->dim[0]);
  EXPECT_EQ(nullptr, fieldOccupancy.data);
  EXPECT_EQ(nullptr, hiscores.data);
}

}  // namespace
