// The keys of each state: moving, turning, dropping and pausing the piece and leaving a finished
// game; the title menu with its handicap; name entry with its letter cycle, cursor and save; and
// the volume keys at the end of every pass.

#include "core/runtime_globals.h"
#include "game/frame_overlay.h"
#include "game/handle_input.h"
#include "game/hiscore_table.h"
#include "game/name_entry.h"
#include "media/graphics_commands.h"
#include "media/music.h"
#include "tests/game/game_fixture.h"

namespace {

class KeysTest : public GameFilesTest {
 protected:
  // One pass of the current state's keys per button word.
  void Passes(const std::vector<u32>& words) {
    for (u32 word : words) {
      Hold(word);
      HandleInput();
    }
  }
  void Tap(u32 word) { Passes({word, 0}); }
};

std::string Name(i32 entry) { return hiscores.At(entry).name.CStr(); }

TEST_F(KeysTest, PlayKeysMoveTurnAndDropThePieceWhereItFitsAndNotWhilePaused) {
  // The O's column, field row 10, one button word per pass; then column, row, turn and score.
  const std::tuple<i32, std::string, std::vector<u32>, i32, i32, i32, i32> cases[] = {
      {4, kEmpty, {kButtonRight, 0}, 5, 10, 0, 0},
      {0, kEmpty, {kButtonLeft, 0}, 0, 10, 0, 0},
      {8, kEmpty, {kButtonRight, 0}, 8, 10, 0, 0},  // an O is 2 wide
      {4, "...X......", {kButtonLeft, 0}, 4, 10, 0, 0},
      {4, "......X...", {kButtonRight, 0}, 4, 10, 0, 0},
      {4, kEmpty, {kButtonLeft, kButtonRight, 0}, 3, 10, 0, 0},  // no Right while Left reports
      {4, kEmpty, {kActionButton, 0}, 4, 10, 1, 0},
      {4, kEmpty, {kButtonDown, kButtonDown}, 4, 12, 0, 2},  // a point per pass held
      {4, kEmpty, {kPauseButton, 0, kButtonLeft, 0, kButtonDown, kActionButton, 0}, 4, 10, 0, 0},
      {4, kEmpty, {kPauseButton, 0, kPauseButton, 0, kButtonLeft, 0}, 3, 10, 0, 0},  // resumed
  };
  for (const auto& [column, row10, held, after, row, turn, points] : cases) {
    GameTest::SetUp();  // the working folder stays
    gameState = kStatePlay;
    FillRows(10, {row10});
    PlacePiece(kPieceO, 0, column, 10);
    Passes(held);
    EXPECT_EQ(std::make_tuple(after, row, turn, points),
              std::make_tuple(pieceColumn, pieceRow, rotation, score))
        << column << " " << row10 << " " << held.size();
  }
  GameTest::SetUp();  // a soft drop onto the stack fixes the piece above it
  gameState = kStatePlay;
  SetNextPiece(kPieceT);
  FillRows(12, {"....X....."});
  PlacePiece(kPieceO, 0, 4, 10);
  Passes({kButtonDown});
  EXPECT_EQ((Picture{"....XX....", "....XX....", "....X....."}), Rows(10, 12));
  EXPECT_EQ(std::make_tuple(kPieceT, 0, 1), std::make_tuple(currentPiece, pieceRow, score));
}

TEST_F(KeysTest, TheVolumeKeysAFinishedGameTheTitleKeysAndTheNameEntry) {
  // The overlay at the end of every pass empties the events and steps the volume.
  // Six steps up from the default end on the float just above 0.9, which compares above 0.9;
  // three down (about 0.2, 0.1) on about 1.64e-8, which compares below 0.1.
  for (const auto& [step, presses, low, high] :
       {std::tuple{&VolumeStepUp, 6, 0.9, 0.9000002}, {&VolumeStepDown, 3, 1.63e-8, 1.65e-8}}) {
    f32 v = kDefaultMusicVolume;
    i32 n = 0;
    for (; step(v) != v && n < 100; ++n) v = step(v);
    EXPECT_EQ(presses, n);
    EXPECT_TRUE(static_cast<f64>(v) > low && static_cast<f64>(v) < high) << v;
  }
  timerEvents.Append(0);
  frameClockMs = 1040;
  previousFrameClockMs = 1000;
  // Per pass: buttons held; the volume after the pass, and the one the music was given (-1: none
  // yet). Both held together would end the program in the frame step; here no frame step runs.
  const std::tuple<u32, f32, f32> passes[] = {
      {kButtonVolumeUp, 0.3f, -1.0f},
      {0, 0.4f, 0.4f},
      {kButtonVolumeUp | kButtonVolumeDown, 0.4f, 0.4f},
      {0, 0.5f, 0.5f},
      {0, 0.4f, 0.4f}};  // both released together: up first, down a pass later
  for (const auto& [held, volume, music] : passes) {
    Hold(held);
    UpdateFrameOverlay();
    EXPECT_EQ(std::make_pair(volume, music), std::make_pair(musicVolume, StoredMusicVolume()));
  }
  EXPECT_EQ(std::make_pair(0, 40.0f), std::make_pair(timerEvents.dim[0], frameTime));
  EXPECT_EQ(0, PixelsUnlike(0, 0, 320, 240, 0)) << "the statistics are hidden";
  // A finished game goes to name entry only when the score reaches the table.
  for (const auto& [points, state] : {std::pair{79, kStateTitle}, std::pair{80, kStateNameEntry}}) {
    GameTest::SetUp();      // the working folder stays
    LoadDefaultHiscores();  // the lowest is 80
    gameState = kStatePlay;
    gameOver = 1;
    score = points;
    Tap(kActionButton);
    EXPECT_EQ(std::make_pair(state, 0), std::make_pair(gameState, gameOver)) << points;
  }
  GameTest::SetUp();  // per title-key tap: the button, then the selection and the handicap
  const std::tuple<u32, i32, i32> taps[] = {
      {kButtonUp, kMenuExit, 0},        {kButtonDown, kMenuStart, 0},
      {kButtonLeft, kMenuStart, 0},     {kButtonDown, kMenuHandicap, 0},
      {kButtonLeft, kMenuHandicap, 10}, {kButtonRight, kMenuHandicap, 0},
      {kButtonRight, kMenuHandicap, 1}, {kButtonDown, kMenuHiscores, 1},
      {kButtonRight, kMenuHiscores, 1}};
  for (const auto& [button, selected, steps] : taps) {
    Tap(button);
    EXPECT_EQ(std::make_pair(selected, steps), std::make_pair(selectedButton, handicap));
    for (i32 i = 0; i < 4; ++i) EXPECT_EQ(i == selected ? 1 : 0, *menuFlags.At(i, 0)) << i;
  }
  Tap(kActionButton);
  EXPECT_EQ(kStateTable, gameState);
  Tap(kActionButton);
  EXPECT_EQ(kStateTitle, gameState);
  GameTest::SetUp();  // the result takes its place and its name is edited until Action
  LoadDefaultHiscores();
  score = 125;
  level = 2;
  EnterResult();
  EXPECT_EQ(kStateNameEntry, gameState);
  ASSERT_EQ(2, editedEntry);  // the lowest entry (80) made room; 125 sorts between 120 and 190
  EXPECT_EQ(std::make_tuple(std::string("A......."), 3, 125, std::string("Pilo")),
            std::make_tuple(Name(2), hiscores.At(2).level, hiscores.At(2).score, Name(0)));
  // Per tap: the button, then the name and the cursor. Letters cycle through the blank and A..Z.
  const std::tuple<u32, std::string, i32> letters[] = {
      {kButtonDown, " .......", 0}, {kButtonUp, "A.......", 0},    {kButtonUp, "B.......", 0},
      {kButtonDown, "A.......", 0}, {kButtonRight, "A ......", 1}, {kButtonDown, "AZ......", 1},
      {kButtonUp, "A ......", 1},   {kButtonLeft, "A ......", 0},  {kButtonLeft, "A ......", 0},
      {kButtonUp, "B ......", 0},   {kButtonRight, "B ......", 1}, {kButtonDown, "BZ......", 1},
      {kButtonRight, "BZ .....", 2}};
  for (const auto& [button, name, cursor] : letters) {
    Tap(button);
    EXPECT_EQ(std::make_pair(name, cursor), std::make_pair(Name(2), nameCursor));
  }
  // The cursor mark: the font's "_" two pixels below the letter, and nothing else.
  ResetDrawState();
  HandleInput();
  EXPECT_GT(PixelsUnlike(35, TableRowY(2) + 2, 8, 8, 0), 0);
  EXPECT_EQ(PixelsUnlike(35, TableRowY(2) + 2, 8, 8, 0), PixelsUnlike(0, 0, 320, 240, 0));
  // Action turns the dots left into blanks (the saved table is read back in the whole game).
  Tap(kActionButton);
  EXPECT_EQ((std::pair{kStateTable, std::string("BZ      ")}), (std::pair{gameState, Name(2)}));
  // The cursor stops at the last of the eight places.
  gameState = kStateNameEntry;
  for (i32 i = 0; i < 10; ++i) Tap(kButtonRight);
  EXPECT_EQ(std::make_pair(7, 8u), std::make_pair(nameCursor, hiscores.At(2).name.Length()));
}

}  // namespace
