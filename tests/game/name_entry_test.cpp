// Entering a result: where the new entry lands, the letter cycle, the cursor turning untouched
// dots into blanks, the confirmed name saved to "Hiscores.dat" and read back, and the cursor mark
// under the edited letter.
#include "game/name_entry.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "game/game_data.h"
#include "game/game_globals.h"
#include "game/hiscore_file.h"
#include "game/hiscore_table.h"
#include "tests/game/game_fixture.h"

using namespace game;

namespace {

std::string Name(i32 entry) { return hiscores.At(entry).name.CStr(); }

class NameEntryTest : public GameFilesTest {
 protected:
  void SetUp() override {
    GameFilesTest::SetUp();
    LoadDefaultHiscores();
  }
  void Tap(u32 buttons) {
    runtime.Hold(buttons);
    HandleNameEntryInput();
    runtime.Hold(0);
    HandleNameEntryInput();
  }
};

TEST_F(NameEntryTest, TheResultReplacesTheLowestEntryWhereItsScoreSortsIt) {
  score = 125;
  level = 2;
  EnterResult();
  EXPECT_EQ(kStateNameEntry, gameState);
  EXPECT_EQ(2, editedEntry);
  const std::vector<std::string> names = {"Pilo", "Zorvan", "A.......", "Brem", "Mekkas"};
  for (i32 i = 0; i < 5; ++i) EXPECT_EQ(names[static_cast<std::size_t>(i)], Name(i));
  EXPECT_EQ(3, hiscores.At(2).level);
  EXPECT_EQ(125, hiscores.At(2).score);
  EXPECT_EQ('A', currentLetter);
  EXPECT_EQ(0, nameCursor);
}

TEST(NameLetters, CycleThroughTheBlankAndAToZ) {
  const struct {
    i32 letter, next, previous;
  } cases[] = {{'A', 'B', ' '}, {'B', 'C', 'A'}, {'Z', ' ', 'Y'}, {' ', 'A', 'Z'}};
  for (const auto& c : cases) {
    EXPECT_EQ(c.next, NextLetter(c.letter)) << static_cast<char>(c.letter);
    EXPECT_EQ(c.previous, PreviousLetter(c.letter)) << static_cast<char>(c.letter);
  }
}

TEST_F(NameEntryTest, KeysEditTheNameAndActionSavesIt) {
  score = 5000;
  EnterResult();
  ASSERT_EQ(4, editedEntry);
  // Per tap: the button, then the name and the cursor.
  const struct {
    u32 button;
    std::string name;
    i32 cursor;
  } taps[] = {
      {kUpButton, "B.......", 0},    {kUpButton, "C.......", 0},   {kRightButton, "C ......", 1},
      {kLeftButton, "C ......", 0},  {kDownButton, "B ......", 0}, {kLeftButton, "B ......", 0},
      {kRightButton, "B ......", 1}, {kDownButton, "BZ......", 1}, {kRightButton, "BZ .....", 2},
  };
  for (const auto& t : taps) {
    Tap(t.button);
    EXPECT_EQ(t.name, Name(4));
    EXPECT_EQ(t.cursor, nameCursor);
  }
  for (i32 i = 0; i < 10; ++i) Tap(kRightButton);
  EXPECT_EQ(7, nameCursor);
  EXPECT_EQ("BZ      ", Name(4));
  Tap(kActionButton);
  EXPECT_EQ(kStateTable, gameState);
  // Read back into a fresh list.
  hiscores.Redim(0);
  LoadDefaultHiscores();
  LoadHiscores(kHiscoreCount);
  EXPECT_EQ("BZ      ", Name(4));
  EXPECT_EQ(5000, hiscores.At(4).score);
  EXPECT_EQ("Pilo", Name(0));
}

TEST_F(NameEntryTest, TheConfirmedNameHasNoDots) {
  score = 100;
  EnterResult();
  Tap(kActionButton);
  EXPECT_EQ("A       ", Name(editedEntry));
  EXPECT_EQ(kStateTable, gameState);
}

TEST_F(NameEntryTest, TheCursorIsMarkedTwoPixelsBelowItsLetter) {
  score = 125;
  EnterResult();
  Tap(kRightButton);
  Tap(kRightButton);
  ClearScreen();
  HandleNameEntryInput();
  // The built-in font's "_" (8 x 8) at (5 + 15 * 2, row of entry 2 + 2), and nothing else.
  const i32 x = 35, y = TableRowY(2) + 2;
  EXPECT_EQ(132, y);
  EXPECT_GT(PixelsUnlike(x, y, 8, 8, 0), 0);
  EXPECT_EQ(PixelsUnlike(x, y, 8, 8, 0), PixelsUnlike(0, 0, 320, 240, 0));
}

}  // namespace
