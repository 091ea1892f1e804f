// Spaced printing: one character per print at x + i * pitch.
#include <gtest/gtest.h>

#include "game/spaced_text.h"
#include "tests/game/game_fixture.h"

using namespace game;

namespace {

TEST_F(GameTest, NumbersAndTextsPrintOneCharacterPerPitch) {
  struct Case {
    i32 number;
    i32 x, pitch;
    std::vector<TextPrint> expected;
  };
  const Case cases[] = {
      {-5, 15, 12, {{"-", 15, 25, 0}, {"5", 27, 25, 0}}},
      {1230, 15, 12, {{"1", 15, 25, 0}, {"2", 27, 25, 0}, {"3", 39, 25, 0}, {"0", 51, 25, 0}}},
      {0, 3, -4, {{"0", 3, 25, 0}}},
      {7, 0, 0, {{"7", 0, 25, 0}}},
  };
  for (const Case& c : cases) {
    runtime.texts.clear();
    PrintNumberSpaced(c.number, c.x, 25, c.pitch);
    EXPECT_EQ(c.expected, runtime.texts) << c.number;
  }
  runtime.texts.clear();
  PrintTextSpaced(DynString::FromCString("A b"), 5, 7, 15);
  EXPECT_EQ((std::vector<TextPrint>{{"A", 5, 7, 0}, {" ", 20, 7, 0}, {"b", 35, 7, 0}}), runtime.texts);
}

}  // namespace
